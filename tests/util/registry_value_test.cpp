// Registry value rules, error texts and association rows, without a registry.
#include "util/registry_value.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using ::testing::ElementsAre;

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(RegistryErrorSource, IsTheExecutableNameWithoutExe) {
    EXPECT_EQ(RegistryErrorSource(L"C:\\Program Files\\Quillet\\quilletpro.exe"),
              L"quilletpro.cRegistry");
    EXPECT_EQ(RegistryErrorSource(L"C:\\Q\\QUILLETPRO.EXE"), L"QUILLETPRO.cRegistry");
    EXPECT_EQ(RegistryErrorSource(L"/opt/q/quillet.exe"), L"quillet.cRegistry");
    EXPECT_EQ(RegistryErrorSource(L"quillet.exe"), L"quillet.cRegistry");
}

TEST(RegistryErrorSource, KeepsDotsAndOtherExtensions) {
    EXPECT_EQ(RegistryErrorSource(L"C:\\my.tools\\quillet.pro.exe"), L"quillet.pro.cRegistry");
    EXPECT_EQ(RegistryErrorSource(L"C:\\bin\\quillet"), L"quillet.cRegistry");
    EXPECT_EQ(RegistryErrorSource(L"C:\\bin\\quillet.scr"), L"quillet.scr.cRegistry");
    EXPECT_EQ(RegistryErrorSource(L"C:\\exe\\.exe"), L".cRegistry");
}

TEST(RegistryError, CarriesNumberSourceAndDescription) {
    const RegistryError error(kErrRegistry, L"app.cRegistry", L"Failed to open key 'caf\u00e9");
    EXPECT_EQ(error.Number(), 26001);
    EXPECT_EQ(error.Source(), L"app.cRegistry");
    EXPECT_EQ(error.Description(), L"Failed to open key 'caf\u00e9");
    EXPECT_STREQ(error.what(), "Failed to open key 'caf\xC3\xA9");
}

TEST(RegistryError, AssociationNumbersSitAboveTheComponentBase) {
    EXPECT_EQ(static_cast<std::uint32_t>(kErrInvalidAssociationList), 0x800469ACu);
    EXPECT_EQ(static_cast<std::uint32_t>(kErrClassNotDefined), 0x800469ADu);
}

TEST(RegistryErrorText, ShowsRootKeysAsSignedDecimal) {
    EXPECT_EQ(DeleteKeyFailedText(kLocalMachine, L"Software\\Q"),
              L"Failed to delete registry Key: '-2147483646',Section: 'Software\\Q");
    EXPECT_EQ(OpenForDeleteFailedText(kCurrentUser, L"Software\\Q"),
              L"Failed to open key '-2147483647',Section: 'Software\\Q' for delete access");
    EXPECT_EQ(
        SetValueFailedText(kClassesRoot, L"S", L"V", L"x"),
        L"Failed to set registry value Key: '-2147483648',Section: 'S',Key: 'V' to value: 'x'");
    EXPECT_EQ(SetValueFailedText(0, L"", L"", L""),
              L"Failed to set registry value Key: '0',Section: '',Key: '' to value: ''");
}

TEST(RegistryErrorText, CreateKeyNamesOnlyTheSection) {
    EXPECT_EQ(CreateKeyFailedText(L"Software\\Q"), L"Failed to create registry Key: 'Software\\Q");
}

TEST(RegistryValue, StartsEmpty) {
    EXPECT_TRUE(std::holds_alternative<std::monostate>(RegistryValue{}));
}

TEST(RegistryValueText, ConvertsEachKind) {
    EXPECT_EQ(RegistryValueText({}), L"");
    EXPECT_EQ(RegistryValueText(std::wstring(L"C:\\Tools\\app.exe")), L"C:\\Tools\\app.exe");
    EXPECT_EQ(RegistryValueText(std::int32_t{7}), L"7");
    EXPECT_EQ(RegistryValueText(std::int32_t{-2147483647 - 1}), L"-2147483648");
}

TEST(RegistryValueText, ReadsBytesAsUtf16Units) {
    EXPECT_EQ(RegistryValueText(RegistryBytes{'h', 0, 'i', 0}), L"hi");
    EXPECT_EQ(RegistryValueText(RegistryBytes{0xE9, 0x00, 'A'}), L"\u00e9A");
    EXPECT_EQ(RegistryValueText(RegistryBytes{}), L"");
}

TEST(ExpandableText, NeedsASecondPercentTwoCharactersOn) {
    EXPECT_TRUE(IsExpandableText(L"%WINDIR%\\x.exe"));
    EXPECT_TRUE(IsExpandableText(L"%a%"));
    EXPECT_TRUE(IsExpandableText(L"x%%%"));
    EXPECT_TRUE(IsExpandableText(L"50% of 20%"));
    EXPECT_FALSE(IsExpandableText(L"50% off"));
    EXPECT_FALSE(IsExpandableText(L"100%%"));
    EXPECT_FALSE(IsExpandableText(L"%"));
    EXPECT_FALSE(IsExpandableText(L"C:\\Tools\\app.exe"));
    EXPECT_FALSE(IsExpandableText(L""));
}

TEST(TextFromRegistryData, StopsAtTheFirstNul) {
    EXPECT_EQ(TextFromRegistryData(Bytes(std::string_view("abc\0", 4))), "abc");
    EXPECT_EQ(TextFromRegistryData(Bytes(std::string_view("ab\0cd\0", 6))), "ab");
    EXPECT_EQ(TextFromRegistryData(Bytes(std::string_view("\0", 1))), "");
}

TEST(TextFromRegistryData, KeepsEveryCharacterWithoutATerminator) {
    EXPECT_EQ(TextFromRegistryData(Bytes("abc")), "abc");
    EXPECT_EQ(TextFromRegistryData(Bytes("x")), "x");
    EXPECT_EQ(TextFromRegistryData({}), "");

    std::string large(1 << 20, 'q');
    large.back() = 'z';
    const std::string read = TextFromRegistryData(Bytes(large));
    EXPECT_EQ(read.size(), large.size());
    EXPECT_EQ(read.back(), 'z');
}

TEST(MultiTextFromRegistryData, KeepsSeparatorsAndDropsOnlyTheFinalTerminator) {
    using namespace std::string_literals;
    EXPECT_EQ(MultiTextFromRegistryData(Bytes("one\0two\0\0"s)), "one\0two\0"s);
    EXPECT_EQ(MultiTextFromRegistryData(Bytes("one\0two"s)), "one\0two"s);
    EXPECT_EQ(MultiTextFromRegistryData(Bytes("\0"s)), "");
    EXPECT_EQ(MultiTextFromRegistryData({}), "");
}

TEST(RegistryNumbers, ReadLittleAndBigEndian) {
    const std::uint8_t data[] = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(NumberFromLittleEndian(data), 0x04030201);
    EXPECT_EQ(NumberFromBigEndian(data), 0x01020304);

    const std::uint8_t negative[] = {0xFF, 0xFF, 0xFF, 0xFE};
    EXPECT_EQ(NumberFromBigEndian(negative), -2);
    EXPECT_EQ(NumberFromLittleEndian(negative), -16777217);
}

TEST(RegistryNumbers, PadShortDataAndIgnoreExtraBytes) {
    const std::uint8_t shortData[] = {0x12, 0x34};
    EXPECT_EQ(NumberFromLittleEndian(shortData), 0x3412);
    EXPECT_EQ(NumberFromBigEndian(shortData), 0x12340000);
    EXPECT_EQ(NumberFromLittleEndian({}), 0);

    const std::uint8_t longData[] = {0x07, 0x00, 0x00, 0x00, 0xAA, 0xBB};
    EXPECT_EQ(NumberFromLittleEndian(longData), 7);
    EXPECT_EQ(NumberFromBigEndian(longData), 0x07000000);
}

TEST(RegistryNumbers, WriteLittleEndian) {
    EXPECT_THAT(NumberToLittleEndian(7), ElementsAre(7, 0, 0, 0));
    EXPECT_THAT(NumberToLittleEndian(-1), ElementsAre(0xFF, 0xFF, 0xFF, 0xFF));
    EXPECT_THAT(NumberToLittleEndian(0x01020304), ElementsAre(4, 3, 2, 1));
}

TEST(QuoteExePath, TrimsSpacesAndAddsMissingQuotes) {
    EXPECT_EQ(QuoteExePath(L"  C:\\Tools\\app.exe "), L"\"C:\\Tools\\app.exe\"");
    EXPECT_EQ(QuoteExePath(L"\"C:\\Tools\\app.exe\""), L"\"C:\\Tools\\app.exe\"");
    EXPECT_EQ(QuoteExePath(L"\"C:\\Tools\\app.exe"), L"\"C:\\Tools\\app.exe\"");
    EXPECT_EQ(QuoteExePath(L"C:\\Tools\\app.exe\""), L"\"C:\\Tools\\app.exe\"");
    EXPECT_EQ(QuoteExePath(L"\tC:\\a.exe"), L"\"\tC:\\a.exe\"");
}

TEST(ExeAssociationEntries, ListsEveryVerbInWritingOrder) {
    ExeAssociation a;
    a.exePath = L"C:\\Tools\\app.exe";
    a.className = L"Quillet.Doc";
    a.classDescription = L"Quillet Document";
    a.association = L"qdoc";
    a.openMenuText = L"&View";
    a.supportPrint = true;
    a.printMenuText = L"P&rint it";
    a.supportNew = true;
    a.newMenuText = L"Ne&w one";
    a.supportInstall = true;
    a.installMenuText = L"&Add it";
    a.defaultIconIndex = 2;

    const std::wstring exe = L"\"C:\\Tools\\app.exe\"";
    EXPECT_THAT(
        ExeAssociationEntries(a),
        ElementsAre(AssociationEntry{L".qdoc", L"Quillet.Doc"},
                    AssociationEntry{L"Quillet.Doc", L"Quillet Document"},
                    AssociationEntry{L"Quillet.Doc\\shell\\open", L"&View"},
                    AssociationEntry{L"Quillet.Doc\\shell\\open\\command", exe + L" \"%1\""},
                    AssociationEntry{L"Quillet.Doc\\shell\\print", L"P&rint it"},
                    AssociationEntry{L"Quillet.Doc\\shell\\print\\command", exe + L" /p \"%1\""},
                    AssociationEntry{L"Quillet.Doc\\shell\\add", L"&Add it"},
                    AssociationEntry{L"Quillet.Doc\\shell\\add\\command", exe + L" /a \"%1\""},
                    AssociationEntry{L"Quillet.Doc\\shell\\new", L"Ne&w one"},
                    AssociationEntry{L"Quillet.Doc\\shell\\new\\command", exe + L" /n \"%1\""},
                    AssociationEntry{L"Quillet.Doc\\DefaultIcon", exe + L",2"}));
}

TEST(ExeAssociationEntries, FallsBackToStandardMenuTexts) {
    ExeAssociation a;
    a.exePath = L"C:\\a.exe";
    a.className = L"Q.Doc";
    a.classDescription = L"Q Document";
    a.association = L"q";
    a.supportPrint = a.supportNew = a.supportInstall = true;
    a.defaultIconIndex = 0;

    const auto rows = ExeAssociationEntries(a);
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[2].text, L"&Open");
    EXPECT_EQ(rows[4].text, L"&Print");
    EXPECT_TRUE(rows[6].text.starts_with(L"&Install "));
    EXPECT_EQ(rows[8].text, L"&New");
    EXPECT_EQ(rows[10], (AssociationEntry{L"Q.Doc\\DefaultIcon", L"\"C:\\a.exe\",0"}));
}

TEST(ExeAssociationEntries, WritesOnlyOpenWithoutOptions) {
    ExeAssociation a;
    a.exePath = L"C:\\a.exe";
    a.className = L"Q.Doc";
    a.classDescription = L"Q Document";
    a.association = L"q";
    a.defaultIconIndex = -1;

    EXPECT_THAT(
        ExeAssociationEntries(a),
        ElementsAre(AssociationEntry{L".q", L"Q.Doc"}, AssociationEntry{L"Q.Doc", L"Q Document"},
                    AssociationEntry{L"Q.Doc\\shell\\open", L"&Open"},
                    AssociationEntry{L"Q.Doc\\shell\\open\\command", L"\"C:\\a.exe\" \"%1\""}));
}

}  // namespace
}  // namespace quillet
