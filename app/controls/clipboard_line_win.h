// The line at the foot of the main window: the clipboard's length and its
// text, read-only, refreshed by a click.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "controls/controls_win.h"

namespace quillet {

class ClipboardLine {
  public:
    ClipboardLine() = default;
    ClipboardLine(const ClipboardLine&) = delete;
    ClipboardLine& operator=(const ClipboardLine&) = delete;

    // `onClick` runs for every press of the left button on either box.
    void Create(HWND parent, RECT length, RECT text, HFONT font, std::function<void()> onClick);
    void AddTips(Tooltips& tips) const;

    HWND LengthBox() const { return length_; }
    HWND TextBox() const { return text_; }
    void SetLength(std::wstring_view length) const;
    void SetText(std::wstring_view text) const;

  private:
    LRESULT OnMessage(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);

    HWND length_ = nullptr, text_ = nullptr;
    std::function<void()> onClick_;
};

}  // namespace quillet
