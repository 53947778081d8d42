// Another program for the program's Copy buttons to drag into: a window
// with a drop target, which reports where the first Copy button and it are
// on the screen and then what was dropped on it.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "resource.h"
#include "util/ole_win.h"

namespace {

std::wstring dropped;
bool gotDrop = false;

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(w, m, wp, lp);
}

POINT CentreOf(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int wmain() {
    if (FAILED(::OleInitialize(nullptr))) return 3;
    int code = 1;
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QuilletDropTest";
        ::RegisterClassW(&wc);
        HWND window = ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Quillet drop test",
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 600, 320, 240,
                                        nullptr, nullptr, wc.hInstance, nullptr);
        quillet::DropRegistration registration(
            window, quillet::SlotDropTarget::Create([window](const quillet::DropContent& d) {
                dropped = d.text.value_or(L"<no text>");
                gotDrop = true;
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            }));
        // The main window exists before its buttons are made and placed: wait
        // for the mark the program sets when its start-up is over, then for
        // it to answer a message, which it does once it waits for input.
        HWND program = nullptr;
        for (int i = 0; i < 300; ++i) {
            program = ::FindWindowW(L"QuilletProMain", nullptr);
            if (program && ::GetPropW(program, L"QuilletPro.Ready")) break;
            program = nullptr;
            ::Sleep(100);
        }
        DWORD_PTR answer = 0;
        HWND copy = program ? ::GetDlgItem(program, IDC_PICCOPY0) : nullptr;
        if (!copy || !registration ||
            !::SendMessageTimeoutW(program, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer)) {
            std::printf("no ready program window with a Copy button, or no drop registration\n");
            return 2;
        }
        const POINT from = CentreOf(copy);
        const POINT to = CentreOf(window);
        std::printf("ready %ld %ld %ld %ld\n", from.x, from.y, to.x, to.y);
        std::fflush(stdout);

        ::SetTimer(window, 1, 60000, nullptr);  // gives up after a minute
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER) break;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (gotDrop) {
            std::printf("dropped %ls\n", dropped.c_str());
            code = 0;
        }
        ::PostMessageW(program, WM_COMMAND, IDM_EXIT, 0);
    }
    ::OleUninitialize();
    return code;
}
