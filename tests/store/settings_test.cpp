// The settings engine against hand-made files: lookup, edits, line breaks, failures.
#include <gtest/gtest.h>

#include <array>

#include "store/Module1.h"
#include "store/encoding.h"
#include "store/settings.h"
#include "support/fake_filesystem.h"

namespace quillet {
namespace {

using testing::FakeFileSystem;

const std::string kMarker = "\xFF\xF6";

TEST(LineBreakMarker, EveryBreakIsStoredAsTheMarkerAndReadAsAPair) {
    // A lone CR or LF would end the line in the file.
    const std::pair<std::string, std::string> encoded[] = {{"a\r\nb", "a" + kMarker + "b"},
                                                           {"a\rb", "a" + kMarker + "b"},
                                                           {"a\nb", "a" + kMarker + "b"},
                                                           {"\r\r\n", kMarker + kMarker},
                                                           {"x\n\r", "x" + kMarker + kMarker}};
    for (const auto& [text, stored] : encoded) EXPECT_EQ(EncodeLineBreaks(text), stored) << text;
    EXPECT_EQ(DecodeLineBreaks("a" + kMarker + "b"), "a\r\nb");
    EXPECT_EQ(DecodeLineBreaks("q" + kMarker + kMarker + "\xFF"), "q\r\n\r\n\xFF");
    EXPECT_EQ(DecodeLineBreaks("\xF6\xFF\xF6"), "\xF6\r\n");
}

TEST(Windows1252, AccentedLettersAndTheMarkerRoundTripByteForByte) {
    Windows1252Codec codec;
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(codec.ToBytes(codec.FromBytes(all)), all);
    EXPECT_EQ(codec.FromBytes("\x80\xC9\xFF\xF6"), L"\u20AC\u00C9\u00FF\u00F6");
    EXPECT_EQ(codec.ToBytes(L"\u4E2D"), "?");
}

TEST(Unicode, TextsRoundTripThroughUtf8AndTheUtf16File) {
    std::wstring text = L"Za\u017C\u00F3\u0142\u0107 \u65E5\u672C\u8A9E ";
    if constexpr (sizeof(wchar_t) == 2)
        text += L"\xD83D\xDE00";  // an emoji: a surrogate pair
    else
        text += static_cast<wchar_t>(0x1F600);
    const std::string utf8 = Utf8FromWide(text);
    EXPECT_EQ(utf8,
              "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E "
              "\xF0\x9F\x98\x80");
    EXPECT_EQ(WideFromUtf8(utf8), text);
    const std::string file = Utf16FileFromUtf8("a\xC3\xBF\xF0\x9F\x98\x80");
    EXPECT_EQ(file, std::string("\xFF\xFE"
                                "a\0\xFF\0\x3D\xD8\x00\xDE",
                                10));
    EXPECT_TRUE(IsUtf16File(file));
    EXPECT_EQ(Utf8FromUtf16File(file), "a\xC3\xBF\xF0\x9F\x98\x80");
    // A file written in pieces is the same file, with one mark.
    EXPECT_EQ(
        Utf16FileFromUtf8(std::vector<std::string_view>{"a", "\xC3\xBF", "", "\xF0\x9F\x98\x80"}),
        file);
    if constexpr (sizeof(wchar_t) == 2) {  // a box may hold half a pair
        const std::wstring lone = L"x\xD800y";
        EXPECT_EQ(WideFromUtf8(Utf8FromWide(lone)), lone);
    }
    EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks("a\r\nb\nc", kUtf8Marker), kUtf8Marker),
              "a\r\nb\r\nc");
}

// A file in the Unicode form is parsed in its own units: names compare unit
// by unit, and what a save does not touch keeps its bytes, half a surrogate
// pair included; an odd last byte is no unit and goes.
TEST(IniDocument, AUtf16FileIsParsedAndWrittenInItsOwnUnits) {
    const std::string loneHalf("\x00\xD8", 2);
    std::string file = Utf16FileFromUtf8("[s]\r\n\xE6\x84\x80=wide a\r\nkeep=") + loneHalf +
                       Utf16FileFromUtf8("\r\nk=old\r\n").substr(2);
    file += '\x7F';
    IniDocument doc(file);
    ASSERT_TRUE(doc.Utf16());
    // U+6100 and U+4100 differ although their low bytes are "a" and "A".
    EXPECT_EQ(doc.Find("S", "\xE6\x84\x80").value(), "wide a");
    EXPECT_FALSE(doc.Find("s", "\xE4\x84\x80"));
    EXPECT_EQ(doc.Find("s", "k").value(), "old");

    EXPECT_TRUE(doc.Set("s", "k", "\xE6\x97\xA5 new"));
    EXPECT_TRUE(doc.Set("t", "n", "v"));
    const std::string out = doc.Serialize();
    const size_t changed = file.find(Utf16FromUtf8("old"));
    EXPECT_EQ(out.substr(0, changed), file.substr(0, changed));
    EXPECT_EQ(out.substr(changed),
              Utf16FromUtf8("\xE6\x97\xA5 new\r\n") + Utf16FromUtf8("[t]\r\nn=v\r\n"));
    EXPECT_EQ(IniDocument(out).Find("s", "k").value(), "\xE6\x97\xA5 new");
}

// Lookups as the profile functions make them. Names match in any case, with
// blanks around them trimmed, and the first section and key win; a line
// without '=' is a key without a value. Quotes around a whole value go.
// Windows finds the empty name at a "[]" header (or one with only blanks
// inside); the lines before the first header belong to no section at all.
// A NUL ends the name or value it stands in, not the line: "[s \0]" is "s ".
TEST(IniDocument, LookupsFollowTheProfileFunctions) {
    using namespace std::string_literals;
    const std::string quotes =
        "[s]\nq=\"quoted\"\nsingle='x'\nlone=\"\nmixed=\"a'\nempty=\ninner=a \"b\" c\n";
    const std::string names =
        "[SeTTings]\r\n  StoreNumber  =  7  \r\n[a]\nk=1\nk=2\nbare\nbare=later\n"
        ";comment=c\n[A]\nk=3\nother=4\n";
    const std::string both =
        "key=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n=val_no_key\r\n";
    const struct {
        std::string file, section, key, value;
    } cases[] = {
        {quotes, "s", "q", "quoted"},
        {quotes, "s", "single", "x"},
        {quotes, "s", "lone", "\""},
        {quotes, "s", "mixed", "\"a'"},
        {quotes, "s", "empty", ""},
        {quotes, "s", "inner", "a \"b\" c"},
        {names, "settings", "storenumber", "7"},
        {names, " Settings ", " STORENUMBER ", "7"},
        {names, "Savings1", "StoreNumber", "<absent>"},
        {names, "Settings", "Store", "<absent>"},
        {names, "a", "k", "1"},
        {names, "A", "other", "<absent>"},
        {names, "a", "bare", "<absent>"},
        {names, "a", ";comment", "c"},
        {both, "", "key", "val_e_section"},
        {both, "  ", "KEY", "val_e_section"},
        {both, "s", "", "val_no_key"},
        {both, "s", "key", "<absent>"},
        {"orphan=1\r\n[s]\r\nk=2\r\n", "", "orphan", "<absent>"},
        {"top=1\r\n", "", "top", "<absent>"},
        {"[]\r\nempty=1\r\n[after]\r\nk=2\r\n", "", "empty", "1"},
        {"[ \t]\r\nk=blanks\r\n", "", "k", "blanks"},
        {"a=1\r\n[]\r\n[s]\r\n[]\r\nb=2\r\n", "", "b", "<absent>"},
        {Utf16FileFromUtf8("k=top\r\n[]\r\nk=wide\r\n"), "", "k", "wide"},
        {Utf16FileFromUtf8("k=top\r\n[s]\r\n"), "", "k", "<absent>"},
        {"[s]\r\nk=a\0b\r\nj=2\r\n"s, "s", "k", "a"},
        {"[s]\r\nk\0x=v\r\n"s, "s", "k", "v"},
        {"[s]\r\n\0k=v\r\n"s, "s", "", "v"},
        {"[s]\r\n\0k=v\r\n"s, "s", "k", "<absent>"},
        {"[s\0x]\r\nk=v\r\n"s, "s", "k", "v"},
        {"[s \0]\r\nk=v\r\n"s, "s", "k", "<absent>"},
        {"[s]\r\nk \0=v\r\n"s, "s", "k", "<absent>"},
        {"[s]\r\nk= \0 x\r\n"s, "s", "k", ""},
        {"[s]\r\nk=\"a\0\"\r\nj=\"b\"\0\r\n"s, "s", "k", "\"a"},
        {"[s]\r\nk=\"a\0\"\r\nj=\"b\"\0\r\n"s, "s", "j", "b"},
        {"[s]\r\nk=v\0[t]\r\nj=1\r\n"s, "s", "j", "1"},
        {"\0\0[s]\r\nk=v\r\n"s, "s", "k", "<absent>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniDocument(c.file).Find(c.section, c.key).value_or("<absent>"), c.value)
            << "[" << c.section << "] " << c.key << " in case " << (&c - cases);
}

// A write replaces the one entry under either spelling, keeps the layout
// of the other lines and the bytes of an unchanged file, and adds a new key
// at the end of its section. A write to the empty name goes under a "[]"
// header, made at the end when there is none; the lines before the first
// header keep their bytes. Set tells whether the file changed.
TEST(IniDocument, WritesChangeOnlyTheirEntry) {
    using Writes = std::vector<std::array<std::string, 3>>;
    const Writes emptyName = {{"", "key", "new"}, {" ", "KEY", "new"}};
    const struct {
        std::string file;
        Writes writes;
        std::string written;
    } cases[] = {
        {"[Savings1]\r\ntxtTitle(3)=old\r\n",
         {{"Savings1", "txttitle(3)", "new"}, {"savings1", "TXTTITLE(3)", "third"}},
         "[Savings1]\r\ntxtTitle(3)=third\r\n"},
        {"; my notes\n[a]\nx = 1\n\n[b]\ny=2",
         {{"a", "new", "v"}, {"b", "z", "3"}, {"c", "w", "4"}},
         "; my notes\n[a]\nx = 1\nnew=v\r\n\n[b]\ny=2\r\nz=3\r\n[c]\r\nw=4\r\n"},
        {"[a]\r\n  key   =   old   \r\nbare\r\n k = v \n",
         {{"a", "k", "v"}, {"a", "key", "new"}, {"a", "bare", "now"}},
         "[a]\r\n  key   =   new\r\nbare=now\r\n k = v \n"},
        {"key=top\r\n[s]\r\nk=1\r\n", emptyName, "key=top\r\n[s]\r\nk=1\r\n[]\r\nkey=new\r\n"},
        {"key=top\r\n[]\r\nkey=old\r\n[s]\r\n", emptyName, "key=top\r\n[]\r\nkey=new\r\n[s]\r\n"},
        {"key=top\r\n[]\r\nother=1\r\n[s]\r\n", emptyName,
         "key=top\r\n[]\r\nother=1\r\nkey=new\r\n[s]\r\n"},
        {"key=top", emptyName, "key=top\r\n[]\r\nkey=new\r\n"},
        {"\xEF\xBB\xBFkey=top\n", emptyName, "\xEF\xBB\xBFkey=top\n[]\r\nkey=new\r\n"},
        {"", emptyName, "[]\r\nkey=new\r\n"},
        {Utf16FileFromUtf8("key=top\r\n"), emptyName,
         Utf16FileFromUtf8("key=top\r\n[]\r\nkey=new\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        IniDocument doc(c.file);
        for (const auto& [section, key, value] : c.writes) {
            const std::string before = doc.Serialize();
            const bool changed = doc.Set(section, key, value);
            EXPECT_EQ(changed, doc.Serialize() != before) << key;
            EXPECT_EQ(doc.Find(section, key).value_or("<absent>"), value) << key;
        }
        EXPECT_EQ(doc.Serialize(), c.written);
        const auto& [section, key, value] = c.writes.back();
        EXPECT_EQ(IniDocument(c.written).Find(section, key).value_or("<absent>"), value);
    }
}

TEST(IniDocument, BlanksAndQuotesAtTheEdgesSurviveAWrite) {
    for (std::string value : {"  indented", "trailing  ", "\"quoted\"", "'single'", " ", "\t"}) {
        IniDocument doc;
        doc.Set("s", "k", value);
        IniDocument reread(doc.Serialize());
        EXPECT_EQ(reread.Find("s", "k").value(), value) << doc.Serialize();
    }
}

TEST(IniDocument, WritesToDamagedFilesReadBackAndKeepTheOtherEntries) {
    // Files on which a write once lost its own value or another entry.
    using namespace std::string_literals;
    const struct {
        std::string file, section, key, value, expected, otherSection, otherKey, otherValue;
    } cases[] = {
        // A crash's tail of zeros: the new header went on the zeros' line.
        {"[s]\r\nk=v\r\n\0\0\0\0"s, "Fresh", "key", "value", "value", "s", "k", "v"},
        {"[s]\r\nk=v\0\0"s, "Fresh", "key", "value", "value", "s", "k", "v"},
        {"[s]\r\nk=v\0\0"s, "s", "added", "a", "a", "s", "k", "v"},
        // A key for the empty name once went in front of the byte-order mark.
        {"\xEF\xBB\xBF[s]\r\nk=v\r\n", "", "top", "1", "1", "s", "k", "v"},
        // What follows a NUL in a value is never read back.
        {"[s]\r\nk=1\r\n", "", "", "\0"s, "", "s", "k", "1"},
        {"[s]\r\nk=a\0b\r\nj=2\r\n"s, "s", "k", " x\0y "s, " x", "s", "j", "2"},
    };
    for (const auto& c : cases) {
        IniDocument doc(c.file);
        doc.Set(c.section, c.key, c.value);
        const IniDocument reread(doc.Serialize());
        EXPECT_EQ(reread.Find(c.section, c.key).value_or("<absent>"), c.expected)
            << "case " << (&c - cases);
        EXPECT_EQ(reread.Find(c.otherSection, c.otherKey).value_or("<absent>"), c.otherValue)
            << "case " << (&c - cases);
    }
}

TEST(IniDocument, AStrayLineBreakInARawValueCannotSplitTheEntry) {
    IniDocument doc;
    doc.Set("s", "k", "one\ntwo");
    doc.Set("s", "after", "kept");
    IniDocument reread(doc.Serialize());
    EXPECT_EQ(reread.Find("s", "k").value(), "one" + kMarker + "two");
    EXPECT_EQ(reread.Find("s", "after").value(), "kept");
}

class SettingsFileTest : public ::testing::Test {
  protected:
    FakeFileSystem fs;
    Windows1252Codec codec;
    Settings settings{fs, codec};
    const std::wstring path = L"C:\\quilbdx.ini";
};

TEST_F(SettingsFileTest, AbsentFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(settings.ReadSetting(path, "Settings", "FormTop", L"500"), L"500");
    // An entry that is there but empty reads as the default too.
    fs.files[path] =
        "[Settings]\r\nFormTop=\r\nFormLeft=\"\"\r\n[Savings3]\r\ntxt(1)=b\r\ntxt(0)=a\r\n";
    EXPECT_EQ(settings.ReadSetting(path, "Settings", "FormTop", L"500"), L"500");
    EXPECT_EQ(settings.ReadSetting(path, "Settings", "FormLeft", L"1500"), L"1500");
    EXPECT_EQ(settings.ReadSetting(path, "Other", "FormTop", L"d"), L"d");
    EXPECT_EQ(settings.ReadSettings(path, "Savings3", {"txt(0)", "txt(1)", "txt(2)"}),
              (std::vector<std::wstring>{L"a", L"b", L""}));
}

// The profile functions drop a default's trailing spaces, and only spaces.
// A default of nothing but spaces loses them all, as documented ("any
// trailing blanks"); Wine keeps one of them.
TEST_F(SettingsFileTest, ADefaultComesBackWithoutItsTrailingSpaces) {
    const struct {
        std::string given, returned;
    } defaults[] = {
        {"default  ", "default"},
        {"one two  ", "one two"},
        {"  lead", "  lead"},
        {"tab\t", "tab\t"},
        {"tab\t ", "tab\t"},
        {"x \t ", "x \t"},
        {"line\r\n ", "line\r\n"},
        {"   ", ""},
        {"", ""},
    };
    SettingsFile raw(fs);
    const std::wstring missing = L"C:\\missing.ini";
    fs.files[path] = "[s]\r\nk=v\r\nempty=\r\n";
    for (const auto& d : defaults) {
        EXPECT_EQ(ProfileDefault(d.given), d.returned) << d.given;
        EXPECT_EQ(raw.ReadRaw(missing, "s", "k", d.given), d.returned) << d.given;
        EXPECT_EQ(raw.ReadRaw(path, "other", "k", d.given), d.returned) << d.given;
        EXPECT_EQ(raw.ReadRaw(path, "s", "absent", d.given), d.returned) << d.given;
        EXPECT_EQ(raw.ReadRaw(path, "s", "k", d.given), "v") << d.given;
        EXPECT_EQ(raw.ReadRawMany(path, "s", {"absent", "k", "empty"}, d.given),
                  (std::vector<std::string>{d.returned, "v", ""}))
            << d.given;

        // ReadSetting also hands the default back for an empty value.
        const std::wstring given = codec.FromBytes(d.given), returned = codec.FromBytes(d.returned);
        EXPECT_EQ(ProfileDefault(std::wstring_view(given)), returned) << d.given;
        EXPECT_EQ(settings.ReadSetting(missing, "s", "k", given), returned) << d.given;
        EXPECT_EQ(settings.ReadSetting(path, "s", "absent", given), returned) << d.given;
        EXPECT_EQ(settings.ReadSetting(path, "s", "empty", given), returned) << d.given;
        EXPECT_EQ(settings.Snapshot(path).Read("other", "k", given), returned) << d.given;
        EXPECT_EQ(settings.ReadSetting(path, "s", "k", given), L"v") << d.given;
    }
}

TEST_F(SettingsFileTest, TheEmptySectionIsWrittenAndReadUnderAnEmptyHeader) {
    SettingsFile raw(fs);
    fs.files[path] = "key=top\r\n[s]\r\nk=1\r\n";
    EXPECT_EQ(raw.ReadRaw(path, "", "key", "none"), "none");
    ASSERT_TRUE(raw.WriteRaw(path, "", "key", "new"));
    EXPECT_EQ(fs.files[path], "key=top\r\n[s]\r\nk=1\r\n[]\r\nkey=new\r\n");
    EXPECT_EQ(raw.ReadRaw(path, "", "key", "none"), "new");
    ASSERT_TRUE(settings.WriteSetting(path, "", "key", L"again"));
    EXPECT_EQ(fs.files[path], "key=top\r\n[s]\r\nk=1\r\n[]\r\nkey=again\r\n");
    EXPECT_EQ(settings.ReadSetting(path, "", "key", L"none"), L"again");
    EXPECT_EQ(raw.ReadRaw(path, "s", "k", "none"), "1");
}

TEST_F(SettingsFileTest, FirstWriteCreatesTheFile) {
    EXPECT_TRUE(settings.WriteSetting(path, "Settings", "askImport", L"1"));
    EXPECT_EQ(fs.files[path], "[Settings]\r\naskImport=1\r\n");
}

TEST_F(SettingsFileTest, MultiLineTextRoundTripsThroughTheMarker) {
    const std::wstring text = L"caf\u00E9\r\n\r\nna\u00EFve\u00FF\u00F6end";
    settings.WriteSetting(path, "Savings1", "txt(0)", text);
    EXPECT_EQ(fs.files[path],
              "[Savings1]\r\ntxt(0)=caf\xE9\xFF\xF6\xFF\xF6na\xEFve\xFF\xF6"
              "end\r\n");
    // The marker typed by the user reads back as a line break.
    EXPECT_EQ(settings.ReadSetting(path, "Savings1", "txt(0)", L""),
              L"caf\u00E9\r\n\r\nna\u00EFve\r\nend");
}

// A text the code page cannot hold turns the whole file into the Unicode
// form, which keeps every earlier value as it was and stays from then on;
// also where an editor put its UTF-8 mark first.
TEST_F(SettingsFileTest, ATextOutsideTheCodePageTurnsTheFileIntoUtf16) {
    const std::wstring polish = L"Za\u017C\u00F3\u0142\u0107\r\ng\u0119\u015Bl\u0105 \u65E5\u672C";
    const std::string marked = std::string("\xEF\xBB\xBF") + "[Settings]\r\nStoreNumber=3\r\n";
    fs.files[L"C:\\marked.ini"] = marked;
    ASSERT_TRUE(settings.WriteSetting(L"C:\\marked.ini", "Savings3", "txt(1)", polish));
    EXPECT_TRUE(IsUtf16File(fs.files[L"C:\\marked.ini"]));
    EXPECT_EQ(settings.ReadSetting(L"C:\\marked.ini", "Settings", "StoreNumber", L""), L"3");

    fs.files[path] =
        "[Settings]\r\nStoreNumber=3\r\n[Savings3]\r\ntxt(0)=caf\xE9\xFF\xF6"
        "bar\r\n";
    ASSERT_TRUE(settings.WriteSetting(path, "Savings3", "txt(1)", polish));
    const std::string& file = fs.files[path];
    ASSERT_TRUE(IsUtf16File(file));
    // The marker keeps its two characters, now as UTF-16 units.
    EXPECT_NE(file.find(std::string("\xFF\0\xF6\0", 4)), std::string::npos);
    EXPECT_EQ(settings.ReadSetting(path, "Savings3", "txt(1)", L""), polish);
    EXPECT_EQ(settings.ReadSetting(path, "Savings3", "txt(0)", L""), L"caf\u00E9\r\nbar");
    EXPECT_EQ(settings.ReadSetting(path, "Settings", "StoreNumber", L""), L"3");

    ASSERT_TRUE(settings.WriteSetting(path, "Settings", "StoreNumber", L"4"));
    EXPECT_TRUE(IsUtf16File(fs.files[path]));
    EXPECT_EQ(settings.ReadSetting(path, "Savings3", "txt(1)", L""), polish);

    // Text that fits leaves a file in the code page byte for byte as it was.
    const std::string plain = "[Settings]\r\nStoreNumber=3\r\n";
    fs.files[L"C:\\plain.ini"] = plain;
    ASSERT_TRUE(settings.WriteSetting(L"C:\\plain.ini", "Settings", "Caption", L"caf\u00E9"));
    EXPECT_EQ(fs.files[L"C:\\plain.ini"], plain + "Caption=caf\xE9\r\n");
}

TEST_F(SettingsFileTest, FailedWritesAreReportedAndLeaveTheFile) {
    fs.files[path] = "[Savings1]\r\ntxt(0)=precious\r\n";
    fs.readOnly.insert(path);
    const IoResult r = settings.WriteSetting(path, "Savings1", "txt(0)", L"2");
    EXPECT_FALSE(r);
    EXPECT_EQ(r.reason, L"Access is denied.");
    // An unreadable file is never replaced by a fresh one.
    fs.readOnly.clear();
    fs.unreadable.insert(path);
    EXPECT_FALSE(settings.WriteSetting(path, "Settings", "StoreNumber", L"2"));
    EXPECT_EQ(fs.files[path], "[Savings1]\r\ntxt(0)=precious\r\n");
}

TEST_F(SettingsFileTest, BatchEndsLikeSingleWritesInOneReplace) {
    fs.files[path] = "[Savings2]\r\ntxt(0)=a\r\n[Settings]\r\nStoreNumber=2\r\n";
    FakeFileSystem single = fs;
    Settings one(single, codec);
    std::vector<Settings::Value> batch;
    for (int i = 0; i < kSlotCount; ++i) {
        batch.push_back({StoreSection(2), TextKey(i), L"text " + std::to_wstring(i)});
        batch.push_back({StoreSection(2), TitleWriteKey(i), L"title " + std::to_wstring(i)});
        one.WriteSetting(path, StoreSection(2), TextKey(i), L"text " + std::to_wstring(i));
        one.WriteSetting(path, StoreSection(2), TitleWriteKey(i), L"title " + std::to_wstring(i));
    }
    fs.replaceCount = 0;
    EXPECT_TRUE(settings.WriteSettings(path, batch));
    EXPECT_EQ(fs.replaceCount, 1);
    EXPECT_EQ(fs.files[path], single.files[path]);
}

// 16 bits for what the first edition wrote, 32 for positions and widths.
TEST(NumberConversion, AcceptsWhatTheProgramWroteAndRejectsTheRest) {
    const struct {
        const wchar_t* text;
        std::optional<int16_t> int16;
        std::optional<int32_t> int32;
    } cases[] = {
        {L"500", 500, 500},
        {L" -120 ", -120, -120},
        {L"+7", 7, 7},
        {L"2.5", 2, 2},
        {L"3.5", 4, 4},
        {L"32767", 32767, 32767},
        {L"-32768", -32768, -32768},
        {L"45000", {}, 45000},
        {L"-40000", {}, -40000},
        {L"3000000000", {}, {}},
        {L"99999999999999999999", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToInt16(c.text), c.int16) << c.text;
        EXPECT_EQ(ToInt32(c.text), c.int32) << c.text;
    }
    for (const wchar_t* bad : {L"", L"abc", L"x", L"1e3", L"12a", L"-", L".", L"wide"}) {
        EXPECT_FALSE(ToInt16(bad)) << bad;
        EXPECT_FALSE(ToInt32(bad)) << bad;
    }
}

TEST(SettingsLocation, FirstExistingCandidateElseTheDriveRoot) {
    FakeFileSystem fs;
    const ProgramPlaces places = PlacesOf(L"D:\\Tools\\Quillet");
    EXPECT_EQ(places.appFolder, L"D:\\Tools\\Quillet\\");
    EXPECT_EQ(places.appDrive, L"D:\\");
    EXPECT_EQ(PlacesOf(L"C:\\").appFolder, L"C:\\");
    EXPECT_EQ(ChooseSettingsPath(places, kSettingsFileName, fs), L"D:\\quilbdx.ini");
    fs.files[L"C:\\quilbdx.ini"] = "";
    EXPECT_EQ(ChooseSettingsPath(places, kSettingsFileName, fs), L"C:\\quilbdx.ini");
    fs.files[L"D:\\Tools\\Quillet\\quilbdx.ini"] = "";
    EXPECT_EQ(ChooseSettingsPath(places, kSettingsFileName, fs),
              L"D:\\Tools\\Quillet\\quilbdx.ini");
    fs.files[L"D:\\quilbdx.ini"] = "";
    EXPECT_EQ(ChooseSettingsPath(places, kSettingsFileName, fs), L"D:\\quilbdx.ini");

    // The user's own folder comes last.
    const ProgramPlaces withUser = PlacesOf(L"D:\\Tools\\Quillet", L"C:\\Users\\me\\Roaming");
    EXPECT_EQ(withUser.userFolder, L"C:\\Users\\me\\Roaming\\Quillet Pro\\");
    fs.files.clear();
    fs.files[L"C:\\Users\\me\\Roaming\\Quillet Pro\\quilbdx.ini"] = "";
    EXPECT_EQ(ChooseSettingsPath(withUser, kSettingsFileName, fs),
              L"C:\\Users\\me\\Roaming\\Quillet Pro\\quilbdx.ini");
    fs.files[L"C:\\quilbdx.ini"] = "";
    EXPECT_EQ(ChooseSettingsPath(withUser, kSettingsFileName, fs), L"C:\\quilbdx.ini");
}

TEST(StoreKeys, NamesHaveNoPaddingOrLeadingZeros) {
    EXPECT_EQ(StoreSection(0), "Savings0");
    EXPECT_EQ(StoreSection(15), "Savings15");
    EXPECT_EQ(TextKey(9), "txt(9)");
    EXPECT_EQ(TitleKey(0), "txtTitle(0)");
    EXPECT_EQ(CaptionKey(12), "StoreCaption12");
    EXPECT_EQ(DefaultCaption(1), L"1 Store");
}

}  // namespace
}  // namespace quillet
