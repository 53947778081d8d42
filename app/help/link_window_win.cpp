// The help and About windows' shared window: making it, its links, and the
// messages both answer alike.
#include "help/link_window_win.h"

#include <algorithm>

#include "controls/drawing_win.h"
#include "resource.h"

namespace quillet {

void LinkWindow::Close() {
    tips_.reset();
    Destroy();
}

void LinkWindow::DestroyQuietly() {
    quiet_ = true;
    Close();
}

// Unowned: under Wine an owned topmost window keeps its owner from
// becoming topmost, and the main window has its own Stay on Top.
void LinkWindow::Load() {
    links_.clear();
    clickable_.clear();
    if (!CreateCentred(instance_, look_.className, IDI_QUILLET, look_.caption, look_.style,
                       look_.client))
        return;
    LOGFONTW lf = MessageFont();
    font_.reset(::CreateFontIndirectW(&lf));
    lf.lfUnderline = TRUE;
    link_.reset(::CreateFontIndirectW(&lf));
    const HWND focus = CreateControls();
    Form().Form_Load();
    ::SetFocus(focus);
}

LOGFONTW LinkWindow::MessageFont() {
    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont;
}

HWND LinkWindow::Child(const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT at,
                       HFONT font, DWORD exStyle) {
    const HWND child = CreateChild(hwnd(), className, text, style, id, at, exStyle);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void LinkWindow::CreateLink(LinkLabel& label, int id, std::wstring_view text, RECT at, Link link) {
    label.Create(
        hwnd(), id, std::wstring(text).c_str(), at, link_.get(),
        [this, link] { Form().Link_MouseMove(link); },
        [this, link] { Form().Link_MouseLeave(link); });
    links_.push_back(&label);
}

void LinkWindow::AddTip(HWND control, const std::wstring& text) {
    if (!tips_) {
        tips_ = std::make_unique<Tooltips>();
        tips_->Create(hwnd());
    }
    tips_->Add(control, text);
}

void LinkWindow::MakeTopMost(bool onTop) {
    ::SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT LinkWindow::OnColour(HDC dc, HWND control) {
    return Default(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(control));
}

void LinkWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    DrawLogo(item);
}

LRESULT LinkWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == IDCANCEL)
                Close();
            else
                OnCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC: {
            const auto control = reinterpret_cast<HWND>(lp);
            const auto dc = reinterpret_cast<HDC>(wp);
            for (const LinkLabel* link : links_)
                if (control == link->hwnd()) return link->Paint(dc);
            return OnColour(dc, control);
        }
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_MOUSEMOVE:
            Form().Form_MouseMove();
            return 0;
        case WM_SETCURSOR:
            if (!Clickable(reinterpret_cast<HWND>(wp))) return Default(msg, wp, lp);
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            if (!quiet_) Form().Form_Unload();
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

bool LinkWindow::Clickable(HWND control) const {
    if (!control) return false;
    const auto isLink = [control](const LinkLabel* link) { return link->hwnd() == control; };
    return std::any_of(links_.begin(), links_.end(), isLink) ||
           std::find(clickable_.begin(), clickable_.end(), control) != clickable_.end();
}

}  // namespace quillet
