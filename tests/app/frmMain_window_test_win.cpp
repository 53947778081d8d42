// The main window in this process: its menus and controls after start-up,
// where the test can look at them directly; the slot boxes and buttons, where
// it can hold keys, reach the focused box and call the drop targets itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include <winsock2.h>
#include <ws2tcpip.h>

#include "pictures/test_pictures_win.h"
#include "platform/desktop_win.h"
#include "resource.h"
#include "support/program_fixture_win.h"
#include "util/ModuleIP.h"

namespace quillet {
namespace {

using testing::ClipboardText;
using testing::FontHeight;
using testing::InClient;
using testing::MoveToDpi;
using testing::PutClipboardText;
using testing::WindowTest;
using testing::WriteFileBytes;

// Whether a menu item has this state; every item asked about is there.
bool Is(UINT state, HWND menuOwner, int id) {
    const UINT has = ::GetMenuState(::GetMenu(menuOwner), id, MF_BYCOMMAND);
    EXPECT_NE(has, static_cast<UINT>(-1)) << "no menu item " << id;
    return (has & state) != 0;
}
std::wstring MenuText(HWND menuOwner, int id) {
    wchar_t buffer[256] = {};
    ::GetMenuStringW(::GetMenu(menuOwner), id, buffer, 256, MF_BYCOMMAND);
    return buffer;
}

constexpr int kOptions[] = {IDM_SOUNDS,    IDM_AUTOSAVE, IDM_AUTORUN, IDM_HOTKEYS,
                            IDM_STARTTRAY, IDM_STAYTOP,  IDM_MIRROR};

// The captions go through as typed: an "&" in a store's name is shown in its
// menu item, not taken as an access key; the core tests hold the captions.
TEST_F(WindowTest, EveryCaptionTheProgramMakesShowsAsTyped) {
    ASSERT_TRUE(Open());
    window().SetStoreCaption(3, L"3 R&D");
    HWND w = window().hwnd();
    EXPECT_EQ(WindowText(w), L"Quillet Pro");
    EXPECT_EQ(WindowText(::GetDlgItem(Control(IDC_STORESTRIP), IDC_LBLSTORE0)), L"P");
    EXPECT_EQ(MenuText(w, IDM_STORE0), L"&P Pictures");
    EXPECT_EQ(MenuText(w, IDM_STORE0 + 3), L"3 R&&D");
}

// The menus show the choices of a first start, then the stored ones; started
// in the tray, the program leaves the window in use alone.
TEST_F(WindowTest, TheMenusShowTheStoredChoices) {
    ASSERT_TRUE(Open());
    HWND w = window().hwnd();
    for (int n = 0; n < 16; ++n) EXPECT_EQ(Is(MF_CHECKED, w, IDM_STORE0 + n), n == 1) << n;
    for (int id : kOptions) EXPECT_EQ(Is(MF_CHECKED, w, id), id == IDM_SOUNDS) << id;
    EXPECT_TRUE(Is(MF_GRAYED, w, IDM_UNDO));
    EXPECT_FALSE(Is(MF_GRAYED, w, IDM_PASTE));
    // The focus moves once the shown window handles its messages.
    EXPECT_TRUE(testing::WaitFor([&] { return ::GetFocus() == Control(IDC_PICPASTE0 + 1); }));
    window_.reset();

    const UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"in use",
                                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                               nullptr, nullptr, nullptr, nullptr));
    ::SetForegroundWindow(other.get());
    ASSERT_EQ(::GetForegroundWindow(), other.get());
    ASSERT_TRUE(Open(testing::SettingsFile(0,
                                           "AutoSave=1\r\nSounds=0\r\nAutoRun=1\r\n"
                                           "StartTray=1\r\nMirror=1\r\nHotkeys=1\r\n"
                                           "MainOnTop=1\r\n")));
    w = window().hwnd();
    EXPECT_EQ(::GetForegroundWindow(), other.get());
    EXPECT_TRUE(Is(MF_CHECKED, w, IDM_STORE0));
    for (int id : kOptions) EXPECT_EQ(Is(MF_CHECKED, w, id), id != IDM_SOUNDS) << id;
    EXPECT_TRUE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::IsWindowVisible(w));
    // The Pictures store disables the text-editing items.
    for (int id : {IDM_PASTE, IDM_CUT, IDM_COPY, IDM_CLEARLABELS, IDM_CLEARCONTENTS, IDM_CLEARSTORE,
                   IDM_SELECTALL})
        EXPECT_TRUE(Is(MF_GRAYED, w, id)) << id;
}

TEST_F(WindowTest, AClickOnTheClipboardLineRefreshesItEvenWithTheFocus) {
    ASSERT_TRUE(Open());
    HWND line = Control(IDC_TXTCLIPBOARD);
    ::SetFocus(line);
    ASSERT_EQ(::GetFocus(), line);
    ASSERT_TRUE(PutClipboardText(L"fresh text"));
    ::SendMessageW(line, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(line, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(WindowText(line), L"fresh text");
    EXPECT_EQ(WindowText(Control(IDC_TXTLENGTH)), L"10 Chars");
}

TEST_F(WindowTest, PicturesStoreShowsTheSlotFilesFittedInTheirFrames) {
    ::CreateDirectoryW(L"C:\\ClipPics", nullptr);
    WriteFileBytes(L"C:\\ClipPics\\pic1.bmp",
                   testing::BitmapFile(4, 1, [](int, int) { return RGB(127, 127, 127); }));
    ASSERT_TRUE(Open(testing::SettingsFile(0)));
    HWND panel = Control(IDC_PICPICTURES);
    ASSERT_TRUE(panel);
    HWND box = ::GetDlgItem(panel, IDC_BOX0);
    HWND img = ::GetDlgItem(box, IDC_IMGPIC0);
    HWND empty = ::GetDlgItem(::GetDlgItem(panel, IDC_BOX0 + 1), IDC_IMGPIC0 + 1);
    ASSERT_TRUE(img && empty);
    EXPECT_TRUE(::GetWindowLongPtrW(img, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(::GetWindowLongPtrW(empty, GWL_STYLE) & WS_VISIBLE);
    RECT frame, pic;
    ::GetClientRect(box, &frame);
    ::GetWindowRect(img, &pic);
    // Four times as wide as high in a wider frame: as wide as the frame.
    EXPECT_NEAR(pic.right - pic.left, frame.right, 1);
    EXPECT_FALSE(::IsWindowVisible(Control(IDC_TXT0)));
}

// The progress window shows over the window, owned, topmost and without the
// focus; at twice the DPI it is twice as far from the window's corner and
// twice as large.
TEST_F(WindowTest, ProgressShowsOverTheWindowAtItsDpiWithoutTheFocus) {
    ASSERT_TRUE(Open());
    HWND w = window().hwnd();
    ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(w);
    RECT main{};
    ::GetWindowRect(w, &main);
    auto shown = [&] {
        const HWND before = ::GetForegroundWindow();
        window().Progress().ShowProgress(L"Quillet Pro", L"Loading Thumbnails...");
        HWND progress = ::FindWindowW(L"QuilletProProgress", nullptr);
        RECT at{};
        EXPECT_TRUE(progress);
        EXPECT_EQ(::GetWindow(progress, GW_OWNER), w);
        EXPECT_TRUE(::GetWindowLongPtrW(progress, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(::GetForegroundWindow(), before);
        ::GetWindowRect(progress, &at);
        window().Progress().ShowProgressBlock(10);
        window().Progress().CloseProgress();
        EXPECT_FALSE(::IsWindow(progress));
        return at;
    };
    const RECT plain = shown();
    MoveToDpi(w, 192, RECT{0, 0, 2 * (main.right - main.left), 2 * (main.bottom - main.top)});
    const RECT twice = shown();
    EXPECT_NEAR(twice.left, 2 * plain.left, 2);
    EXPECT_NEAR(twice.top, 2 * plain.top, 2);
    EXPECT_NEAR(twice.right - twice.left, 2 * (plain.right - plain.left), 2);
    EXPECT_NEAR(twice.bottom - twice.top, 2 * (plain.bottom - plain.top), 2);
}

// On a monitor of twice the DPI everything is twice as large, fonts too;
// back on the first, every control is where it was, with the font it had.
TEST_F(WindowTest, AMonitorOfAnotherDpiScalesEverythingAndBackAgainExactly) {
    ASSERT_TRUE(Open());
    HWND w = window().hwnd();
    const std::vector<HWND> controls{Control(IDC_TXT0 + 3),      Control(IDC_TXTTITLE0 + 9),
                                     Control(IDC_PICPASTE0),     Control(IDC_TXTCLIPBOARD),
                                     Control(IDC_STORESTRIP),    Control(IDC_LBLSTORE0 + 15),
                                     Control(IDC_LBLSTORE0 + 1), Control(IDC_LBLBRINDLE)};
    for (HWND c : controls) ASSERT_TRUE(c);
    auto snapshot = [&] {
        std::vector<std::pair<RECT, int>> all;
        for (HWND c : controls) all.emplace_back(InClient(w, c), FontHeight(c));
        return all;
    };
    // In the corner, so that twice the size still fits the screen.
    ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT window{}, client{};
    ::GetWindowRect(w, &window);
    ::GetClientRect(w, &client);
    const auto before = snapshot();
    const int width = window.right - window.left, height = window.bottom - window.top;

    MoveToDpi(w, 192, RECT{0, 0, 2 * width, 2 * height});
    // The title bar's icon of that DPI, not the one loaded first.
    ICONINFO icon{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(::SendMessageW(w, WM_GETICON, ICON_SMALL, 0)),
                              &icon));
    BITMAP mask{};
    ::GetObjectW(icon.hbmMask, sizeof mask, &mask);
    if (icon.hbmColor) ::DeleteObject(icon.hbmColor);
    ::DeleteObject(icon.hbmMask);
    EXPECT_EQ(mask.bmWidth, 2 * ::GetSystemMetrics(SM_CXSMICON));
    RECT wide{}, wideClient{};
    ::GetWindowRect(w, &wide);
    ::GetClientRect(w, &wideClient);
    EXPECT_EQ(wide.right - wide.left, 2 * width);
    EXPECT_NEAR(wideClient.bottom, 2 * client.bottom, 2);
    const auto after = snapshot();
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT& a = before[i].first;
        const RECT& b = after[i].first;
        EXPECT_NEAR(b.left, 2 * a.left, 2) << i;
        EXPECT_NEAR(b.top, 2 * a.top, 2) << i;
        EXPECT_NEAR(b.right - b.left, 2 * (a.right - a.left), 3) << i;
        EXPECT_NEAR(b.bottom - b.top, 2 * (a.bottom - a.top), 3) << i;
        EXPECT_NEAR(after[i].second, 2 * before[i].second, 1) << i;
    }

    MoveToDpi(w, 96, window);
    const auto back = snapshot();
    for (size_t i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(::EqualRect(&back[i].first, &before[i].first)) << i;
        EXPECT_EQ(back[i].second, before[i].second) << i;
    }
}

// The current store's label is painted apart from the others.
TEST_F(WindowTest, TheCurrentStoreLabelIsPaintedApart) {
    ASSERT_TRUE(Open());
    auto textColour = [&](int store) {
        HWND label = Control(IDC_LBLSTORE0 + store);
        WindowDc dc(label);
        ::SendMessageW(::GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(label));
        return ::GetTextColor(dc.get());
    };
    EXPECT_NE(textColour(1), textColour(2));
    EXPECT_EQ(textColour(2), textColour(3));
}

class SlotWindowTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(Open({}, true));
    }
    bool UndoGrayed() { return (MenuState(IDM_UNDO) & MF_GRAYED) != 0; }
    // A click on a button while the window's thread believes `key` held.
    void ClickHolding(int key, int id) {
        BYTE saved[256], held[256];
        ::GetKeyboardState(saved);
        std::memcpy(held, saved, sizeof held);
        held[key] = 0x80;
        ::SetKeyboardState(held);
        ::SendMessageW(Control(id), BM_CLICK, 0, 0);
        ::SetKeyboardState(saved);
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
    ClickHolding('D', IDC_PICPASTE0 + 1);
    EXPECT_EQ(window().Rows().Text(1), date);
    window().Rows().SetText(0, L"HTTPS://Example.org/CaseMatters");
    ClickHolding(VK_SHIFT, IDC_PICCOPY0);
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
    } cases[] = {
        {5, DragPayload{L"dropped \u00FCber \u2713", {}}, L"dropped \u00FCber \u2713"},
        {6, DragPayload{{}, {L"C:\\windows\\win.ini", L"C:\\b.txt"}}, L"C:\\windows\\win.ini"}};
    for (const auto& c : cases) {
        DropOn(window().DropTargetOf(c.slot), c.payload, Control(IDC_TXT0 + c.slot));
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
    ::SetFocus(Control(IDC_TXT0));
    ASSERT_EQ(::GetFocus(), Control(IDC_TXT0));
    Menu(IDM_SELECTALL);
    EXPECT_EQ(Selection(IDC_TXT0), std::make_pair(DWORD{0}, DWORD{40003}));
    Menu(IDM_COPY);
    EXPECT_EQ(ClipboardText(), big);
    EXPECT_EQ(WindowText(Control(IDC_TXTLENGTH)), L"40003 Chars");

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
    ::SendMessageW(Control(IDC_TXT0 + 1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"short"));
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
        const HWND box = Control(IDC_TXT0);
        window().Rows().SetText(0, c.line);
        ::SetFocus(Control(IDC_TXTTITLE0));
        ::SetFocus(box);
        ASSERT_EQ(::GetFocus(), box);
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
    EXPECT_EQ(testing::ReadFileBytes(slot).substr(0, 2), "BM");
    EXPECT_TRUE(UniqueBitmap(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, slot.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))));
    EXPECT_EQ(WindowText(Control(IDC_TXTCLIPBOARD)), L"Picture");
}

}  // namespace
}  // namespace quillet
