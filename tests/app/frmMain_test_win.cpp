// The real program under Wine, for what only the system can break: the
// single instance, the close messages of other programs and of the session,
// the real file system's refusals and the modal input box. What the program
// decides is the core tests' part.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/handles_win.h"
#include "resource.h"
#include "support/program_fixture_win.h"

namespace quillet::testing {
namespace {

int Twips(int px) {
    WindowDc screen(nullptr);
    return MulDiv(px, 1440, ::GetDeviceCaps(screen.get(), LOGPIXELSY));
}

TEST_F(ProgramTest, AFirstStartMakesItsFilesAndASecondCopyShowsTheHiddenFirst) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(::IsWindowVisible(app.Window()));
    EXPECT_EQ(ProfileValue("Settings", "askImport"), "1");
    EXPECT_EQ(::GetFileAttributesW(L"C:\\ClipPics") & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    ::PostMessageW(app.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box hides it
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(app.Window()); }));
    const std::string before = ReadFileBytes(kSettingsFile);
    EXPECT_EQ(RunningProgram::RunSecondCopy(), 0u);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.Window()) != FALSE; }));
    EXPECT_EQ(ReadFileBytes(kSettingsFile), before);
    EXPECT_TRUE(app.Running());
}

// A read-only file: the end of the session waits, asking nothing, and Exit
// asks with No the default, which keeps the program; once the file can be
// written the session may end and the texts are saved.
TEST_F(ProgramTest, AFileThatRefusesTheSaveHoldsTheSessionAndExit) {
    RunningProgram app;
    ASSERT_TRUE(StartWith(app, SettingsFile(1, "AutoSave=1\r\n")));
    ::SetFileAttributesW(kSettingsFile, FILE_ATTRIBUTE_READONLY);
    app.SetText(IDC_TXT0, L"work in progress");
    auto queryEnd = [&] {
        DWORD_PTR answer = 99;
        ::SendMessageTimeoutW(app.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                              10000, &answer);
        return answer;
    };
    EXPECT_EQ(queryEnd(), static_cast<DWORD_PTR>(FALSE));

    app.Command(IDM_EXIT);
    HWND failure = app.WaitForBox(L"Quillet Pro");
    ASSERT_TRUE(failure);
    EXPECT_EQ(RunningProgram::DefaultButton(failure), IDNO);
    RunningProgram::Answer(failure, IDNO);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(failure); }));
    DWORD_PTR ignored = 0;  // a round trip: the answer has been handled
    ::SendMessageTimeoutW(app.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    EXPECT_TRUE(::IsWindow(app.Window()));
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0)), L"work in progress");

    ::SetFileAttributesW(kSettingsFile, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(queryEnd(), static_cast<DWORD_PTR>(TRUE));
    EXPECT_TRUE(WaitFor([] { return ProfileValue("Savings1", "txt(0)") == "work in progress"; }));
}

// Task Manager's End task closes with WM_CLOSE: that ends the program the
// way Exit does, saving texts outside the code page and the window's place,
// which the next start keeps within reach on the screen.
TEST_F(ProgramTest, ACloseFromAnotherProgramEndsItAsExitDoes) {
    const std::wstring text =
        L"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105\r\n\u65E5\u672C\u8A9E \xD83D\xDE00";
    RECT r{};
    {
        RunningProgram app;
        ASSERT_TRUE(app.Start());
        app.SetText(IDC_TXT0 + 4, text);
        app.SetText(IDC_TXTTITLE0 + 4, L"\u65E5\u672C");
        ::GetWindowRect(app.Window(), &r);
        ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);
        HWND box = app.WaitForBox(L"Save Changes ?");
        ASSERT_TRUE(box);
        RunningProgram::Answer(box, IDYES);
        ASSERT_TRUE(app.WaitForExit());
    }
    EXPECT_EQ(ProfileValue("Settings", "FormWidth"), std::to_string(Twips(r.right - r.left)));
    EXPECT_EQ(ProfileValue("Settings", "FormLeft"), std::to_string(Twips(r.left)));
    // Far below the screen and left of it.
    ::WritePrivateProfileStringW(L"Settings", L"FormTop", L"30000", kSettingsFile);
    ::WritePrivateProfileStringW(L"Settings", L"FormLeft", L"-700", kSettingsFile);

    RunningProgram again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(RunningProgram::TextOf(again.Control(IDC_TXT0 + 4)), text);
    EXPECT_EQ(RunningProgram::TextOf(again.Control(IDC_TXTTITLE0 + 4)), L"\u65E5\u672C");
    ::GetWindowRect(again.Window(), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LT(r.top, ::GetSystemMetrics(SM_CYSCREEN));
}

// Another program holds the settings file without sharing it, as backup and
// sync tools do: no start and no store switch may show or save stores that
// were not read.
TEST_F(ProgramTest, ASettingsFileHeldByAnotherProgramLosesNothing) {
    const std::string original = SettingsFile(1, "AutoSave=1\r\n") +
                                 "[Savings1]\r\ntxt(0)=precious\r\n[Savings2]\r\ntxt(0)=second\r\n";
    WriteFileBytes(kSettingsFile, original);
    auto hold = [] {
        return UniqueFile(::CreateFileW(kSettingsFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    UniqueFile held = hold();
    ASSERT_TRUE(held);
    {
        RunningProgram cancelled;
        ASSERT_TRUE(cancelled.Launch());
        HWND box = cancelled.WaitForBox(L"Quillet Pro");
        ASSERT_TRUE(box);
        RunningProgram::Answer(box, IDCANCEL);
        ASSERT_TRUE(cancelled.WaitForExit());
    }
    EXPECT_EQ(::GetFileAttributesW(L"C:\\ClipPics"), INVALID_FILE_ATTRIBUTES);

    RunningProgram app;
    ASSERT_TRUE(app.Launch());
    HWND box = app.WaitForBox(L"Quillet Pro");
    ASSERT_TRUE(box);
    EXPECT_EQ(RunningProgram::DefaultButton(box), IDRETRY);
    held.reset();
    RunningProgram::Answer(box, IDRETRY);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0)), L"precious");

    held = hold();
    app.SetText(IDC_TXT0, L"edited");
    app.ClickStoreLabel(2);
    HWND told = app.WaitForBox(L"Quillet Pro");
    ASSERT_TRUE(told);
    RunningProgram::Answer(told, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(told); }));
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0)), L"edited");
    held.reset();
    EXPECT_EQ(ReadFileBytes(kSettingsFile), original);
}

// A folder in the file's place makes the drive root refuse the file, as a
// normal user's rights do on current Windows.
TEST_F(ProgramTest, ASettingsFileTheDriveRootRefusesGoesToTheUsersFolder) {
    ASSERT_TRUE(::CreateDirectoryW(kSettingsFile, nullptr));
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.Command(IDM_EXIT);
    ASSERT_TRUE(app.WaitForExit());
    const std::string saved = ReadFileBytes(UserSettingsFile());
    EXPECT_NE(saved.find("askImport=1"), std::string::npos);
    EXPECT_NE(saved.find("FormWidth="), std::string::npos);  // the exit wrote there too
}

TEST_F(ProgramTest, RenameStoreThroughTheModalInputBox) {
    RunningProgram app;
    ASSERT_TRUE(StartWith(app, SettingsFile(3)));
    app.Command(IDM_RENAME);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        box = ::FindWindowW(L"QuilletProInputBox", nullptr);
        return box && ::IsWindowVisible(box);
    }));
    EXPECT_FALSE(::IsWindowEnabled(app.Window()));
    ::SendMessageW(::GetDlgItem(box, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"R&D"));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([] { return ProfileValue("Settings", "StoreCaption3") == "3 R&D"; }));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(app.Window()) != FALSE; }));
}

}  // namespace
}  // namespace quillet::testing
