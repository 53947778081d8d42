// The tray icon's menu and clicks as data: what the menu shows, drawn from the
// program's state, and what an event of the icon asks for.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// A text as a tray caption: below 50 characters whole; from 50 on its first
// 24, "...  " and its last 22.
std::wstring ShortenForTray(std::wstring_view text);

// A caption as a menu item shows it: "&" stays an ampersand, and line breaks
// and tabs, which would garble the item or jump to its accelerator column,
// show as visible marks.
std::wstring MenuItemText(std::wstring_view caption);

struct TrayMenuItem {
    std::wstring text;  // as the menu shows it
    bool shown = true;
    bool checked = false;
};

struct TrayMenu {
    std::array<TrayMenuItem, 16> stores;  // 0 is the Pictures store
    std::array<TrayMenuItem, 10> slots;
    std::wstring contents;  // the clipboard's text, on a greyed item
};

// `storeCaptions` are the Stores menu's captions as typed, `slotTexts` the
// current store's texts (ignored in the Pictures store, store 0).
TrayMenu BuildTrayMenu(int currentStore, const std::array<std::wstring, 16>& storeCaptions,
                       const std::array<std::wstring, 10>& slotTexts,
                       std::wstring_view clipboardText);

enum class TrayIconEvent { kNone, kShowWindow, kShowMenu };

// The mouse message an icon callback carries: a left press brings the
// window back, a right press opens the menu, the rest (moves, releases,
// double clicks) do nothing.
TrayIconEvent DecodeTrayCallback(uint32_t mouseMessage);

}  // namespace quillet
