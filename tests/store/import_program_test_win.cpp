// The real program under Wine at its first start beside a Standard
// edition's file: Yes to the question brings the file's stores in through
// the profile functions before the window shows them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resource.h"
#include "support/program_fixture_win.h"

namespace quillet::testing {
namespace {

constexpr wchar_t kStandardFile[] = L"C:\\Program Files\\Quillet Pro\\quilexr.ini";
constexpr wchar_t kQuestionTitle[] = L"Import From Quillet Standard";

std::string StandardFile() {
    std::string file;
    for (int s = 1; s <= 10; ++s) {
        file += "[Savings" + std::to_string(s) + "]\r\n";
        file += "txt(0)=store " + std::to_string(s) + "\xFF\xF6second line\r\n";
        file += "txtTitle(0)=title " + std::to_string(s) + "\r\n";
    }
    return file;
}

class ImportProgramTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // A file of this program from before, which never made the offer.
        WriteFileBytes(kSettingsFile, "[Settings]\r\nStoreNumber=1\r\n");
        WriteFileBytes(kStandardFile, StandardFile());
    }
};

TEST_F(ImportProgramTest, YesCopiesTheTenStoresBeforeTheWindowShows) {
    RunningProgram app;
    ASSERT_TRUE(app.Launch());
    HWND box = app.WaitForBox(kQuestionTitle);
    ASSERT_TRUE(box);
    RunningProgram::Answer(box, IDYES);
    ASSERT_TRUE(app.WaitReady());

    EXPECT_EQ(ProfileValue("Settings", "askImport"), "1");
    for (int s = 1; s <= 10; ++s) {
        const std::string section = "Savings" + std::to_string(s);
        EXPECT_EQ(ProfileValue(section.c_str(), "txt(0)"),
                  "store " + std::to_string(s) + "\xFF\xF6second line");
        EXPECT_EQ(ProfileValue(section.c_str(), "txtTitle(0)"), "title " + std::to_string(s));
    }
    // Store 1 shows what was imported.
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0)), L"store 1\r\nsecond line");
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXTTITLE0)), L"title 1");
    app.Command(IDM_EXIT);
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace
}  // namespace quillet::testing
