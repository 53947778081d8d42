#include "clipboard_win.h"

#include <cstring>

#include "util/handles_win.h"

namespace quillet {

namespace {

std::wstring MapCase(std::wstring_view text, DWORD how) {
    if (text.empty()) return {};
    const int n = ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, how | LCMAP_LINGUISTIC_CASING,
                                  text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                  nullptr, 0);
    if (n <= 0) return std::wstring(text);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, how | LCMAP_LINGUISTIC_CASING, text.data(),
                    static_cast<int>(text.size()), out.data(), n, nullptr, nullptr, 0);
    return out;
}

}  // namespace

std::optional<std::wstring> SystemClipboard::Text() {
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
    ClipboardScope open(owner_);
    if (!open) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    GlobalLockScope<const wchar_t> lock(data);
    if (!lock) return std::nullopt;
    // The data need not end in a NUL within its block; never read past it.
    const size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
    size_t length = 0;
    while (length < capacity && lock.get()[length] != L'\0') ++length;
    return std::wstring(lock.get(), length);
}

bool SystemClipboard::SetText(std::wstring_view text) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!block) return false;
    {
        GlobalLockScope<wchar_t> lock(block.get());
        if (!lock) return false;
        std::memcpy(lock.get(), text.data(), text.size() * sizeof(wchar_t));
        lock.get()[text.size()] = L'\0';
    }
    ClipboardScope open(owner_);
    if (!open) return false;
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_UNICODETEXT, block.get())) return false;
    block.release();  // the clipboard owns it now
    return true;
}

bool SystemClipboard::Clear() {
    ClipboardScope open(owner_);
    if (!open) return false;
    return ::EmptyClipboard() != FALSE;
}

std::wstring LocaleCases::Lower(std::wstring_view text) const { return MapCase(text, LCMAP_LOWERCASE); }
std::wstring LocaleCases::Upper(std::wstring_view text) const { return MapCase(text, LCMAP_UPPERCASE); }

}  // namespace quillet
