// The real program under Wine: Help and About from their menu items, a
// topic, and the links handed to the desktop, which here opens them with a
// recording program in place of the mail program and the browser.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "help/help_topics.h"
#include "resource.h"
#include "support/program_win.h"
#include "base/handles_win.h"
#include "util/shell_launch.h"
#include "support/wine_path_win.h"

namespace quillet::testing {
namespace {

constexpr wchar_t kLog[] = L"C:\\quillet_opened_links.txt";
constexpr const wchar_t* kSchemes[] = {L"mailto", L"http", L"https"};

// The built recorder, given by the build as a host path (drive Z:).
std::wstring Recorder() {
    return WinePath(LINK_RECORDER_PATH);
}

std::wstring CommandKey(const wchar_t* scheme) {
    return std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command";
}

// The program's window of a class, once it shows.
HWND WaitForWindow(const wchar_t* className, const wchar_t* caption) {
    HWND found = nullptr;
    WaitFor([&] {
        found = ::FindWindowW(className, caption);
        return found && ::IsWindowVisible(found);
    });
    return found;
}

void ClickButton(HWND window, int id) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

// A click of the mouse on a link, as the label itself receives it.
void ClickLabel(HWND window, int id) {
    HWND label = ::GetDlgItem(window, id);
    ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

class HelpProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        InstallProgram();
        for (const wchar_t* scheme : kSchemes) {
            saved_.push_back(ReadDefault(CommandKey(scheme)));
            WriteDefault(CommandKey(scheme),
                         L"\"" + Recorder() + L"\" \"" + std::wstring(kLog) + L"\" \"%1\"");
        }
    }
    static void TearDownTestSuite() {
        for (size_t i = 0; i < saved_.size(); ++i)
            if (!saved_[i].empty()) WriteDefault(CommandKey(kSchemes[i]), saved_[i]);
        saved_.clear();
    }
    void SetUp() override {
        CleanDriveC();
        ::DeleteFileW(kLog);
        WriteFileBytes(kSettingsFile, "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n");
    }
    void TearDown() override {
        CleanDriveC();
        ::DeleteFileW(kLog);
    }
    // Waits until the recorder has written `count` lines.
    std::vector<std::wstring> WaitForOpened(size_t count) {
        WaitFor([&] { return FileLines(kLog).size() >= count; });
        return FileLines(kLog);
    }
    static std::vector<std::wstring> saved_;
};
std::vector<std::wstring> HelpProgramTest::saved_;

TEST_F(HelpProgramTest, HelpFromItsMenuItemShowsItsTopicsAndOpensItsLinks) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.Command(IDM_HELP);
    HWND help = WaitForWindow(L"QuilletProHelp", L"Quillet Pro - Help");
    ASSERT_TRUE(help);
    HWND text = ::GetDlgItem(help, IDC_TXTHELP);
    EXPECT_EQ(RunningProgram::TextOf(text), HelpTopicText(1));
    ClickButton(help, IDC_CMDHELP1 + 7);
    EXPECT_TRUE(WaitFor([&] { return RunningProgram::TextOf(text) == HelpTopicText(8); }));

    ClickLabel(help, IDC_HELPLABEL2);
    std::vector<std::wstring> opened = WaitForOpened(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], HelpMailAddress(kProgramVersion));
    ClickLabel(help, IDC_HELPPICTURE1);
    opened = WaitForOpened(2);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], kHomePage);

    ClickButton(help, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(help); }));
    app.Command(IDM_EXIT);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(HelpProgramTest, AboutFromItsMenuItemShowsTheVersionAndOpensItsLinks) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.Command(IDM_ABOUT);
    HWND about = WaitForWindow(L"QuilletProAbout", L"Quillet Pro - About");
    ASSERT_TRUE(about);
    EXPECT_EQ(RunningProgram::TextOf(::GetDlgItem(about, IDC_LBLHELP4)),
              VersionText(kProgramVersion));

    ClickLabel(about, IDC_LBLHELP3);
    std::vector<std::wstring> opened = WaitForOpened(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], AboutMailAddress(kProgramVersion));
    ClickLabel(about, IDC_LBLHYPERLINK);
    opened = WaitForOpened(2);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], kHomePage);

    ClickButton(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }));
    EXPECT_TRUE(app.Running());
    app.Command(IDM_EXIT);
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace
}  // namespace quillet::testing
