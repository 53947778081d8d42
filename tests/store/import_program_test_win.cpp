// The real program under Wine at its first start beside a Standard
// edition's file: the question, Yes and No, and what reaches the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resource.h"
#include "support/program_win.h"

namespace quillet::testing {
namespace {

constexpr wchar_t kStandardFile[] = L"C:\\Program Files\\Quillet Pro\\quilexr.ini";
constexpr wchar_t kQuestionTitle[] = L"Import From Quillet Standard";

std::string StandardFile() {
    std::string file = "[Settings]\r\nStoreCaption1=&1 Letters\r\nStoreCaption2=&&2 R&D\r\n";
    for (int s = 1; s <= 10; ++s) {
        file += "[Savings" + std::to_string(s) + "]\r\n";
        file += "txt(0)=store " + std::to_string(s) + "\xFF\xF6second line\r\n";
        file += "txtTitle(0)=title " + std::to_string(s) + "\r\n";
    }
    file += "[Savings11]\r\ntxt(0)=not imported\r\n";
    return file;
}

// The text of a message box, which shows it in a static control.
std::wstring BoxText(HWND box) {
    return RunningProgram::TextOf(::GetDlgItem(box, 0xFFFF));
}

class ImportProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { InstallProgram(); }
    void SetUp() override {
        CleanDriveC();
        // A file of this program from before, which never made the offer.
        WriteFileBytes(
            kSettingsFile,
            "[Settings]\r\nStoreNumber=1\r\nStoreCaption12=12 Mine\r\n"
            "[Savings1]\r\ntxt(5)=mine, replaced\r\n[Savings12]\r\ntxt(0)=mine, kept\r\n");
        WriteFileBytes(kStandardFile, StandardFile());
    }
    void TearDown() override { CleanDriveC(); }
};

TEST_F(ImportProgramTest, YesCopiesTheTenStoresBeforeTheWindowShows) {
    RunningProgram app;
    ASSERT_TRUE(app.Launch());
    HWND box = app.WaitForBox(kQuestionTitle);
    ASSERT_TRUE(box);
    EXPECT_EQ(BoxText(box),
              L"Quillet Pro has detected the existence of the Standard version on this "
              L"computer.\r\n\r\n"
              L"Would you like to import the data from the Standard version ? \r\n\r\n"
              L"Note 1: If you click No, you will not get another opportunity.\r\n"
              L"Note 2: You can run both versions with different data if you wish.");
    EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
    RunningProgram::Answer(box, IDYES);
    ASSERT_TRUE(app.WaitReady());

    EXPECT_EQ(ProfileValue("Settings", "askImport"), "1");
    for (int s = 1; s <= 10; ++s) {
        const std::string section = "Savings" + std::to_string(s);
        EXPECT_EQ(ProfileValue(section.c_str(), "txt(0)"),
                  "store " + std::to_string(s) + "\xFF\xF6second line");
        EXPECT_EQ(ProfileValue(section.c_str(), "txtTitle(0)"), "title " + std::to_string(s));
    }
    EXPECT_EQ(ProfileValue("Savings1", "txt(5)", "<absent>"), "");
    EXPECT_EQ(ProfileValue("Settings", "StoreCaption1"), "1 Letters");
    EXPECT_EQ(ProfileValue("Settings", "StoreCaption2"), "&2 R&D");
    EXPECT_EQ(ProfileValue("Settings", "StoreCaption3"), "");
    EXPECT_EQ(ProfileValue("Savings11", "txt(0)"), "<absent>");
    EXPECT_EQ(ProfileValue("Savings12", "txt(0)"), "mine, kept");
    EXPECT_EQ(ProfileValue("Settings", "StoreCaption12"), "12 Mine");
    // Store 1 shows what was imported.
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0)), L"store 1\r\nsecond line");
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXTTITLE0)), L"title 1");
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0 + 5)), L"");
    app.Command(IDM_EXIT);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(ImportProgramTest, NoImportsNothing) {
    const std::string before = ProfileValue("Savings1", "txt(5)");
    RunningProgram app;
    ASSERT_TRUE(app.Launch());
    HWND box = app.WaitForBox(kQuestionTitle);
    ASSERT_TRUE(box);
    RunningProgram::Answer(box, IDNO);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(ProfileValue("Settings", "askImport"), "1");
    EXPECT_EQ(ProfileValue("Savings1", "txt(5)"), before);
    EXPECT_EQ(ProfileValue("Savings2", "txt(0)"), "<absent>");
    EXPECT_EQ(ProfileValue("Settings", "StoreCaption1"), "<absent>");
    app.Command(IDM_EXIT);
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace
}  // namespace quillet::testing
