// The slot commands in this process, where the test can hold keys, reach the
// focused box and call the slot boxes' drop targets itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "frmMain_win.h"
#include "resource.h"
#include "support/program_win.h"
#include "platform/ole_win.h"

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

class SlotWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::CleanDriveC();
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        owner_ = std::make_unique<frmMain>();
        ASSERT_TRUE(
            window().Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro"));
        window().EnableDragDrop();
    }
    void TearDown() override {
        owner_.reset();  // the window goes before OLE does
        ::OleUninitialize();
        testing::CleanDriveC();
    }
    bool UndoGrayed() {
        return (::GetMenuState(::GetMenu(window().hwnd()), IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED) !=
               0;
    }
    void Click(int id) { ::SendMessageW(window().Control(id), BM_CLICK, 0, 0); }
    void Menu(int id) { ::SendMessageW(window().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Focus(int id) {
        ::SetFocus(window().Control(id));
        ASSERT_EQ(::GetFocus(), window().Control(id));
    }
    std::pair<DWORD, DWORD> Selection(int id) {
        DWORD start = 0, end = 0;
        ::SendMessageW(window().Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    void Drop(int slot, const DragPayload& payload,
              DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        IDropTarget* target = window().DropTargetOf(slot);
        ASSERT_TRUE(target);
        ComPtr<IDataObject> data = MakeDataObject(payload);
        RECT r;
        ::GetWindowRect(window().Control(IDC_TXT0 + slot), &r);
        const POINTL at{r.left + 5, r.top + 5};
        DWORD effect = allowed;
        ASSERT_EQ(target->DragEnter(data.get(), MK_LBUTTON, at, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
        effect = allowed;
        ASSERT_EQ(target->Drop(data.get(), 0, at, &effect), S_OK);
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    }
    frmMain& window() { return *owner_; }
    std::unique_ptr<frmMain> owner_;
};

TEST_F(SlotWindowTest, FillKeysHeldDuringAPasteClick) {
    wchar_t date[128] = {};
    ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128,
                      nullptr);
    PutClipboardText(L"not this");
    window().Rows().SetText(1, L"before");
    {
        HeldKeys d{'D', 'T'};
        Click(IDC_PICPASTE0 + 1);
    }
    EXPECT_EQ(window().Rows().Text(1), date);
    {
        HeldKeys c{'C'};
        Click(IDC_PICPASTE0 + 1);
    }
    EXPECT_EQ(window().Rows().Text(1), L"");
    EXPECT_FALSE(UndoGrayed());
    Menu(IDM_UNDO);
    EXPECT_EQ(window().Rows().Text(1), date);
    EXPECT_TRUE(UndoGrayed());
    {
        HeldKeys n{'N'};
        Click(IDC_PICPASTE0 + 1);
    }
    const std::wstring both = window().Rows().Text(1);
    ASSERT_GT(both.size(), wcslen(date) + 2);
    EXPECT_EQ(both.substr(both.size() - wcslen(date) - 2), std::wstring(L"  ") + date);
    EXPECT_EQ(ClipboardText(), L"not this");
}

TEST_F(SlotWindowTest, ShiftOnACopyButtonWritesTheShortcut) {
    PutClipboardText(L"kept");
    window().Rows().SetText(0, L"HTTPS://Example.org/CaseMatters");
    {
        HeldKeys shift{VK_SHIFT};
        Click(IDC_PICCOPY0);
    }
    EXPECT_EQ(testing::ReadFileBytes(L"C:\\Internet Shortcut.url"),
              "[InternetShortcut]\r\nurl=HTTPS://Example.org/CaseMatters\r\n");
    EXPECT_EQ(ClipboardText(), L"kept");
}

TEST_F(SlotWindowTest, DropsOfTextAndFilesReplaceTheSlot) {
    window().Rows().SetText(5, L"old text");
    DragPayload text;
    text.text = L"dropped \u00FCber \u2713";
    Drop(5, text);
    EXPECT_EQ(window().Rows().Text(5), L"dropped \u00FCber \u2713");

    DragPayload files;
    files.files = {L"C:\\windows\\win.ini", L"C:\\b.txt", L"C:\\c.txt"};
    Drop(5, files);
    EXPECT_EQ(window().Rows().Text(5), L"C:\\windows\\win.ini");
    Menu(IDM_UNDO);
    EXPECT_EQ(window().Rows().Text(5), L"dropped \u00FCber \u2713");
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
    EXPECT_EQ(testing::RunningProgram::TextOf(window().Control(IDC_TXTLENGTH)), L"40003 Chars");

    Menu(IDM_CUT);
    EXPECT_EQ(window().Rows().Text(0), L"");
    EXPECT_EQ(ClipboardText(), big);
    Menu(IDM_UNDO);
    EXPECT_EQ(window().Rows().Text(0), big);

    PutClipboardText(L"<in>");
    ::SendMessageW(window().Control(IDC_TXT0), EM_SETSEL, 40000, 40003);
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
    HWND box = window().Control(IDC_TXT0);
    EXPECT_EQ(window().Rows().Text(0), line);
    EXPECT_EQ(::GetWindowTextLengthW(box), 31999);
    EXPECT_EQ(testing::RunningProgram::TextOf(box).size(), 4095u);  // its buffer's worth

    window().Logic().SaveStore();
    EXPECT_EQ(testing::ProfileValue("Savings1", "txt(0)"), std::string(line.begin(), line.end()));

    // In use, the box holds the whole line: Select All reaches its end.
    Focus(IDC_TXT0);
    Menu(IDM_SELECTALL);
    EXPECT_EQ(Selection(IDC_TXT0), std::make_pair(DWORD{0}, DWORD{31999}));
    Menu(IDM_COPY);
    EXPECT_EQ(ClipboardText(), line);

    // A text set from outside replaces the whole line.
    ::SendMessageW(window().Control(IDC_TXT0 + 1), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"short"));
    EXPECT_EQ(window().Rows().Text(1), L"short");
}

// A click into a box holding one long line gives the box the whole line in
// the state a new text has (caret at the start, in view, nothing to undo),
// and wraps it so that every character shows: no line wider than the box.
TEST_F(SlotWindowTest, FirstUseOfALongLineShowsEveryCharacterFromTheStart) {
    struct Case {
        const wchar_t* what;
        std::wstring line;
    };
    std::wstring minified, words, wide;
    while (minified.size() < 31999) minified += L"{\"k\":[1,2],\"v\":\"x\"},";
    while (words.size() < 20000) words += L"words of a letter without an end ";
    while (wide.size() < 12000) wide += L"mmmmmmmm,";
    for (const Case& c : {Case{L"minified", minified.substr(0, 31999)}, Case{L"words", words},
                          Case{L"wide", wide}}) {
        SCOPED_TRACE(c.what);
        const HWND box = window().Control(IDC_TXT0);
        window().Rows().SetText(0, c.line);
        ::SetFocus(window().Control(IDC_TXTTITLE0));
        Focus(IDC_TXT0);
        EXPECT_EQ(window().Rows().Text(0), c.line);
        EXPECT_EQ(Selection(IDC_TXT0), std::make_pair(DWORD{0}, DWORD{0}));
        EXPECT_EQ(::SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        EXPECT_EQ(::SendMessageW(box, EM_CANUNDO, 0, 0), 0);
        EXPECT_EQ(::SendMessageW(box, EM_GETMODIFY, 0, 0), 0);

        RECT area{};
        ::SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
        HDC dc = ::GetDC(box);
        const HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(box, WM_GETFONT, 0, 0)));
        const auto lines = static_cast<int>(::SendMessageW(box, EM_GETLINECOUNT, 0, 0));
        int widest = 0;
        size_t covered = 0;
        for (int i = 0; i < lines; ++i) {
            const auto start = static_cast<size_t>(::SendMessageW(box, EM_LINEINDEX, i, 0));
            const auto length =
                static_cast<int>(::SendMessageW(box, EM_LINELENGTH, start, 0));
            ASSERT_EQ(start, covered) << "line " << i;
            SIZE size{};
            ::GetTextExtentPoint32W(dc, c.line.c_str() + start, length, &size);
            widest = std::max(widest, static_cast<int>(size.cx));
            covered = start + static_cast<size_t>(length);
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(box, dc);
        EXPECT_EQ(covered, c.line.size());
        EXPECT_LE(widest, area.right - area.left);
    }
}

// While the window is sized, a box nobody has touched shows the beginning of
// its long text, not re-wrapping the whole at every step, and takes the whole
// back once the size holds; a box in use keeps its text, place and selection.
TEST_F(SlotWindowTest, SizingLeavesTouchedBoxesAloneAndRefillsTheOthers) {
    std::wstring text;
    while (text.size() < 20000) text += L"A line of words that wraps like a letter does.\r\n";
    window().Rows().SetText(8, text);
    window().Rows().SetText(9, text);
    HWND untouched = window().Control(IDC_TXT0 + 8), touched = window().Control(IDC_TXT0 + 9);
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

TEST_F(SlotWindowTest, PicturePasteClearAndUndoKeepTheFiles) {
    ASSERT_TRUE(testing::PutClipboardBitmap());
    window().Logic().lblStore_Click(0);
    window().Logic().picPaste_Click(0);
    const std::wstring slot = L"C:\\ClipPics\\pic1.bmp", undo = L"C:\\ClipPics\\picUndo.bmp";
    const std::string pasted = testing::ReadFileBytes(slot);
    ASSERT_GT(pasted.size(), 54u);
    EXPECT_EQ(pasted.substr(0, 2), "BM");
    EXPECT_TRUE(UniqueBitmap(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, slot.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))));
    EXPECT_EQ(testing::RunningProgram::TextOf(window().Control(IDC_TXTCLIPBOARD)), L"Picture");

    Menu(IDM_POPDELETE);
    EXPECT_EQ(::GetFileAttributesW(slot.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(testing::ReadFileBytes(undo), pasted);
    EXPECT_TRUE(window().Pictures().SlotPictureDib(0).empty());

    Menu(IDM_POPUNDO);
    EXPECT_EQ(testing::ReadFileBytes(slot), pasted);
    EXPECT_FALSE(window().Pictures().SlotPictureDib(0).empty());
}

}  // namespace
}  // namespace quillet
