// The line-break marker of stored values and the 8-bit code page conversion.
#include "store/encoding.h"

#include <algorithm>
#include <array>

namespace quillet {

namespace {

// Every line break (CR LF, or a lone CR or LF) as `with`.
template <class Char>
std::basic_string<Char> ReplaceLineBreaks(std::basic_string_view<Char> text,
                                          std::basic_string_view<Char> with) {
    std::basic_string<Char> out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c != Char('\r') && c != Char('\n')) {
            out += c;
            continue;
        }
        out += with;
        if (c == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n')) ++i;
    }
    return out;
}

}  // namespace

std::string EncodeLineBreaks(std::string_view value, std::string_view marker) {
    return ReplaceLineBreaks(value, marker);
}

std::wstring WithPairedLineBreaks(std::wstring_view text) {
    return ReplaceLineBreaks(text, std::wstring_view(L"\r\n"));
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

// Both conversions run over whole settings files of megabytes, mostly ASCII:
// runs of it are copied in a tight loop of local pointers (a store through
// char* would otherwise make the compiler reload everything), the rest
// decoded one code point at a time.
std::string Utf8FromUtf16File(std::string_view bytes) {
    return Utf8FromUtf16(bytes.substr(kUtf16Mark.size()));
}

std::string Utf8FromUtf16(std::string_view units) {
    const size_t count = units.size() / 2;
    const auto* in = reinterpret_cast<const unsigned char*>(units.data());
    auto unit = [in](size_t k) { return static_cast<char32_t>(in[2 * k] | in[2 * k + 1] << 8); };
    std::string out;
    out.resize(count);  // enough for ASCII; grown where a character takes more
    size_t n = 0;
    for (size_t i = 0; i < count;) {
        {
            const unsigned char* p = in + 2 * i;
            const unsigned char* const end = in + 2 * count;
            char* d = out.data() + n;
            while (p < end && p[1] == 0 && p[0] < 0x80) {
                *d++ = static_cast<char>(p[0]);
                p += 2;
            }
            const size_t copied = static_cast<size_t>(p - (in + 2 * i)) / 2;
            i += copied;
            n += copied;
        }
        if (i == count) break;
        const size_t take = i + 1 < count && unit(i) >= 0xD800 && unit(i) <= 0xDBFF ? 2 : 1;
        std::string piece;
        ForEachCodePoint([&](size_t k) { return unit(i + k); }, take,
                         [&piece](char32_t c) { AppendUtf8(piece, c); });
        i += take;
        out.resize(std::max(out.size(), n + piece.size() + (count - i)));
        out.replace(n, piece.size(), piece);
        n += piece.size();
    }
    out.resize(n);
    return out;
}

namespace {

// Appends the UTF-16 form of `utf8` at `n` in `out`, which has room for two
// bytes per byte of it; returns where the next piece goes.
size_t PutUtf16(std::string_view utf8, std::string& out, size_t n) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t size = utf8.size();
    for (size_t i = 0; i < size;) {
        {
            const unsigned char* p = in + i;
            const unsigned char* const end = in + size;
            char* d = out.data() + n;
            while (p < end && *p < 0x80) {
                *d = static_cast<char>(*p++);  // the high byte is already 0
                d += 2;
            }
            n += 2 * static_cast<size_t>(p - (in + i));
            i = static_cast<size_t>(p - in);
        }
        if (i == size) break;
        size_t at = i;
        const char32_t c = NextUtf8(utf8, at);
        i = at;
        ToUtf16(c, [&](char16_t u) {
            out[n++] = static_cast<char>(u & 0xFF);
            out[n++] = static_cast<char>(u >> 8);
        });
    }
    return n;
}

}  // namespace

std::string Utf16FileFromUtf8(std::string_view utf8) {
    return Utf16FileFromUtf8(std::vector<std::string_view>{utf8});
}

std::string Utf16FromUtf8(std::string_view utf8) {
    std::string out(2 * utf8.size(), '\0');
    out.resize(PutUtf16(utf8, out, 0));
    return out;
}

// One buffer for the whole file, so that no joined copy of the pieces is made.
std::string Utf16FileFromUtf8(const std::vector<std::string_view>& pieces) {
    size_t total = 0;
    for (std::string_view piece : pieces) total += piece.size();
    std::string out(kUtf16Mark.size() + 2 * total, '\0');
    out.replace(0, kUtf16Mark.size(), kUtf16Mark);
    size_t n = kUtf16Mark.size();
    for (std::string_view piece : pieces) n = PutUtf16(piece, out, n);
    out.resize(n);
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
