// Copy and Paste buttons, drops, undo, the Edit menu, the picture pop-up and
// the commands that hand things to the desktop.
#include <gtest/gtest.h>

#include "pictures/fake_pictures.h"
#include "pictures/picture_files.h"
#include "resource.h"
#include "support/main_form_fixture.h"
#include "util/ModuleIP.h"
#include "util/shell_launch.h"

namespace quillet {
namespace {

class SlotTest : public MainFormTest {
  protected:
    void SetUp() override {
        fs.folders.insert(L"C:\\");
        fs.files[kIni] = "[Settings]\r\nStoreNumber=3\r\nSounds=1\r\n";
        form.FormLoad(kFolder);
        ASSERT_EQ(form.CurrentStore(), 3);
    }
    bool UndoEnabled() { return view.enabled[IDM_UNDO]; }
    const BoxRef text(int i) { return {BoxRef::Kind::kText, i}; }
    const BoxRef title(int i) { return {BoxRef::Kind::kTitle, i}; }
    // The slot holds an older picture, and an undo file would load.
    void Holding(int slot) {
        fs.files[SlotPicturePath(slot)] = old;
        view.readableFiles[undo] = true;
    }
    const std::wstring undo = std::wstring(kUndoPicturePath);
    const std::string old = BitmapFileOf(testing::Dib(2, 1, 10));
};

TEST_F(SlotTest, PlainCopyPutsTheTextOnClipboardAndDrag) {
    view.text[4] = L"Hello, world";
    const int beeps = view.beeps;
    const DragOffer offer = form.picCopy_OLEStartDrag(4);
    EXPECT_EQ(clipboard.text, L"Hello, world");
    EXPECT_EQ(form.CopiedText(), L"Hello, world");
    ASSERT_TRUE(offer.text);
    EXPECT_EQ(*offer.text, L"Hello, world");
    EXPECT_TRUE(offer.files.empty());
    EXPECT_EQ(view.beeps, beeps + 1);
    EXPECT_EQ(view.clipboardLength, L"12 Chars");

    view.text[5].clear();
    form.picCopy_OLEStartDrag(5);
    EXPECT_EQ(clipboard.text, L"");
    EXPECT_EQ(view.clipboardText, L"");
    EXPECT_EQ(view.clipboardLength, L"0 Chars");
}

TEST_F(SlotTest, ShiftOnAWebAddressOffersAShortcutKeepingTheCapitals) {
    view.text[0] = L"HTTP://Example.org/Path";
    clipboard.text = L"kept";
    keys.down = {kKeyShift};
    const DragOffer offer = form.picCopy_OLEStartDrag(0);
    ASSERT_EQ(offer.files.size(), 1u);
    EXPECT_EQ(offer.files[0], L"C:\\Internet Shortcut.url");
    EXPECT_FALSE(offer.text);
    EXPECT_EQ(fs.files[L"C:\\Internet Shortcut.url"],
              "[InternetShortcut]\r\nurl=HTTP://Example.org/Path\r\n");
    EXPECT_EQ(clipboard.text, L"kept");

    view.text[1] = L"www.example.org";
    EXPECT_EQ(form.picCopy_OLEStartDrag(1).files.size(), 1u);
}

TEST_F(SlotTest, ShiftOnOtherTextsOffersNothing) {
    clipboard.text = L"kept";
    keys.down = {kKeyShift, kKeyControl};  // Shift wins over Ctrl
    for (const wchar_t* t : {L" http://example.org", L"ftp://example.org", L"htt", L""}) {
        view.text[2] = t;
        EXPECT_TRUE(form.picCopy_OLEStartDrag(2).Empty()) << t;
    }
    EXPECT_EQ(clipboard.text, L"kept");
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_FALSE(fs.files.count(L"C:\\Internet Shortcut.url"));
}

TEST_F(SlotTest, ShortcutFallsBackToTheTemporaryFolderWhenTheRootIsClosed) {
    fs.readOnly.insert(L"C:\\Internet Shortcut.url");
    view.text[0] = L"https://example.org";
    keys.down = {kKeyShift};
    DragOffer offer = form.picCopy_OLEStartDrag(0);
    ASSERT_EQ(offer.files.size(), 1u);
    EXPECT_EQ(offer.files[0], L"C:\\Users\\me\\Temp\\Internet Shortcut.url");
    EXPECT_TRUE(fs.files.count(offer.files[0]));

    // Written nowhere: the drag offers no file that does not exist.
    fs.readOnly.insert(L"C:\\Users\\me\\Temp\\Internet Shortcut.url");
    fs.files.clear();
    offer = form.picCopy_OLEStartDrag(0);
    EXPECT_TRUE(offer.Empty());
}

TEST_F(SlotTest, CtrlOpensTheTrimmedTextAsItStands) {
    view.text[3] = L"  C:\\Docs\\Report.TXT  ";
    clipboard.text = L"kept";
    keys.down = {kKeyControl, kKeyA};  // Ctrl wins over A
    const DragOffer offer = form.picCopy_OLEStartDrag(3);
    EXPECT_TRUE(offer.Empty());
    EXPECT_EQ(shell.Opened(), std::vector<std::wstring>{L"C:\\Docs\\Report.TXT"});
    EXPECT_EQ(clipboard.text, L"kept");
    EXPECT_TRUE(clock.waits.empty());
}

TEST_F(SlotTest, AOpensEverySlotWithAPauseAfterEach) {
    view.text[0] = L"https://a.example/";
    view.text[6] = L" notes.txt ";
    const int beeps = view.beeps;
    keys.down = {kKeyA};
    EXPECT_TRUE(form.picCopy_OLEStartDrag(9).Empty());
    // Empty slots open nothing.
    EXPECT_EQ(shell.Opened(), (std::vector<std::wstring>{L"https://a.example/", L"notes.txt"}));
    EXPECT_EQ(clock.waits, std::vector<int>(10, 500));
    EXPECT_EQ(view.pumps, 10);
    EXPECT_EQ(view.activations, 1);
    EXPECT_EQ(view.beeps, beeps + 1);
}

TEST_F(SlotTest, CopySlotCopiesTextStoresOnly) {
    view.text[7] = L"seven";
    form.CopySlot(7);
    EXPECT_EQ(clipboard.text, L"seven");
    EXPECT_EQ(view.clipboardText, L"seven");

    form.lblStore_Click(0);
    clipboard.text = L"kept";
    form.CopySlot(7);
    form.PasteSlot(7);
    EXPECT_EQ(clipboard.text, L"kept");
}

TEST_F(SlotTest, FillKeysDecideInTheirOrder) {
    struct Case {
        std::set<int> keys;
        std::wstring expected;
    };
    resolver.hosts["quillet-host"] = {{192, 168, 0, 5}};
    const Case cases[] = {
        {{kKeyD, kKeyT}, L"07/12/2026"},    {{kKeyT, kKeyC}, L"13:05:09"}, {{kKeyC, kKeyN}, L""},
        {{kKeyN}, L"13:05:09  07/12/2026"}, {{kKeyI}, L"192.168.0.5"},
    };
    clipboard.text = L"clipboard";
    for (const Case& c : cases) {
        view.text[2] = L"before";
        keys.down = c.keys;
        const int beeps = view.beeps;
        form.picPaste_Click(2);
        EXPECT_EQ(view.text[2], c.expected);
        EXPECT_EQ(view.beeps, beeps);  // no sound, no clipboard use
    }
    EXPECT_EQ(clipboard.text, L"clipboard");
}

TEST_F(SlotTest, PlainPasteThenUndoRestores) {
    view.text[1] = L"old";
    clipboard.text = L"new text";
    form.picPaste_Click(1);
    EXPECT_EQ(view.text[1], L"new text");
    EXPECT_EQ(form.PastedText(), L"new text");
    EXPECT_TRUE(UndoEnabled());
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[1], L"old");
    EXPECT_FALSE(UndoEnabled());

    // An empty clipboard clears the slot, as C held does; Undo brings it back.
    clipboard.text.reset();
    form.picPaste_Click(1);
    EXPECT_EQ(view.text[1], L"");
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[1], L"old");
    clipboard.text = L"new text";
    keys.down = {kKeyC};
    form.picPaste_Click(1);
    EXPECT_EQ(view.text[1], L"");
    EXPECT_TRUE(UndoEnabled());
    keys.down.clear();
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[1], L"old");
}

TEST_F(SlotTest, DropsReplaceTheWholeText) {
    view.text[4] = L"old";
    form.txt_OLEDragDrop(4, DropContent{false, L"", L"dropped text"});
    EXPECT_EQ(view.text[4], L"dropped text");
    const int beeps = view.beeps;
    form.txt_OLEDragDrop(4, DropContent{true, L"C:\\a\\first.txt", std::nullopt});
    EXPECT_EQ(view.text[4], L"C:\\a\\first.txt");
    EXPECT_EQ(view.beeps, beeps + 1);
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[4], L"dropped text");
}

TEST_F(SlotTest, FocusRulesMoveTheUndoTarget) {
    view.text[0] = L"one";
    view.text[1] = L"two";
    clipboard.text = L"pasted";
    form.picPaste_Click(0);  // target: slot 1 holding "pasted"
    ASSERT_TRUE(UndoEnabled());

    form.txt_GotFocus(1);  // a different text: slot 2 becomes the target
    EXPECT_FALSE(UndoEnabled());
    EXPECT_FALSE(view.enabled[IDM_POPUNDO]);
    view.text[1] = L"two!";  // typing
    form.txt_Change(1);
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[1], L"two");
    EXPECT_EQ(view.text[0], L"pasted");

    // The same text as the target: nothing changes.
    view.text[5] = L"two";
    form.txt_Change(1);
    form.txt_GotFocus(5);
    EXPECT_TRUE(UndoEnabled());
}

TEST_F(SlotTest, PasteIntoATitleAndUndo) {
    view.title[3] = L"Label";
    view.active = title(3);
    view.selStart = 5;
    clipboard.text = L" more";
    form.mnuPaste_Click();
    EXPECT_EQ(view.title[3], L"Label more");
    form.mnuUndo_Click();
    EXPECT_EQ(view.title[3], L"Label");
}

TEST_F(SlotTest, CutRestoresTheWholeBoxOnUndo) {
    view.text[2] = L"keep CUT keep";
    view.active = text(2);
    view.selStart = 5;
    view.selLength = 3;
    form.mnuCut_Click();
    EXPECT_EQ(clipboard.text, L"CUT");
    EXPECT_EQ(view.text[2], L"keep  keep");
    EXPECT_EQ(view.clipboardText, L"");  // not refreshed
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[2], L"keep CUT keep");

    // Nothing selected: the clipboard's text is emptied, the box kept.
    view.selLength = 0;
    form.mnuCut_Click();
    EXPECT_EQ(clipboard.text, L"");
    EXPECT_EQ(view.text[2], L"keep CUT keep");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(SlotTest, EditCommandsWithoutASlotBox) {
    view.active.reset();
    clipboard.text = L"kept";
    form.mnuCut_Click();
    form.mnuPaste_Click();
    form.mnuCopy_Click();
    form.mnuSelectAll_Click();
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].title, L"Cut");
    EXPECT_EQ(prompt.messages[0].text, L"Nothing was selected to Cut");
    EXPECT_EQ(prompt.messages[0].icon, Prompt::Icon::kNone);
    EXPECT_EQ(prompt.messages[1].title, L"Error pasting");
    EXPECT_EQ(prompt.messages[1].text,
              L"Error - You need to place the curser inside a text box to paste");
    EXPECT_EQ(clipboard.text, L"kept");
}

TEST_F(SlotTest, CopyAndSelectAllReachTheWholeText) {
    view.text[8] = std::wstring(40000, L'x') + L"END";
    view.active = text(8);
    form.mnuSelectAll_Click();
    EXPECT_EQ(view.selStart, 0u);
    EXPECT_EQ(view.selLength, 40003u);
    form.mnuCopy_Click();
    ASSERT_TRUE(clipboard.text);
    EXPECT_EQ(clipboard.text->size(), 40003u);
    EXPECT_EQ(view.clipboardLength, L"40003 Chars");
}

TEST_F(SlotTest, ClearCommandsOfThisStoreAsk) {
    for (int i = 0; i < 10; ++i) {
        view.text[i] = L"t" + std::to_wstring(i);
        view.title[i] = L"l" + std::to_wstring(i);
    }
    prompt.answers = {false, true};
    form.mnuClearLabels_Click();
    EXPECT_EQ(view.title[0], L"l0");
    form.mnuClearLabels_Click();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(view.title[i], L"") << i;
    EXPECT_EQ(view.text[9], L"t9");
    ASSERT_EQ(prompt.confirmations.size(), 2u);
    EXPECT_EQ(prompt.confirmations[0].title, L"Confirm Delete");
    EXPECT_EQ(prompt.confirmations[0].text,
              L"Are you sure you want to delete all the 'Labels' of this store ?\r\n"
              L"This action cannot be undone");
    EXPECT_EQ(prompt.confirmations[0].buttons, Prompt::Buttons::kOkCancel);

    prompt.answers = {true};
    form.mnuClearContents_Click();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(view.text[i], L"") << i;
    EXPECT_FALSE(UndoEnabled());
    // Nothing of it reached the file: that waits for a save.
    EXPECT_FALSE(Present("Savings3", "txt(0)"));
}

TEST_F(SlotTest, ClearAllStoresWritesTheFileOnlyOnYes) {
    Store("Savings1", "txt(0)", L"one");
    Store("Savings15", "txttitle(9)", L"last");
    Store("Savings0", "txttitle(0)", L"picture title");
    Store("Settings", "StoreCaption2", L"Work");
    const std::string before = fs.files[kIni];
    prompt.answers = {false};
    form.mnuClearAll_Click();
    EXPECT_EQ(fs.files[kIni], before);
    EXPECT_EQ(prompt.confirmations.back().buttons, Prompt::Buttons::kYesNo);

    prompt.answers = {true};
    form.mnuClearAllStoresXLabels_Click();
    EXPECT_EQ(Stored("Savings1", "txt(0)"), L"");
    EXPECT_EQ(Stored("Savings15", "txttitle(9)"), L"last");

    view.title[0] = L"shown";
    prompt.answers = {true};
    form.mnuClearAll_Click();
    EXPECT_EQ(Stored("Savings15", "txttitle(9)"), L"");
    EXPECT_EQ(view.title[0], L"");
    EXPECT_EQ(Stored("Savings0", "txttitle(0)"), L"picture title");
    EXPECT_EQ(Stored("Settings", "StoreCaption2"), L"Work");
}

TEST_F(SlotTest, ClearAllThatCannotWriteSaysSoAndKeepsTheWindow) {
    fs.readOnly.insert(kIni);
    view.text[0] = L"still here";
    prompt.answers = {true};
    form.mnuClearAll_Click();
    EXPECT_EQ(view.text[0], L"still here");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].text.find(kIni), std::wstring::npos);
}

TEST_F(SlotTest, UndoNeverCrossesAStoreSwitch) {
    view.text[0] = L"store three";
    clipboard.text = L"pasted";
    form.picPaste_Click(0);
    form.submnustore_Click(4);
    ASSERT_EQ(view.text[0], L"");
    EXPECT_FALSE(UndoEnabled());
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[0], L"");  // not the other store's text
}

// Undo of a text slot must not become an Undo of picture slot 1 with
// whatever undo file an earlier session left.
TEST_F(SlotTest, AMenuChoiceOfThePicturesStoreLeavesNothingToUndo) {
    fs.files[SlotPicturePath(0)] = old;
    fs.files[undo] = BitmapFileOf(testing::Dib(2, 1, 99));
    view.readableFiles[SlotPicturePath(0)] = true;
    view.readableFiles[undo] = true;
    clipboard.text = L"pasted";
    form.picPaste_Click(0);
    ASSERT_TRUE(UndoEnabled());
    form.submnustore_Click(0);
    EXPECT_FALSE(UndoEnabled());
    EXPECT_FALSE(view.enabled[IDM_POPUNDO]);
    form.mnuUndo_Click();
    EXPECT_EQ(view.picture[0], SlotPicturePath(0));
    EXPECT_EQ(fs.files[SlotPicturePath(0)], old);
}

class PictureSlotTest : public SlotTest {
  protected:
    void SetUp() override {
        SlotTest::SetUp();
        form.lblStore_Click(0);
        ASSERT_EQ(form.CurrentStore(), 0);
    }
};

TEST_F(PictureSlotTest, PasteKeepsTheOldPictureForUndo) {
    Holding(2);
    clipboard.picture = testing::Dib(2, 1, 200);
    keys.down = {kKeyC};  // not consulted here
    form.picPaste_Click(2);
    EXPECT_EQ(view.dib[2], testing::Dib(2, 1, 200));
    EXPECT_EQ(fs.files[SlotPicturePath(2)], BitmapFileOf(testing::Dib(2, 1, 200)));
    EXPECT_EQ(fs.files[undo], old);
    EXPECT_EQ(view.clipboardText, L"Picture");
    EXPECT_TRUE(UndoEnabled());
    EXPECT_TRUE(view.enabled[IDM_POPUNDO]);

    form.mnuUndo_Click();
    EXPECT_EQ(view.picture[2], undo);
    EXPECT_EQ(fs.files[SlotPicturePath(2)], old);
    EXPECT_FALSE(UndoEnabled());
}

// Text alone, or a picture of a kind the slot cannot show, leaves it empty
// until Undo brings the old picture back.
TEST_F(PictureSlotTest, APasteWithoutAPictureItCanShowEmptiesTheSlotUntilUndo) {
    for (const bool picture : {false, true}) {
        SCOPED_TRACE(picture ? "a picture it cannot show" : "text only");
        const int slot = picture ? 4 : 0;
        Holding(slot);
        view.readsDibs = !picture;
        clipboard.text = picture ? std::nullopt : std::optional<std::wstring>(L"only text");
        clipboard.picture = picture ? std::optional(testing::Dib(2, 1, 200)) : std::nullopt;
        form.picPaste_Click(slot);
        EXPECT_TRUE(view.dib[slot].empty());
        EXPECT_FALSE(fs.files.count(SlotPicturePath(slot)));
        EXPECT_TRUE(fs.files.count(undo));
        form.mnuUndo_Click();
        EXPECT_EQ(fs.files[SlotPicturePath(slot)], old);
    }
}

TEST_F(PictureSlotTest, AnUndoFileThatCannotBeReadKeepsTheSlotAsItIs) {
    fs.files[SlotPicturePath(3)] = old;
    clipboard.picture = testing::Dib(2, 1, 200);
    form.picPaste_Click(3);
    ASSERT_TRUE(fs.files.count(undo));
    view.readableFiles[undo] = false;  // damaged meanwhile
    form.mnuUndo_Click();
    EXPECT_EQ(view.dib[3], testing::Dib(2, 1, 200));
    EXPECT_EQ(fs.files[SlotPicturePath(3)], BitmapFileOf(testing::Dib(2, 1, 200)));
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(PictureSlotTest, ClearOfAnEmptySlotLeavesNothingToUndo) {
    fs.files[undo] = BitmapFileOf(testing::Dib(2, 1, 1));  // an older undo
    view.readableFiles[undo] = true;
    form.Box_MouseDown(5, 2);
    EXPECT_EQ(view.popups, 1);
    form.popDelete_Click();
    EXPECT_FALSE(fs.files.count(undo));
    form.popUndo_Click();
    EXPECT_TRUE(view.dib[5].empty());
    EXPECT_FALSE(fs.files.count(SlotPicturePath(5)));
}

TEST_F(PictureSlotTest, CopyPutsThePictureAndOffersItsFile) {
    fs.files[SlotPicturePath(1)] = BitmapFileOf(testing::Dib(2, 1, 7));
    view.dib[1] = testing::Dib(2, 1, 7);
    const DragOffer offer = form.picCopy_OLEStartDrag(1);
    EXPECT_EQ(clipboard.picture, testing::Dib(2, 1, 7));
    ASSERT_EQ(offer.files.size(), 1u);
    EXPECT_EQ(offer.files[0], SlotPicturePath(1));

    // An empty slot: no message, no file offered.
    EXPECT_TRUE(form.picCopy_OLEStartDrag(4).Empty());
    EXPECT_TRUE(prompt.messages.empty());

    form.Box_MouseDown(1, 2);
    clipboard.text = L"x";
    form.popCopy_Click();
    EXPECT_EQ(clipboard.picture, testing::Dib(2, 1, 7));
}

TEST_F(PictureSlotTest, TextCommandsDoNothingHere) {
    view.active = BoxRef{BoxRef::Kind::kTitle, 0};
    clipboard.text = L"kept";
    form.mnuCut_Click();
    form.mnuPaste_Click();
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(clipboard.text, L"kept");
}

TEST(ButtonTips, TheTenthCopyTipHasNoBlank) {
    EXPECT_EQ(CopyButtonTip(0), L"1 Copy and/or Drag");
    EXPECT_EQ(CopyButtonTip(8), L"9 Copy and/or Drag");
    EXPECT_EQ(CopyButtonTip(9), L"10Copy and/or Drag");
    EXPECT_EQ(PasteButtonTip(9), L"10 Paste");
}

TEST(IPAddress, FormatsInResolverOrderWithoutATrailingSeparator) {
    testing::FakeResolver r;
    EXPECT_EQ(GetIPAddress(r), L"");  // the name does not resolve
    r.hosts["quillet-host"] = {};
    EXPECT_EQ(GetIPAddress(r), L"");
    r.hosts["quillet-host"] = {{10, 0, 0, 2}};
    EXPECT_EQ(GetIPAddress(r), L"10.0.0.2");
    r.hosts["quillet-host"] = {{192, 168, 0, 5}, {127, 0, 0, 1}, {192, 168, 0, 5}};
    EXPECT_EQ(GetIPAddress(r), L"192.168.0.5, 127.0.0.1, 192.168.0.5");
    EXPECT_EQ(FormatAddresses({{0, 255, 7, 10}}), L"0.255.7.10");

    r.name = "  quillet-host ";
    EXPECT_EQ(GetIPAddress(r), L"192.168.0.5, 127.0.0.1, 192.168.0.5");
    EXPECT_EQ(r.asked.back(), "quillet-host");
    r.name.reset();
    EXPECT_EQ(GetIPAddress(r), L"");
}

TEST_F(SlotTest, GetIPAddsToTheClipboardAndLeavesItAloneWhenNothingIsFound) {
    clipboard.text = L"precious";
    form.mnuGetIP_Click();
    EXPECT_EQ(clipboard.text, L"precious");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].title, L"IP Address");
    EXPECT_EQ(prompt.messages[0].text,
              L"Your current IP Address\r\n\r\n\r\nThis is also now in your clipboard.");

    resolver.hosts["quillet-host"] = {{192, 168, 0, 5}, {10, 0, 0, 2}};
    clipboard.picture = testing::Dib(2, 1, 3);  // stays beside the addresses
    form.mnuGetIP_Click();
    EXPECT_EQ(clipboard.text, L"192.168.0.5, 10.0.0.2");
    EXPECT_EQ(clipboard.picture, testing::Dib(2, 1, 3));
    EXPECT_EQ(view.clipboardText, L"192.168.0.5, 10.0.0.2");
    EXPECT_EQ(prompt.messages[1].text,
              L"Your current IP Address\r\n192.168.0.5, 10.0.0.2\r\n\r\n"
              L"This is also now in your clipboard.");
}

TEST(MailTexts, RecommendationHasEveryPieceInOrder) {
    const std::wstring m = TellFriendAddress();
    EXPECT_EQ(m.rfind(L"mailto:?subject=Quillet Pro&Body=Hi,%0D%0A%0D%0ACould I bring", 0), 0u);
    const std::wstring pieces[] = {
        L"It includes 150 storage locations, each holding up to 32,000 characters (+ carriage "
        L"returns).%0D%0A",
        L"(eg on-line forms).%0D%0A",
        L"clipboard pictures.%0D%0A",
        L"accidentally left on).%0D%0A",
        L"plus much more... (trying it is needing it).%0D%0A%0D%0A",
        L"View it at the Brindle Software site%0D%0A" + std::wstring(kProductPage) +
            L"%0D%0A%0D%0Aor direct download from%0D%0A" + std::wstring(kDownloadPage) +
            L"%0D%0A%0D%0AIt is only US$14",
        L"I find it very useful, I think you would too.%0D%0A%0D%0ARegards%0D%0A%0D%0A"};
    size_t at = 0;
    for (const std::wstring& p : pieces) {
        const size_t found = m.find(p, at);
        ASSERT_NE(found, std::wstring::npos) << p;
        at = found + p.size();
    }
    EXPECT_EQ(at, m.size());
    EXPECT_EQ(FeedbackAddress(2, 7, 45),
              L"mailto:" + std::wstring(kFeedbackMail) + L"?subject=Quillet Pro - Version  2.7.45");
}

TEST_F(SlotTest, HelpCommandsOpenTheirAddresses) {
    const int beeps = view.beeps;
    form.mnuTell_Click();
    EXPECT_EQ(view.beeps, beeps);
    form.submnuHome_Click();
    form.submnuFeedback_Click();
    EXPECT_EQ(view.beeps, beeps + 2);
    ASSERT_EQ(shell.calls.size(), 3u);
    EXPECT_EQ(shell.calls[2].file.rfind(L"mailto:", 0), 0u);
    EXPECT_EQ(shell.Opened(),
              (std::vector<std::wstring>{TellFriendAddress(), std::wstring(kHomePage),
                                         shell.calls[2].file}));
}

}  // namespace
}  // namespace quillet
