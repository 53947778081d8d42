// The system clipboard and the user's case mapping, as the core sees them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // The clipboard's text, or nothing when it holds none (a picture, files).
    virtual std::optional<std::wstring> Text() = 0;
    // Whether the program that put it there asked clipboard tools neither to
    // show nor to keep it, as password managers do.
    virtual bool Private() = 0;
    // Replaces whatever the clipboard holds with `text`.
    virtual bool SetText(std::wstring_view text) = 0;
    // Puts `text` beside what the clipboard holds: a picture or files stay.
    virtual bool AddText(std::wstring_view text) = 0;
    virtual bool Clear() = 0;
    // The clipboard's picture as a packed DIB, or nothing when it holds none.
    virtual std::optional<std::vector<uint8_t>> Dib() = 0;
    // Replaces whatever the clipboard holds with the picture.
    virtual bool SetDib(const std::vector<uint8_t>& dib) = 0;
};

// Lower and upper case by the user's locale.
class CaseMapping {
  public:
    virtual ~CaseMapping() = default;
    virtual std::wstring Lower(std::wstring_view text) const = 0;
    virtual std::wstring Upper(std::wstring_view text) const = 0;
};

// Swaps A-Z and a-z and leaves every other character, accented letters too.
std::wstring OppositeCase(std::wstring_view text);

// "32000 Chars": the count of the clipboard display line.
std::wstring LengthText(size_t characters);

// What stands for a private text where the clipboard's text would show.
inline constexpr std::wstring_view kPrivateText =
    L"\u2022\u2022\u2022\u2022\u2022\u2022\u2022\u2022";

}  // namespace quillet
