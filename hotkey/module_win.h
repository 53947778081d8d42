// What the whole library shares: its module handle, the count of objects and
// locks that keep it loaded, the type library loaded from its resource, and
// the guard that keeps C++ exceptions inside the library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <new>

#include "util/com_ptr_win.h"

namespace tarnkey {

HMODULE ModuleHandle();
void AddModuleRef();
void ReleaseModuleRef();

// The type information of one interface of the library, or null.
quillet::ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid);

// Runs the body of an export or a COM method. Its callers are C and script
// clients that cannot take a C++ exception, so one becomes an HRESULT here.
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

}  // namespace tarnkey
