// The path of one of the user's known folders (application data and such).
#pragma once

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

namespace quillet {

// Empty when the system cannot say.
inline std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path)
        result = path;
    ::CoTaskMemFree(path);
    return result;
}

}  // namespace quillet
