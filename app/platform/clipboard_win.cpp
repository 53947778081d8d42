// The system clipboard: text as Unicode, pictures as packed DIBs.
#include "platform/clipboard_win.h"

#include "base/strings_win.h"
#include "platform/ole_win.h"

namespace quillet {

namespace {

std::wstring MapCase(std::wstring_view text, DWORD how) {
    if (text.empty()) return {};
    const int n =
        ::LCMapStringEx(LOCALE_NAME_USER_DEFAULT, how | LCMAP_LINGUISTIC_CASING, text.data(),
                        static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr, 0);
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
    GlobalLockScope<const unsigned char> lock(data);
    if (!lock) return std::nullopt;
    // The data need not end in a NUL within its block; never read past it.
    return TextFromBuffer(lock.get(), ::GlobalSize(data), true);
}

bool SystemClipboard::Private() {
    static const UINT exclude =
        ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
    static const UINT ignore = ::RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
    static const UINT history = ::RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
    if (::IsClipboardFormatAvailable(exclude) || ::IsClipboardFormatAvailable(ignore)) return true;
    if (!::IsClipboardFormatAvailable(history)) return false;
    // Unknown counts as private: showing a password is the worse mistake.
    ClipboardScope open(owner_);
    if (!open) return true;
    HANDLE data = ::GetClipboardData(history);
    if (!data || ::GlobalSize(data) < sizeof(DWORD)) return true;
    GlobalLockScope<const DWORD> lock(data);
    return !lock || *lock.get() == 0;
}

bool SystemClipboard::SetText(std::wstring_view text) {
    return Put(CF_UNICODETEXT,
               GlobalCopy(text.data(), text.size() * sizeof(wchar_t), sizeof(wchar_t)));
}

// The 8-bit text goes too: an older one from another program would
// otherwise be what programs reading that format get.
bool SystemClipboard::AddText(std::wstring_view text) {
    UniqueGlobal wide = GlobalCopy(text.data(), text.size() * sizeof(wchar_t), sizeof(wchar_t));
    const std::string ansi = Narrow(text);
    UniqueGlobal narrow = GlobalCopy(ansi.data(), ansi.size(), 1);
    if (!wide || !narrow) return false;
    ClipboardScope open(owner_);
    if (!open || !::SetClipboardData(CF_UNICODETEXT, wide.get())) return false;
    wide.release();  // the clipboard owns it now
    if (::SetClipboardData(CF_TEXT, narrow.get())) narrow.release();
    return true;
}

bool SystemClipboard::Put(UINT format, UniqueGlobal block) {
    if (!block) return false;
    ClipboardScope open(owner_);
    if (!open) return false;
    ::EmptyClipboard();
    if (!::SetClipboardData(format, block.get())) return false;
    block.release();  // the clipboard owns it now
    return true;
}

// The system makes a DIB of any bitmap put on the clipboard.
std::optional<std::vector<uint8_t>> SystemClipboard::Dib() {
    if (!::IsClipboardFormatAvailable(CF_DIB)) return std::nullopt;
    ClipboardScope open(owner_);
    if (!open) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_DIB);
    if (!data) return std::nullopt;
    GlobalLockScope<const uint8_t> lock(data);
    if (!lock) return std::nullopt;
    return std::vector<uint8_t>(lock.get(), lock.get() + ::GlobalSize(data));
}

bool SystemClipboard::SetDib(const std::vector<uint8_t>& dib) {
    if (dib.empty()) return false;
    return Put(CF_DIB, GlobalCopy(dib.data(), dib.size()));
}

bool SystemClipboard::Clear() {
    ClipboardScope open(owner_);
    if (!open) return false;
    return ::EmptyClipboard() != FALSE;
}

std::wstring LocaleCases::Lower(std::wstring_view text) const {
    return MapCase(text, LCMAP_LOWERCASE);
}
std::wstring LocaleCases::Upper(std::wstring_view text) const {
    return MapCase(text, LCMAP_UPPERCASE);
}

}  // namespace quillet
