// The links of the help and About windows.
#include "help/link_label_win.h"

#include "base/window_win.h"

namespace quillet {

bool LinkLabel::Create(HWND parent, int id, const wchar_t* text, RECT at, HFONT font,
                       std::function<void()> onMove, std::function<void()> onLeave) {
    onMove_ = std::move(onMove);
    onLeave_ = std::move(onLeave);
    tracking_ = false;
    window_ = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX,
                                at.left, at.top, at.right - at.left, at.bottom - at.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
    if (!window_) return false;
    ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return SubclassControl<LinkLabel, &LinkLabel::OnMessage>(window_, this);
}

// Repainted only when the colour changes: every mouse move reports a hover.
void LinkLabel::SetColour(COLORREF colour) {
    if (colour == colour_) return;
    colour_ = colour;
    if (window_) ::InvalidateRect(window_, nullptr, TRUE);
}

LRESULT LinkLabel::Paint(HDC dc) const {
    ::SetTextColor(dc, colour_);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT LinkLabel::OnMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR) {
    switch (msg) {
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
                tracking_ = ::TrackMouseEvent(&track) != FALSE;
            }
            if (onMove_) onMove_();
            break;
        case WM_MOUSELEAVE:
            tracking_ = false;
            if (onLeave_) onLeave_();
            break;
        case WM_NCDESTROY:
            window_ = nullptr;
            tracking_ = false;
            break;
    }
    return CallControlDefault(control, msg, wp, lp);
}

}  // namespace quillet
