// What the whole library shares: its module handle, the count of objects and
// locks that keep it loaded, and the type library loaded from its resource.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "base/com_ptr_win.h"
#include "base/guard_win.h"

namespace tarnkey {

HMODULE ModuleHandle();
void AddModuleRef();
void ReleaseModuleRef();

// The type information of one interface of the library, or null.
quillet::ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid);

// The exports, COM methods and the hidden window's procedure keep C++
// exceptions in with the guard the program uses.
using quillet::Guarded;

}  // namespace tarnkey
