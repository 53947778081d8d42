// The one guard at every place the system or a COM client calls in: window
// procedures, callbacks, COM methods and library exports. None of their
// callers can take a C++ exception, so one ends here as a failure answer.
#pragma once

#include <windows.h>

#include <new>

namespace quillet {

// What a message answers when its handler failed: the value that means
// "handled, nothing more to do", never the default processing (a close that
// failed half-way must not go on to destroy the window).
inline LRESULT HandledValue(UINT msg) noexcept {
    switch (msg) {
        case WM_NCCREATE:
            return FALSE;  // creation fails rather than half-made
        case WM_CREATE:
            return -1;
        case WM_QUERYENDSESSION:
            return TRUE;  // never hold up a logoff
        default:
            return 0;
    }
}

// A COM method or an export: a failed allocation is E_OUTOFMEMORY, any other
// exception E_UNEXPECTED.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// A window procedure's handling of `msg`: a handler that throws has the
// message answered as handled.
template <class Handler>
LRESULT Guarded(UINT msg, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (...) {
        return HandledValue(msg);
    }
}

}  // namespace quillet
