// The picture slots' commands over fakes: what a drop decides and changes,
// the drag out of a slot, the preview and Set as Wallpaper.
#include <gtest/gtest.h>

#include "pictures/picture_files.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

using testing::Dib;
using testing::OtherFormat;

class PictureCommandsTest : public MainFormTest {
  protected:
    const std::wstring undo = std::wstring(kUndoPicturePath);

    void SetUp() override {
        fs.folders.insert(L"C:\\");
        Store("Settings", "askImport", L"1");
    }
    // Starts the program on the Pictures store, as the slot files stand.
    void Start() {
        StartIn(0);
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

// A drop reads only the first of its files, whatever their extensions; it
// and the Paste button store the picture as a bitmap, and the old one in
// the undo file. Only the button makes a sound.
TEST_F(PictureCommandsTest, ADropOrAPasteStoresThePictureAndKeepsTheOldForUndo) {
    const std::string before = BitmapFileOf(Dib(2, 2, 10));
    fs.files[SlotPicturePath(2)] = before;
    fs.files[L"C:\\pics\\a.gif"] = OtherFormat(Dib(5, 3, 20));
    fs.files[L"C:\\pics\\b.jpg"] = OtherFormat(Dib(5, 3, 30));
    Start();
    for (const bool paste : {false, true}) {
        SCOPED_TRACE(paste ? "paste" : "drop");
        ASSERT_EQ(slots.dib[2], Dib(2, 2, 10));
        const int fits = slots.fitted[2], beeps = view.beeps;
        if (paste) {
            clipboard.picture = Dib(5, 3, 20);
            keys.down = {kKeyC};  // not consulted here
            form.picPaste_Click(2);
        } else {
            DropFiles(2, {L"C:\\pics\\a.gif", L"C:\\pics\\b.jpg", L"C:\\pics\\missing.png"});
            EXPECT_EQ(slots.loaded, std::vector<std::wstring>{L"C:\\pics\\a.gif"});
        }
        EXPECT_EQ(slots.dib[2], Dib(5, 3, 20));
        EXPECT_GT(slots.fitted[2], fits);
        EXPECT_EQ(fs.files[SlotPicturePath(2)], BitmapFileOf(Dib(5, 3, 20)));
        EXPECT_EQ(fs.files[undo], before);
        EXPECT_FALSE(fs.files.count(SlotPicturePath(2) + L".new"));
        EXPECT_TRUE(UndoEnabled());
        EXPECT_EQ(view.clipboardText, L"Picture");
        EXPECT_TRUE(prompt.messages.empty());
        EXPECT_EQ(view.beeps, beeps + paste);

        form.mnuUndo_Click();
        EXPECT_EQ(slots.dib[2], Dib(2, 2, 10));
        EXPECT_EQ(fs.files[SlotPicturePath(2)], before);
        EXPECT_FALSE(UndoEnabled());
    }
}

// A drop on an empty slot or the Clear of one leaves no undo file: Undo
// would bring back another slot's picture.
TEST_F(PictureCommandsTest, AnEmptySlotLeavesNoUndoFileAndUndoEmptiesIt) {
    fs.files[L"C:\\x.jpg"] = OtherFormat(Dib(3, 3, 40));
    Start();
    for (const bool clear : {false, true}) {
        fs.files[undo] = BitmapFileOf(Dib(1, 1, 99));  // another slot's, from before
        if (clear) {
            form.Box_MouseDown(5, 2);
            EXPECT_EQ(slots.popups, 1);
            form.popDelete_Click();
        } else {
            DropFiles(6, {L"C:\\x.jpg"});
            EXPECT_EQ(fs.files[SlotPicturePath(6)], BitmapFileOf(Dib(3, 3, 40)));
        }
        EXPECT_FALSE(fs.files.count(undo));
        form.popUndo_Click();
        const int slot = clear ? 5 : 6;
        EXPECT_TRUE(slots.dib[slot].empty());
        EXPECT_FALSE(fs.files.count(SlotPicturePath(slot)));
    }
}

// Text alone, or a picture of a kind the slot cannot show, leaves it empty
// until Undo brings the old picture back.
TEST_F(PictureCommandsTest, APasteWithoutAPictureItCanShowEmptiesTheSlotUntilUndo) {
    const std::string old = BitmapFileOf(Dib(2, 1, 10));
    fs.files[SlotPicturePath(0)] = fs.files[SlotPicturePath(4)] = old;
    Start();
    for (const bool picture : {false, true}) {
        SCOPED_TRACE(picture ? "a picture it cannot show" : "text only");
        const int slot = picture ? 4 : 0;
        slots.readsDibs = !picture;
        clipboard.text = picture ? std::nullopt : std::optional<std::wstring>(L"only text");
        clipboard.picture = picture ? std::optional(Dib(2, 1, 200)) : std::nullopt;
        form.picPaste_Click(slot);
        EXPECT_TRUE(slots.dib[slot].empty());
        EXPECT_FALSE(fs.files.count(SlotPicturePath(slot)));
        slots.readsDibs = true;
        form.mnuUndo_Click();
        EXPECT_EQ(fs.files[SlotPicturePath(slot)], old);
        EXPECT_EQ(slots.dib[slot], Dib(2, 1, 10));
    }
}

TEST_F(PictureCommandsTest, AnUndoFileThatCannotBeReadKeepsTheSlotAsItIs) {
    fs.files[SlotPicturePath(3)] = BitmapFileOf(Dib(2, 1, 10));
    Start();
    clipboard.picture = Dib(2, 1, 200);
    form.picPaste_Click(3);
    ASSERT_TRUE(fs.files.count(undo));
    fs.files[undo] = "damaged meanwhile";
    form.mnuUndo_Click();
    EXPECT_EQ(slots.dib[3], Dib(2, 1, 200));
    EXPECT_EQ(fs.files[SlotPicturePath(3)], BitmapFileOf(Dib(2, 1, 200)));
    EXPECT_FALSE(view.enabled[IDM_UNDO]);
}

// An undo file that cannot be removed (read-only, or held by a viewer) holds
// another picture: Undo is not offered, and a drop, which would leave the
// old picture nowhere, is refused naming it.
TEST_F(PictureCommandsTest, AnUndoFileThatCannotBeReplacedOffersNoUndo) {
    const std::string stale = BitmapFileOf(Dib(1, 1, 99)), before = BitmapFileOf(Dib(2, 2, 10));
    fs.files[L"C:\\new.png"] = OtherFormat(Dib(4, 4, 50));
    fs.files[undo] = stale;
    fs.readOnly.insert(undo);
    for (int slot : {3, 4, 5}) fs.files[SlotPicturePath(slot)] = before;
    Start();

    clipboard.picture = Dib(2, 1, 200);
    form.picPaste_Click(3);
    EXPECT_EQ(fs.files[SlotPicturePath(3)], BitmapFileOf(Dib(2, 1, 200)));
    EXPECT_FALSE(UndoEnabled());

    form.Box_MouseDown(4, 2);
    form.popDelete_Click();
    EXPECT_FALSE(fs.files.count(SlotPicturePath(4)));
    EXPECT_FALSE(UndoEnabled());

    DropFiles(5, {L"C:\\new.png"});
    EXPECT_EQ(fs.files[SlotPicturePath(5)], before);
    EXPECT_EQ(slots.dib[5], Dib(2, 2, 10));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].text.find(
                  L"The undo copy C:\\ClipPics\\picUndo.bmp cannot be replaced: Access is denied."),
              std::wstring::npos);
    EXPECT_FALSE(UndoEnabled());

    form.mnuUndo_Click();
    EXPECT_EQ(fs.files[undo], stale);
    for (int slot : {3, 4}) EXPECT_NE(slots.dib[slot], Dib(1, 1, 99)) << slot;
}

// A pasted picture that cannot be written is told, and Undo still brings
// back the old one.
TEST_F(PictureCommandsTest, APasteThatCannotBeStoredSaysWhereAndCanBeUndone) {
    fs.files[SlotPicturePath(2)] = BitmapFileOf(Dib(2, 2, 10));
    fs.readOnly.insert(SlotPicturePath(2));
    Start();
    clipboard.picture = Dib(2, 1, 200);
    form.picPaste_Click(2);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              L"The picture could not be stored in\r\nC:\\ClipPics\\pic3.bmp\r\n\r\n"
              L"Access is denied.");
    ASSERT_TRUE(UndoEnabled());
    form.mnuUndo_Click();
    EXPECT_EQ(slots.dib[2], Dib(2, 2, 10));
}

TEST_F(PictureCommandsTest, TextCommandsDoNothingHere) {
    Start();
    view.active = BoxRef{BoxRef::Kind::kTitle, 0};
    clipboard.text = L"kept";
    form.mnuCut_Click();
    form.mnuPaste_Click();
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(clipboard.text, L"kept");
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
        EXPECT_EQ(prompt.messages[0].text,
                  L"Sorry but that file is either not a valid picture file or not supported\r\n"
                  L"Or otherwise there is no picture here to display");
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

// The drag out of a thumbnail, the Copy button and the pop-up's Copy; the
// pop-up offers no drag, and only the drag refreshes the clipboard line.
TEST_F(PictureCommandsTest, CopyPutsThePictureOnTheClipboardAndOffersTheFile) {
    fs.files[SlotPicturePath(1)] = BitmapFileOf(Dib(3, 2, 8));
    Start();
    for (const char* way : {"drag", "button", "pop-up"}) {
        SCOPED_TRACE(way);
        auto copy = [&](int i) {
            if (way[0] == 'd') return form.imgPic_OLEStartDrag(i);
            if (way[0] == 'b') return form.picCopy_OLEStartDrag(i);
            form.Box_MouseDown(i, 2);
            form.popCopy_Click();
            return DragOffer{std::nullopt, {SlotPicturePath(i)}};
        };
        clipboard.text = L"before";
        const DragOffer offer = copy(1);
        EXPECT_EQ(clipboard.picture, Dib(3, 2, 8));
        EXPECT_FALSE(clipboard.text);
        EXPECT_EQ(offer.files, std::vector<std::wstring>{L"C:\\ClipPics\\pic2.bmp"});
        EXPECT_FALSE(offer.text);
        EXPECT_EQ(view.clipboardText, way[0] == 'd' ? L"Picture" : L"");

        // An empty slot empties the clipboard and offers no file that is not there.
        clipboard.text = L"before";
        EXPECT_EQ(copy(7).files.empty(), way[0] != 'p');
        EXPECT_FALSE(clipboard.text);
        EXPECT_FALSE(clipboard.picture);
        EXPECT_EQ(view.clipboardText, L"");
        EXPECT_TRUE(prompt.messages.empty());
    }
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

// The file is written, to the drive root or else the local data folder,
// before the system is asked to keep it; every failure is told.
TEST_F(PictureCommandsTest, SetAsWallpaperWritesTheFileThenAsksTheSystem) {
    const std::wstring root = L"C:\\WallPaper.BMP";
    const std::wstring local = L"C:\\Users\\me\\AppData\\Local\\WallPaper.BMP";
    const std::wstring rootDenied =
        L"The wallpaper file could not be written:\r\n\r\n" + root + L"\r\nAccess is denied.";
    const std::wstring bothDenied = rootDenied + L"\r\n\r\n" + local + L"\r\nAccess is denied.";
    const std::wstring refused = L"Windows did not take the picture as the desktop wallpaper:\r\n" +
                                 root + L"\r\n\r\nThe parameter is incorrect.";
    const std::wstring empty = L"Picture 9 is empty: there is no picture to set as the wallpaper.";
    const struct {
        int slot, denied;  // 1: the root refuses the file, 2: the local folder too
        bool localKnown;
        std::wstring refusal, asked, told;
    } cases[] = {
        {2, 0, true, L"", root, L""},
        {5, 1, true, L"", local, L""},
        {2, 2, true, L"", L"", bothDenied},
        {2, 2, false, L"", L"", rootDenied},
        {2, 0, true, L"The parameter is incorrect.", root, refused},
        {8, 0, true, L"", L"", empty},
    };
    fs.files[SlotPicturePath(2)] = BitmapFileOf(Dib(4, 2, 30));
    fs.files[SlotPicturePath(5)] = BitmapFileOf(Dib(2, 4, 60));
    fs.files[root] = "an older wallpaper";
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        fs.readOnly.clear();
        if (c.denied > 0) fs.readOnly.insert(root);
        if (c.denied > 1) fs.readOnly.insert(local);
        wallpaper.localFolder = c.localKnown ? L"C:\\Users\\me\\AppData\\Local" : L"";
        wallpaper.refusal.reset();
        if (!c.refusal.empty()) wallpaper.refusal = c.refusal;
        wallpaper.calls.clear();
        prompt.messages.clear();
        form.Box_MouseDown(c.slot, 2);
        form.popWallpaper_Click();
        if (c.asked.empty()) {
            EXPECT_TRUE(wallpaper.calls.empty());
        } else {
            ASSERT_EQ(wallpaper.calls.size(), 1u);
            EXPECT_EQ(wallpaper.calls[0].path, c.asked);
            EXPECT_TRUE(wallpaper.calls[0].persist);
            EXPECT_EQ(wallpaper.calls[0].fileThen, fs.files[SlotPicturePath(c.slot)]);
        }
        ASSERT_EQ(prompt.messages.size(), c.told.empty() ? 0u : 1u);
        if (c.told.empty()) continue;
        EXPECT_EQ(prompt.messages[0].text, c.told);
        EXPECT_EQ(prompt.messages[0].icon,
                  c.slot == 8 ? Prompt::Icon::kInformation : Prompt::Icon::kExclamation);
    }
    EXPECT_EQ(fs.files[root], BitmapFileOf(Dib(4, 2, 30)));
}

}  // namespace
}  // namespace quillet
