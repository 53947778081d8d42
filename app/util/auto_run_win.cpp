// The Run key's value under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
#include "util/auto_run_win.h"

#include <windows.h>

#include "util/handles_win.h"
#include "util/strings_win.h"

namespace quillet {

namespace {

HKEY RootOf(AutoRunEntries::Scope scope) {
    return scope == AutoRunEntries::Scope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

IoResult RegistryAutoRun::Set(Scope scope, std::wstring_view commandLine) {
    UniqueKey key;
    LONG result = ::RegCreateKeyExW(RootOf(scope), std::wstring(kRunKey).c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (result == ERROR_SUCCESS) {
        const std::wstring data(commandLine);
        result = ::RegSetValueExW(key.get(), std::wstring(kAutoRunValue).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(data.c_str()),
                                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    if (result != ERROR_SUCCESS) return IoResult::Failure(SystemMessage(result));
    return IoResult::Success();
}

IoResult RegistryAutoRun::Remove(Scope scope) {
    UniqueKey key;
    LONG result =
        ::RegOpenKeyExW(RootOf(scope), std::wstring(kRunKey).c_str(), 0, KEY_SET_VALUE, key.put());
    if (result == ERROR_SUCCESS)
        result = ::RegDeleteValueW(key.get(), std::wstring(kAutoRunValue).c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return IoResult::Failure(SystemMessage(result));
    return IoResult::Success();
}

}  // namespace quillet
