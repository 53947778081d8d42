// Waits for real presses of Ctrl+Alt+F3 and Ctrl+Alt+0 through the program's
// hotkey client and prints the slot action each one maps to; then releases
// the client and checks that all twenty combinations are free again.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "background/hotkey_client_win.h"
#include "background/hotkeys.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    quillet::HotkeyBindings bindings;
    bool copied = false, pasted = false;
    auto client = quillet::HotkeyClient::Create(
        [&](int32_t id) {
            const auto action = bindings.OnPress(id, true);
            if (!action) return;
            const bool copy = action->kind == quillet::HotkeyKind::Copy;
            std::printf("%s %d\n", copy ? "copy" : "paste", action->slot);
            std::fflush(stdout);
            (copy ? copied : pasted) = true;
        },
        argv[1]);
    if (!client) {
        std::printf("FAIL: no hotkey client\n");
        return 1;
    }
    quillet::ActiveKeyboardLayout layout;
    bindings.SetUp(client.get(), layout);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"Quillet hotkey press test",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 100, nullptr,
                                    nullptr, nullptr, nullptr);
    std::printf("ready\n");
    std::fflush(stdout);

    const ULONGLONG end = ::GetTickCount64() + 30000;
    while (!(copied && pasted) && ::GetTickCount64() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
    client.reset();

    bool free = true;
    for (const auto& binding : quillet::HotkeyTable()) {
        free = free && ::RegisterHotKey(window, 1, MOD_CONTROL | MOD_ALT, binding.keyCode);
        ::UnregisterHotKey(window, 1);
    }
    std::printf("%s\n", free ? "free after release" : "FAIL: still held after release");
    ::DestroyWindow(window);
    ::CoUninitialize();
    return copied && pasted && free ? 0 : 1;
}
