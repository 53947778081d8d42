// The Run key's value under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, through
// the program's registry class.
#include "util/auto_run_win.h"

#include <windows.h>

#include "base/strings_win.h"
#include "util/cRegistry.h"

namespace quillet {

namespace {

cRegistry RunValue(AutoRunEntries::Scope scope) {
    cRegistry reg;
    reg.ClassKey(scope == AutoRunEntries::Scope::kMachine ? kLocalMachine : kCurrentUser);
    reg.SectionKey(std::wstring(kRunKey));
    reg.ValueKey(std::wstring(kAutoRunValue));
    reg.ValueType(kRegSz);
    return reg;
}

// The system's words for the error, as Windows says them elsewhere; the
// class's own text, which names the root key by number, only when the system
// gave no code.
std::wstring Reason(const cRegistry& reg, const std::wstring& description) {
    if (reg.LastError() == ERROR_SUCCESS) return description;
    return SystemMessage(static_cast<DWORD>(reg.LastError()));
}

}  // namespace

IoResult RegistryAutoRun::Set(Scope scope, std::wstring_view commandLine) {
    cRegistry reg = RunValue(scope);
    try {
        reg.Value(std::wstring(commandLine));
    } catch (const RegistryError& error) {
        return IoResult::Failure(Reason(reg, error.Description()));
    }
    return IoResult::Success();
}

IoResult RegistryAutoRun::Remove(Scope scope) {
    cRegistry reg = RunValue(scope);
    std::wstring description;
    try {
        if (reg.DeleteValue()) return IoResult::Success();
    } catch (const RegistryError& error) {
        description = error.Description();
    }
    // Neither a missing value nor a missing Run key leaves anything to remove.
    if (reg.LastError() == ERROR_FILE_NOT_FOUND) return IoResult::Success();
    return IoResult::Failure(Reason(reg, description));
}

}  // namespace quillet
