// The line-break marker of stored values and the 8-bit code page conversion.
#include "store/encoding.h"

#include <array>

namespace quillet {

std::string EncodeLineBreaks(std::string_view value, std::string_view marker) {
    std::string out;
    out.reserve(value.size() + 8);
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r') {
            out += marker;
            if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += marker;
        } else {
            out += c;
        }
    }
    return out;
}

std::string DecodeLineBreaks(std::string_view stored, std::string_view marker) {
    std::string out;
    out.reserve(stored.size());
    size_t from = 0;
    for (size_t at = stored.find(marker); at != std::string_view::npos;
         at = stored.find(marker, from)) {
        out.append(stored.substr(from, at - from)).append("\r\n");
        from = at + marker.size();
    }
    out.append(stored.substr(from));
    return out;
}

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next code point at `i`, moving past it; a byte that starts no valid
// sequence stands for itself as U+FFFD.
char32_t NextUtf8(std::string_view s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (extra == 0 || b > 0xF4 || i + extra > s.size()) return 0xFFFD;
    char32_t c = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (next & 0x3F);
    }
    i += extra;
    return c;
}

// Code points from UTF-16 units: pairs joined, lone surrogates kept.
template <class Units, class Emit>
void ForEachCodePoint(const Units& units, size_t count, Emit emit) {
    for (size_t i = 0; i < count; ++i) {
        const char32_t u = units(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count) {
            const char32_t low = units(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                emit(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        emit(u);
    }
}

template <class Emit>
void ToUtf16(char32_t c, Emit emit) {
    if (c < 0x10000) {
        emit(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        emit(static_cast<char16_t>(0xD800 + (c >> 10)));
        emit(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

}  // namespace

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    auto emit = [&out](char32_t c) { AppendUtf8(out, c); };
    if constexpr (sizeof(wchar_t) == 2) {
        ForEachCodePoint([&](size_t i) { return static_cast<char32_t>(text[i]); }, text.size(),
                         emit);
    } else {
        for (wchar_t w : text) emit(static_cast<char32_t>(w));
    }
    return out;
}

std::wstring WideFromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const char32_t c = NextUtf8(bytes, i);
        if constexpr (sizeof(wchar_t) == 2)
            ToUtf16(c, [&out](char16_t u) { out += static_cast<wchar_t>(u); });
        else
            out += static_cast<wchar_t>(c);
    }
    return out;
}

bool IsUtf16File(std::string_view bytes) {
    return bytes.substr(0, kUtf16Mark.size()) == kUtf16Mark;
}

std::string Utf8FromUtf16File(std::string_view bytes) {
    const std::string_view units = bytes.substr(kUtf16Mark.size());
    std::string out;
    out.reserve(units.size() / 2);
    ForEachCodePoint(
        [&](size_t i) {
            return static_cast<char32_t>(static_cast<unsigned char>(units[2 * i]) |
                                         static_cast<unsigned char>(units[2 * i + 1]) << 8);
        },
        units.size() / 2, [&out](char32_t c) { AppendUtf8(out, c); });
    return out;
}

std::string Utf16FileFromUtf8(std::string_view utf8) {
    std::string out(kUtf16Mark);
    out.reserve(2 * utf8.size() + kUtf16Mark.size());
    for (size_t i = 0; i < utf8.size();) {
        ToUtf16(NextUtf8(utf8, i), [&out](char16_t u) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        });
    }
    return out;
}

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes, which the
// system maps to the control characters of the same number.
constexpr std::array<char16_t, 32> k1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string Windows1252Codec::ToBytes(std::wstring_view text) const {
    std::string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char byte = '?';
        for (size_t i = 0; i < k1252High.size(); ++i) {
            const char32_t mapped = k1252High[i] ? k1252High[i] : static_cast<char32_t>(0x80 + i);
            if (mapped == c) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        }
        out += byte;
    }
    return out;
}

bool Windows1252Codec::Represents(std::wstring_view text) const {
    for (wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) continue;
        bool found = false;
        for (size_t i = 0; i < k1252High.size() && !found; ++i)
            found = k1252High[i] ? k1252High[i] == c : c == 0x80 + i;
        if (!found) return false;
    }
    return true;
}

std::wstring Windows1252Codec::FromBytes(std::string_view bytes) const {
    std::wstring out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0 && k1252High[b - 0x80] != 0)
            out += static_cast<wchar_t>(k1252High[b - 0x80]);
        else
            out += static_cast<wchar_t>(b);
    }
    return out;
}

#ifndef _WIN32
const TextCodec& SystemCodec() {
    static const Windows1252Codec codec;
    return codec;
}
#endif

}  // namespace quillet
