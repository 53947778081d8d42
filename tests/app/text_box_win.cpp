// Another program with a text box that takes the keyboard, for the pastes
// the real program sends. It prints "ready" once its window shows.
// Usage: text_box              shows the window "text box" until killed
//        text_box --text       prints the running one's text (exit 1: none)
//        text_box --set TEXT   replaces it
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "support/console_win.h"

namespace {

constexpr wchar_t kClass[] = L"QuilletTestTextBox";

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    // The keys go to the box whenever the window is activated.
    if (msg == WM_SETFOCUS) {
        ::SetFocus(::GetWindow(w, GW_CHILD));
        return 0;
    }
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(w, msg, wp, lp);
}

HWND RunningBox() {
    HWND window = ::FindWindowW(kClass, nullptr);
    return window ? ::GetWindow(window, GW_CHILD) : nullptr;
}

int PrintText() {
    HWND box = RunningBox();
    if (!box) return 1;
    // GetWindowText does not ask a control of another process.
    std::wstring text(static_cast<size_t>(::SendMessageW(box, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        ::SendMessageW(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    quillet::testing::PrintLine(text);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"--text") == 0) return PrintText();
    if (argc > 2 && std::wcscmp(argv[1], L"--set") == 0) {
        HWND box = RunningBox();
        return box && ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2])) ? 0 : 1;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, kClass, L"text box", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150,
                               400, 120, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) return 1;
    HWND box =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                          10, 10, 360, 24, w, nullptr, wc.hInstance, nullptr);
    if (!box) return 1;
    ::SetFocus(box);
    ::UpdateWindow(w);
    std::printf("ready\n");
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
