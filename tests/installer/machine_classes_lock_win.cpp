// Makes the machine's registration of the Tarnkey class refuse writes, as it
// does for a user who is no administrator, and undoes that again.
// Usage: machine_classes_lock lock|unlock   (exit 0 on success)
#include <windows.h>
#include <sddl.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kKey[] = L"Software\\Classes\\CLSID\\{F546DB2F-84DF-4E6D-83EC-75827B8F0704}";

bool SetAccess(HKEY key, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd,
                                                                nullptr))
        return false;
    const bool ok = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    ::LocalFree(sd);
    return ok;
}

int Lock() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return 1;
    // Everyone may read it; nobody may write, not even an administrator.
    const bool ok = SetAccess(key, L"D:P(A;;KR;;;WD)");
    ::RegCloseKey(key);
    if (!ok) return 1;
    // A lock that does not refuse would prove nothing.
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) ==
        ERROR_SUCCESS) {
        ::RegCloseKey(key);
        std::fprintf(stderr, "the locked key still takes writes\n");
        return 1;
    }
    return 0;
}

int Unlock() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, WRITE_DAC | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return 0;  // not locked
    const bool ok = SetAccess(key, L"D:P(A;;KA;;;WD)");
    ::RegCloseKey(key);
    if (!ok) return 1;
    const LSTATUS s = ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_64KEY, 0);
    return s == ERROR_SUCCESS || s == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"lock") == 0) return Lock();
    if (argc == 2 && std::wcscmp(argv[1], L"unlock") == 0) return Unlock();
    std::fprintf(stderr, "usage: machine_classes_lock lock|unlock\n");
    return 2;
}
