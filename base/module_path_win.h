// The full path of a loaded module, however long, and the folder it is in.
#pragma once

#include <windows.h>

#include <string>

namespace quillet {

// Empty when the system cannot say; null names the program itself.
inline std::wstring ModuleFileName(HMODULE module = nullptr) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) return {};  // longer than any Windows path
        path.resize(path.size() * 2);
    }
}

// The folder without its trailing backslash.
inline std::wstring ModuleFolder(HMODULE module = nullptr) {
    const std::wstring path = ModuleFileName(module);
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

}  // namespace quillet
