// The platform-free half of cRegistry: the value it carries, its error type and
// the rules that turn registry data into values and back.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillet {

using RegistryBytes = std::vector<std::uint8_t>;

// What a registry value reads as or is written from: nothing, text, a 32-bit
// number or raw bytes. The empty state comes first so a default-constructed
// value is empty, like a variant that was never assigned.
using RegistryValue = std::variant<std::monostate, std::wstring, std::int32_t, RegistryBytes>;

// The registry's data types by their Windows numbers.
inline constexpr std::int32_t kRegNone = 0;
inline constexpr std::int32_t kRegSz = 1;
inline constexpr std::int32_t kRegExpandSz = 2;
inline constexpr std::int32_t kRegBinary = 3;
inline constexpr std::int32_t kRegDword = 4;
inline constexpr std::int32_t kRegDwordBigEndian = 5;
inline constexpr std::int32_t kRegLink = 6;
inline constexpr std::int32_t kRegMultiSz = 7;

// The predefined root keys as the 32-bit numbers ClassKey holds.
inline constexpr std::int32_t kClassesRoot = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kCurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t kLocalMachine = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t kUsers = static_cast<std::int32_t>(0x80000003u);

inline constexpr std::int32_t kErrRegistry = 26001;
// Component errors sit above the automation error base 0x80040000.
inline constexpr std::int32_t kErrInvalidAssociationList =
    static_cast<std::int32_t>(0x80040000u + 27052u);
inline constexpr std::int32_t kErrClassNotDefined = static_cast<std::int32_t>(0x80040000u + 27053u);

class RegistryError : public std::exception {
  public:
    RegistryError(std::int32_t number, std::wstring source, std::wstring description);

    std::int32_t Number() const noexcept { return number_; }
    const std::wstring& Source() const noexcept { return source_; }
    const std::wstring& Description() const noexcept { return description_; }
    // The description in UTF-8, for callers that only look at std::exception.
    const char* what() const noexcept override { return what_.c_str(); }

  private:
    std::int32_t number_;
    std::wstring source_;
    std::wstring description_;
    std::string what_;
};

// "<executable name>.cRegistry" for the module at modulePath; only a final
// ".exe" (any case) is dropped from the name.
std::wstring RegistryErrorSource(std::wstring_view modulePath);

// Error descriptions. rootKey is the 32-bit ClassKey, shown in signed decimal.
std::wstring CreateKeyFailedText(std::wstring_view sectionKey);
std::wstring DeleteKeyFailedText(std::int32_t rootKey, std::wstring_view sectionKey);
std::wstring OpenForDeleteFailedText(std::int32_t rootKey, std::wstring_view sectionKey);
std::wstring SetValueFailedText(std::int32_t rootKey, std::wstring_view sectionKey,
                                std::wstring_view valueKey, std::wstring_view valueText);
std::wstring_view InvalidAssociationListText();
std::wstring_view ClassNotDefinedText();

// The value as text, the way a variant converts: numbers in signed decimal,
// empty as "", and a byte array as the UTF-16 text its bytes spell.
std::wstring RegistryValueText(const RegistryValue& value);

// A text that holds a "%" and another "%" at least two characters further on
// names an environment variable and is stored as expandable text.
bool IsExpandableText(std::wstring_view text);

// Text data as stored: the characters up to the first NUL, or all of them when
// the data carries no terminator.
std::string TextFromRegistryData(std::span<const std::uint8_t> data);

// Multi-text data keeps its inner NUL separators; only the final terminator
// goes, and only when it is there.
std::string MultiTextFromRegistryData(std::span<const std::uint8_t> data);

// 32-bit numbers from their first four bytes; shorter data reads as if padded
// with zero bytes, longer data is cut.
std::int32_t NumberFromLittleEndian(std::span<const std::uint8_t> data);
std::int32_t NumberFromBigEndian(std::span<const std::uint8_t> data);
std::array<std::uint8_t, 4> NumberToLittleEndian(std::int32_t number);

// The rows a file-type registration writes: a key path below the classes root
// and the text for its default value, in the order they are written.
struct AssociationEntry {
    std::wstring key;
    std::wstring text;
    friend bool operator==(const AssociationEntry&, const AssociationEntry&) = default;
};

struct ExeAssociation {
    std::wstring exePath;
    std::wstring className;
    std::wstring classDescription;
    std::wstring association;
    std::wstring openMenuText;
    bool supportPrint = false;
    std::wstring printMenuText;
    bool supportNew = false;
    std::wstring newMenuText;
    bool supportInstall = false;
    std::wstring installMenuText;
    std::int32_t defaultIconIndex = -1;
};

// Trimmed of spaces and wrapped in double quotes unless already there.
std::wstring QuoteExePath(std::wstring_view exePath);
std::vector<AssociationEntry> ExeAssociationEntries(const ExeAssociation& association);

}  // namespace quillet
