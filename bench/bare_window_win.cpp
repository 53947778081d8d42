// The smallest Win32 program with a window: the anchor of the memory figure.
// It says "ready" once its window shows and then waits to be ended.
#include <windows.h>

#include <cstdio>

int main() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuilletBareWindow";
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                               100, 400, 500, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) return 1;
    ::UpdateWindow(w);
    std::printf("ready\n");
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
