// Line-break marker and text codec: how slot texts become single-line values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Bytes 0xFF 0xF6 stand for one CR LF inside a stored value.
inline constexpr char kMarkerFirst = static_cast<char>(0xFF);
inline constexpr char kMarkerSecond = static_cast<char>(0xF6);

// The same two characters, U+00FF U+00F6, in a file in the Unicode form,
// whose values the engine holds as UTF-8.
inline constexpr std::string_view kUtf8Marker = "\xC3\xBF\xC3\xB6";
inline constexpr std::string_view kByteMarker = "\xFF\xF6";

// CR LF pairs become the marker. A lone CR or LF would break the line in the
// file and corrupt the entries after it, so each is taken as a CR LF first.
std::string EncodeLineBreaks(std::string_view value, std::string_view marker = kByteMarker);

// The marker becomes CR LF again, left to right.
std::string DecodeLineBreaks(std::string_view stored, std::string_view marker = kByteMarker);

// A text as the file gives it back once stored: each lone CR or LF a CR LF.
std::wstring WithPairedLineBreaks(std::wstring_view text);

// UTF-8 and the program's wide strings. A lone surrogate (which a text box
// can hold) is kept as its own three bytes, so every text round-trips.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view bytes);

// A file in the profile functions' Unicode form: UTF-16 little-endian after
// the byte-order mark FF FE. The engine hands its values out as UTF-8.
inline constexpr std::string_view kUtf16Mark = "\xFF\xFE";
std::string Utf8FromUtf16(std::string_view units);  // UTF-16LE bytes, no mark
std::string Utf16FromUtf8(std::string_view utf8);   // the same, no mark
bool IsUtf16File(std::string_view bytes);
std::string Utf8FromUtf16File(std::string_view bytes);  // the mark dropped
std::string Utf16FileFromUtf8(std::string_view utf8);   // the mark put first
// The same for text in pieces, none of which ends inside a character.
std::string Utf16FileFromUtf8(const std::vector<std::string_view>& pieces);

// Converts between what the user sees and the settings file's 8-bit code page.
// The Windows build asks the system for its code page; the portable one below
// is Windows-1252, the code page of Western systems.
class TextCodec {
  public:
    virtual ~TextCodec() = default;
    virtual std::string ToBytes(std::wstring_view text) const = 0;
    virtual std::wstring FromBytes(std::string_view bytes) const = 0;
    // Whether ToBytes keeps every character of `text` as it is, with no
    // look-alike ("z" for "ż") and no "?".
    virtual bool Represents(std::wstring_view text) const = 0;
};

class Windows1252Codec final : public TextCodec {
  public:
    std::string ToBytes(std::wstring_view text) const override;
    std::wstring FromBytes(std::string_view bytes) const override;
    bool Represents(std::wstring_view text) const override;
};

// The codec of the system the program runs on.
const TextCodec& SystemCodec();

}  // namespace quillet
