// A HotKeyPress sink for the clients of the hotkey component in the tests
// and benchmarks, the connection to an object's event point, and the
// component's hidden windows.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <set>
#include <string>
#include <vector>

#include "Tarnkey_h.h"

namespace tarnkey::testing {

inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

// The component's hidden windows on this thread; WM_HOTKEY sent there is
// what the system sends for a real press.
inline std::set<HWND> HiddenWindows() {
    std::set<HWND> found;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            wchar_t cls[64] = {};
            ::GetClassNameW(w, cls, 64);
            if (std::wstring(cls) == L"TarnkeySubclassForm")
                reinterpret_cast<std::set<HWND>*>(lp)->insert(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Records every HotKeyPress; counts its references so tests can see that an
// object let go of it.
class PressSink final : public IDispatch {
  public:
    std::vector<LONG> presses;
    LONG refs = 1;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID___HotKey) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        if (id == 1 && p && p->cArgs == 1 && p->rgvarg[0].vt == VT_I4)
            presses.push_back(p->rgvarg[0].lVal);
        return S_OK;
    }
};

// The object's one connection point (a new reference).
inline IConnectionPoint* EventPointOf(_HotKey* key) {
    IConnectionPointContainer* container = nullptr;
    if (FAILED(key->QueryInterface(IID_IConnectionPointContainer,
                                   reinterpret_cast<void**>(&container))))
        return nullptr;
    IConnectionPoint* point = nullptr;
    container->FindConnectionPoint(DIID___HotKey, &point);
    container->Release();
    return point;
}

// Advises `sink`; the cookie, or 0 on failure.
inline DWORD Connect(_HotKey* key, IDispatch* sink) {
    IConnectionPoint* point = EventPointOf(key);
    DWORD cookie = 0;
    if (point) {
        point->Advise(sink, &cookie);
        point->Release();
    }
    return cookie;
}

inline bool Disconnect(_HotKey* key, DWORD cookie) {
    IConnectionPoint* point = EventPointOf(key);
    const bool ok = point && SUCCEEDED(point->Unadvise(cookie));
    if (point) point->Release();
    return ok;
}

}  // namespace tarnkey::testing
