// A line of text on the console in UTF-8, for the scripts that read what the
// small Windows test programs print.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace quillet::testing {

inline void PrintLine(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    std::printf("%s\n", out.c_str());
}

}  // namespace quillet::testing
