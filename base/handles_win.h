// One owner for every Windows handle: a move-only wrapper and its aliases.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace quillet {

// Owns one handle of type T; Close releases it. Invalid is the value that
// means "none" for that kind of handle (NULL, or INVALID_HANDLE_VALUE).
template <typename T, auto Close, auto Invalid>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(T handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != Invalid(); }
    T release() { return std::exchange(handle_, Invalid()); }
    void reset(T handle = Invalid()) {
        if (handle_ != Invalid()) Close(handle_);
        handle_ = handle;
    }
    // For out-parameters: releases what is held and lends the slot.
    T* put() {
        reset();
        return &handle_;
    }

  private:
    T handle_ = Invalid();
};

namespace detail {
inline HANDLE NullHandle() {
    return nullptr;
}
inline HANDLE InvalidFileHandle() {
    return INVALID_HANDLE_VALUE;
}
template <typename T>
T Null() {
    return nullptr;
}
inline void CloseKernel(HANDLE h) {
    ::CloseHandle(h);
}
inline void DestroyWindowHandle(HWND h) {
    ::DestroyWindow(h);
}
inline void DestroyMenuHandle(HMENU h) {
    ::DestroyMenu(h);
}
inline void DestroyIconHandle(HICON h) {
    ::DestroyIcon(h);
}
inline void DeleteGdi(HGDIOBJ h) {
    ::DeleteObject(h);
}
inline void FreeGlobal(HGLOBAL h) {
    ::GlobalFree(h);
}
inline void FreeLibraryHandle(HMODULE h) {
    ::FreeLibrary(h);
}
inline void CloseRegKey(HKEY h) {
    ::RegCloseKey(h);
}
inline void DeleteDcHandle(HDC h) {
    ::DeleteDC(h);
}
}  // namespace detail

using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernel, detail::NullHandle>;
using UniqueFile = UniqueHandle<HANDLE, detail::CloseKernel, detail::InvalidFileHandle>;
using UniqueWindow = UniqueHandle<HWND, detail::DestroyWindowHandle, detail::Null<HWND>>;
using UniqueMenu = UniqueHandle<HMENU, detail::DestroyMenuHandle, detail::Null<HMENU>>;
using UniqueIcon = UniqueHandle<HICON, detail::DestroyIconHandle, detail::Null<HICON>>;
using UniqueFont = UniqueHandle<HFONT, detail::DeleteGdi, detail::Null<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, detail::DeleteGdi, detail::Null<HBRUSH>>;
using UniqueBitmap = UniqueHandle<HBITMAP, detail::DeleteGdi, detail::Null<HBITMAP>>;
using UniqueGlobal = UniqueHandle<HGLOBAL, detail::FreeGlobal, detail::Null<HGLOBAL>>;
using UniqueModule = UniqueHandle<HMODULE, detail::FreeLibraryHandle, detail::Null<HMODULE>>;
using UniqueKey = UniqueHandle<HKEY, detail::CloseRegKey, detail::Null<HKEY>>;
using UniquePen = UniqueHandle<HPEN, detail::DeleteGdi, detail::Null<HPEN>>;
// A memory device context from CreateCompatibleDC.
using UniqueMemoryDc = UniqueHandle<HDC, detail::DeleteDcHandle, detail::Null<HDC>>;
// A printer device context from CreateDC, deleted the same way.
using UniquePrinterDc = UniqueHandle<HDC, detail::DeleteDcHandle, detail::Null<HDC>>;

// Scope guards for paired calls.
// Another program may hold the clipboard open for a moment, so opening is
// tried a few times.
class ClipboardScope {
  public:
    explicit ClipboardScope(HWND owner, int attempts = 10) {
        for (int i = 0; i < attempts && !open_; ++i) {
            if (i) ::Sleep(10);
            open_ = ::OpenClipboard(owner) != FALSE;
        }
    }
    ~ClipboardScope() {
        if (open_) ::CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_ = false;
};

template <typename T>
class GlobalLockScope {
  public:
    explicit GlobalLockScope(HGLOBAL h) : h_(h), p_(static_cast<T*>(::GlobalLock(h))) {}
    ~GlobalLockScope() {
        if (p_) ::GlobalUnlock(h_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    HGLOBAL h_;
    T* p_;
};

// A movable block holding a copy of the bytes and then `zeros` zero bytes,
// room for a terminator the source does not have.
inline UniqueGlobal GlobalCopy(const void* bytes, size_t size, size_t zeros = 0) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(size + zeros, 1)));
    if (!block) return block;
    GlobalLockScope<unsigned char> lock(block.get());
    if (!lock) return UniqueGlobal();
    if (size) std::memcpy(lock.get(), bytes, size);
    if (zeros) std::memset(lock.get() + size, 0, zeros);
    return block;
}

// A window's (or the screen's) device context from GetDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC get() const { return dc_; }
    const RECT& Dirty() const { return paint_.rcPaint; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectObjectScope() { if (old_) ::SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace quillet
