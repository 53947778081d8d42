// Line-break marker and text codec: how slot texts become single-line values.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Bytes 0xFF 0xF6 stand for one CR LF inside a stored value.
inline constexpr char kMarkerFirst = static_cast<char>(0xFF);
inline constexpr char kMarkerSecond = static_cast<char>(0xF6);

// CR LF pairs become the marker. A lone CR or LF would break the line in the
// file and corrupt the entries after it, so each is taken as a CR LF first.
std::string EncodeLineBreaks(std::string_view value);

// The marker becomes CR LF again, left to right.
std::string DecodeLineBreaks(std::string_view stored);

// Converts between what the user sees and the settings file's 8-bit code page.
// The Windows build asks the system for its code page; the portable one below
// is Windows-1252, the code page of Western systems.
class TextCodec {
  public:
    virtual ~TextCodec() = default;
    virtual std::string ToBytes(std::wstring_view text) const = 0;
    virtual std::wstring FromBytes(std::string_view bytes) const = 0;
};

class Windows1252Codec final : public TextCodec {
  public:
    std::string ToBytes(std::wstring_view text) const override;
    std::wstring FromBytes(std::string_view bytes) const override;
};

// The codec of the system the program runs on.
const TextCodec& SystemCodec();

}  // namespace quillet
