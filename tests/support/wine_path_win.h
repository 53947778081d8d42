// Paths the build gives as host paths, as Windows programs under Wine see
// them: the host's file system is drive Z:.
#pragma once

#include <string>
#include <string_view>

namespace quillet::testing {

inline std::wstring WinePath(std::string_view host) {
    std::wstring path = L"Z:";
    for (char c : host) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

}  // namespace quillet::testing
