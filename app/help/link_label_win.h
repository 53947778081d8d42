// A label of the help and About windows that works as a link: drawn in its
// colour, telling its owner when the mouse moves over it and when it leaves.
// The window puts the hand cursor over it.
#pragma once

#include <windows.h>

#include <functional>

namespace quillet {

class LinkLabel {
  public:
    LinkLabel() = default;
    LinkLabel(const LinkLabel&) = delete;
    LinkLabel& operator=(const LinkLabel&) = delete;

    // A static control that sends STN_CLICKED to `parent`. The control is
    // the parent's child and ends with it.
    bool Create(HWND parent, int id, const wchar_t* text, RECT at, HFONT font,
                std::function<void()> onMove, std::function<void()> onLeave);
    HWND hwnd() const { return window_; }

    COLORREF Colour() const { return colour_; }
    void SetColour(COLORREF colour);
    // The answer to the parent's WM_CTLCOLORSTATIC for this label.
    LRESULT Paint(HDC dc) const;

  private:
    LRESULT OnMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);

    HWND window_ = nullptr;
    COLORREF colour_ = RGB(0, 0, 255);
    bool tracking_ = false;  // a WM_MOUSELEAVE is asked for
    std::function<void()> onMove_, onLeave_;
};

}  // namespace quillet
