// The one-time import of the Standard edition's stores: where its file is
// found, the question, what reaches the program's file, and the failures.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "store/standard_import.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

using testing::FakeFileSystem;

const std::wstring kInFolder = L"C:\\Program Files\\Quillet Pro\\quilexr.ini";
const std::wstring kInRoot = L"C:\\quilexr.ini";
constexpr std::wstring_view kTitle = L"Import From Quillet Standard";

std::string N(int n) {
    return std::to_string(n);
}
std::wstring W(int n) {
    return std::to_wstring(n);
}

// Stores 1 ... 12 (the edition has ten; more must not be taken), every
// text of two lines, and the captions of stores 1 ... 10.
std::string StandardFile() {
    std::string file = "[Settings]\r\n";
    for (int s = 1; s <= 10; ++s) file += "StoreCaption" + N(s) + "=" + N(s) + " Standard\r\n";
    for (int s = 1; s <= 12; ++s) {
        file += "[Savings" + N(s) + "]\r\n";
        for (int i = 0; i < 10; ++i) {
            file += "txt(" + N(i) + ")=S" + N(s) + " line one\xFF\xF6line two of " + N(i) + "\r\n";
            file += "txtTitle(" + N(i) + ")=S" + N(s) + " title " + N(i) + "\r\n";
        }
    }
    return file;
}
std::wstring ImportedText(int s, int i) {
    return L"S" + W(s) + L" line one\r\nline two of " + W(i);
}
std::wstring ImportedTitle(int s, int i) {
    return L"S" + W(s) + L" title " + W(i);
}

class ImportTest : public MainFormTest {
  protected:
    // A settings file from before, without "askImport".
    void Existing(std::string_view section, std::string_view key, std::wstring_view value) {
        Store(section, key, value);
    }
    const std::vector<std::wstring> kCompleted = [] {
        std::vector<std::wstring> steps{L"show Importing... / Importing Data"};
        for (int b = 1; b <= 10; ++b) steps.push_back(L"block " + W(b));
        steps.push_back(L"label Importing completed");
        steps.push_back(L"close");
        return steps;
    }();
};

TEST(StandardFile, SearchOrderIsDriveRootProgramFolderThenRem01) {
    FakeFileSystem fs;
    const ProgramPlaces places = PlacesOf(L"D:\\Tools\\Quillet", L"C:\\Users\\me\\AppData");
    EXPECT_FALSE(FindStandardFile(places, fs));
    // Places of the program's own settings file are not looked at.
    fs.files[L"C:\\quilexr.ini"] = "";
    fs.files[L"C:\\Users\\me\\AppData\\Quillet Pro\\quilexr.ini"] = "";
    EXPECT_FALSE(FindStandardFile(places, fs));
    fs.files[L"C:\\rem01.ini"] = "";
    EXPECT_EQ(FindStandardFile(places, fs), L"C:\\rem01.ini");
    fs.files[L"D:\\Tools\\Quillet\\quilexr.ini"] = "";
    EXPECT_EQ(FindStandardFile(places, fs), L"D:\\Tools\\Quillet\\quilexr.ini");
    fs.files[L"D:\\quilexr.ini"] = "";
    EXPECT_EQ(FindStandardFile(places, fs), L"D:\\quilexr.ini");
}

TEST_F(ImportTest, AFileInTheProgramFolderIsOfferedAndYesImportsTenStores) {
    fs.files[kInFolder] = StandardFile();
    prompt.answers = {true};
    form.FormLoad(kFolder);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, kTitle);
    EXPECT_EQ(prompt.questions[0].text,
              L"Quillet Pro has detected the existence of the Standard version on this "
              L"computer.\r\n\r\n"
              L"Would you like to import the data from the Standard version ? \r\n\r\n"
              L"Note 1: If you click No, you will not get another opportunity.\r\n"
              L"Note 2: You can run both versions with different data if you wish.");
    EXPECT_EQ(prompt.questions[0].icon, Prompt::Icon::kQuestion);
    EXPECT_EQ(form.ImportPath(), kInFolder);
    for (int s = 1; s <= 10; ++s) {
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(Stored("Savings" + N(s), "txt(" + N(i) + ")"), ImportedText(s, i));
            EXPECT_EQ(Stored("Savings" + N(s), "txtTitle(" + N(i) + ")"), ImportedTitle(s, i));
        }
        EXPECT_EQ(Stored("Settings", "StoreCaption" + N(s)), W(s) + L" Standard");
    }
    EXPECT_FALSE(Present("Savings11", "txt(0)"));
    EXPECT_EQ(Stored("Settings", "askImport"), L"1");
    EXPECT_EQ(view.progress, kCompleted);
    EXPECT_EQ(clock.waits, std::vector<int>{1000});
    EXPECT_TRUE(prompt.messages.empty());
    // The window shows what was imported at once: store 1 and the captions.
    EXPECT_EQ(form.CurrentStore(), 1);
    EXPECT_EQ(view.text[9], ImportedText(1, 9));
    EXPECT_EQ(view.title[0], ImportedTitle(1, 0));
    EXPECT_EQ(view.storeCaption[7], L"7 Standard");
    EXPECT_EQ(view.tooltip[10], L"10 Standard");
    EXPECT_EQ(view.storeCaption[11], L"11 Store");
}

// Absent values are copied as empty ones: the imported stores are replaced.
// Captions lose one leading ampersand.
TEST_F(ImportTest, MissingKeysEmptyTheSlotsAndCaptionsLoseOneAmpersand) {
    Existing("Savings3", "txt(4)", L"mine");
    Existing("Savings3", "txttitle(4)", L"my title");
    Existing("Settings", "StoreCaption3", L"3 Mine");
    Existing("Settings", "StoreNumber", L"3");
    fs.files[kInRoot] =
        "[Savings3]\r\ntxt(0)=only this\r\n[Settings]\r\nStoreCaption1=&1 Work\r\n"
        "StoreCaption2=&&2 R&D\r\nStoreCaption4=4 Plain\r\nStoreCaption5=&\r\n";
    prompt.answers = {true};
    form.FormLoad(kFolder);
    EXPECT_EQ(form.ImportPath(), kInRoot);
    EXPECT_EQ(Stored("Savings3", "txt(0)"), L"only this");
    EXPECT_TRUE(Present("Savings3", "txt(4)"));
    EXPECT_EQ(Stored("Savings3", "txt(4)") + Stored("Savings3", "txtTitle(4)"), L"");
    EXPECT_EQ(view.text[0] + view.text[4], L"only this");
    EXPECT_EQ(view.storeCaption[3], L"3 Store");
    const std::pair<int, std::wstring> captions[] = {
        {1, L"1 Work"}, {2, L"&2 R&D"}, {3, L""}, {4, L"4 Plain"}, {5, L""}};
    for (const auto& [store, caption] : captions)
        EXPECT_EQ(Stored("Settings", "StoreCaption" + N(store)), caption) << store;
    EXPECT_EQ(view.storeCaption[2], L"&2 R&D");
}

TEST_F(ImportTest, StoresElevenToFifteenPicturesAndOtherSettingsAreUntouched) {
    for (int s = 11; s <= 15; ++s) {
        Existing("Savings" + N(s), "txt(0)", L"kept " + W(s));
        Existing("Settings", "StoreCaption" + N(s), W(s) + L" Kept");
    }
    Existing("Savings0", "txttitle(2)", L"holiday");
    Existing("Settings", "AutoSave", L"1");
    Existing("Settings", "Mirror", L"1");
    fs.files[L"C:\\ClipPics\\pic3.bmp"] = "BM picture";
    std::string source = StandardFile();
    source += "[Savings0]\r\ntxtTitle(2)=theirs\r\n[Savings15]\r\ntxt(0)=theirs\r\n";
    source += "[Settings]\r\nAutoSave=0\r\nStoreCaption11=11 Theirs\r\n";
    fs.files[kInFolder] = source;
    prompt.answers = {true};
    form.FormLoad(kFolder);
    ASSERT_EQ(Stored("Savings1", "txt(0)"), ImportedText(1, 0));
    for (int s = 11; s <= 15; ++s) {
        EXPECT_EQ(Stored("Savings" + N(s), "txt(0)"), L"kept " + W(s));
        EXPECT_EQ(Stored("Settings", "StoreCaption" + N(s)), W(s) + L" Kept");
    }
    EXPECT_EQ(Stored("Savings0", "txtTitle(2)"), L"holiday");
    EXPECT_EQ(Stored("Settings", "AutoSave"), L"1");
    EXPECT_EQ(Stored("Settings", "Mirror"), L"1");
    EXPECT_EQ(fs.files[L"C:\\ClipPics\\pic3.bmp"], "BM picture");
}

TEST_F(ImportTest, NoIsFinalForThisSettingsFile) {
    fs.files[kInFolder] = StandardFile();
    prompt.answers = {false};
    form.FormLoad(kFolder);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(Stored("Settings", "askImport"), L"1");
    EXPECT_FALSE(Present("Savings1", "txt(0)"));
    EXPECT_FALSE(Present("Settings", "StoreCaption1"));
    EXPECT_TRUE(view.progress.empty());
    // The next start asks nothing, though the file is still there.
    prompt.answers = {true};
    MainForm again = Restarted();
    again.FormLoad(kFolder);
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_FALSE(Present("Savings1", "txt(0)"));
}

// A file copied from another machine has made its offer already.
TEST_F(ImportTest, ASettingsFileThatMadeTheOfferNeverSearches) {
    Existing("Settings", "askImport", L"1");
    fs.files[kInRoot] = StandardFile();
    fs.files[L"C:\\rem01.ini"] = StandardFile();
    prompt.answers = {true};
    form.FormLoad(kFolder);
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_TRUE(form.ImportPath().empty());
    EXPECT_FALSE(Present("Savings1", "txt(0)"));
}

// Nothing of an unreadable source may empty the ten stores.
TEST_F(ImportTest, AnUnreadableSourceIsToldAndNothingIsImported) {
    Existing("Savings1", "txt(0)", L"keep me");
    Existing("Settings", "StoreCaption2", L"2 Keep");
    fs.files[kInFolder] = StandardFile();
    fs.unreadable.insert(kInFolder);
    prompt.answers = {true};
    form.FormLoad(kFolder);
    EXPECT_EQ(prompt.messages.at(0).icon, Prompt::Icon::kExclamation);
    EXPECT_EQ(Told(), std::wstring(kTitle) +
                          L"|The data of Quillet Standard could not be read from\r\n" + kInFolder +
                          L"\r\n\r\nThe process cannot access the file.\r\n\r\nNothing was "
                          L"imported.");
    EXPECT_TRUE(view.progress.empty());
    EXPECT_EQ(Stored("Savings1", "txt(0)"), L"keep me");
    EXPECT_EQ(Stored("Settings", "StoreCaption2"), L"2 Keep");
    EXPECT_EQ(view.text[0], L"keep me");
    EXPECT_EQ(Stored("Settings", "askImport"), L"1");
}

TEST_F(ImportTest, AFailedWriteIsReportedInsteadOfCompleted) {
    Existing("Savings1", "txt(0)", L"keep me");
    fs.files[kInFolder] = StandardFile();
    fs.readOnly.insert(kIni);
    const std::string before = fs.files[kIni];
    prompt.answers = {true};
    form.FormLoad(kFolder);
    std::vector<std::wstring> steps(kCompleted.begin(), kCompleted.end() - 2);
    steps.push_back(L"close");
    EXPECT_EQ(view.progress, steps);
    EXPECT_TRUE(clock.waits.empty());
    EXPECT_EQ(prompt.messages.at(0).icon, Prompt::Icon::kCritical);
    EXPECT_EQ(Told(), std::wstring(kTitle) +
                          L"|The data of Quillet Standard could not be written to the settings "
                          L"file\r\n" +
                          kIni + L"\r\n\r\nAccess is denied.\r\n\r\nNothing was imported.");
    EXPECT_EQ(fs.files[kIni], before);
    EXPECT_EQ(view.text[0], L"keep me");
}

// Texts of any length and characters of any script arrive whole; the file
// turns Unicode for them.
TEST_F(ImportTest, LongAndUnicodeTextsArriveWhole) {
    const std::wstring polish = L"Za\x017C\x00F3\x0142\x0107 g\x0119\x015Bl\x0105 ja\x017A\x0144";
    const std::wstring emoji = L"\U0001F600 \x4E2D\x6587";
    const std::wstring longText(40000, L'q');
    const std::string utf8 = "[Savings1]\r\ntxt(0)=" + Utf8FromWide(polish) + "\xC3\xBF\xC3\xB6" +
                             Utf8FromWide(emoji) + "\r\ntxt(1)=" + Utf8FromWide(longText) +
                             "\r\n[Settings]\r\nStoreCaption1=&" + Utf8FromWide(polish) + "\r\n";
    fs.files[kInRoot] = Utf16FileFromUtf8(utf8);
    prompt.answers = {true};
    form.FormLoad(kFolder);
    EXPECT_EQ(view.text[0], polish + L"\r\n" + emoji);
    EXPECT_EQ(view.text[1], longText);
    EXPECT_EQ(view.storeCaption[1], polish);
    EXPECT_TRUE(IsUtf16File(fs.files[kIni]));
    EXPECT_EQ(Stored("Savings1", "txt(0)"), polish + L"\r\n" + emoji);
}

// Everything reaches the file in one replacement: a start answered Yes
// replaces the file exactly once more than the same start answered No.
TEST_F(ImportTest, TheWholeImportIsOneWrite) {
    int replaces[2] = {};
    for (bool yes : {false, true}) {
        fs.files = {{kInRoot, StandardFile()}};
        fs.replaceCount = 0;
        prompt.answers = {yes};
        MainForm fresh = Restarted();
        fresh.FormLoad(kFolder);
        replaces[yes] = fs.replaceCount;
    }
    EXPECT_EQ(replaces[1], replaces[0] + 1);
}

}  // namespace
}  // namespace quillet
