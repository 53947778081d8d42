// The real program's slot buttons and questions, driven from outside: a
// button's press against the system's drag detection, the marks other
// programs put on the clipboard, and the default buttons of its questions.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/handles_win.h"
#include "resource.h"
#include "support/program_fixture_win.h"

namespace quillet::testing {
namespace {

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
    HWND button = app.Control(IDC_PICCOPY0 + 7);
    ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_TRUE(WaitFor([] { return ClipboardText() == L"pressed"; }));
    // The program still answers: a paste right after goes through.
    PutClipboardText(L"next");
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(app.Control(IDC_PICPASTE0 + 8), BM_CLICK, 0, 0, SMTO_NORMAL, 20000,
                          &ignored);
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
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(app.Control(IDC_PICPASTE0 + 3), BM_CLICK, 0, 0, SMTO_NORMAL, 20000,
                          &ignored);
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
