// One owner for one COM reference.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>
#include <oleidl.h>

#include <cstddef>
#include <type_traits>
#include <utility>

namespace quillet {

// The IID of an interface, for As and OneInterface. Standard C++ cannot ask
// an interface type for it, so each one is listed here or specialised next
// to its user; As(iid, out) takes any interface without a listing.
template <class Interface>
struct InterfaceId;

template <>
struct InterfaceId<IUnknown> {
    static REFIID Get() { return IID_IUnknown; }
};
template <>
struct InterfaceId<IDispatch> {
    static REFIID Get() { return IID_IDispatch; }
};
template <>
struct InterfaceId<IDataObject> {
    static REFIID Get() { return IID_IDataObject; }
};
template <>
struct InterfaceId<IDropSource> {
    static REFIID Get() { return IID_IDropSource; }
};
template <>
struct InterfaceId<IDropTarget> {
    static REFIID Get() { return IID_IDropTarget; }
};

// Holds one reference to a COM object. There is deliberately no constructor
// from a raw pointer: Adopt and Retain say whether a reference is taken over
// or added, which is where leaks and double releases come from.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : p_(other.p_) {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ComPtr(const ComPtr<U>& other) : p_(other.get()) {
        if (p_) p_->AddRef();
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ComPtr(ComPtr<U>&& other) noexcept : p_(other.detach()) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) {
        reset();
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr Retain(T* p) {
        ComPtr result;
        result.p_ = p;
        if (p) p->AddRef();
        return result;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    void reset() {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }
    void attach(T* p) {
        reset();
        p_ = p;
    }
    T* detach() { return std::exchange(p_, nullptr); }
    void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

    // For out-parameters: releases what is held and lends the slot.
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // `iid` must name U: nothing here can check that.
    template <class U>
    HRESULT As(REFIID iid, ComPtr<U>& out) const {
        if (!p_) {
            out.reset();
            return E_POINTER;
        }
        return p_->QueryInterface(iid, out.putVoid());
    }
    template <class U>
    HRESULT As(ComPtr<U>& out) const {
        return As(InterfaceId<U>::Get(), out);
    }

  private:
    T* p_ = nullptr;
};

// IUnknown for an object that offers one interface: counted references
// (the creator holds the first), and no other interface but IUnknown.
template <class Interface>
class OneInterface : public Interface {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == InterfaceId<Interface>::Get()) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override {
        return static_cast<ULONG>(::InterlockedIncrement(&refs_));
    }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

  protected:
    OneInterface() = default;
    virtual ~OneInterface() = default;

  private:
    LONG refs_ = 1;
};

}  // namespace quillet
