// Stands in for the mail program and the browser: appends the address it
// was asked to open to a log file, one line each.
// Usage: link_recorder LOGFILE ADDRESS
#include <windows.h>

#include <string>

#include "base/handles_win.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring line = std::wstring(argv[2]) + L"\n";
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), n,
                          nullptr, nullptr);
    // Appends whole lines: each write goes to the end of the file.
    const quillet::UniqueFile log(::CreateFileW(argv[1], FILE_APPEND_DATA,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return 1;
    DWORD written = 0;
    return ::WriteFile(log.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
               ? 0
               : 1;
}
