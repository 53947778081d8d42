// The main window's arithmetic in twips: rows, strip, picture frames, screen limits.
#include "layout.h"

#include <algorithm>

namespace quillet {

namespace {

int RowTop(int i) {
    return i < 8 ? 720 + 360 * i : (i == 8 ? 3600 : 4350);
}
int TextHeight(int i) {
    return i < 8 ? 320 : (i == 8 ? 700 : 800);
}

constexpr std::array<int, 16> kLabelLeft = {3030, 0,    180,  360,  540,  700,  880,  1060,
                                            1240, 1420, 1600, 1840, 2080, 2320, 2560, 2800};

}  // namespace

MainLayout ComputeLayout(int width, bool mirror, bool picturesShown) {
    MainLayout l;
    const bool mirrored = mirror && !picturesShown;
    for (int i = 0; i < 10; ++i) {
        RowRects& r = l.rows[i];
        const int top = RowTop(i);
        r.text = {mirrored ? 460 : 1500, top, width - 2050, TextHeight(i)};
        const int right = r.text.left + r.text.width;
        r.title = {mirrored ? right + 360 : 40, top, 1095, 320};
        r.paste = {mirrored ? right + 60 : 1210, top, 300, 375};
        r.copy = {mirrored ? 40 : right + 160, top, 260, 375};
        r.number = {mirrored ? 320 : right + 30, top + 80, 135, 135};
    }
    l.strip = {50, 360, 3300, 255};
    for (int n = 0; n < 16; ++n)
        l.labels[n] = {kLabelLeft[n], 0, (n == 0 || n >= 10) ? 250 : 220, 255};
    const int lineTop = kClientHeight - 300;
    l.length = {0, lineTop, 1000, 285};
    l.clipboard = {1020, lineTop, width - 1140, 285};
    l.lineRight = width;
    l.logo = {width - 650, 20, 480, 300};
    l.maker = {width - 850, 330, 800, 200};
    l.pictures = {1500, 720, 3015, 4515};
    return l;
}

PictureSlotRects PictureSlotLayout(int slot) {
    if (slot >= 8) {
        const bool left = slot == 8;
        return {{left ? 120 : 1560, 3120, 1335, 1335}, {left ? 720 : 2100, 2940, 135, 180}};
    }
    const int row = slot / 2;
    const bool left = slot % 2 == 0;
    const int top = 720 * row;
    return {{left ? 240 : 1680, top, 1215, 650},
            {left ? 120 : 1560, left ? top + 20 : top + 360, 120, 180}};
}

namespace {

int ScaleRounded(int value, int multiplier, int divisor) {
    if (divisor == 0) return value;
    const long long product = static_cast<long long>(value) * multiplier;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
    return ScaleRounded(twips, dpi, 1440);
}

int PixelsToTwips(int pixels, int dpi) {
    return ScaleRounded(pixels, 1440, dpi);
}

int LimitWidth(int width, bool picturesShown) {
    if (width < kMinWidth) width = kMinWidth;
    if (picturesShown) width = kPicturesWidth;
    return width;
}

void KeepOnScreen(int& left, int& top, int screenWidth, int screenHeight) {
    if (top < 0) top = 0;
    if (top > screenHeight - 2000) top = screenHeight - 2000;
    if (left < -1000) left = -1000;
    if (left > screenWidth - 2000) left = screenWidth - 2000;
}

void KeepOnScreenAtStart(int& left, int& top, int screenWidth, int screenHeight) {
    if (top < 0) top = 0;
    if (top > screenHeight - 3000) top = screenHeight - 3000;
    if (left < 0) left = 0;
    if (left > screenWidth - 3900) left = screenWidth - 3900;
}

}  // namespace quillet

namespace quillet {

namespace {

// Whether `at` falls between the two units of a CR LF or of a surrogate pair.
bool SplitsAPair(std::wstring_view text, size_t at) {
    if (at == 0 || at >= text.size()) return false;
    const wchar_t last = text[at - 1];
    return (last == L'\r' && text[at] == L'\n') || (last >= 0xD800 && last <= 0xDBFF);
}

bool HasLongParagraph(std::wstring_view text) {
    if (!MayShowInPart(text.size())) return false;
    size_t run = 0;
    for (const wchar_t c : text) {
        run = (c == L'\r' || c == L'\n') ? 0 : run + 1;
        if (run > kLongParagraph) return true;
    }
    return false;
}

}  // namespace

size_t FillPieceEnd(std::wstring_view text, size_t from) {
    size_t run = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const wchar_t c = text[i];
        run = (c == L'\r' || c == L'\n') ? 0 : run + 1;
        if (run > kFillPiece) return SplitsAPair(text, i) && i - 1 > from ? i - 1 : i;
    }
    return text.size();
}

std::optional<Deferral> DeferredBeginning(std::wstring_view text, bool boxScrolls,
                                          size_t shownLines) {
    if (!MayShowInPart(text.size())) return std::nullopt;
    const bool longParagraph = HasLongParagraph(text);
    if (!longParagraph && text.size() <= kLongText) return std::nullopt;
    Deferral d;
    d.wholeWhenIdle = boxScrolls && !longParagraph;
    d.beginning = std::min(kShownBeginning, text.size());
    // Only CR LF: not every edit control breaks a line at a lone CR or LF.
    size_t paragraphs = 0;
    for (size_t i = 0; shownLines > 0 && i + 1 < d.beginning; ++i) {
        if (text[i] == L'\r' && text[i + 1] == L'\n' && ++paragraphs == shownLines) {
            d.beginning = i;
            break;
        }
    }
    if (SplitsAPair(text, d.beginning)) --d.beginning;
    return d;
}

}  // namespace quillet
