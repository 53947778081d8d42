// Child controls and the panel class shared by the program's windows.
#include "controls/controls_win.h"

#include <commctrl.h>

#include "base/window_win.h"

namespace quillet {

namespace {

constexpr wchar_t kPanelClass[] = L"QuilletProPanel";

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_DRAWITEM:
            return ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(hwnd, &r);
            auto brush = reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            ::FillRect(reinterpret_cast<HDC>(wp), &r,
                       brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
}

}  // namespace

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id,
                 RECT at, DWORD exStyle) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, at.left,
                             at.top, at.right - at.left, at.bottom - at.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

HWND CreatePanel(HWND parent, int id, RECT at, DWORD style, DWORD exStyle, HBRUSH brush) {
    static const ATOM registered = [] {
        WNDCLASSEXW wc{sizeof wc};
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kPanelClass;
        return ::RegisterClassExW(&wc);
    }();
    (void)registered;
    const HWND panel = ::CreateWindowExW(exStyle, kPanelClass, L"", WS_CHILD | style, at.left,
                                         at.top, at.right - at.left, at.bottom - at.top, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         ::GetModuleHandleW(nullptr), nullptr);
    if (panel && brush)
        ::SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(brush));
    return panel;
}

std::wstring WindowText(HWND window) {
    const int n = ::GetWindowTextLengthW(window);
    if (n <= 0) return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), n + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

Tooltips::~Tooltips() {
    RemoveMouseRelay(window_.get());
}

void Tooltips::Create(HWND owner) {
    RemoveMouseRelay(window_.get());
    owner_ = owner;
    // Unowned: under Wine a topmost owned pop-up keeps its owner from becoming
    // topmost, which would break Stay on Top.
    window_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr));
    AddMouseRelay(window_.get());
}

void Tooltips::Add(HWND control, const std::wstring& text) {
    Send(TTM_ADDTOOLW, control, text);
}

void Tooltips::Update(HWND control, const std::wstring& text) {
    Send(TTM_UPDATETIPTEXTW, control, text);
}

void Tooltips::Send(UINT message, HWND control, const std::wstring& text) {
    if (!window_) return;
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(window_.get(), message, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace quillet
