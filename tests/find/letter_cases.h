// A case mapping for the native tests, character by character from ranges of
// Unicode's simple mappings: Latin with Polish, Greek with its final sigma,
// and Deseret beyond the first plane. The capital I with a dot lowers to two
// characters, as Unicode's full mapping has it, so that folding can change
// a text's length.
#pragma once

#include <string>
#include <string_view>

#include "clipboard.h"
#include "store/encoding.h"

namespace quillet::testing {

class LetterCases final : public CaseMapping {
  public:
    std::wstring Lower(std::wstring_view text) const override { return Map(text, false); }
    std::wstring Upper(std::wstring_view text) const override { return Map(text, true); }

  private:
    static std::wstring Map(std::wstring_view text, bool upper) {
        // Through UTF-8 to whole code points, whatever wchar_t holds here.
        const std::string utf8 = Utf8FromWide(text);
        std::u32string points;
        for (size_t i = 0; i < utf8.size();) {
            const auto b = static_cast<unsigned char>(utf8[i]);
            const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            char32_t c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
            for (size_t k = 1; k < n && i + k < utf8.size(); ++k)
                c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            points += c;
            i += n;
        }
        std::u32string out;
        for (char32_t c : points) {
            if (!upper && c == 0x130) {
                out += U"i\u0307";
                continue;
            }
            out += upper ? ToUpper(c) : ToLower(c);
        }
        std::string back;
        for (char32_t c : out) back += Utf8FromWide(Wide(c));
        return WideFromUtf8(back);
    }

    static std::wstring Wide(char32_t c) {
        if (sizeof(wchar_t) == 2 && c > 0xFFFF) {
            c -= 0x10000;
            return {static_cast<wchar_t>(0xD800 + (c >> 10)),
                    static_cast<wchar_t>(0xDC00 + (c & 0x3FF))};
        }
        return std::wstring(1, static_cast<wchar_t>(c));
    }

    // Pairs where the capital and the small letter sit side by side.
    static bool PairedEvenCapital(char32_t c) {
        return (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    }
    static bool PairedOddCapital(char32_t c) {
        return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    }

    static char32_t ToLower(char32_t c) {
        if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
        if (PairedEvenCapital(c) && c % 2 == 0) return c + 1;
        if (PairedOddCapital(c) && c % 2 == 1) return c + 1;
        if (c == 0x178) return 0xFF;
        if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
        if (c >= 0x10400 && c <= 0x10427) return c + 0x28;
        return c;
    }

    static char32_t ToUpper(char32_t c) {
        if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
        if (PairedEvenCapital(c) && c % 2 == 1) return c - 1;
        if (PairedOddCapital(c) && c % 2 == 0) return c - 1;
        if (c == 0xFF) return 0x178;
        if (c == 0x3C2) return 0x3A3;  // the final sigma
        if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
        if (c >= 0x10428 && c <= 0x1044F) return c - 0x28;
        return c;
    }
};

}  // namespace quillet::testing
