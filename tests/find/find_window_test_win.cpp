// The Find window of the main window in this process, driven by keys through
// the program's own message loop: Ctrl+F, a query typed, Down and Enter.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

#include "base/handles_win.h"
#include "base/window_win.h"
#include "frmMain_win.h"
#include "resource.h"
#include "support/program_win.h"

namespace quillet {
namespace {

using testing::WaitFor;

// Until `done`, through the message loop the program runs on.
bool Until(const std::function<bool()>& done) {
    return WaitFor([&] {
        PumpWaitingMessages();
        return done();
    });
}

std::wstring Cell(HWND list, int row, int column) {
    wchar_t buffer[512] = {};
    ListView_GetItemText(list, row, column, buffer, 512);
    return buffer;
}

void Key(HWND to, UINT key) {
    ::PostMessageW(to, WM_KEYDOWN, key, 1);
    ::PostMessageW(to, WM_KEYUP, key, 0xC0000001);
}

class FindWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::CleanDriveC(); }
    void TearDown() override { testing::CleanDriveC(); }

    // The main window over a settings file in the profile functions' Unicode
    // form, starting in store 1; `more` goes on from the [Settings] section.
    void Start(const std::wstring& more) {
        const std::wstring ini = L"\xFEFF[Settings]\r\naskImport=1\r\nStoreNumber=1\r\n" + more;
        testing::WriteFileBytes(
            testing::kSettingsFile,
            std::string(reinterpret_cast<const char*>(ini.data()), ini.size() * sizeof(wchar_t)));
        ASSERT_TRUE(window_.Create(::GetModuleHandleW(nullptr), testing::kInstallFolder));
    }
    frmFind& OpenFind() {
        ::SendMessageW(window_.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_FIND, 0), 0);
        return window_.Find();
    }

    frmMain window_;
};

TEST_F(FindWindowTest, TypedQueryListsTheLineAndEnterSelectsItInItsStore) {
    // Slot 3 of store 4 holds an accented word on its second line.
    ASSERT_NO_FATAL_FAILURE(Start(
        L"StoreCaption4=4 Trips\r\n[Savings1]\r\ntxt(0)=nothing here\r\n"
        L"[Savings4]\r\ntxtTitle(2)=Paris\r\ntxt(2)=Day one\u00FF\u00F6Lunch at the Caf\u00E9 "
        L"Noir\r\n"));
    ASSERT_EQ(window_.Logic().CurrentStore(), 1);
    ::SetForegroundWindow(window_.hwnd());
    ASSERT_TRUE(Until([&] { return ::GetFocus() == window_.Control(IDC_PICPASTE0 + 1); }));

    // Ctrl+F, Ctrl held as the shortcut reads it.
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    Key(::GetFocus(), 'F');
    const bool opened = Until([&] { return ::IsWindowVisible(window_.Find().hwnd()) != FALSE; });
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    ASSERT_TRUE(opened);
    frmFind& find = window_.Find();
    EXPECT_EQ(::GetWindow(find.hwnd(), GW_OWNER), window_.hwnd());
    const HWND box = find.Control(IDC_FINDTEXT);
    const HWND list = find.Control(IDC_FINDRESULTS);
    ASSERT_TRUE(Until([&] { return ::GetFocus() == box; }));

    // Capitals, the accented one too: the user's case mapping folds them.
    for (wchar_t c : std::wstring(L"CAF\u00C9 N")) ::PostMessageW(box, WM_CHAR, c, 1);
    ASSERT_TRUE(Until([&] { return testing::RunningProgram::TextOf(box) == L"CAF\u00C9 N"; }));
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(Cell(list, 0, 0), L"4 Trips");
    EXPECT_EQ(Cell(list, 0, 1), L"3");
    EXPECT_EQ(Cell(list, 0, 2), L"Paris");
    EXPECT_EQ(Cell(list, 0, 3), L"Lunch at the Caf\u00E9 Noir");

    Key(box, VK_DOWN);
    ASSERT_TRUE(Until([&] { return ::GetFocus() == list; }));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0);
    Key(list, VK_RETURN);
    const HWND slot = window_.Control(IDC_TXT0 + 2);
    ASSERT_TRUE(Until([&] { return window_.Logic().CurrentStore() == 4 && ::GetFocus() == slot; }));
    DWORD start = 0, end = 0;
    ::SendMessageW(slot, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const std::wstring text = testing::RunningProgram::TextOf(slot);
    ASSERT_LE(end, text.size());
    EXPECT_EQ(text.substr(start, end - start), L"Caf\u00E9 N");

    // Escape closes the window; the main window keeps its store.
    ::SetForegroundWindow(find.hwnd());
    ASSERT_TRUE(Until([&] { return ::GetActiveWindow() == find.hwnd(); }));
    Key(::GetFocus(), VK_ESCAPE);
    ASSERT_TRUE(Until([&] { return find.hwnd() == nullptr; }));
    EXPECT_EQ(window_.Logic().CurrentStore(), 4);
}

// More lines than the list has room for: the vertical scroll bar comes, no
// horizontal one with it; and a row that reads differently when the count
// changes is drawn again, though the list redraws only rows gained or lost;
// and letters typed in the list find a store.
TEST_F(FindWindowTest, ALongListScrollsDownOnlyAndRowsThatChangedAreDrawnAgain) {
    std::wstring text = L"pear one\u00FF\u00F6pea\u00FF\u00F6pear two";
    for (int i = 0; i < 200; ++i) text += L"\u00FF\u00F6apple " + std::to_wstring(i);
    ASSERT_NO_FATAL_FAILURE(
        Start(L"[Savings1]\r\ntxt(0)=" + text + L"\r\n[Savings3]\r\ntxt(4)=apple pie\r\n"));
    frmFind& find = OpenFind();
    const HWND box = find.Control(IDC_FINDTEXT);
    const HWND list = find.Control(IDC_FINDRESULTS);
    ASSERT_TRUE(Until([&] { return ::IsWindowVisible(find.hwnd()) != FALSE; }));

    ::SetWindowTextW(box, L"pea");
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    ::UpdateWindow(list);
    ASSERT_EQ(Cell(list, 1, 3), L"pea");
    ::SetWindowTextW(box, L"pear");
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(Cell(list, 1, 3), L"pear two");
    RECT row{LVIR_BOUNDS};
    ASSERT_TRUE(ListView_GetItemRect(list, 1, &row, LVIR_BOUNDS));
    const UniqueHandle<HRGN, detail::DeleteGdi, detail::Null<HRGN>> pending(
        ::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetUpdateRgn(list, pending.get(), FALSE), ERROR);
    EXPECT_TRUE(::RectInRegion(pending.get(), &row));

    ::SetWindowTextW(box, L"apple");
    ASSERT_EQ(ListView_GetItemCount(list), 201);
    ASSERT_TRUE(Until([&] { return ::GetUpdateRect(list, nullptr, FALSE) == FALSE; }));
    const LONG style = ::GetWindowLongW(list, GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    RECT client{}, lastColumn{};
    ::GetClientRect(list, &client);
    const HWND header = ListView_GetHeader(list);
    ASSERT_TRUE(Header_GetItemRect(header, Header_GetItemCount(header) - 1, &lastColumn));
    EXPECT_LE(lastColumn.right, client.right);
    EXPECT_GT(lastColumn.right, client.right * 3 / 4);

    // A letter typed in the list goes to the first row of the store it begins.
    ::PostMessageW(list, WM_CHAR, L'3', 1);
    EXPECT_TRUE(Until([&] { return ListView_GetNextItem(list, -1, LVNI_SELECTED) == 200; }));
    EXPECT_EQ(Cell(list, 200, 3), L"apple pie");
}

// "Save Changes ?" is the main window's question: till it is answered, a
// second Enter in the Find window opens no second question, and a close
// waits for the answer.
TEST_F(FindWindowTest, TheSaveQuestionIsAskedOnceAndTheWindowClosesAfterIt) {
    ASSERT_NO_FATAL_FAILURE(Start(L"[Savings3]\r\ntxt(1)=pear tart\r\n"));
    ::SetWindowTextW(window_.Control(IDC_TXT0), L"an edit in store 1");
    frmFind& find = OpenFind();
    const HWND list = find.Control(IDC_FINDRESULTS);
    ::SetWindowTextW(find.Control(IDC_FINDTEXT), L"pear");
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    std::atomic<int> questions{0};
    std::atomic<bool> done{false};
    std::thread answerer([&] {
        for (HWND answered = nullptr; !done; ::Sleep(10)) {
            const HWND box = ::FindWindowW(L"#32770", L"Save Changes ?");
            if (!box || box == answered || !::IsWindowVisible(box)) continue;
            if (++questions == 1) {
                Key(list, VK_RETURN);
                ::PostMessageW(find.hwnd(), WM_CLOSE, 0, 0);
            }
            answered = box;
            testing::RunningProgram::Answer(box, IDNO);
        }
    });
    Key(list, VK_RETURN);
    const bool closed =
        Until([&] { return window_.Logic().CurrentStore() == 3 && find.hwnd() == nullptr; });
    done = true;
    answerer.join();
    ASSERT_TRUE(closed);
    EXPECT_EQ(questions, 1);
    const HWND slot = window_.Control(IDC_TXT0 + 1);
    EXPECT_EQ(::GetFocus(), slot);
    DWORD start = 0, end = 0;
    ::SendMessageW(slot, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
}

// Read again as the window comes back to the front, the stores keep the row
// chosen only while it reads the same: Enter opens the line the user chose.
TEST_F(FindWindowTest, ARowStaysChosenOnlyWhileItReadsTheSame) {
    ASSERT_NO_FATAL_FAILURE(Start(L"[Savings2]\r\ntxt(0)=kiwi one\u00FF\u00F6kiwi two\r\n"));
    frmFind& find = OpenFind();
    const HWND list = find.Control(IDC_FINDRESULTS);
    ::SetWindowTextW(find.Control(IDC_FINDTEXT), L"kiwi");
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    ::SendMessageW(find.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
    ASSERT_TRUE(::WritePrivateProfileStringW(L"Savings2", L"txt(0)",
                                             L"kiwi zero\u00FF\u00F6kiwi one\u00FF\u00F6kiwi two",
                                             testing::kSettingsFile));
    ::SendMessageW(find.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), -1);
}

}  // namespace
}  // namespace quillet
