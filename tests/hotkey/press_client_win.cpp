// Waits for real key presses of Ctrl+Alt+1 and Ctrl+Alt+F1 through the
// HotKey component, then checks that releasing it frees both combinations.
// Prints "ready" once registered; exits 0 when every check passed.
#include <windows.h>
#include <ocidl.h>

#include <cstdio>
#include <string>

#include "Tarnkey_h.h"
#include "support/hotkey_sink_win.h"

namespace {

LONG gIds[2] = {};
bool gPressed[2] = {};

// Marks the two expected ids as they arrive.
void Note(const std::vector<LONG>& presses) {
    for (LONG pressed : presses)
        for (int i = 0; i < 2; ++i)
            if (pressed == gIds[i] && !gPressed[i]) {
                gPressed[i] = true;
                std::printf("pressed %d id %ld\n", i, pressed);
                std::fflush(stdout);
            }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HMODULE library = ::LoadLibraryW(argv[1]);
    auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(library, "DllRegisterServer")));
    if (!library || !reg || FAILED(reg())) {
        std::printf("FAIL: cannot register %ls\n", argv[1]);
        return 1;
    }
    _HotKey* key = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_HotKey, nullptr, CLSCTX_INPROC_SERVER, IID__HotKey,
                                  reinterpret_cast<void**>(&key)))) {
        std::printf("FAIL: cannot create the object\n");
        return 1;
    }
    tarnkey::testing::PressSink sink;
    const DWORD cookie = tarnkey::testing::Connect(key, &sink);

    const UINT keys[2] = {'1', VK_F1};
    for (int i = 0; i < 2; ++i) {
        key->put_KeyCode(static_cast<LONG>(keys[i]));
        key->put_Modifiers(MOD_CONTROL | MOD_ALT);
        if (FAILED(key->SetHotKey(0, &gIds[i]))) {
            std::printf("FAIL: SetHotKey %d\n", i);
            return 1;
        }
    }
    HWND window =
        ::CreateWindowExW(0, L"STATIC", L"Tarnkey press test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                          50, 300, 100, nullptr, nullptr, nullptr, nullptr);
    std::printf("ready\n");
    std::fflush(stdout);

    const ULONGLONG end = ::GetTickCount64() + 30000;
    while (!(gPressed[0] && gPressed[1]) && ::GetTickCount64() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        Note(sink.presses);
        ::Sleep(10);
    }
    tarnkey::testing::Disconnect(key, cookie);
    key->Release();

    bool free = true;
    for (int i = 0; i < 2; ++i) {
        free = free && ::RegisterHotKey(window, 100 + i, MOD_CONTROL | MOD_ALT, keys[i]);
        ::UnregisterHotKey(window, 100 + i);
    }
    std::printf("%s\n", free ? "free after release" : "FAIL: still held after release");
    ::DestroyWindow(window);
    auto unreg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(library, "DllUnregisterServer")));
    unreg();
    ::CoUninitialize();
    return gPressed[0] && gPressed[1] && free ? 0 : 1;
}
