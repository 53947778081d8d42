// The real program's slot buttons, Edit menu and IP command, driven from
// outside the way another program or the user would.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/handles_win.h"
#include "resource.h"
#include "support/program_win.h"

namespace quillet::testing {
namespace {

class SlotProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { InstallProgram(); }
    void SetUp() override {
        CleanDriveC();
        ASSERT_TRUE(app.Start());
    }
    void TearDown() override { CleanDriveC(); }
    std::wstring Text(int id) const { return RunningProgram::TextOf(app.Control(id)); }
    void Click(int id) const {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(app.Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored);
    }
    RunningProgram app;
};

TEST_F(SlotProgramTest, APressOnACopyButtonCopiesAndNeverWaitsInADrag) {
    app.SetText(IDC_TXT0 + 7, L"pressed");
    HWND button = app.Control(IDC_PICCOPY0 + 7);
    ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"pressed"; }));
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_TXTLENGTH) == L"7 Chars"; }));
    EXPECT_EQ(Text(IDC_TXTCLIPBOARD), L"pressed");
    // The program still answers: a paste right after goes through.
    PutClipboardText(L"next");
    Click(IDC_PICPASTE0 + 8);
    EXPECT_EQ(Text(IDC_TXT0 + 8), L"next");
    app.CommandAndWait(IDM_UNDO);
    EXPECT_EQ(Text(IDC_TXT0 + 8), L"");
}

// A text on the clipboard with a mark that the program putting it there set
// for clipboard tools, holding `value`.
void PutMarkedText(const std::wstring& text, const wchar_t* mark, DWORD value) {
    ASSERT_TRUE(PutClipboardText(text));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    UniqueGlobal data = GlobalCopy(&value, sizeof value);
    if (data && ::SetClipboardData(::RegisterClipboardFormatW(mark), data.get())) data.release();
    ::CloseClipboard();
    ASSERT_FALSE(data);
}

// Password managers mark what they copy: the display line then shows only
// the length, for each of the marks Windows' clipboard tools honour; a paste
// into a slot still takes the text, since the user asks for it there.
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
        ASSERT_NO_FATAL_FAILURE(PutMarkedText(L"s3cret!", c.mark, c.value));
        EXPECT_TRUE(shows(c.shown, L"7 Chars")) << ::testing::PrintToString(Text(IDC_TXTCLIPBOARD));
    }
    ASSERT_NO_FATAL_FAILURE(PutMarkedText(L"s3cret!", cases[0].mark, 0));
    Click(IDC_PICPASTE0 + 3);
    EXPECT_EQ(Text(IDC_TXT0 + 3), L"s3cret!");
}

TEST_F(SlotProgramTest, ClearAllAsksAndWritesOnlyOnYes) {
    app.CommandAndWait(IDM_EXIT);
    ASSERT_TRUE(app.WaitForExit());
    WriteFileBytes(kSettingsFile,
                   "[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n[Savings4]\r\ntxt(0)=four\r\n"
                   "txttitle(0)=Four\r\n[Savings1]\r\ntxt(2)=shown\r\n");
    ASSERT_TRUE(app.Start());
    app.Command(IDM_CLEARALL);
    HWND box = app.WaitForBox(L"Confirm Delete");
    ASSERT_TRUE(box);
    EXPECT_EQ(RunningProgram::DefaultButton(box), IDNO);
    RunningProgram::Answer(box, IDNO);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_EQ(ProfileValue("Savings4", "txt(0)"), "four");
    EXPECT_EQ(Text(IDC_TXT0 + 2), L"shown");

    app.Command(IDM_CLEARALL);
    box = app.WaitForBox(L"Confirm Delete");
    ASSERT_TRUE(box);
    RunningProgram::Answer(box, IDYES);
    ASSERT_TRUE(WaitFor([&] { return ProfileValue("Savings4", "txt(0)") == ""; }));
    EXPECT_EQ(ProfileValue("Savings4", "txttitle(0)"), "");
    EXPECT_EQ(ProfileValue("Savings1", "txt(2)"), "");
    EXPECT_EQ(Text(IDC_TXT0 + 2), L"");
}

TEST_F(SlotProgramTest, ClearTextBoxesOfThisStoreAsksWithCancelAsDefault) {
    app.SetText(IDC_TXT0 + 1, L"one");
    app.SetText(IDC_TXTTITLE0 + 1, L"title");
    app.Command(IDM_CLEARCONTENTS);
    HWND box = app.WaitForBox(L"Confirm Delete");
    ASSERT_TRUE(box);
    EXPECT_EQ(RunningProgram::DefaultButton(box), IDCANCEL);
    RunningProgram::Answer(box, IDCANCEL);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_EQ(Text(IDC_TXT0 + 1), L"one");

    app.Command(IDM_CLEARCONTENTS);
    box = app.WaitForBox(L"Confirm Delete");
    ASSERT_TRUE(box);
    RunningProgram::Answer(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return Text(IDC_TXT0 + 1).empty(); }));
    EXPECT_EQ(Text(IDC_TXTTITLE0 + 1), L"title");
}

TEST_F(SlotProgramTest, CutAndPasteOutsideASlotBoxSayWhy) {
    // After start-up the focus is on a Paste button.
    ASSERT_TRUE(PutClipboardText(L"kept"));
    app.Command(IDM_CUT);
    HWND box = app.WaitForBox(L"Cut");
    ASSERT_TRUE(box);
    EXPECT_EQ(RunningProgram::TextOf(::GetDlgItem(box, 0xFFFF)), L"Nothing was selected to Cut");
    RunningProgram::Answer(box, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    app.Command(IDM_PASTE);
    box = app.WaitForBox(L"Error pasting");
    ASSERT_TRUE(box);
    EXPECT_EQ(RunningProgram::TextOf(::GetDlgItem(box, 0xFFFF)),
              L"Error - You need to place the curser inside a text box to paste");
    RunningProgram::Answer(box, IDOK);
    EXPECT_EQ(ClipboardText(), L"kept");
}

// The addresses join the clipboard: a picture on it stays.
TEST_F(SlotProgramTest, GetIPShowsTheAddressesAndAddsThemToTheClipboard) {
    ASSERT_TRUE(PutClipboardBitmap());
    app.Command(IDM_GETIP);
    HWND box = app.WaitForBox(L"IP Address");
    ASSERT_TRUE(box);
    const std::wstring shown = RunningProgram::TextOf(::GetDlgItem(box, 0xFFFF));
    RunningProgram::Answer(box, IDOK);
    const std::wstring head = L"Your current IP Address\r\n";
    const std::wstring tail = L"\r\n\r\nThis is also now in your clipboard.";
    ASSERT_EQ(shown.rfind(head, 0), 0u) << shown;
    ASSERT_GE(shown.size(), head.size() + tail.size());
    ASSERT_EQ(shown.substr(shown.size() - tail.size()), tail);
    const std::wstring addresses =
        shown.substr(head.size(), shown.size() - head.size() - tail.size());
    EXPECT_TRUE(ClipboardHas(CF_BITMAP));
    if (addresses.empty()) {
        EXPECT_FALSE(ClipboardHas(CF_UNICODETEXT));
    } else {
        EXPECT_EQ(ClipboardText(), addresses);
    }
    if (!addresses.empty()) {
        EXPECT_NE(addresses.back(), L' ');
        EXPECT_NE(addresses.back(), L',');
    }
}

}  // namespace
}  // namespace quillet::testing
