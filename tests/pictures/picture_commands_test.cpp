// The picture slots' commands over fakes: what a drop decides and changes,
// the drag out of a slot, the preview and Set as Wallpaper.
#include <gtest/gtest.h>

#include "main_form.h"
#include "pictures/fake_pictures.h"
#include "pictures/picture_files.h"
#include "resource.h"
#include "support/fake_desktop.h"
#include "support/fake_paste_desktop.h"
#include "support/fake_view.h"

namespace quillet {
namespace {

using namespace quillet::testing;

const std::wstring kNotAPicture =
    L"Sorry but that file is either not a valid picture file or not supported\r\n"
    L"Or otherwise there is no picture here to display";

class PictureCommandsTest : public ::testing::Test {
  protected:
    FakeFileSystem fs;
    FakeView view;
    ScriptedPrompt prompt;
    Windows1252Codec codec;
    FakeClipboard clipboard;
    SimpleCases cases;
    HeldKeys keys;
    FixedClock clock;
    RecordingShell shell;
    FakeResolver resolver;
    DiskPictureSlots slots{fs};
    RecordingWallpaper wallpaper{fs};
    FakeAutoRun autoRun;
    FakeHotkeyHost hotkeys;
    FakePasteDesktop paste;
    RecordingWindows windows{view.visible};
    ScriptedInput input;
    MainForm form{view,
                  slots,
                  prompt,
                  fs,
                  codec,
                  clipboard,
                  cases,
                  Desktop{keys, clock, shell, resolver, autoRun, hotkeys, wallpaper, paste},
                  SecondaryWindows{windows, windows, windows, windows, input}};

    const std::wstring undo = std::wstring(kUndoPicturePath);

    void SetUp() override {
        fs.folders.insert(L"C:\\");
        fs.files[L"C:\\quilbdx.ini"] = "[Settings]\r\naskImport=1\r\nStoreNumber=0\r\n";
    }
    // Starts the program on the Pictures store, as the slot files stand.
    void Start() {
        form.FormLoad(L"C:\\Program Files\\Quillet Pro");
        ASSERT_EQ(form.CurrentStore(), 0);
        slots.loaded.clear();
    }
    void DropFiles(int slot, std::vector<std::wstring> files) {
        DropContent dropped;
        dropped.hasFiles = !files.empty();
        if (!files.empty()) dropped.firstFile = files.front();
        form.imgPic_OLEDragDrop(slot, dropped);
    }
    bool UndoEnabled() { return view.enabled[IDM_UNDO] && view.enabled[IDM_POPUNDO]; }
};

TEST_F(PictureCommandsTest, ADropStoresTheFirstFileAsABitmapAndKeepsTheOldForUndo) {
    const std::string before = BitmapFileOf(Dib(2, 2, 10));
    fs.files[SlotPicturePath(2)] = before;
    fs.files[L"C:\\pics\\a.gif"] = OtherFormat(Dib(5, 3, 20));
    fs.files[L"C:\\pics\\b.jpg"] = OtherFormat(Dib(5, 3, 30));
    Start();
    ASSERT_EQ(slots.dib[2], Dib(2, 2, 10));
    const int fits = slots.fitted[2];

    // Three files, any extension: only the first is read.
    DropFiles(2, {L"C:\\pics\\a.gif", L"C:\\pics\\b.jpg", L"C:\\pics\\missing.png"});
    EXPECT_EQ(slots.loaded, std::vector<std::wstring>{L"C:\\pics\\a.gif"});
    EXPECT_EQ(slots.dib[2], Dib(5, 3, 20));
    EXPECT_GT(slots.fitted[2], fits);
    EXPECT_EQ(fs.files[SlotPicturePath(2)], BitmapFileOf(Dib(5, 3, 20)));
    EXPECT_EQ(fs.files[undo], before);
    EXPECT_FALSE(fs.files.count(SlotPicturePath(2) + L".new"));
    EXPECT_TRUE(UndoEnabled());
    EXPECT_EQ(view.clipboardText, L"Picture");
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(view.beeps, 0);  // a drop makes no sound

    form.mnuUndo_Click();
    EXPECT_EQ(slots.dib[2], Dib(2, 2, 10));
    EXPECT_EQ(fs.files[SlotPicturePath(2)], before);
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(PictureCommandsTest, ADropOnAnEmptySlotLeavesNoUndoFileAndUndoEmptiesIt) {
    fs.files[undo] = BitmapFileOf(Dib(1, 1, 99));  // another slot's, from before
    fs.files[L"C:\\x.jpg"] = OtherFormat(Dib(3, 3, 40));
    Start();
    DropFiles(6, {L"C:\\x.jpg"});
    EXPECT_EQ(fs.files[SlotPicturePath(6)], BitmapFileOf(Dib(3, 3, 40)));
    EXPECT_FALSE(fs.files.count(undo));
    form.popUndo_Click();
    EXPECT_TRUE(slots.dib[6].empty());
    EXPECT_FALSE(fs.files.count(SlotPicturePath(6)));
}

TEST_F(PictureCommandsTest, AFileThatIsNoPictureIsToldAndChangesNothing) {
    fs.files[SlotPicturePath(4)] = BitmapFileOf(Dib(2, 2, 10));
    fs.files[SlotPicturePath(1)] = BitmapFileOf(Dib(2, 2, 11));
    fs.files[L"C:\\notes.txt"] = "Dear diary";
    fs.files[L"C:\\broken.bmp"] = "BM\x10\x00 cut short";
    Start();
    form.Box_MouseDown(1, 2);
    form.popDelete_Click();  // Undo now offers slot 2 back
    const auto files = fs.files;
    const auto dibs = slots.dib;

    for (const wchar_t* dropped : {L"C:\\notes.txt", L"C:\\broken.bmp", L"C:\\gone.gif"}) {
        prompt.messages.clear();
        DropFiles(4, {dropped});
        ASSERT_EQ(prompt.messages.size(), 1u) << dropped;
        EXPECT_EQ(prompt.messages[0].title, L"Error");
        EXPECT_EQ(prompt.messages[0].text, kNotAPicture);
        EXPECT_EQ(prompt.messages[0].icon, Prompt::Icon::kInformation);
        EXPECT_EQ(fs.files, files) << dropped;
        EXPECT_EQ(slots.dib, dibs) << dropped;
        EXPECT_TRUE(UndoEnabled());
    }
    // Undo still brings back what it offered before the failed drops.
    form.mnuUndo_Click();
    EXPECT_EQ(slots.dib[1], Dib(2, 2, 11));
    EXPECT_EQ(fs.files[SlotPicturePath(4)], BitmapFileOf(Dib(2, 2, 10)));
}

TEST_F(PictureCommandsTest, ADropWithoutAFileListDoesNothing) {
    Start();
    DropContent text;
    text.text = L"C:\\pics\\a.gif";
    form.imgPic_OLEDragDrop(3, text);
    form.imgPic_OLEDragDrop(12, text);
    EXPECT_TRUE(slots.loaded.empty());
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(PictureCommandsTest, ASlotsOwnFileAndTheUndoFileCanBeDropped) {
    const std::string three = BitmapFileOf(Dib(2, 2, 3)), kept = BitmapFileOf(Dib(2, 2, 77));
    fs.files[SlotPicturePath(2)] = three;
    fs.files[SlotPicturePath(5)] = BitmapFileOf(Dib(2, 2, 6));
    fs.files[undo] = kept;
    Start();
    // The undo file is read before it is replaced by slot 6's old file.
    DropFiles(5, {undo});
    EXPECT_EQ(slots.dib[5], Dib(2, 2, 77));
    EXPECT_EQ(fs.files[SlotPicturePath(5)], kept);
    EXPECT_EQ(fs.files[undo], BitmapFileOf(Dib(2, 2, 6)));
    // A slot's own file: rewritten, its previous copy in the undo file.
    DropFiles(2, {SlotPicturePath(2)});
    EXPECT_EQ(slots.dib[2], Dib(2, 2, 3));
    EXPECT_EQ(fs.files[SlotPicturePath(2)], three);
    EXPECT_EQ(fs.files[undo], three);
}

TEST_F(PictureCommandsTest, AStoreThatFailsPutsTheSlotBackAndSaysWhere) {
    const std::string before = BitmapFileOf(Dib(2, 2, 10));
    fs.files[SlotPicturePath(3)] = before;
    fs.files[undo] = BitmapFileOf(Dib(1, 1, 1));
    fs.files[L"C:\\new.png"] = OtherFormat(Dib(4, 4, 50));
    fs.readOnly.insert(SlotPicturePath(3) + L".new");
    Start();
    const auto files = fs.files;
    DropFiles(3, {L"C:\\new.png"});
    EXPECT_EQ(fs.files, files);
    EXPECT_EQ(slots.dib[3], Dib(2, 2, 10));
    EXPECT_FALSE(UndoEnabled());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              L"The picture could not be stored in\r\nC:\\ClipPics\\pic4.bmp\r\n\r\n"
              L"Access is denied.");
    EXPECT_EQ(prompt.messages[0].icon, Prompt::Icon::kExclamation);
}

TEST_F(PictureCommandsTest, ADragOutPutsThePictureOnTheClipboardAndOffersTheFile) {
    fs.files[SlotPicturePath(1)] = BitmapFileOf(Dib(3, 2, 8));
    Start();
    clipboard.text = L"before";
    const DragOffer offer = form.imgPic_OLEStartDrag(1);
    EXPECT_EQ(clipboard.picture, Dib(3, 2, 8));
    EXPECT_FALSE(clipboard.text);
    EXPECT_EQ(offer.files, std::vector<std::wstring>{L"C:\\ClipPics\\pic2.bmp"});
    EXPECT_FALSE(offer.text);
    EXPECT_EQ(view.clipboardText, L"Picture");

    // An empty slot empties the clipboard and offers no file that is not there.
    clipboard.text = L"before";
    EXPECT_TRUE(form.imgPic_OLEStartDrag(7).Empty());
    EXPECT_FALSE(clipboard.text);
    EXPECT_FALSE(clipboard.picture);
    EXPECT_EQ(view.clipboardText, L"");
}

TEST_F(PictureCommandsTest, PreviewShowsTheSlotsPictureFromEveryPlace) {
    fs.files[SlotPicturePath(0)] = BitmapFileOf(Dib(3, 2, 8));
    fs.files[SlotPicturePath(9)] = BitmapFileOf(Dib(3, 2, 9));
    Start();
    form.imgPic_DblClick(0);
    form.lblPic_Click(9);
    form.Box_MouseDown(9, 2);
    form.popPreview_Click();
    EXPECT_EQ(windows.previews,
              (std::vector<std::wstring>{L"C:\\ClipPics\\pic1.bmp", L"C:\\ClipPics\\pic10.bmp",
                                         L"C:\\ClipPics\\pic10.bmp"}));
    // An empty slot has nothing to show.
    form.imgPic_DblClick(4);
    form.lblPic_Click(-1);
    EXPECT_EQ(windows.previews.size(), 3u);
    // Exit closes it, with the print window.
    form.FormUnload();
    EXPECT_EQ(windows.Count("close preview or print"), 2);
}

class WallpaperTest : public PictureCommandsTest {
  protected:
    void SetUp() override {
        PictureCommandsTest::SetUp();
        fs.files[SlotPicturePath(2)] = BitmapFileOf(Dib(4, 2, 30));
        fs.files[SlotPicturePath(5)] = BitmapFileOf(Dib(2, 4, 60));
        Start();
    }
    void SetWallpaperFrom(int slot) {
        form.Box_MouseDown(slot, 2);
        form.popWallpaper_Click();
    }
    const std::wstring root = L"C:\\WallPaper.BMP";
    const std::wstring local = L"C:\\Users\\me\\AppData\\Local\\WallPaper.BMP";
};

TEST_F(WallpaperTest, TheFileIsWrittenBeforeTheSystemIsAskedToKeepIt) {
    SetWallpaperFrom(2);
    ASSERT_EQ(wallpaper.calls.size(), 1u);
    EXPECT_EQ(wallpaper.calls[0].path, root);
    EXPECT_TRUE(wallpaper.calls[0].persist);
    EXPECT_EQ(wallpaper.calls[0].fileThen, BitmapFileOf(Dib(4, 2, 30)));
    // The second one replaces the file.
    SetWallpaperFrom(5);
    EXPECT_EQ(fs.files[root], BitmapFileOf(Dib(2, 4, 60)));
    ASSERT_EQ(wallpaper.calls.size(), 2u);
    EXPECT_EQ(wallpaper.calls[1].path, root);
    EXPECT_FALSE(fs.files.count(local));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(WallpaperTest, ARootThatRefusesTheFileSendsItToTheLocalDataFolder) {
    fs.readOnly.insert(root);
    SetWallpaperFrom(5);
    EXPECT_FALSE(fs.files.count(root));
    EXPECT_EQ(fs.files[local], BitmapFileOf(Dib(2, 4, 60)));
    ASSERT_EQ(wallpaper.calls.size(), 1u);
    EXPECT_EQ(wallpaper.calls[0].path, local);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(WallpaperTest, NowhereToWriteIsToldAndTheSystemIsNotAsked) {
    fs.readOnly.insert(root);
    fs.readOnly.insert(local);
    SetWallpaperFrom(2);
    EXPECT_TRUE(wallpaper.calls.empty());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].icon, Prompt::Icon::kExclamation);
    EXPECT_EQ(prompt.messages[0].text,
              L"The wallpaper file could not be written:\r\n\r\n"
              L"C:\\WallPaper.BMP\r\nAccess is denied.\r\n\r\n" +
                  local + L"\r\nAccess is denied.");

    // No local folder known: only the root is named.
    prompt.messages.clear();
    wallpaper.localFolder.clear();
    SetWallpaperFrom(2);
    EXPECT_TRUE(wallpaper.calls.empty());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              L"The wallpaper file could not be written:\r\n\r\n"
              L"C:\\WallPaper.BMP\r\nAccess is denied.");
}

TEST_F(WallpaperTest, ASystemThatRefusesIsTold) {
    wallpaper.refusal = L"The parameter is incorrect.";
    SetWallpaperFrom(2);
    ASSERT_EQ(wallpaper.calls.size(), 1u);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              L"Windows did not take the picture as the desktop wallpaper:\r\n"
              L"C:\\WallPaper.BMP\r\n\r\nThe parameter is incorrect.");
}

TEST_F(WallpaperTest, AnEmptySlotLeavesTheWallpaperAlone) {
    SetWallpaperFrom(8);
    EXPECT_TRUE(wallpaper.calls.empty());
    EXPECT_FALSE(fs.files.count(root));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              L"Picture 9 is empty: there is no picture to set as the wallpaper.");
}

}  // namespace
}  // namespace quillet
