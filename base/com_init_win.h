// COM on the calling thread for as long as a scope lives. Every successful
// start, S_FALSE for a thread that had it already included, wants its own
// end; a failed one (another apartment model) must not end what others began.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace quillet {

template <auto Start, auto End>
class InitScope {
  public:
    InitScope() noexcept : result_(Start()) {}
    ~InitScope() {
        if (SUCCEEDED(result_)) End();
    }
    InitScope(const InitScope&) = delete;
    InitScope& operator=(const InitScope&) = delete;

    explicit operator bool() const { return SUCCEEDED(result_); }
    HRESULT result() const { return result_; }

  private:
    HRESULT result_;
};

namespace detail {
inline HRESULT StartApartment() noexcept {
    return ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}
inline void EndApartment() noexcept {
    ::CoUninitialize();
}
inline HRESULT StartOle() noexcept {
    return ::OleInitialize(nullptr);
}
inline void EndOle() noexcept {
    ::OleUninitialize();
}
}  // namespace detail

// COM in a single-threaded apartment, which the windows' thread needs.
using ComInit = InitScope<detail::StartApartment, detail::EndApartment>;
// OLE (drag and drop, the clipboard's data objects) over such an apartment.
using OleInit = InitScope<detail::StartOle, detail::EndOle>;

}  // namespace quillet
