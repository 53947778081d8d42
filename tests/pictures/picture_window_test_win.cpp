// The Pictures store in this process: picture files of every format dropped
// through the slots' own drop targets, and the preview window's places.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>
#include <memory>
#include <vector>

#include "pictures/frmViewPic_win.h"
#include "pictures/picture_files.h"
#include "pictures/test_pictures_win.h"
#include "resource.h"
#include "support/program_fixture_win.h"

namespace quillet {
namespace {

using testing::MakePicture;
using testing::PictureKind;
using testing::ReadFileBytes;
using testing::WaitFor;
using testing::WriteFileBytes;

const std::wstring kUndo(kUndoPicturePath);
const std::wstring kDropped = L"C:\\dropped";

UniqueBitmap LoadBitmapFile(const std::wstring& path) {
    return UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                          LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

std::pair<LONG, LONG> ClientSize(HWND w) {
    RECT r{};
    ::GetClientRect(w, &r);
    return {r.right, r.bottom};
}

SIZE SizeOf(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

// A message box of this process as the user would see it.
struct SeenBox {
    std::wstring text;
    bool informationIcon = false;
    std::vector<int> buttons;  // the visible ones
};

// Watches on another thread for message boxes of this process with one of
// two titles, notes what each shows and answers OK: the thread that showed
// it waits in the box meanwhile, so no test can hang on one.
class BoxAnswerer {
  public:
    BoxAnswerer()
        : thread_([this] {
              for (HWND answered = nullptr; !stop_; ::Sleep(20)) {
                  HWND box = ::FindWindowW(L"#32770", L"Error");
                  if (!box) box = ::FindWindowW(L"#32770", L"Quillet Pro");
                  if (!box || !::IsWindowVisible(box) || box == answered) continue;
                  SeenBox seen{testing::RunningProgram::TextOf(::GetDlgItem(box, 0xFFFF))};
                  for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
                      const LONG_PTR style = ::GetWindowLongPtrW(c, GWL_STYLE);
                      wchar_t cls[32] = {};
                      ::GetClassNameW(c, cls, 32);
                      if (_wcsicmp(cls, L"Button") == 0 && (style & WS_VISIBLE))
                          seen.buttons.push_back(::GetDlgCtrlID(c));
                      if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
                          seen.informationIcon =
                              ::SendMessageW(c, STM_GETICON, 0, 0) ==
                              reinterpret_cast<LRESULT>(::LoadIconW(nullptr, IDI_INFORMATION));
                  }
                  {
                      std::lock_guard<std::mutex> lock(mutex_);
                      seen_.push_back(seen);
                  }
                  answered = box;
                  testing::RunningProgram::Answer(box, IDOK);
              }
          }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    // The boxes seen since the last call.
    std::vector<SeenBox> Take() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(seen_, {});
    }

  private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

class PictureWindowTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ::CreateDirectoryW(kDropped.c_str(), nullptr);
        ASSERT_TRUE(Open({}, true));
        window().Logic().lblStore_Click(0);
        ASSERT_EQ(window().Logic().CurrentStore(), 0);
    }
    void TearDown() override {
        for (const SeenBox& box : boxes_.Take()) ADD_FAILURE() << "a message: " << box.text;
        WindowTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(kDropped, ignored);
    }

    // A file of the test's own in the folder the drops come from.
    std::wstring Put(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = kDropped + L"\\" + name;
        WriteFileBytes(path, bytes);
        return path;
    }
    // Drops the files on a slot's frame or thumbnail the way OLE does.
    void Drop(int slot, const std::vector<std::wstring>& files, bool onFrame = true) {
        DropOn(window().Pictures().DropTargetOf(slot, onFrame), DragPayload{{}, files},
               Thumbnail(slot));
    }
    HWND Frame(int slot) { return ::GetDlgItem(Control(IDC_PICPICTURES), IDC_BOX0 + slot); }
    HWND Thumbnail(int slot) { return ::GetDlgItem(Frame(slot), IDC_IMGPIC0 + slot); }
    HWND Number(int slot) { return ::GetDlgItem(Control(IDC_PICPICTURES), IDC_LBLPIC0 + slot); }
    // A choice of the slot's pop-up menu, by the keys a user would press:
    // Up from nothing chosen takes the last item.
    void PopupChoice(int slot, int upPresses) {
        for (int i = 0; i < upPresses; ++i) ::PostMessageW(window().hwnd(), WM_KEYDOWN, VK_UP, 0);
        ::PostMessageW(window().hwnd(), WM_KEYDOWN, VK_RETURN, 0);
        window().Logic().Box_MouseDown(slot, 2);
    }
    static void Click(HWND w) {
        ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    HWND Preview() { return ::FindWindowW(kPreviewWindowClass, nullptr); }

    BoxAnswerer boxes_;
};

// Each format in a slot of its own, half of them dropped on the thumbnail.
TEST_F(PictureWindowTest, ADroppedPictureOfEveryFormatIsStoredAsABitmapThatReloads) {
    for (PictureKind kind : {PictureKind::kBmp, PictureKind::kGif, PictureKind::kJpeg,
                             PictureKind::kPng, PictureKind::kTiff, PictureKind::kIcon,
                             PictureKind::kCursor, PictureKind::kEmf, PictureKind::kWmf}) {
        const int slot = static_cast<int>(kind);
        SCOPED_TRACE(testing::ExtensionOf(kind));
        const bool vector = kind == PictureKind::kEmf || kind == PictureKind::kWmf;
        const bool icon = kind == PictureKind::kIcon || kind == PictureKind::kCursor;
        const int width = icon ? 32 : (vector ? 100 : 64), height = icon ? 32 : (vector ? 50 : 48);
        const std::wstring dropped = Put(std::wstring(L"picture.") + testing::ExtensionOf(kind),
                                         MakePicture(kind, width, height));
        Drop(slot, {dropped}, slot % 2 == 0);

        const std::string stored = ReadFileBytes(SlotPicturePath(slot));
        ASSERT_GT(stored.size(), 54u);
        EXPECT_EQ(stored.substr(0, 2), "BM");
        UniqueBitmap reloaded = LoadBitmapFile(SlotPicturePath(slot));
        ASSERT_TRUE(reloaded) << "the slot file does not load as a bitmap";
        const SIZE size = SizeOf(reloaded.get());
        EXPECT_NEAR(size.cx, width, vector ? 2 : 0);
        EXPECT_NEAR(size.cy, height, vector ? 2 : 0);
        const COLORREF left = testing::PixelOf(reloaded.get(), size.cx / 4, size.cy / 2);
        const COLORREF right = testing::PixelOf(reloaded.get(), size.cx * 3 / 4, size.cy / 2);
        EXPECT_TRUE(testing::Near(left, RGB(255, 0, 0), 40)) << std::hex << left;
        EXPECT_TRUE(testing::Near(right, testing::RightHalfOf(kind), 40)) << std::hex << right;
        // The thumbnail shows, and the dropped file was let go of.
        EXPECT_TRUE(::IsWindowVisible(Thumbnail(slot)));
        EXPECT_TRUE(::DeleteFileW(dropped.c_str()));
    }
}

// The undo file and a slot's own file can be dropped. The system's decoders
// refuse a text file: the message is an information box with OK alone, and
// the slot keeps its file.
TEST_F(PictureWindowTest, TheUndoFileAndASlotsOwnFileCanBeDroppedButNoTextFile) {
    Drop(4, {Put(L"c.bmp", MakePicture(PictureKind::kBmp, 33, 5))});
    Drop(1, {Put(L"a.bmp", MakePicture(PictureKind::kBmp, 11, 5))});
    Drop(1, {Put(L"b.bmp", MakePicture(PictureKind::kBmp, 22, 5))});  // a.bmp's copy: the undo file
    Drop(4, {kUndo});
    EXPECT_EQ(SizeOf(LoadBitmapFile(SlotPicturePath(4)).get()).cx, 11);
    EXPECT_EQ(SizeOf(LoadBitmapFile(kUndo).get()).cx, 33);
    const std::string own = ReadFileBytes(SlotPicturePath(1));
    Drop(1, {SlotPicturePath(1)});
    EXPECT_EQ(ReadFileBytes(SlotPicturePath(1)), own);
    EXPECT_EQ(ReadFileBytes(kUndo), own);

    Drop(1, {Put(L"notes.txt", "Dear diary, today I dropped a text file.\r\n")}, false);
    const std::vector<SeenBox> boxes = boxes_.Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].informationIcon);
    EXPECT_EQ(boxes[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(ReadFileBytes(SlotPicturePath(1)), own);
}

TEST_F(PictureWindowTest, APreviewFromEachPlaceIsTopmostAndFitsItsPictureExactly) {
    Drop(0, {Put(L"square.bmp", MakePicture(PictureKind::kBmp, 160, 120))});
    Drop(9, {Put(L"wide.jpg", MakePicture(PictureKind::kJpeg, 240, 60))});
    ASSERT_FALSE(Preview());
    ::SendMessageW(Thumbnail(0), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    HWND preview = Preview();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(::GetWindowLongPtrW(preview, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(::IsWindowVisible(preview));
    EXPECT_EQ(ClientSize(preview), std::make_pair(160L, 120L));

    // The number, then the pop-up's Preview: the same window, the new picture.
    Click(Number(9));
    EXPECT_EQ(Preview(), preview);
    EXPECT_EQ(ClientSize(preview), std::make_pair(240L, 60L));
    PopupChoice(0, 2);
    EXPECT_TRUE(WaitFor([&] { return ClientSize(preview).first == 160; }));
    EXPECT_EQ(Preview(), preview);

    // An empty slot shows nothing and leaves the preview as it is.
    ::SendMessageW(Thumbnail(5), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(ClientSize(preview).first, 160);
    // A single click does nothing; a double-click closes it.
    Click(preview);
    EXPECT_TRUE(::IsWindow(preview));
    ::SendMessageW(preview, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_FALSE(::IsWindow(preview));
    EXPECT_FALSE(window().Preview().IsOpen());
}

TEST_F(PictureWindowTest, ThePreviewComesBackOntoItsMonitorForANewPicture) {
    Drop(0, {Put(L"a.bmp", MakePicture(PictureKind::kBmp, 300, 200))});
    window().Logic().imgPic_DblClick(0);
    HWND preview = Preview();
    ASSERT_TRUE(preview);
    MONITORINFO monitor{sizeof monitor};
    ::GetMonitorInfoW(::MonitorFromWindow(preview, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    ::SetWindowPos(preview, nullptr, work.right - 50, work.bottom - 40, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    window().Logic().imgPic_DblClick(0);
    RECT r{}, within{};
    ::GetWindowRect(preview, &r);
    EXPECT_TRUE(::IntersectRect(&within, &r, &work) && ::EqualRect(&within, &r));
    EXPECT_EQ(ClientSize(preview), std::make_pair(300L, 200L));
}

}  // namespace
}  // namespace quillet
