// The main window in this process: its menus and controls after start-up,
// where the test can look at them directly.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "frmMain_win.h"
#include "pictures/test_pictures_win.h"
#include "resource.h"
#include "support/program_win.h"

namespace quillet {
namespace {

using testing::CleanDriveC;
using testing::FontHeight;
using testing::InClient;
using testing::MoveToDpi;
using testing::WriteFileBytes;

bool Checked(HWND w, int id) {
    const UINT state = ::GetMenuState(::GetMenu(w), id, MF_BYCOMMAND);
    EXPECT_NE(state, static_cast<UINT>(-1)) << "no menu item " << id;
    return (state & MF_CHECKED) != 0;
}
bool Grayed(HWND w, int id) {
    return (::GetMenuState(::GetMenu(w), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}
std::wstring MenuText(HWND w, int id) {
    wchar_t buffer[256] = {};
    ::GetMenuStringW(::GetMenu(w), id, buffer, 256, MF_BYCOMMAND);
    return buffer;
}

constexpr int kOptions[] = {IDM_SOUNDS,    IDM_AUTOSAVE, IDM_AUTORUN, IDM_HOTKEYS,
                            IDM_STARTTRAY, IDM_STAYTOP,  IDM_MIRROR};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { CleanDriveC(); }
    void TearDown() override { CleanDriveC(); }
    bool Open() {
        return window_.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro");
    }
    frmMain window_;
};

TEST_F(WindowTest, FirstStartMenus) {
    ASSERT_TRUE(Open());
    HWND w = window_.hwnd();
    for (int n = 0; n < 16; ++n) EXPECT_EQ(Checked(w, IDM_STORE0 + n), n == 1) << n;
    for (int id : kOptions) EXPECT_EQ(Checked(w, id), id == IDM_SOUNDS) << id;
    EXPECT_TRUE(Grayed(w, IDM_UNDO));
    EXPECT_FALSE(Grayed(w, IDM_PASTE));
    EXPECT_EQ(MenuText(w, IDM_STORE0), L"&P Pictures");
    EXPECT_EQ(MenuText(w, IDM_STORE0 + 15), L"15 Store");
    EXPECT_EQ(MenuText(w, IDM_CUT), L"Cut      Ctrl+X");
    EXPECT_EQ(MenuText(w, IDM_PASTE), L"Paste  Ctrl+V  ");
    EXPECT_EQ(MenuText(w, IDM_EXIT), L"E&xit");
    EXPECT_EQ(MenuText(w, IDM_FEEDBACK), L"&E-Mail Feedback");
    // The focus moves once the shown window handles its messages.
    EXPECT_TRUE(
        testing::WaitFor([&] { return ::GetFocus() == window_.Control(IDC_PICPASTE0 + 1); }));
}

TEST_F(WindowTest, StoredChoicesShowInTheMenus) {
    WriteFileBytes(L"C:\\quilbdx.ini",
                   "[Settings]\r\naskImport=1\r\nStoreNumber=0\r\nAutoSave=1\r\nSounds=0\r\n"
                   "AutoRun=1\r\nStartTray=1\r\nMirror=1\r\nHotkeys=1\r\nMainOnTop=1\r\n"
                   "StoreCaption7=7 Work\r\n");
    // Started in the tray, the program leaves the window in use alone.
    const UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"in use",
                                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                               nullptr, nullptr, nullptr, nullptr));
    ::SetForegroundWindow(other.get());
    ASSERT_EQ(::GetForegroundWindow(), other.get());
    ASSERT_TRUE(Open());
    HWND w = window_.hwnd();
    EXPECT_EQ(::GetForegroundWindow(), other.get());
    EXPECT_TRUE(Checked(w, IDM_STORE0));
    for (int id : kOptions) EXPECT_EQ(Checked(w, id), id != IDM_SOUNDS) << id;
    EXPECT_TRUE(::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::IsWindowVisible(w));
    EXPECT_EQ(MenuText(w, IDM_STORE0 + 7), L"7 Work");
    // The Pictures store disables the text-editing items.
    for (int id : {IDM_PASTE, IDM_CUT, IDM_COPY, IDM_CLEARLABELS, IDM_CLEARCONTENTS, IDM_CLEARSTORE,
                   IDM_SELECTALL})
        EXPECT_TRUE(Grayed(w, id)) << id;
    EXPECT_TRUE(::GetWindowLongPtrW(window_.Control(IDC_PICPICTURES), GWL_STYLE) & WS_VISIBLE);
}

// An "&" in a store's name is shown, not taken as an access key.
TEST_F(WindowTest, StoreCaptionsShowAnAmpersandAsTyped) {
    ASSERT_TRUE(Open());
    window_.SetStoreCaption(3, L"3 R&D");
    EXPECT_EQ(MenuText(window_.hwnd(), IDM_STORE0 + 3), L"3 R&&D");
}

TEST_F(WindowTest, AClickOnTheClipboardLineRefreshesItEvenWithTheFocus) {
    ASSERT_TRUE(Open());
    HWND line = window_.Control(IDC_TXTCLIPBOARD);
    ::SetFocus(line);
    ASSERT_EQ(::GetFocus(), line);
    ASSERT_TRUE(testing::PutClipboardText(L"fresh text"));
    ::SendMessageW(line, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(line, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(testing::RunningProgram::TextOf(line), L"fresh text");
    EXPECT_EQ(testing::RunningProgram::TextOf(window_.Control(IDC_TXTLENGTH)), L"10 Chars");
}

TEST_F(WindowTest, PicturesStoreShowsTheSlotFilesFittedInTheirFrames) {
    ::CreateDirectoryW(L"C:\\ClipPics", nullptr);
    WriteFileBytes(L"C:\\ClipPics\\pic1.bmp",
                   testing::BitmapFile(4, 1, [](int, int) { return RGB(127, 127, 127); }));
    WriteFileBytes(L"C:\\quilbdx.ini", "[Settings]\r\naskImport=1\r\nStoreNumber=0\r\n");
    ASSERT_TRUE(Open());
    HWND first = window_.Control(IDC_PICPICTURES);
    ASSERT_TRUE(first);
    HWND box = ::GetDlgItem(first, IDC_BOX0);
    HWND img = ::GetDlgItem(box, IDC_IMGPIC0);
    HWND empty = ::GetDlgItem(::GetDlgItem(first, IDC_BOX0 + 1), IDC_IMGPIC0 + 1);
    ASSERT_TRUE(img && empty);
    EXPECT_TRUE(::GetWindowLongPtrW(img, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(::GetWindowLongPtrW(empty, GWL_STYLE) & WS_VISIBLE);
    RECT frame, pic;
    ::GetClientRect(box, &frame);
    ::GetWindowRect(img, &pic);
    // Four times as wide as high in a wider frame: as wide as the frame.
    EXPECT_NEAR(pic.right - pic.left, frame.right, 1);
    EXPECT_EQ(window_.Rows().Title(0), L"1");
    EXPECT_EQ(window_.Rows().Title(9), L"10");
    EXPECT_FALSE(::IsWindowVisible(window_.Control(IDC_TXT0)));
}

// The progress window takes its place and font when it shows: after a move
// to a monitor of twice the DPI, twice as far from the window's corner.
TEST_F(WindowTest, ProgressShowsOverTheWindowAtItsDpiWithoutTheFocus) {
    ASSERT_TRUE(Open());
    HWND w = window_.hwnd();
    ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(w);
    RECT main{};
    ::GetWindowRect(w, &main);
    MoveToDpi(w, 192, RECT{0, 0, 2 * (main.right - main.left), 2 * (main.bottom - main.top)});
    const HWND before = ::GetForegroundWindow();
    window_.Progress().ShowProgress(L"Quillet Pro", L"Loading Thumbnails...");
    HWND progress = ::FindWindowW(L"QuilletProProgress", L"Quillet Pro");
    ASSERT_TRUE(progress);
    EXPECT_EQ(::GetWindow(progress, GW_OWNER), w);
    EXPECT_TRUE(::GetWindowLongPtrW(progress, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(::GetForegroundWindow(), before) << w << " progress " << progress;
    RECT at{};
    ::GetWindowRect(progress, &at);
    // 900 and 4550 twips from the corner, 3400 by 1300 twips, at 192 DPI.
    EXPECT_EQ(at.left, 120);
    EXPECT_EQ(at.top, 607);
    EXPECT_EQ(at.right - at.left, 453);
    EXPECT_EQ(at.bottom - at.top, 173);
    window_.Progress().ShowProgressBlock(10);
    window_.Progress().CloseProgress();
    EXPECT_FALSE(::IsWindow(progress));
}

// On a monitor of twice the DPI everything is twice as large, fonts too;
// back on the first, every control is where it was, with the font it had.
TEST_F(WindowTest, AMonitorOfAnotherDpiScalesEverythingAndBackAgainExactly) {
    ASSERT_TRUE(Open());
    HWND w = window_.hwnd();
    const std::vector<HWND> controls{
        window_.Control(IDC_TXT0 + 3),      window_.Control(IDC_TXTTITLE0 + 9),
        window_.Control(IDC_PICPASTE0),     window_.Control(IDC_TXTCLIPBOARD),
        window_.Control(IDC_STORESTRIP),    window_.Control(IDC_LBLSTORE0 + 15),
        window_.Control(IDC_LBLSTORE0 + 1), window_.Control(IDC_LBLBRINDLE)};
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

// The real file system, until it is told to fail the way a broken disk or an
// exhausted memory makes it fail: by throwing.
class FailingFileSystem final : public FileSystem {
  public:
    bool failing = false;
    FileRead ReadAll(const std::filesystem::path& p) override {
        Check();
        return real_.ReadAll(p);
    }
    IoResult ReplaceAtomically(const std::filesystem::path& p,
                               const std::vector<std::string_view>& pieces) override {
        Check();
        return real_.ReplaceAtomically(p, pieces);
    }
    bool FileExists(const std::filesystem::path& p) override { return real_.FileExists(p); }
    bool DirectoryExists(const std::filesystem::path& p) override {
        return real_.DirectoryExists(p);
    }
    IoResult MakeDirectory(const std::filesystem::path& p) override {
        return real_.MakeDirectory(p);
    }
    IoResult Remove(const std::filesystem::path& p) override { return real_.Remove(p); }
    IoResult Rename(const std::filesystem::path& a, const std::filesystem::path& b) override {
        return real_.Rename(a, b);
    }
    std::filesystem::path TempFolder() override { return real_.TempFolder(); }

  private:
    void Check() const {
        if (failing) throw std::runtime_error("the disk went away");
    }
    FileSystem& real_ = RealFileSystem();
};

// A close whose change check fails half-way must not go on to destroy the
// window: the program would end without its texts being saved or asked for.
TEST_F(WindowTest, AFailingCloseOrExitLeavesTheProgramWithItsTexts) {
    FailingFileSystem fs;
    frmMain window(fs);
    ASSERT_TRUE(window.Create(::GetModuleHandleW(nullptr), L"C:\\Program Files\\Quillet Pro"));
    window.Rows().SetText(2, L"unsaved work");
    fs.failing = true;
    ::SendMessageW(window.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(::IsWindow(window.hwnd()));
    ::SendMessageW(window.hwnd(), WM_COMMAND, IDM_EXIT, 0);
    ASSERT_TRUE(::IsWindow(window.hwnd()));
    EXPECT_TRUE(::IsWindowVisible(window.hwnd()));
    EXPECT_EQ(window.Rows().Text(2), L"unsaved work");
    // Once the disk is back the same Exit goes through, after the question.
    fs.failing = false;
    window.Logic().submnuAutoSave_Click();
    ::SendMessageW(window.hwnd(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(window.hwnd());
    EXPECT_EQ(testing::ProfileValue("Savings1", "txt(2)"), "unsaved work");
}

// The slot boxes' backgrounds come from the colour messages the boxes send.
TEST_F(WindowTest, SlotBoxesAndTheCurrentStoreLabelGetTheirColours) {
    ASSERT_TRUE(Open());
    struct Case {
        int id;
        UINT message;
        COLORREF background;
    };
    const Case cases[] = {{IDC_TXT0 + 4, WM_CTLCOLOREDIT, RGB(200, 200, 255)},
                          {IDC_TXTTITLE0 + 9, WM_CTLCOLOREDIT, RGB(125, 210, 210)},
                          {IDC_LBLSTORE0 + 1, WM_CTLCOLORSTATIC, RGB(0xC0, 0xC0, 0xC0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HWND control = window_.Control(c.id);
        HDC dc = ::GetDC(control);
        const auto brush = reinterpret_cast<HBRUSH>(
            ::SendMessageW(::GetParent(control), c.message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(control)));
        LOGBRUSH fill{};
        ASSERT_TRUE(::GetObjectW(brush, sizeof fill, &fill));
        EXPECT_EQ(fill.lbColor, c.background);
        EXPECT_EQ(::GetBkColor(dc), c.background);
        if (c.id == IDC_LBLSTORE0 + 1) {
            EXPECT_EQ(::GetTextColor(dc), RGB(255, 0, 0));
        }
        ::ReleaseDC(control, dc);
    }
    // A label not current is drawn black.
    HWND other = window_.Control(IDC_LBLSTORE0 + 2);
    HDC dc = ::GetDC(other);
    ::SendMessageW(::GetParent(other), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(other));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
    ::ReleaseDC(other, dc);
}

}  // namespace
}  // namespace quillet
