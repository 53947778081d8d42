// Code-page conversions.
#include "base/strings_win.h"

#include <climits>
#include <stdexcept>

namespace quillet {

namespace {

// The conversion calls count in int; a longer text is refused rather than
// cut at a wrapped length.
int CheckedLength(size_t size) {
    if (size > static_cast<size_t>(INT_MAX)) throw std::length_error("text too long to convert");
    return static_cast<int>(size);
}

// A character the code page lacks becomes "?", never a look-alike: "z" for
// "ż" would change the user's text without a sign of it.
DWORD NoBestFit(UINT codePage) {
    return codePage == CP_UTF8 || codePage == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
}

}  // namespace

std::wstring Widen(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    const int size = CheckedLength(bytes.size());
    const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    const int size = CheckedLength(text.size());
    const DWORD flags = NoBestFit(codePage);
    const int n =
        ::WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

bool Represents(std::wstring_view text, UINT codePage) {
    if (text.empty() || codePage == CP_UTF8) return true;
    BOOL lost = FALSE;
    ::WideCharToMultiByte(codePage, NoBestFit(codePage), text.data(), CheckedLength(text.size()),
                          nullptr, 0, nullptr, &lost);
    return !lost;
}

}  // namespace quillet
