// System libraries that only some commands use, loaded at their first use:
// every library the program imports is loaded and started with it, which
// under Wine costs its start-up noticeably.
#pragma once

#include <windows.h>

#include "base/handles_win.h"

namespace quillet {

// Loaded from the system folder when made; kept as long as it lives, which
// for the usual function-local static is until the program ends.
class SystemLibrary {
  public:
    explicit SystemLibrary(const wchar_t* name)
        : module_(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

    // Null when the library or the function is missing. `Fn` is the
    // function's pointer type, e.g. decltype(&::GetDefaultPrinterW).
    template <class Fn>
    Fn Function(const char* name) const {
        if (!module_) return nullptr;
        return reinterpret_cast<Fn>(
            reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)));
    }

  private:
    UniqueModule module_;
};

}  // namespace quillet
