// The input box: its controls and its own modal loop.
#include "controls/input_box_win.h"

#include "controls/controls_win.h"

namespace quillet {

namespace {
constexpr wchar_t kInputBoxClass[] = L"QuilletProInputBox";
constexpr int kEditId = 100;
}  // namespace

std::optional<std::wstring> InputBoxWindow::Ask(std::wstring_view title, std::wstring_view prompt) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterFaceClass(instance, kInputBoxClass);

    NONCLIENTMETRICSW metrics{sizeof metrics};
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
    const int dpi = SystemDpi();
    auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };

    RECT frame{0, 0, px(360), px(130)};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
    RECT owner{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (owner_ && ::IsWindowVisible(owner_)) ::GetWindowRect(owner_, &owner);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int x = owner.left + ((owner.right - owner.left) - w) / 2;
    const int y = owner.top + ((owner.bottom - owner.top) - h) / 2;
    if (!CreateAs(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kInputBoxClass,
                  std::wstring(title).c_str(), style, RECT{x, y, x + w, y + h}, owner_, nullptr,
                  instance))
        return std::nullopt;

    auto setFont = [this](HWND c) {
        ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    };
    setFont(CreateChild(hwnd(), L"STATIC", std::wstring(prompt).c_str(), SS_LEFT, -1,
                        RECT{px(10), px(10), px(260), px(80)}));
    const HWND ok = CreateChild(hwnd(), L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                                RECT{px(270), px(10), px(350), px(36)});
    const HWND cancel = CreateChild(hwnd(), L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON,
                                    IDCANCEL, RECT{px(270), px(42), px(350), px(68)});
    edit_ = CreateChild(hwnd(), L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kEditId,
                        RECT{px(10), px(92), px(350), px(116)});
    for (HWND c : {ok, cancel, edit_}) setFont(c);

    // Modal: the owner takes no input until the box is answered.
    const bool ownerWasEnabled = owner_ && !::EnableWindow(owner_, FALSE);
    done_ = false;
    answer_.reset();
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetForegroundWindow(hwnd());
    ::SetFocus(edit_);
    MSG msg;
    while (!done_ && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (::IsDialogMessageW(hwnd(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (!done_) ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
    if (ownerWasEnabled) ::EnableWindow(owner_, TRUE);
    Destroy();
    if (owner_) ::SetForegroundWindow(owner_);
    return answer_;
}

void InputBoxWindow::Finish(bool ok) {
    if (ok) answer_ = WindowText(edit_);
    done_ = true;
}

LRESULT InputBoxWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) Finish(LOWORD(wp) == IDOK);
            return 0;
        case WM_CLOSE:
            Finish(false);
            return 0;
        default:
            return Default(msg, wp, lp);
    }
}

}  // namespace quillet
