// The main window in this process: its menus and controls after start-up,
// where the test can look at them directly.
#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

#include "pictures/test_pictures_win.h"
#include "resource.h"
#include "support/program_fixture_win.h"

namespace quillet {
namespace {

using testing::FontHeight;
using testing::InClient;
using testing::MoveToDpi;
using testing::WindowTest;
using testing::WriteFileBytes;

bool Checked(HWND menuOwner, int id) {
    const UINT state = ::GetMenuState(::GetMenu(menuOwner), id, MF_BYCOMMAND);
    EXPECT_NE(state, static_cast<UINT>(-1)) << "no menu item " << id;
    return (state & MF_CHECKED) != 0;
}
bool Grayed(HWND menuOwner, int id) {
    return (::GetMenuState(::GetMenu(menuOwner), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}
std::wstring MenuText(HWND menuOwner, int id) {
    wchar_t buffer[256] = {};
    ::GetMenuStringW(::GetMenu(menuOwner), id, buffer, 256, MF_BYCOMMAND);
    return buffer;
}

constexpr int kOptions[] = {IDM_SOUNDS,    IDM_AUTOSAVE, IDM_AUTORUN, IDM_HOTKEYS,
                            IDM_STARTTRAY, IDM_STAYTOP,  IDM_MIRROR};

// The captions the program makes itself, each once; an "&" in a store's
// name is shown, not taken as an access key.
TEST_F(WindowTest, EveryCaptionTheProgramMakesShowsAsTyped) {
    ASSERT_TRUE(Open());
    window().SetStoreCaption(3, L"3 R&D");
    HWND w = window().hwnd(), strip = Control(IDC_STORESTRIP);
    const struct {
        std::wstring shown, expected;
    } cases[] = {
        {testing::RunningProgram::TextOf(w), L"Quillet Pro"},
        {testing::RunningProgram::TextOf(Control(IDC_PICPASTE0)), L"1 Paste"},
        {testing::RunningProgram::TextOf(Control(IDC_PICCOPY0 + 9)), L"10Copy and/or Drag"},
        {testing::RunningProgram::TextOf(::GetDlgItem(strip, IDC_LBLSTORE0)), L"P"},
        {testing::RunningProgram::TextOf(::GetDlgItem(strip, IDC_LBLSTORE0 + 15)), L"15"},
        {MenuText(w, IDM_STORE0), L"&P Pictures"},
        {MenuText(w, IDM_STORE0 + 15), L"15 Store"},
        {MenuText(w, IDM_STORE0 + 3), L"3 R&&D"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shown, c.expected);
}

// The menus show the choices of a first start, then the stored ones; started
// in the tray, the program leaves the window in use alone.
TEST_F(WindowTest, TheMenusShowTheStoredChoices) {
    ASSERT_TRUE(Open());
    HWND w = window().hwnd();
    for (int n = 0; n < 16; ++n) EXPECT_EQ(Checked(w, IDM_STORE0 + n), n == 1) << n;
    for (int id : kOptions) EXPECT_EQ(Checked(w, id), id == IDM_SOUNDS) << id;
    EXPECT_TRUE(Grayed(w, IDM_UNDO));
    EXPECT_FALSE(Grayed(w, IDM_PASTE));
    // The focus moves once the shown window handles its messages.
    EXPECT_TRUE(
        testing::WaitFor([&] { return ::GetFocus() == Control(IDC_PICPASTE0 + 1); }));
    window_.reset();

    const UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"in use",
                                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                               nullptr, nullptr, nullptr, nullptr));
    ::SetForegroundWindow(other.get());
    ASSERT_EQ(::GetForegroundWindow(), other.get());
    ASSERT_TRUE(Open(testing::SettingsFile(0, "AutoSave=1\r\nSounds=0\r\nAutoRun=1\r\n"
                                              "StartTray=1\r\nMirror=1\r\nHotkeys=1\r\n"
                                              "MainOnTop=1\r\n")));
    w = window().hwnd();
    EXPECT_EQ(::GetForegroundWindow(), other.get());
    EXPECT_TRUE(Checked(w, IDM_STORE0));
    for (int id : kOptions) EXPECT_EQ(Checked(w, id), id != IDM_SOUNDS) << id;
    EXPECT_TRUE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::IsWindowVisible(w));
    // The Pictures store disables the text-editing items.
    for (int id : {IDM_PASTE, IDM_CUT, IDM_COPY, IDM_CLEARLABELS, IDM_CLEARCONTENTS, IDM_CLEARSTORE,
                   IDM_SELECTALL})
        EXPECT_TRUE(Grayed(w, id)) << id;
}

TEST_F(WindowTest, AClickOnTheClipboardLineRefreshesItEvenWithTheFocus) {
    ASSERT_TRUE(Open());
    HWND line = Control(IDC_TXTCLIPBOARD);
    ::SetFocus(line);
    ASSERT_EQ(::GetFocus(), line);
    ASSERT_TRUE(testing::PutClipboardText(L"fresh text"));
    ::SendMessageW(line, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(line, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(testing::RunningProgram::TextOf(line), L"fresh text");
    EXPECT_EQ(testing::RunningProgram::TextOf(Control(IDC_TXTLENGTH)), L"10 Chars");
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
    const std::vector<HWND> controls{
        Control(IDC_TXT0 + 3),      Control(IDC_TXTTITLE0 + 9),
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

}  // namespace
}  // namespace quillet
