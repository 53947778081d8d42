// The real program under Wine: the links of Help and About handed to the
// desktop, which here opens them with a recording program in place of the
// mail program and the browser.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "help/help_topics.h"
#include "resource.h"
#include "support/program_fixture_win.h"
#include "support/wine_path_win.h"
#include "util/shell_launch.h"

namespace quillet::testing {
namespace {

constexpr wchar_t kLog[] = L"C:\\quillet_opened_links.txt";
constexpr const wchar_t* kSchemes[] = {L"mailto", L"http", L"https"};

std::wstring CommandKey(const wchar_t* scheme) {
    return std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command";
}

class HelpProgramTest : public ProgramTest {
  protected:
    static void SetUpTestSuite() {
        ProgramTest::SetUpTestSuite();
        for (const wchar_t* scheme : kSchemes) {
            saved_.push_back(ReadDefault(CommandKey(scheme)));
            WriteDefault(CommandKey(scheme), L"\"" + WinePath(LINK_RECORDER_PATH) + L"\" \"" +
                                                 std::wstring(kLog) + L"\" \"%1\"");
        }
    }
    static void TearDownTestSuite() {
        for (size_t i = 0; i < saved_.size(); ++i)
            if (!saved_[i].empty()) WriteDefault(CommandKey(kSchemes[i]), saved_[i]);
        saved_.clear();
    }
    void SetUp() override {
        ProgramTest::SetUp();
        ::DeleteFileW(kLog);
    }
    void TearDown() override {
        ProgramTest::TearDown();
        ::DeleteFileW(kLog);
    }
    static std::vector<std::wstring> saved_;
};
std::vector<std::wstring> HelpProgramTest::saved_;

// Each link of Help and About, clicked, reaches the program the desktop
// opens its kind of address with.
TEST_F(HelpProgramTest, EveryLinkOfHelpAndAboutReachesTheDesktop) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    const struct {
        int command;
        const wchar_t *windowClass, *link;
        int label;
        std::wstring address;
    } cases[] = {
        {IDM_HELP, L"QuilletProHelp", L"mail", IDC_HELPLABEL2, HelpMailAddress(kProgramVersion)},
        {IDM_HELP, L"QuilletProHelp", L"home", IDC_HELPPICTURE1, std::wstring(kHomePage)},
        {IDM_ABOUT, L"QuilletProAbout", L"mail", IDC_LBLHELP3, AboutMailAddress(kProgramVersion)},
        {IDM_ABOUT, L"QuilletProAbout", L"home", IDC_LBLHYPERLINK, std::wstring(kHomePage)},
    };
    size_t opened = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.windowClass) + L" " + c.link);
        app.Command(c.command);
        HWND window = WaitForWindow(c.windowClass);
        ASSERT_TRUE(window);
        PostClick(::GetDlgItem(window, c.label));
        ++opened;
        ASSERT_TRUE(WaitFor([&] { return FileLines(kLog).size() >= opened; }));
        ASSERT_EQ(FileLines(kLog).size(), opened);
        EXPECT_EQ(FileLines(kLog).back(), c.address);
    }
}

}  // namespace
}  // namespace quillet::testing
