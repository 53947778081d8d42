// The HotKey component: system-wide hotkeys registered for a hidden window,
// reported to connected sinks as the HotKeyPress event.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <vector>

#include "Tarnkey_h.h"
#include "base/com_ptr_win.h"

namespace tarnkey {

class HotKey final : public quillet::RefCounted<_HotKey, ISupportErrorInfo,
                                                IConnectionPointContainer, IProvideClassInfo> {
  public:
    // A new object with one reference, or the failure.
    static HRESULT Create(REFIID riid, void** ppv);
    // Delivers a press from the hidden window to a live object.
    static void RaiseHotKeyPress(HotKey* object, LONG id);

    // IUnknown, with AddRef and Release counted by the base
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;

    // IDispatch, through the type library
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* excep, UINT* argError) override;

    // _HotKey
    STDMETHODIMP get_KeyCode(LONG* value) override;
    STDMETHODIMP put_KeyCode(LONG value) override;
    STDMETHODIMP get_Modifiers(LONG* value) override;
    STDMETHODIMP put_Modifiers(LONG value) override;
    STDMETHODIMP RemoveAllHotKeys() override;
    STDMETHODIMP SetHotKey(LONG hotKeyId, LONG* id) override;
    STDMETHODIMP RemoveHotKey(LONG* id) override;

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // IProvideClassInfo
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;

  private:
    // The one connection point, for __HotKey; it lives inside its object.
    class EventPoint final : public IConnectionPoint {
      public:
        explicit EventPoint(HotKey& owner) : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) noexcept override;
        STDMETHODIMP_(ULONG) AddRef() override { return owner_.AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return owner_.Release(); }
        STDMETHODIMP GetConnectionInterface(IID* iid) override;
        STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
        STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
        STDMETHODIMP Unadvise(DWORD cookie) override;
        STDMETHODIMP EnumConnections(IEnumConnections** ppEnum) override;

      private:
        HotKey& owner_;
    };

    struct Sink {
        DWORD cookie;
        quillet::ComPtr<IDispatch> dispatch;
    };
    // An issued id, and whether this object still holds its atom reference.
    struct Issued {
        LONG id;
        bool holdsAtom;
    };

    HotKey();
    ~HotKey() override;
    HRESULT Init();
    void ReleaseAtomOf(LONG id);
    HRESULT InvokeRemoveHotKey(DISPPARAMS* params, EXCEPINFO* excep, UINT* argError);

    LONG keyCode_ = 0;
    LONG modifiers_ = 0;
    LONG id_ = 0;
    std::vector<Issued> ids_;
    LONG idCount_ = 0;
    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
    EventPoint events_{*this};
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
};

}  // namespace tarnkey
