// The real program under Wine, for what only the system can break: the
// single instance, the close messages of other programs and of the session,
// the real file system's refusals, the modal input box, a slot button's press
// against the system's drag detection, the marks other programs put on the
// clipboard and the default buttons of the questions. What the program
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
        return SendAndWait(app.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    };
    EXPECT_EQ(queryEnd(), FALSE);

    app.Command(IDM_EXIT);
    HWND failure = app.WaitForBox(L"Quillet Pro");
    ASSERT_TRUE(failure);
    EXPECT_EQ(RunningProgram::DefaultButton(failure), IDNO);
    RunningProgram::Answer(failure, IDNO);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(failure); }));
    SendAndWait(app.Window(), WM_NULL);  // a round trip: the answer has been handled
    EXPECT_TRUE(::IsWindow(app.Window()));
    EXPECT_EQ(RunningProgram::TextOf(app.Control(IDC_TXT0)), L"work in progress");

    ::SetFileAttributesW(kSettingsFile, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(queryEnd(), TRUE);
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
        RunningProgram::Answer(app.WaitForBox(L"Save Changes ?"), IDYES);
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
        RunningProgram::Answer(cancelled.WaitForBox(L"Quillet Pro"), IDCANCEL);
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
    RunningProgram::Answer(told, IDOK);
    EXPECT_TRUE(told && WaitFor([&] { return !::IsWindow(told); }));
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
    HWND box = WaitForWindow(L"QuilletProInputBox");
    ASSERT_TRUE(box);
    EXPECT_FALSE(::IsWindowEnabled(app.Window()));
    ::SendMessageW(::GetDlgItem(box, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"R&D"));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([] { return ProfileValue("Settings", "StoreCaption3") == "3 R&D"; }));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(app.Window()) != FALSE; }));
}

// The slot buttons and questions.
class SlotProgramTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(app.Start());
    }
    std::wstring Text(int id) const { return RunningProgram::TextOf(app.Control(id)); }
    RunningProgram app;
};

TEST_F(SlotProgramTest, APressOnACopyButtonCopiesAndNeverWaitsInADrag) {
    app.SetText(IDC_TXT0 + 7, L"pressed");
    PostClick(app.Control(IDC_PICCOPY0 + 7));
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"pressed"; }));
    // The program still answers: a paste right after goes through.
    PutClipboardText(L"next");
    SendAndWait(app.Control(IDC_PICPASTE0 + 8), BM_CLICK);
    EXPECT_EQ(Text(IDC_TXT0 + 8), L"next");
}

// Password managers mark what they copy: the display line then shows only
// the length, for each of the marks Windows' clipboard tools honour; a paste
// into a slot still takes the text.
TEST_F(SlotProgramTest, AClipMarkedPrivateShowsOnlyItsLength) {
    const struct {
        const wchar_t* mark;
        DWORD value;
        const wchar_t* shown;
    } cases[] = {{L"ExcludeClipboardContentFromMonitorProcessing", 0, L""},
                 {L"Clipboard Viewer Ignore", 0, L""},
                 {L"CanIncludeInClipboardHistory", 0, L""},
                 {L"CanIncludeInClipboardHistory", 1, L"s3cret!"}};
    // Every repaint refreshes the display line.
    auto shows = [&](const std::wstring& text, const std::wstring& length) {
        return WaitFor([&] {
            ::RedrawWindow(app.Window(), nullptr, nullptr, RDW_INVALIDATE);
            return Text(IDC_TXTCLIPBOARD) == text && Text(IDC_TXTLENGTH) == length;
        });
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.mark)) + " " +
                     std::to_string(c.value));
        ASSERT_TRUE(PutClipboardText(L"plain"));
        ASSERT_TRUE(shows(L"plain", L"5 Chars"));
        ASSERT_TRUE(PutClipboardText(L"s3cret!"));
        ASSERT_TRUE(::OpenClipboard(nullptr));
        UniqueGlobal data = GlobalCopy(&c.value, sizeof c.value);
        if (data && ::SetClipboardData(::RegisterClipboardFormatW(c.mark), data.get()))
            data.release();
        ::CloseClipboard();
        ASSERT_FALSE(data);
        EXPECT_TRUE(shows(c.shown, L"7 Chars")) << ::testing::PrintToString(Text(IDC_TXTCLIPBOARD));
    }
    SendAndWait(app.Control(IDC_PICPASTE0 + 3), BM_CLICK);
    EXPECT_EQ(Text(IDC_TXT0 + 3), L"s3cret!");
}

// Enter on a destructive command's question takes the harmless answer.
TEST_F(SlotProgramTest, DestructiveQuestionsDefaultToTheirHarmlessButton) {
    const struct {
        int command, harmless;
    } cases[] = {{IDM_CLEARCONTENTS, IDCANCEL}, {IDM_CLEARALL, IDNO}};
    app.SetText(IDC_TXT0 + 1, L"one");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        app.Command(c.command);
        HWND box = app.WaitForBox(L"Confirm Delete");
        ASSERT_TRUE(box);
        EXPECT_EQ(RunningProgram::DefaultButton(box), c.harmless);
        RunningProgram::Answer(box, c.harmless);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
        EXPECT_EQ(Text(IDC_TXT0 + 1), L"one");
    }
}

}  // namespace
}  // namespace quillet::testing
