// The main window's geometry in twips: the designed rows and strip, and the
// arrangement of each slot row for a given width.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace quillet {

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

inline constexpr int kDesignClientWidth = 9285;
inline constexpr int kDesignClientHeight = 5565;
inline constexpr int kClientHeight = 5700;
inline constexpr int kMinWidth = 4160;
inline constexpr int kPicturesWidth = 5050;
inline constexpr int kDefaultWidth = 5000;  // the background double-click's width
inline constexpr int kDesignTop = 500;
inline constexpr int kDesignLeft = 1500;

// Colours of the slot boxes (red in the low byte).
inline constexpr unsigned kTitleBackground = 125 | (210 << 8) | (210 << 16);
inline constexpr unsigned kTextBackground = 200 | (200 << 8) | (255 << 16);

struct RowRects {
    TwipsRect title, text, copy, paste, number;
};

struct MainLayout {
    std::array<RowRects, 10> rows;
    TwipsRect strip;                   // Picture1, the store selector
    std::array<TwipsRect, 16> labels;  // relative to the strip; [0] is "P"
    TwipsRect length, clipboard;       // the clipboard display line
    int lineRight = 0;                 // Line1 runs from 0 to here
    TwipsRect logo, maker;             // picBrindle, lblBrindle
    TwipsRect pictures;                // picPictures, over the text slots
};

// The picture slots inside the picture panel: frame and number label.
struct PictureSlotRects {
    TwipsRect frame, number;
};
PictureSlotRects PictureSlotLayout(int slot);

// Twips of the rows for a window `width` twips wide. Mirroring applies to
// text stores only.
MainLayout ComputeLayout(int width, bool mirror, bool picturesShown);

// Twips and pixels at a real DPI (1440 twips to the inch), rounded to the
// nearest as MulDiv rounds.
int TwipsToPixels(int twips, int dpi);
int PixelsToTwips(int pixels, int dpi);

// The top and width limits of the layout for a normal window.
int LimitWidth(int width, bool picturesShown);

// Keeps at least 2000 twips of the window on the screen, right and below.
void KeepOnScreen(int& left, int& top, int screenWidth, int screenHeight);

// The stricter limits applied once at start.
void KeepOnScreenAtStart(int& left, int& top, int screenWidth, int screenHeight);

}  // namespace quillet

namespace quillet {

// A slot box fills in time that grows with its text, and with the square of
// its longest paragraph (word wrap re-measures the rest of the paragraph for
// each line). A box not in use shows only the beginning of such a text: a
// box without a scroll bar any long text, until it is used; a box with one
// (whose thumb tells the length) a long paragraph until it is used, and any
// other long text only until the program is idle, so that a window or a
// store shows at once. The beginning covers every line a box can show: at
// most `kShownBeginning` characters, and no more paragraphs than the box
// has lines, since each paragraph starts a line of its own.
inline constexpr size_t kLongParagraph = 2000;
inline constexpr size_t kLongText = 3000;
inline constexpr size_t kShownBeginning = 1500;

// Shorter texts always show whole; telling so needs no look at the text.
inline bool MayShowInPart(size_t length) {
    return length > kLongParagraph;
}

struct Deferral {
    size_t beginning = 0;        // splits neither a CR LF nor a surrogate pair
    bool wholeWhenIdle = false;  // else when the box is used
};

// A box takes a text in pieces, each with no more than this many
// characters of one paragraph. Its word wrap measures the rest of the
// paragraph for every line it breaks, so a long paragraph put in at once
// costs the square of its length; a piece only the square of its own.
inline constexpr size_t kFillPiece = 400;

// Where the piece of `text` that starts at `from` ends: as far as its
// paragraphs allow, and never inside a CR LF or a surrogate pair.
size_t FillPieceEnd(std::wstring_view text, size_t from);

// How to show `text` at first: nothing when it is shown whole at once.
// `shownLines` is how many lines the box shows, 0 when not known.
std::optional<Deferral> DeferredBeginning(std::wstring_view text, bool boxScrolls,
                                          size_t shownLines);

}  // namespace quillet
