// Registry value rules, error texts and association rows, without a registry.
#include "util/registry_value.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using ::testing::ElementsAre;
using namespace std::string_literals;

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(RegistryErrorSource, IsTheExecutableNameWithoutAFinalExe) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Program Files\\Quillet\\quilletpro.exe", L"quilletpro.cRegistry"},
        {L"C:\\Q\\QUILLETPRO.EXE", L"QUILLETPRO.cRegistry"},
        {L"/opt/q/quillet.exe", L"quillet.cRegistry"},
        {L"quillet.exe", L"quillet.cRegistry"},
        {L"C:\\my.tools\\quillet.pro.exe", L"quillet.pro.cRegistry"},
        {L"C:\\bin\\quillet", L"quillet.cRegistry"},
        {L"C:\\bin\\quillet.scr", L"quillet.scr.cRegistry"},
        {L"C:\\exe\\.exe", L".cRegistry"},
    };
    for (const auto& [path, source] : cases) EXPECT_EQ(RegistryErrorSource(path), source);
}

TEST(RegistryError, CarriesNumberSourceAndDescription) {
    const RegistryError error(kErrRegistry, L"app.cRegistry", L"Failed to open key 'caf\u00e9");
    EXPECT_EQ(error.Number(), 26001);
    EXPECT_EQ(error.Source(), L"app.cRegistry");
    EXPECT_EQ(error.Description(), L"Failed to open key 'caf\u00e9");
    EXPECT_STREQ(error.what(), "Failed to open key 'caf\xC3\xA9");
}

// Root keys show as signed decimal numbers.
TEST(RegistryErrorText, EachFailureSaysWhatFailedWhere) {
    const std::pair<std::wstring, std::wstring> texts[] = {
        {CreateKeyFailedText(L"Software\\Q"), L"Failed to create registry Key: 'Software\\Q"},
        {DeleteKeyFailedText(kLocalMachine, L"Software\\Q"),
         L"Failed to delete registry Key: '-2147483646',Section: 'Software\\Q"},
        {OpenForDeleteFailedText(kCurrentUser, L"Software\\Q"),
         L"Failed to open key '-2147483647',Section: 'Software\\Q' for delete access"},
        {SetValueFailedText(kClassesRoot, L"S", L"V", L"x"),
         L"Failed to set registry value Key: '-2147483648',Section: 'S',Key: 'V' to value: 'x'"},
        {std::wstring(InvalidAssociationListText()),
         L"Invalid parameter list passed to "
         L"CreateAdditionalEXEAssociations - expected Name/Text/Command"},
        {std::wstring(ClassNotDefinedText()),
         L"Error - attempt to create additional associations before class defined."},
    };
    for (const auto& [text, expected] : texts) EXPECT_EQ(text, expected);
}

TEST(RegistryValueText, ConvertsEachKindAndReadsBytesAsUtf16Units) {
    EXPECT_EQ(RegistryValueText({}), L"");
    EXPECT_EQ(RegistryValueText(std::wstring(L"C:\\Tools\\app.exe")), L"C:\\Tools\\app.exe");
    EXPECT_EQ(RegistryValueText(std::int32_t{-2147483647 - 1}), L"-2147483648");
    EXPECT_EQ(RegistryValueText(RegistryBytes{'h', 0, 'i', 0}), L"hi");
    EXPECT_EQ(RegistryValueText(RegistryBytes{0xE9, 0x00, 'A'}), L"\u00e9A");
}

TEST(ExpandableText, NeedsASecondPercentTwoCharactersOn) {
    for (const wchar_t* text : {L"%WINDIR%\\x.exe", L"%a%", L"x%%%", L"50% of 20%"})
        EXPECT_TRUE(IsExpandableText(text)) << text;
    for (const wchar_t* text : {L"50% off", L"100%%", L"%", L"C:\\Tools\\app.exe", L""})
        EXPECT_FALSE(IsExpandableText(text)) << text;
}

// A text stops at its first NUL; a multi-text keeps its separators and
// loses only the final terminator.
TEST(TextFromRegistryData, StopsAtTheFirstNulOrKeepsEveryCharacter) {
    const struct {
        std::string data, text, multi;
    } cases[] = {
        {"abc\0"s, "abc", "abc"},
        {"ab\0cd\0"s, "ab", "ab\0cd"s},
        {"one\0two\0\0"s, "one", "one\0two\0"s},
        {"one\0two"s, "one", "one\0two"s},
        {"\0"s, "", ""},
        {"abc", "abc", "abc"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextFromRegistryData(Bytes(c.data)), c.text) << c.data;
        EXPECT_EQ(MultiTextFromRegistryData(Bytes(c.data)), c.multi) << c.data;
    }
}

TEST(RegistryNumbers, ReadFromTheFirstFourBytesPaddedWithZeros) {
    const std::uint8_t data[] = {0x01, 0x02, 0x03, 0x04, 0xAA};
    EXPECT_EQ(NumberFromLittleEndian(data), 0x04030201);
    EXPECT_EQ(NumberFromBigEndian(data), 0x01020304);
    const std::uint8_t negative[] = {0xFF, 0xFF, 0xFF, 0xFE};
    EXPECT_EQ(NumberFromBigEndian(negative), -2);
    EXPECT_EQ(NumberFromLittleEndian(negative), -16777217);
    const std::uint8_t shortData[] = {0x12, 0x34};
    EXPECT_EQ(NumberFromLittleEndian(shortData), 0x3412);
    EXPECT_EQ(NumberFromBigEndian(shortData), 0x12340000);
    EXPECT_EQ(NumberFromLittleEndian({}), 0);
}

TEST(QuoteExePath, TrimsSpacesAndAddsMissingQuotes) {
    for (const wchar_t* path : {L"  C:\\Tools\\app.exe ", L"\"C:\\Tools\\app.exe\"",
                                L"\"C:\\Tools\\app.exe", L"C:\\Tools\\app.exe\""})
        EXPECT_EQ(QuoteExePath(path), L"\"C:\\Tools\\app.exe\"") << path;
    EXPECT_EQ(QuoteExePath(L"\tC:\\a.exe"), L"\"\tC:\\a.exe\"");
}

ExeAssociation Plain() {
    ExeAssociation a;
    a.exePath = L"C:\\a.exe";
    a.className = L"Q.Doc";
    a.classDescription = L"Q Document";
    a.association = L"q";
    return a;
}

TEST(ExeAssociationEntries, ListsEveryVerbAskedForInWritingOrderWithStandardTexts) {
    ExeAssociation a = Plain();
    a.supportPrint = a.supportNew = a.supportInstall = true;
    a.defaultIconIndex = 0;
    const std::wstring exe = L"\"C:\\a.exe\"";
    EXPECT_THAT(
        ExeAssociationEntries(a),
        ElementsAre(AssociationEntry{L".q", L"Q.Doc"}, AssociationEntry{L"Q.Doc", L"Q Document"},
                    AssociationEntry{L"Q.Doc\\shell\\open", L"&Open"},
                    AssociationEntry{L"Q.Doc\\shell\\open\\command", exe + L" \"%1\""},
                    AssociationEntry{L"Q.Doc\\shell\\print", L"&Print"},
                    AssociationEntry{L"Q.Doc\\shell\\print\\command", exe + L" /p \"%1\""},
                    AssociationEntry{L"Q.Doc\\shell\\add", L"&Install Q Document"},
                    AssociationEntry{L"Q.Doc\\shell\\add\\command", exe + L" /a \"%1\""},
                    AssociationEntry{L"Q.Doc\\shell\\new", L"&New"},
                    AssociationEntry{L"Q.Doc\\shell\\new\\command", exe + L" /n \"%1\""},
                    AssociationEntry{L"Q.Doc\\DefaultIcon", exe + L",0"}));
    // Without options only Open.
    const std::vector<AssociationEntry> all = ExeAssociationEntries(a);
    EXPECT_EQ(ExeAssociationEntries(Plain()), std::vector(all.begin(), all.begin() + 4));
}

}  // namespace
}  // namespace quillet
