// The slot boxes and buttons in this process, where the test can hold keys,
// reach the focused box and call the boxes' drop targets itself: the edit
// controls' limits, held keys, drops, the real clipboard and picture files.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <memory>

#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/desktop_win.h"
#include "platform/ole_win.h"
#include "resource.h"
#include "support/program_fixture_win.h"
#include "util/ModuleIP.h"

namespace quillet {
namespace {

using testing::ClipboardText;
using testing::PutClipboardText;

// Keys the window's thread believes held, for as long as this lives.
class HeldKeys {
  public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        ::GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof state);
        for (int k : keys) state[k] = 0x80;
        ::SetKeyboardState(state);
    }
    ~HeldKeys() { ::SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

  private:
    BYTE saved_[256];
};

class SlotWindowTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(Open({}, true));
    }
    bool UndoGrayed() { return (MenuState(IDM_UNDO) & MF_GRAYED) != 0; }
    void Click(int id) { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }
    void Focus(int id) {
        ::SetFocus(Control(id));
        ASSERT_EQ(::GetFocus(), Control(id));
    }
    std::pair<DWORD, DWORD> Selection(int id) {
        DWORD start = 0, end = 0;
        ::SendMessageW(Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
};

// The keys held during a click as the system reports them: D fills in the
// date in the user's format, Shift on a Copy button writes the shortcut.
TEST_F(SlotWindowTest, KeysHeldDuringAClickReachTheSlotButtons) {
    wchar_t date[128] = {};
    ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128,
                      nullptr);
    PutClipboardText(L"kept");
    {
        HeldKeys d{'D'};
        Click(IDC_PICPASTE0 + 1);
    }
    EXPECT_EQ(window().Rows().Text(1), date);
    window().Rows().SetText(0, L"HTTPS://Example.org/CaseMatters");
    {
        HeldKeys shift{VK_SHIFT};
        Click(IDC_PICCOPY0);
    }
    EXPECT_EQ(testing::ReadFileBytes(L"C:\\Internet Shortcut.url"),
              "[InternetShortcut]\r\nurl=HTTPS://Example.org/CaseMatters\r\n");
    EXPECT_EQ(ClipboardText(), L"kept");
}

// Each slot box's own drop target fills that slot.
TEST_F(SlotWindowTest, DropsOfTextAndFilesReachTheirSlot) {
    const struct {
        int slot;
        DragPayload payload;
        std::wstring expected;
    } cases[] = {{5, DragPayload{L"dropped \u00FCber \u2713", {}}, L"dropped \u00FCber \u2713"},
                 {6, DragPayload{{}, {L"C:\\windows\\win.ini", L"C:\\b.txt"}}, L"C:\\windows\\win.ini"}};
    for (const auto& c : cases) {
        IDropTarget* target = window().DropTargetOf(c.slot);
        ASSERT_TRUE(target);
        ComPtr<IDataObject> data = MakeDataObject(c.payload);
        RECT r;
        ::GetWindowRect(Control(IDC_TXT0 + c.slot), &r);
        const POINTL at{r.left + 5, r.top + 5};
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(target->DragEnter(data.get(), MK_LBUTTON, at, &effect), S_OK);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        ASSERT_EQ(target->Drop(data.get(), 0, at, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        EXPECT_EQ(window().Rows().Text(c.slot), c.expected);
    }
}

// The system's resolver gives this machine's addresses as the program shows
// them: dotted quads, at least one, since every machine knows its own name.
TEST(IPAddressOfThisMachine, IsOneOrMoreAddressesTheSystemCanParse) {
    WinsockResolver resolver;
    const std::wstring line = GetIPAddress(resolver);
    ASSERT_FALSE(line.empty());
    size_t from = 0;
    for (;;) {
        const size_t comma = line.find(L", ", from);
        const std::wstring one = line.substr(from, comma - from);
        IN_ADDR parsed{};
        EXPECT_EQ(::InetPtonW(AF_INET, one.c_str(), &parsed), 1) << ::testing::PrintToString(one);
        if (comma == std::wstring::npos) break;
        from = comma + 2;
    }
}

TEST_F(SlotWindowTest, EditMenuOnASlotOfFortyThousandCharacters) {
    std::wstring big;
    while (big.size() < 40000) big += L"A line of words that wraps like a letter does.\r\n";
    big.resize(40000);
    big += L"END";
    window().Rows().SetText(0, big);
    Focus(IDC_TXT0);
    Menu(IDM_SELECTALL);
    EXPECT_EQ(Selection(IDC_TXT0), std::make_pair(DWORD{0}, DWORD{40003}));
    Menu(IDM_COPY);
    EXPECT_EQ(ClipboardText(), big);
    EXPECT_EQ(testing::RunningProgram::TextOf(Control(IDC_TXTLENGTH)), L"40003 Chars");

    Menu(IDM_CUT);
    EXPECT_EQ(window().Rows().Text(0), L"");
    EXPECT_EQ(ClipboardText(), big);
    Menu(IDM_UNDO);
    EXPECT_EQ(window().Rows().Text(0), big);

    PutClipboardText(L"<in>");
    ::SendMessageW(Control(IDC_TXT0), EM_SETSEL, 40000, 40003);
    Menu(IDM_PASTE);
    EXPECT_EQ(window().Rows().Text(0), big.substr(0, 40000) + L"<in>");
    Menu(IDM_UNDO);
    EXPECT_EQ(window().Rows().Text(0), big);
}

TEST_F(SlotWindowTest, ALongLineIsWholeWhereverItIsReadAndSaved) {
    std::wstring line;
    while (line.size() < 31999) line += L"minified,data;";
    line.resize(31999);
    window().Rows().SetText(0, line);
    window().Rows().SetText(1, line + L"!");
    HWND box = Control(IDC_TXT0);
    EXPECT_EQ(window().Rows().Text(0), line);
    EXPECT_EQ(::GetWindowTextLengthW(box), 31999);
    EXPECT_EQ(testing::RunningProgram::TextOf(box).size(), 4095u);  // its buffer's worth

    window().Logic().SaveStore();
    EXPECT_EQ(testing::ProfileValue("Savings1", "txt(0)"), std::string(line.begin(), line.end()));

    // A text set from outside replaces the whole line.
    ::SendMessageW(Control(IDC_TXT0 + 1), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"short"));
    EXPECT_EQ(window().Rows().Text(1), L"short");
}

// While the window is sized, a box nobody has touched shows the beginning of
// its long text, not re-wrapping the whole at every step, and takes the whole
// back once the size holds; a box in use keeps its text, place and selection.
TEST_F(SlotWindowTest, SizingLeavesTouchedBoxesAloneAndRefillsTheOthers) {
    std::wstring text;
    while (text.size() < 20000) text += L"A line of words that wraps like a letter does.\r\n";
    window().Rows().SetText(8, text);
    window().Rows().SetText(9, text);
    HWND untouched = Control(IDC_TXT0 + 8), touched = Control(IDC_TXT0 + 9);
    auto lines = [](HWND box) {
        SCROLLINFO info{sizeof info, SIF_RANGE};
        ::GetScrollInfo(box, SB_VERT, &info);
        return info.nMax;
    };
    // Both show the beginning at first, the whole once the program is idle.
    EXPECT_LT(lines(untouched), 100);
    EXPECT_EQ(window().Rows().Text(8), text);  // reads see the whole meanwhile
    ASSERT_TRUE(testing::WaitFor([&] { return lines(untouched) > 300 && lines(touched) > 300; }));
    ::SendMessageW(touched, EM_SETSEL, 5, 9);
    ::SendMessageW(touched, EM_LINESCROLL, 0, 40);
    const LRESULT topLine = ::SendMessageW(touched, EM_GETFIRSTVISIBLELINE, 0, 0);
    ASSERT_GT(topLine, 0);
    ASSERT_TRUE(UndoGrayed());

    RECT r;
    ::GetWindowRect(window().hwnd(), &r);
    ::SetWindowPos(window().hwnd(), nullptr, 0, 0, r.right - r.left - 60, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_LT(lines(untouched), 100);
    EXPECT_EQ(window().Rows().Text(8), text);  // reads still get the whole
    EXPECT_GT(lines(touched), 300);
    EXPECT_EQ(Selection(IDC_TXT0 + 9), std::make_pair(DWORD{5}, DWORD{9}));
    EXPECT_GT(::SendMessageW(touched, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    EXPECT_TRUE(testing::WaitFor([&] { return lines(untouched) > 300; }));
    EXPECT_EQ(window().Rows().Text(8), text);
    EXPECT_TRUE(UndoGrayed());  // the program's own refills are no edits
}

// A picture pasted from the clipboard becomes a bitmap file the system loads.
TEST_F(SlotWindowTest, APastedPictureIsABitmapFile) {
    ASSERT_TRUE(testing::PutClipboardBitmap());
    window().Logic().lblStore_Click(0);
    window().Logic().picPaste_Click(0);
    const std::wstring slot = L"C:\\ClipPics\\pic1.bmp";
    const std::string pasted = testing::ReadFileBytes(slot);
    ASSERT_GT(pasted.size(), 54u);
    EXPECT_EQ(pasted.substr(0, 2), "BM");
    EXPECT_TRUE(UniqueBitmap(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, slot.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))));
    EXPECT_EQ(testing::RunningProgram::TextOf(Control(IDC_TXTCLIPBOARD)), L"Picture");
}

}  // namespace
}  // namespace quillet
