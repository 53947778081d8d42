// Tray captions, the tray menu's content and the icon's events.
#include "background/ModuleTray.h"

namespace quillet {

namespace {

constexpr size_t kWholeBelow = 50, kHead = 24, kTail = 22;
constexpr std::wstring_view kEllipsis = L"...  ";
constexpr std::wstring_view kPicturesItem = L"P Pictures";
constexpr wchar_t kLineBreakMark = L'\u00B6';  // pilcrow
constexpr wchar_t kTabMark = L'\u00BB';        // right guillemet
constexpr uint32_t kLeftButtonDown = 513, kRightButtonDown = 516;

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::wstring ShortenForTray(std::wstring_view text) {
    if (text.size() < kWholeBelow) return std::wstring(text);
    // A cut never splits a character written as a surrogate pair.
    size_t head = kHead, tail = text.size() - kTail;
    if (IsLowSurrogate(text[head])) --head;
    if (IsLowSurrogate(text[tail])) ++tail;
    std::wstring out(text.substr(0, head));
    out += kEllipsis;
    out += text.substr(tail);
    return out;
}

std::wstring MenuItemText(std::wstring_view caption) {
    std::wstring out;
    out.reserve(caption.size() + 4);
    for (size_t i = 0; i < caption.size(); ++i) {
        const wchar_t c = caption[i];
        if (c == L'&') {
            out += L"&&";
        } else if (c == L'\t') {
            out += kTabMark;
        } else if (c == L'\r' || c == L'\n') {
            // A Windows line break is one mark, not two.
            if (c == L'\r' && i + 1 < caption.size() && caption[i + 1] == L'\n') ++i;
            out += kLineBreakMark;
        } else {
            out += c;
        }
    }
    return out;
}

TrayMenu BuildTrayMenu(int currentStore, const std::array<std::wstring, 16>& storeCaptions,
                       const std::array<std::wstring, 10>& slotTexts,
                       std::wstring_view clipboardText) {
    TrayMenu menu;
    const bool pictures = currentStore == 0;
    for (size_t i = 0; i < menu.slots.size(); ++i) {
        menu.slots[i].shown = !pictures;
        if (!pictures) menu.slots[i].text = MenuItemText(ShortenForTray(slotTexts[i]));
    }
    for (size_t j = 0; j < menu.stores.size(); ++j) {
        menu.stores[j].text = MenuItemText(storeCaptions[j]);
        menu.stores[j].checked = static_cast<int>(j) == currentStore;
    }
    menu.stores[0].text = std::wstring(kPicturesItem);
    menu.contents = MenuItemText(ShortenForTray(clipboardText));
    return menu;
}

TrayIconEvent DecodeTrayCallback(uint32_t mouseMessage) {
    switch (mouseMessage) {
        case kLeftButtonDown:
            return TrayIconEvent::kShowWindow;
        case kRightButtonDown:
            return TrayIconEvent::kShowMenu;
        default:
            return TrayIconEvent::kNone;
    }
}

}  // namespace quillet
