// One owner for one COM reference, and the IUnknown of the objects the
// program and its hotkey library implement.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <oaidl.h>
#include <oleidl.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

namespace quillet {

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

  private:
    T* p_ = nullptr;
};

// One row of an object's table of interfaces: an IID and where the
// interface that answers it sits in the object.
struct InterfaceRow {
    const IID* iid;
    std::uintptr_t offset;
};

// The row that answers `iid` with the object's `Interface`. Every object of
// a class without virtual bases has its interfaces at the same places, so
// rows made from one object serve all of them.
template <class Interface, class Object>
InterfaceRow RowOf(const IID& iid, Object* object) noexcept {
    const auto start = reinterpret_cast<std::uintptr_t>(object);
    return {&iid, reinterpret_cast<std::uintptr_t>(static_cast<Interface*>(object)) - start};
}

// QueryInterface from a table: the interface of the row with the IID asked
// for, with a reference added. IID_IUnknown is the first row's interface,
// the same pointer whatever interface it is asked through. `object` is the
// pointer of the class the rows were made with, as RowOf had it.
inline HRESULT QueryInterfaceTable(void* object, std::span<const InterfaceRow> rows, REFIID riid,
                                   void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (const InterfaceRow& row : rows) {
        if (riid != *row.iid && !(riid == IID_IUnknown && &row == rows.data())) continue;
        auto* found =
            reinterpret_cast<IUnknown*>(reinterpret_cast<std::uintptr_t>(object) + row.offset);
        found->AddRef();
        *ppv = found;
        return S_OK;
    }
    return E_NOINTERFACE;
}

// AddRef and Release for an object made with new that implements
// `Interfaces`: the creator holds the first reference, the last Release
// deletes the object. The class answers QueryInterface from its own table.
template <class... Interfaces>
class RefCounted : public Interfaces... {
  public:
    STDMETHODIMP_(ULONG) AddRef() noexcept override {
        return static_cast<ULONG>(::InterlockedIncrement(&refs_));
    }
    STDMETHODIMP_(ULONG) Release() noexcept override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

  protected:
    RefCounted() = default;
    virtual ~RefCounted() = default;

  private:
    LONG refs_ = 1;
};

}  // namespace quillet
