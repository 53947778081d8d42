// From a posted WM_HOTKEY to the sink's HotKeyPress, against a plain posted
// message round trip to a window of the same thread (medians of 1,000).
#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Tarnkey_h.h"
#include "support/hotkey_sink_win.h"

namespace {

bool gArrived = false;

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

tarnkey::testing::PressSink gSink;

double MedianRoundTrip(HWND target, UINT msg, WPARAM wp) {
    std::vector<double> times;
    for (int i = 0; i < 1000; ++i) {
        gArrived = false;
        gSink.presses.clear();
        const double start = Now();
        ::PostMessageW(target, msg, wp, 0);
        MSG m;
        while (!gArrived && gSink.presses.empty() && ::GetMessageW(&m, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&m);
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
    if (!getClass ||
        FAILED(getClass(CLSID_HotKey, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return 1;
    _HotKey* key = nullptr;
    factory->CreateInstance(nullptr, IID__HotKey, reinterpret_cast<void**>(&key));
    factory->Release();
    const DWORD cookie = tarnkey::testing::Connect(key, &gSink);
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

    const double ours =
        MedianRoundTrip(hidden, WM_HOTKEY, static_cast<WPARAM>(static_cast<DWORD>(id)));
    const double anchor = MedianRoundTrip(plain, WM_APP, 0);
    std::printf("hotkey_latency: ours=%.4f ms anchor=%.4f ms ratio=%.3f\n", ours, anchor,
                ours / anchor);
    tarnkey::testing::Disconnect(key, cookie);
    key->Release();
    ::DestroyWindow(plain);
    ::CoUninitialize();
    return 0;
}
