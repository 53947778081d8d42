// Trimming of leading and trailing spaces (spaces only: tabs and line
// breaks are part of the text). The result views the argument.
#pragma once

#include <string_view>

namespace quillet {

namespace detail {
template <class Char>
std::basic_string_view<Char> TrimSpaces(std::basic_string_view<Char> text) {
    const size_t first = text.find_first_not_of(Char(' '));
    if (first == std::basic_string_view<Char>::npos) return {};
    return text.substr(first, text.find_last_not_of(Char(' ')) - first + 1);
}
}  // namespace detail

inline std::string_view TrimSpaces(std::string_view text) {
    return detail::TrimSpaces(text);
}
inline std::wstring_view TrimSpaces(std::wstring_view text) {
    return detail::TrimSpaces(text);
}

}  // namespace quillet
