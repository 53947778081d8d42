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

TEST(RegistryErrorText, ShowsRootKeysAsSignedDecimal) {
    EXPECT_EQ(CreateKeyFailedText(L"Software\\Q"), L"Failed to create registry Key: 'Software\\Q");
    EXPECT_EQ(DeleteKeyFailedText(kLocalMachine, L"Software\\Q"),
              L"Failed to delete registry Key: '-2147483646',Section: 'Software\\Q");
    EXPECT_EQ(OpenForDeleteFailedText(kCurrentUser, L"Software\\Q"),
              L"Failed to open key '-2147483647',Section: 'Software\\Q' for delete access");
    EXPECT_EQ(
        SetValueFailedText(kClassesRoot, L"S", L"V", L"x"),
        L"Failed to set registry value Key: '-2147483648',Section: 'S',Key: 'V' to value: 'x'");
}

TEST(RegistryErrorText, AssociationErrorsSitAboveTheComponentBase) {
    EXPECT_EQ(static_cast<std::uint32_t>(kErrInvalidAssociationList), 0x800469ACu);
    EXPECT_EQ(InvalidAssociationListText(),
              L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
              L"Name/Text/Command");
    EXPECT_EQ(static_cast<std::uint32_t>(kErrClassNotDefined), 0x800469ADu);
    EXPECT_EQ(ClassNotDefinedText(),
              L"Error - attempt to create additional associations before class defined.");
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

TEST(TextFromRegistryData, StopsAtTheFirstNulOrKeepsEveryCharacter) {
    EXPECT_EQ(TextFromRegistryData(Bytes("abc\0"s)), "abc");
    EXPECT_EQ(TextFromRegistryData(Bytes("ab\0cd\0"s)), "ab");
    EXPECT_EQ(TextFromRegistryData(Bytes("\0"s)), "");
    EXPECT_EQ(TextFromRegistryData(Bytes("abc")), "abc");
    EXPECT_EQ(TextFromRegistryData({}), "");
}

TEST(MultiTextFromRegistryData, KeepsSeparatorsAndDropsOnlyTheFinalTerminator) {
    EXPECT_EQ(MultiTextFromRegistryData(Bytes("one\0two\0\0"s)), "one\0two\0"s);
    EXPECT_EQ(MultiTextFromRegistryData(Bytes("one\0two"s)), "one\0two"s);
    EXPECT_EQ(MultiTextFromRegistryData(Bytes("\0"s)), "");
    EXPECT_EQ(MultiTextFromRegistryData({}), "");
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
    EXPECT_EQ(QuoteExePath(L"  C:\\Tools\\app.exe "), L"\"C:\\Tools\\app.exe\"");
    EXPECT_EQ(QuoteExePath(L"\"C:\\Tools\\app.exe\""), L"\"C:\\Tools\\app.exe\"");
    EXPECT_EQ(QuoteExePath(L"\"C:\\Tools\\app.exe"), L"\"C:\\Tools\\app.exe\"");
    EXPECT_EQ(QuoteExePath(L"C:\\Tools\\app.exe\""), L"\"C:\\Tools\\app.exe\"");
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

TEST(ExeAssociationEntries, WritesOnlyOpenWithoutOptions) {
    EXPECT_THAT(
        ExeAssociationEntries(Plain()),
        ElementsAre(AssociationEntry{L".q", L"Q.Doc"}, AssociationEntry{L"Q.Doc", L"Q Document"},
                    AssociationEntry{L"Q.Doc\\shell\\open", L"&Open"},
                    AssociationEntry{L"Q.Doc\\shell\\open\\command", L"\"C:\\a.exe\" \"%1\""}));
}

TEST(ExeAssociationEntries, ListsEveryVerbInWritingOrderWithStandardTexts) {
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
}

}  // namespace
}  // namespace quillet
