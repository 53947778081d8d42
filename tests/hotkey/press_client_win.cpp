// Waits for real key presses of Ctrl+Alt+1 and Ctrl+Alt+F1 through the
// HotKey component, then checks that releasing it frees both combinations.
// Prints "ready" once registered; exits 0 when every check passed.
#include <windows.h>
#include <ocidl.h>

#include <cstdio>
#include <string>

#include "Tarnkey_h.h"

namespace {

LONG gIds[2] = {};
bool gPressed[2] = {};

class Sink final : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID___HotKey) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        if (id != 1 || !p || p->cArgs != 1) return S_OK;
        for (int i = 0; i < 2; ++i) {
            if (p->rgvarg[0].lVal == gIds[i] && !gPressed[i]) {
                gPressed[i] = true;
                std::printf("pressed %d id %ld\n", i, p->rgvarg[0].lVal);
                std::fflush(stdout);
            }
        }
        return S_OK;
    }
};

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
    Sink sink;
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    key->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    container->FindConnectionPoint(DIID___HotKey, &point);
    point->Advise(&sink, &cookie);

    const UINT keys[2] = {'1', VK_F1};
    for (int i = 0; i < 2; ++i) {
        key->put_KeyCode(static_cast<LONG>(keys[i]));
        key->put_Modifiers(MOD_CONTROL | MOD_ALT);
        if (FAILED(key->SetHotKey(0, &gIds[i]))) {
            std::printf("FAIL: SetHotKey %d\n", i);
            return 1;
        }
    }
    HWND window = ::CreateWindowExW(0, L"STATIC", L"Tarnkey press test",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 100, nullptr,
                                    nullptr, nullptr, nullptr);
    std::printf("ready\n");
    std::fflush(stdout);

    const ULONGLONG end = ::GetTickCount64() + 30000;
    while (!(gPressed[0] && gPressed[1]) && ::GetTickCount64() < end) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(10);
    }
    point->Unadvise(cookie);
    point->Release();
    container->Release();
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
