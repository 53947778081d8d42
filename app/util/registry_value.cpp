// Registry values, error texts and the data rules behind cRegistry.
#include "util/registry_value.h"

#include <algorithm>
#include <utility>

#include "store/encoding.h"
#include "util/trim.h"

namespace quillet {
namespace {

std::wstring Decimal(std::int32_t number) {
    return std::to_wstring(number);
}

bool EndsWithExe(std::wstring_view name) {
    constexpr std::wstring_view kExe = L".exe";
    if (name.size() < kExe.size()) return false;
    const auto tail = name.substr(name.size() - kExe.size());
    return std::equal(tail.begin(), tail.end(), kExe.begin(), [](wchar_t a, wchar_t b) {
        return (a >= L'A' && a <= L'Z' ? a - L'A' + L'a' : a) == b;
    });
}

std::array<std::uint8_t, 4> FirstFour(std::span<const std::uint8_t> data) {
    std::array<std::uint8_t, 4> bytes{};
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), bytes.size()), bytes.begin());
    return bytes;
}

std::string CharsOf(std::span<const std::uint8_t> data) {
    return std::string(reinterpret_cast<const char*>(data.data()), data.size());
}

}  // namespace

RegistryError::RegistryError(std::int32_t number, std::wstring source, std::wstring description)
    : number_(number),
      source_(std::move(source)),
      description_(std::move(description)),
      what_(Utf8FromWide(description_)) {}

std::wstring RegistryErrorSource(std::wstring_view modulePath) {
    const auto slash = modulePath.find_last_of(L"\\/");
    std::wstring_view name =
        slash == std::wstring_view::npos ? modulePath : modulePath.substr(slash + 1);
    if (EndsWithExe(name)) name.remove_suffix(4);
    return std::wstring(name) + L".cRegistry";
}

std::wstring CreateKeyFailedText(std::wstring_view sectionKey) {
    return L"Failed to create registry Key: '" + std::wstring(sectionKey);
}

std::wstring DeleteKeyFailedText(std::int32_t rootKey, std::wstring_view sectionKey) {
    return L"Failed to delete registry Key: '" + Decimal(rootKey) + L"',Section: '" +
           std::wstring(sectionKey);
}

std::wstring OpenForDeleteFailedText(std::int32_t rootKey, std::wstring_view sectionKey) {
    return L"Failed to open key '" + Decimal(rootKey) + L"',Section: '" + std::wstring(sectionKey) +
           L"' for delete access";
}

std::wstring SetValueFailedText(std::int32_t rootKey, std::wstring_view sectionKey,
                                std::wstring_view valueKey, std::wstring_view valueText) {
    return L"Failed to set registry value Key: '" + Decimal(rootKey) + L"',Section: '" +
           std::wstring(sectionKey) + L"',Key: '" + std::wstring(valueKey) + L"' to value: '" +
           std::wstring(valueText) + L"'";
}

std::wstring_view InvalidAssociationListText() {
    return L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
           L"Name/Text/Command";
}

std::wstring_view ClassNotDefinedText() {
    return L"Error - attempt to create additional associations before class defined.";
}

std::wstring RegistryValueText(const RegistryValue& value) {
    struct Visitor {
        std::wstring operator()(std::monostate) const { return {}; }
        std::wstring operator()(const std::wstring& text) const { return text; }
        std::wstring operator()(std::int32_t number) const { return Decimal(number); }
        std::wstring operator()(const RegistryBytes& bytes) const {
            std::wstring text;
            text.reserve((bytes.size() + 1) / 2);
            for (std::size_t i = 0; i < bytes.size(); i += 2) {
                const unsigned high = i + 1 < bytes.size() ? bytes[i + 1] : 0u;
                text += static_cast<wchar_t>(bytes[i] | (high << 8));
            }
            return text;
        }
    };
    return std::visit(Visitor{}, value);
}

bool IsExpandableText(std::wstring_view text) {
    const auto first = text.find(L'%');
    return first != std::wstring_view::npos &&
           text.find(L'%', first + 2) != std::wstring_view::npos;
}

std::string TextFromRegistryData(std::span<const std::uint8_t> data) {
    const auto nul = std::find(data.begin(), data.end(), std::uint8_t{0});
    return CharsOf(data.first(static_cast<std::size_t>(nul - data.begin())));
}

std::string MultiTextFromRegistryData(std::span<const std::uint8_t> data) {
    if (!data.empty() && data.back() == 0) data = data.first(data.size() - 1);
    return CharsOf(data);
}

std::int32_t NumberFromLittleEndian(std::span<const std::uint8_t> data) {
    const auto b = FirstFour(data);
    return static_cast<std::int32_t>(std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 |
                                     std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24);
}

std::int32_t NumberFromBigEndian(std::span<const std::uint8_t> data) {
    const auto b = FirstFour(data);
    return static_cast<std::int32_t>(std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 |
                                     std::uint32_t{b[2]} << 8 | std::uint32_t{b[3]});
}

std::array<std::uint8_t, 4> NumberToLittleEndian(std::int32_t number) {
    const auto n = static_cast<std::uint32_t>(number);
    return {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
            static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
}

std::wstring QuoteExePath(std::wstring_view exePath) {
    std::wstring path(TrimSpaces(exePath));
    if (path.empty() || path.front() != L'"') path.insert(path.begin(), L'"');
    if (path.back() != L'"') path += L'"';
    return path;
}

std::vector<AssociationEntry> ExeAssociationEntries(const ExeAssociation& a) {
    const std::wstring exe = QuoteExePath(a.exePath);
    const std::wstring shell = a.className + L"\\shell\\";
    auto orDefault = [](const std::wstring& text, std::wstring fallback) {
        return text.empty() ? fallback : text;
    };

    std::vector<AssociationEntry> rows;
    rows.push_back({L"." + a.association, a.className});
    rows.push_back({a.className, a.classDescription});
    rows.push_back({shell + L"open", orDefault(a.openMenuText, L"&Open")});
    rows.push_back({shell + L"open\\command", exe + L" \"%1\""});
    if (a.supportPrint) {
        rows.push_back({shell + L"print", orDefault(a.printMenuText, L"&Print")});
        rows.push_back({shell + L"print\\command", exe + L" /p \"%1\""});
    }
    if (a.supportInstall) {
        rows.push_back(
            {shell + L"add", orDefault(a.installMenuText, L"&Install " + a.classDescription)});
        rows.push_back({shell + L"add\\command", exe + L" /a \"%1\""});
    }
    if (a.supportNew) {
        rows.push_back({shell + L"new", orDefault(a.newMenuText, L"&New")});
        rows.push_back({shell + L"new\\command", exe + L" /n \"%1\""});
    }
    if (a.defaultIconIndex >= 0) {
        rows.push_back({a.className + L"\\DefaultIcon", exe + L"," + Decimal(a.defaultIconIndex)});
    }
    return rows;
}

}  // namespace quillet
