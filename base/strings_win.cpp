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

// The system's own page for CP_ACP: with "Use Unicode UTF-8 for worldwide
// language support" on, that is UTF-8, and the flags must suit it.
UINT Resolved(UINT codePage) {
    return codePage == CP_ACP ? ::GetACP() : codePage == CP_OEMCP ? ::GetOEMCP() : codePage;
}

// Pages the conversion refuses any flag and the lost-character report for:
// UTF-7 and UTF-8, the ISO-2022 family, HZ, GB18030, ISCII and Symbol.
bool TakesNoFlags(UINT codePage) {
    return codePage == CP_UTF8 || codePage == CP_UTF7 || (codePage >= 50220 && codePage <= 50229) ||
           codePage == 52936 || codePage == 54936 || (codePage >= 57002 && codePage <= 57011) ||
           codePage == 42;
}

// A character the code page lacks becomes "?", never a look-alike: "z" for
// "ż" would change the user's text without a sign of it.
DWORD NoBestFit(UINT codePage) {
    return TakesNoFlags(codePage) ? 0 : WC_NO_BEST_FIT_CHARS;
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
    codePage = Resolved(codePage);
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
    codePage = Resolved(codePage);
    if (text.empty() || codePage == CP_UTF8) return true;
    // These pages cannot say what they lost: the way back tells.
    if (TakesNoFlags(codePage)) return Widen(Narrow(text, codePage), codePage) == text;
    BOOL lost = FALSE;
    ::WideCharToMultiByte(codePage, NoBestFit(codePage), text.data(), CheckedLength(text.size()),
                          nullptr, 0, nullptr, &lost);
    return !lost;
}

}  // namespace quillet
