// The real program under Wine: start-up, the single instance, hiding and
// ending, and what reaches the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/handles_win.h"
#include "resource.h"
#include "support/program_win.h"

namespace quillet::testing {
namespace {

int PixelsPerInch() {
    HDC dc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    return dpi;
}
int Px(int twips) {
    return MulDiv(twips, PixelsPerInch(), 1440);
}
int Twips(int px) {
    return MulDiv(px, 1440, PixelsPerInch());
}

class ProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { InstallProgram(); }
    void SetUp() override { CleanDriveC(); }
    void TearDown() override { CleanDriveC(); }
};

TEST_F(ProgramTest, FirstStartWithoutSettingsFile) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(::IsWindowVisible(app.Window()));
    EXPECT_EQ(RunningProgram::TextOf(app.Window()), L"Quillet Pro");
    RECT r;
    ::GetWindowRect(app.Window(), &r);
    EXPECT_EQ(r.left, Px(1500));
    EXPECT_EQ(r.top, Px(500));
    EXPECT_EQ(ProfileValue("Settings", "askImport"), "1");
    EXPECT_EQ(ProfileValue("Settings", "StoreNumber"), "1");
    EXPECT_EQ(::GetFileAttributesW(L"C:\\ClipPics") & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0 + i)), L"");
    // Every named control is a window with its caption.
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_PICPASTE0 + 0)), L"1 Paste");
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_PICCOPY0 + 9)), L"10Copy and/or Drag");
    HWND strip = app.Control(IDC_STORESTRIP);
    ASSERT_TRUE(strip);
    EXPECT_EQ(RunningProgram::TextOf(::GetDlgItem(strip, IDC_LBLSTORE0)), L"P");
    EXPECT_EQ(RunningProgram::TextOf(::GetDlgItem(strip, IDC_LBLSTORE0 + 15)), L"15");
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(app.Control(IDC_TXT0 + i));
        EXPECT_TRUE(app.Control(IDC_TXTTITLE0 + i));
    }
    EXPECT_TRUE(app.Control(IDC_TXTCLIPBOARD));
    EXPECT_TRUE(app.Control(IDC_TXTLENGTH));
    app.Command(IDM_EXIT);
    EXPECT_TRUE(app.WaitForExit());
}

TEST_F(ProgramTest, SecondCopyShowsTheFirstAndChangesNothing) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    ::PostMessageW(app.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box hides it
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(app.Window()); }));
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(ProfileValue("Settings", "FormWidth"), "<absent>");  // only Exit keeps it
    const std::string before = ReadFileBytes(kSettingsFile);
    EXPECT_EQ(RunningProgram::RunSecondCopy(), 0u);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(app.Window()) != FALSE; }));
    EXPECT_EQ(ReadFileBytes(kSettingsFile), before);
    EXPECT_TRUE(app.Running());
}

TEST_F(ProgramTest, ExitInTheNormalStateWritesTheGeometry) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    ::SetWindowPos(app.Window(), nullptr, Px(2400), Px(900), Px(7200), 300,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    ::GetWindowRect(app.Window(), &r);
    app.Command(IDM_EXIT);
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(ProfileValue("Settings", "FormWidth"), std::to_string(Twips(r.right - r.left)));
    EXPECT_EQ(ProfileValue("Settings", "FormTop"), std::to_string(Twips(r.top)));
    EXPECT_EQ(ProfileValue("Settings", "FormLeft"), std::to_string(Twips(r.left)));
}

TEST_F(ProgramTest, StoredPositionIsKeptOnTheScreen) {
    WriteFileBytes(kSettingsFile,
                   "[Settings]\r\naskImport=1\r\nFormTop=30000\r\nFormLeft=-700\r\n"
                   "FormWidth=6000\r\n");
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    RECT r;
    ::GetWindowRect(app.Window(), &r);
    const int screenH = Twips(::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NEAR(Twips(r.top), screenH - 3000, 15);
    EXPECT_EQ(r.left, 0);
    EXPECT_NEAR(Twips(r.right - r.left), 6000, 15);
}

TEST_F(ProgramTest, CloseAfterAnEditAsksAndYesSaves) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.SetText(IDC_TXT0 + 3, L"line one\r\nline two");
    app.SetText(IDC_TXTTITLE0 + 3, L"Notes");
    app.Command(IDM_CLOSE);
    HWND box = app.WaitForBox(L"Save Changes ?");
    ASSERT_TRUE(box);
    RunningProgram::Answer(box, IDYES);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(app.Window()); }));
    EXPECT_EQ(ProfileValue("Savings1", "txt(3)"), "line one\xFF\xF6line two");
    EXPECT_EQ(ProfileValue("Savings1", "txtTitle(3)"), "Notes");
}

// A failed save on Exit asks; No (the default) keeps the program and its
// texts, Yes ends it.
TEST_F(ProgramTest, AnUnwritableFileOnExitAsksWhetherToExitAnyway) {
    WriteFileBytes(kSettingsFile, "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n");
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    ::SetFileAttributesW(kSettingsFile, FILE_ATTRIBUTE_READONLY);
    app.SetText(IDC_TXT0, L"work in progress");
    for (int answer : {IDNO, IDYES}) {
        app.Command(IDM_EXIT);
        HWND question = app.WaitForBox(L"Save Changes ?");
        ASSERT_TRUE(question);
        RunningProgram::Answer(question, IDYES);
        HWND failure = app.WaitForBox(L"Quillet Pro");
        ASSERT_TRUE(failure);
        EXPECT_EQ(RunningProgram::DefaultButton(failure), IDNO);
        RunningProgram::Answer(failure, answer);
        if (answer == IDNO) {
            EXPECT_FALSE(app.WaitForExit(std::chrono::seconds(2)));
            EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0)), L"work in progress");
        }
    }
    EXPECT_TRUE(app.WaitForExit());
}

// The end of the session waits while texts cannot be saved, and asks no
// question of its own; once the file can be written the session may end.
TEST_F(ProgramTest, LogoffWaitsOnlyWhileTheTextsCannotBeSaved) {
    WriteFileBytes(kSettingsFile, "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nAutoSave=1\r\n");
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    ::SetFileAttributesW(kSettingsFile, FILE_ATTRIBUTE_READONLY);
    app.SetText(IDC_TXT0, L"work in progress");
    auto queryEnd = [&] {
        DWORD_PTR answer = 99;
        ::SendMessageTimeoutW(app.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                              10000, &answer);
        return answer;
    };
    EXPECT_EQ(queryEnd(), static_cast<DWORD_PTR>(FALSE));
    EXPECT_TRUE(app.Running());
    ::SetFileAttributesW(kSettingsFile, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(queryEnd(), static_cast<DWORD_PTR>(TRUE));
    EXPECT_TRUE(WaitFor([] { return ProfileValue("Savings1", "txt(0)") == "work in progress"; }));
}

// Task Manager's End task and other programs close with WM_CLOSE: that ends
// the program the way Exit does, where the close box only hides it.
TEST_F(ProgramTest, ACloseFromAnotherProgramEndsItAsExitDoes) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.SetText(IDC_TXT0 + 1, L"typed");
    ::PostMessageW(app.Window(), WM_CLOSE, 0, 0);
    HWND box = app.WaitForBox(L"Save Changes ?");
    ASSERT_TRUE(box);
    RunningProgram::Answer(box, IDYES);
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(ProfileValue("Savings1", "txt(1)"), "typed");
    EXPECT_NE(ProfileValue("Settings", "FormWidth"), "<absent>");
}

// Another program holds the settings file without sharing it, as backup and
// sync tools do: no start and no store switch may show or save stores that
// were not read.
TEST_F(ProgramTest, ASettingsFileHeldByAnotherProgramLosesNothing) {
    const std::string original =
        "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\nAutoSave=1\r\n"
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
    const std::wstring user = testing::UserSettingsFile();
    for (int start = 0; start < 2; ++start) {
        RunningProgram app;
        ASSERT_TRUE(app.Start());
        app.Command(IDM_EXIT);
        ASSERT_TRUE(app.WaitForExit());
    }
    const std::string saved = ReadFileBytes(user);
    EXPECT_NE(saved.find("askImport=1"), std::string::npos);
    EXPECT_NE(saved.find("FormWidth="), std::string::npos);  // the exit wrote there too
}

// Texts outside the code page are kept, and the change check compares what
// was saved with what is shown, so nothing asks after a save.
TEST_F(ProgramTest, UnicodeTextsSurviveASaveAndARestart) {
    const std::wstring text =
        L"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105\r\n\u65E5\u672C\u8A9E \xD83D\xDE00";
    {
        RunningProgram app;
        ASSERT_TRUE(app.Start());
        app.SetText(IDC_TXT0 + 4, text);
        app.SetText(IDC_TXTTITLE0 + 4, L"\u65E5\u672C");
        app.CommandAndWait(IDM_FILESAVE);
        app.Command(IDM_EXIT);  // a question would keep it running
        ASSERT_TRUE(app.WaitForExit(std::chrono::seconds(10)));
    }
    EXPECT_EQ(ReadFileBytes(kSettingsFile).substr(0, 2), "\xFF\xFE");
    RunningProgram again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(RunningProgram::TextOf(again.Control(IDC_TXT0 + 4)), text);
    EXPECT_EQ(RunningProgram::TextOf(again.Control(IDC_TXTTITLE0 + 4)), L"\u65E5\u672C");
}

TEST_F(ProgramTest, RenameStoreThroughTheInputBox) {
    WriteFileBytes(kSettingsFile, "[Settings]\r\naskImport=1\r\nStoreNumber=3\r\n");
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.Command(IDM_RENAME);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        box = ::FindWindowW(L"QuilletProInputBox", L"Rename Store");
        return box && ::IsWindowVisible(box);
    }));
    EXPECT_FALSE(::IsWindowEnabled(app.Window()));  // modal
    ::SendMessageW(::GetDlgItem(box, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"R&D"));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([] { return ProfileValue("Settings", "StoreCaption3") == "3 R&D"; }));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(app.Window()) != FALSE; }));
}

std::wstring RunValue(HKEY root) {
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quillet_Pro",
                       RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"<absent>";
    return data;
}

TEST_F(ProgramTest, OptionsActAndAreStoredAtOnce) {
    WriteFileBytes(kSettingsFile, "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n");
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    app.CommandAndWait(IDM_STAYTOP);
    EXPECT_TRUE(::GetWindowLongPtrW(app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    app.CommandAndWait(IDM_STARTTRAY);
    app.CommandAndWait(IDM_SOUNDS);
    app.CommandAndWait(IDM_AUTORUN);
    EXPECT_TRUE(WaitFor([] { return ProfileValue("Settings", "AutoRun") == "1"; }));
    EXPECT_EQ(ProfileValue("Settings", "MainOnTop"), "1");
    EXPECT_EQ(ProfileValue("Settings", "StartTray"), "1");
    EXPECT_EQ(ProfileValue("Settings", "Sounds"), "0");
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), L"\"C:\\Program Files\\Quillet Pro\\quilletpro.exe\"");
    app.CommandAndWait(IDM_AUTORUN);
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), L"<absent>");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L"<absent>");
    app.CommandAndWait(IDM_STAYTOP);
    EXPECT_FALSE(::GetWindowLongPtrW(app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// The clipboard's text as the user sees it, a long one whole; a picture on
// the clipboard is left alone.
TEST_F(ProgramTest, CaseCommandsRewriteTheClipboardText) {
    RunningProgram app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(PutClipboardText(L"Hello \u00C9cole 42"));
    app.CommandAndWait(IDM_UPPERCASE);
    EXPECT_EQ(ClipboardText(), L"HELLO \u00C9COLE 42");
    app.CommandAndWait(IDM_LOWERCASE);
    EXPECT_EQ(ClipboardText(), L"hello \u00E9cole 42");
    app.CommandAndWait(IDM_OPPOSITECASE);
    EXPECT_EQ(ClipboardText(), L"HELLO \u00E9COLE 42");
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXTCLIPBOARD)), L"HELLO \u00E9COLE 42");
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXTLENGTH)), L"14 Chars");

    ASSERT_TRUE(PutClipboardText(std::wstring(32000, L'z')));
    app.CommandAndWait(IDM_OPPOSITECASE);
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXTLENGTH)), L"32000 Chars");
    EXPECT_EQ(ClipboardText(), std::wstring(32000, L'Z'));

    ASSERT_TRUE(PutClipboardBitmap());
    for (int id : {IDM_UPPERCASE, IDM_LOWERCASE, IDM_OPPOSITECASE}) app.CommandAndWait(id);
    EXPECT_TRUE(ClipboardHas(CF_BITMAP));
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXTLENGTH)), L"0 Chars");
}

}  // namespace
}  // namespace quillet::testing
