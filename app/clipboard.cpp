// The clipboard line's texts and the case conversions of the clipboard commands.
#include "clipboard.h"

namespace quillet {

std::wstring OppositeCase(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        else if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return out;
}

std::wstring LengthText(size_t characters) {
    return std::to_wstring(characters) + L" Chars";
}

}  // namespace quillet
