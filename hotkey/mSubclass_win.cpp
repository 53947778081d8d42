// The hidden window of each HotKey object and the hook on its messages.
#include "mSubclass_win.h"

#include "HotKey_win.h"
#include "module_win.h"

namespace tarnkey {

namespace {

constexpr wchar_t kFormClass[] = L"TarnkeySubclassForm";

// One form class for every hidden window, so one previous procedure.
WNDPROC gPrevWndProc = nullptr;

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

// A press whose delivery threw is answered as handled, which for WM_HOTKEY is 0.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded(msg, [&]() -> LRESULT {
        if (msg != WM_HOTKEY) return ::CallWindowProcW(gPrevWndProc, hwnd, msg, wp, lp);
        // A borrowed pointer: the window holds no reference on its object.
        auto* owner = reinterpret_cast<HotKey*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (owner) HotKey::RaiseHotKeyPress(owner, static_cast<LONG>(static_cast<DWORD>(wp)));
        return 0;
    });
}

void RegisterFormClass() {
    WNDCLASSEXW wc{sizeof wc};
    if (::GetClassInfoExW(ModuleHandle(), kFormClass, &wc)) return;
    wc = WNDCLASSEXW{sizeof wc};
    wc.lpfnWndProc = FormProc;
    wc.hInstance = ModuleHandle();
    wc.lpszClassName = kFormClass;
    ::RegisterClassExW(&wc);
}

}  // namespace

HWND CreateSubclassForm(HotKey* owner) {
    RegisterFormClass();
    HWND form = ::CreateWindowExW(0, kFormClass, L"Form1", WS_OVERLAPPEDWINDOW, 0, 0, 320, 120,
                                  nullptr, nullptr, ModuleHandle(), nullptr);
    if (!form) return nullptr;
    ::CreateWindowExW(0, L"STATIC", L"This form is not used for anything else besides subclassing.",
                      WS_CHILD | WS_VISIBLE, 8, 8, 300, 40, form, nullptr, ModuleHandle(), nullptr);
    ::SetWindowLongPtrW(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return form;
}

// The pointer-sized calls: the 32-bit ones would cut addresses on 64-bit.
bool Subclass(HWND hwnd) {
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (!current) return false;
    gPrevWndProc = current;
    const auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
    return previous == gPrevWndProc;
}

bool UnSubclass(HWND hwnd) {
    return ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gPrevWndProc)) != 0;
}

}  // namespace tarnkey
