// The line-break marker of stored values and the 8-bit code page conversion.
#include "store/encoding.h"

#include <array>

namespace quillet {

std::string EncodeLineBreaks(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 8);
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r') {
            out += kMarkerFirst;
            out += kMarkerSecond;
            if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += kMarkerFirst;
            out += kMarkerSecond;
        } else {
            out += c;
        }
    }
    return out;
}

std::string DecodeLineBreaks(std::string_view stored) {
    std::string out(stored);
    for (size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == kMarkerFirst && out[i + 1] == kMarkerSecond) {
            out[i] = '\r';
            out[i + 1] = '\n';
            ++i;
        }
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
