// From a posted WM_HOTKEY to the sink's HotKeyPress, against a plain posted
// message round trip to a window of the same thread (medians of 1,000).
#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Tarnkey_h.h"

namespace {

bool gArrived = false;

class Sink final : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID___HotKey) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        if (id == 1) gArrived = true;
        return S_OK;
    }
};

LRESULT CALLBACK PlainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
        gArrived = true;
        return 0;
    }
    return ::DefWindowProcW(w, msg, wp, lp);
}

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double MedianRoundTrip(HWND target, UINT msg, WPARAM wp) {
    std::vector<double> times;
    for (int i = 0; i < 1000; ++i) {
        gArrived = false;
        const double start = Now();
        ::PostMessageW(target, msg, wp, 0);
        MSG m;
        while (!gArrived && ::GetMessageW(&m, nullptr, 0, 0) > 0) ::DispatchMessageW(&m);
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

HWND FindHidden() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            wchar_t cls[64] = {};
            ::GetClassNameW(w, cls, 64);
            if (lstrcmpW(cls, L"TarnkeySubclassForm") == 0) *reinterpret_cast<HWND*>(lp) = w;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

// Usage: hotkey_latency <Tarnkey.dll>
int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HMODULE library = ::LoadLibraryW(argv[1]);
    auto getClass = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(::GetProcAddress(library, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    if (!getClass || FAILED(getClass(CLSID_HotKey, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return 1;
    _HotKey* key = nullptr;
    factory->CreateInstance(nullptr, IID__HotKey, reinterpret_cast<void**>(&key));
    factory->Release();
    Sink sink;
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    key->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    container->FindConnectionPoint(DIID___HotKey, &point);
    point->Advise(&sink, &cookie);
    key->put_KeyCode('K');
    key->put_Modifiers(MOD_CONTROL | MOD_ALT | MOD_SHIFT);
    LONG id = 0;
    if (FAILED(key->SetHotKey(0, &id))) return 1;
    const HWND hidden = FindHidden();

    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = L"LatencyPlain";
    ::RegisterClassW(&wc);
    HWND plain = ::CreateWindowW(L"LatencyPlain", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 nullptr, nullptr);

    const double ours = MedianRoundTrip(hidden, WM_HOTKEY, static_cast<WPARAM>(static_cast<DWORD>(id)));
    const double anchor = MedianRoundTrip(plain, WM_APP, 0);
    std::printf("hotkey_latency: ours=%.4f ms anchor=%.4f ms ratio=%.3f\n", ours, anchor,
                ours / anchor);
    point->Unadvise(cookie);
    point->Release();
    container->Release();
    key->Release();
    ::DestroyWindow(plain);
    ::CoUninitialize();
    return 0;
}
