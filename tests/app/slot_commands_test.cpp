// Copy and Paste buttons, drops, undo, the Edit menu, the picture pop-up and
// the commands that hand things to the desktop.
#include <gtest/gtest.h>

#include <functional>

#include "pictures/picture_files.h"
#include "support/main_form_fixture.h"
#include "util/ModuleIP.h"
#include "util/shell_launch.h"
#include "version.h"

namespace quillet {
namespace {

using testing::Dib;

class SlotTest : public MainFormTest {
  protected:
    void SetUp() override {
        fs.folders.insert(L"C:\\");
        Store("Settings", "Sounds", L"1");
        StartIn(3);
    }
    bool UndoEnabled() { return view.enabled[IDM_UNDO]; }
};

TEST_F(SlotTest, PlainCopyPutsTheTextOnClipboardAndDrag) {
    view.text[4] = L"Hello, world";
    const int beeps = view.beeps;
    const DragOffer offer = form.picCopy_OLEStartDrag(4);
    EXPECT_EQ(clipboard.text, L"Hello, world");
    EXPECT_EQ(offer.text, L"Hello, world");
    EXPECT_TRUE(offer.files.empty());
    EXPECT_EQ(view.beeps, beeps + 1);
    EXPECT_EQ(view.clipboardLength, L"12 Chars");
    form.picCopy_OLEStartDrag(5);  // empty
    EXPECT_EQ(clipboard.text, L"");
    EXPECT_EQ(view.clipboardLength, L"0 Chars");
}

// Shift offers a web address as a shortcut file, capitals kept; other texts
// offer nothing. Shift wins over Ctrl.
TEST_F(SlotTest, ShiftOffersAShortcutForAWebAddressOnly) {
    const std::wstring root = L"C:\\Internet Shortcut.url";
    clipboard.text = L"kept";
    keys.down = {kKeyShift, kKeyControl};
    for (const wchar_t* t : {L" http://example.org", L"ftp://example.org", L"htt", L""}) {
        view.text[2] = t;
        EXPECT_TRUE(form.picCopy_OLEStartDrag(2).Empty()) << t;
    }
    EXPECT_FALSE(fs.files.count(root));
    EXPECT_TRUE(shell.calls.empty());
    view.text[1] = L"www.example.org";
    EXPECT_EQ(form.picCopy_OLEStartDrag(1).files, std::vector<std::wstring>{root});
    view.text[0] = L"HTTP://Example.org/Path";
    EXPECT_EQ(form.picCopy_OLEStartDrag(0).files, std::vector<std::wstring>{root});
    EXPECT_EQ(fs.files[root], "[InternetShortcut]\r\nurl=HTTP://Example.org/Path\r\n");
    EXPECT_EQ(clipboard.text, L"kept");

    // A closed root: the temporary folder; written nowhere: no file offered.
    fs.readOnly.insert(root);
    const std::wstring temp = L"C:\\Users\\me\\Temp\\Internet Shortcut.url";
    EXPECT_EQ(form.picCopy_OLEStartDrag(0).files, std::vector<std::wstring>{temp});
    EXPECT_TRUE(fs.files.count(temp));
    fs.readOnly.insert(temp);
    fs.files.clear();
    EXPECT_TRUE(form.picCopy_OLEStartDrag(0).Empty());
}

TEST_F(SlotTest, CtrlOpensTheTrimmedTextAndAOpensEverySlotWithAPause) {
    view.text[3] = L"  C:\\Docs\\Report.TXT  ";
    clipboard.text = L"kept";
    keys.down = {kKeyControl, kKeyA};  // Ctrl wins over A
    EXPECT_TRUE(form.picCopy_OLEStartDrag(3).Empty());
    EXPECT_EQ(shell.Opened(), std::vector<std::wstring>{L"C:\\Docs\\Report.TXT"});
    EXPECT_TRUE(clock.waits.empty());

    shell.calls.clear();
    view.text = {L"https://a.example/"};
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
    EXPECT_EQ(clipboard.text, L"kept");
}

TEST_F(SlotTest, CopySlotAndPasteSlotServeTextStoresOnly) {
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
    resolver.hosts["quillet-host"] = {{192, 168, 0, 5}};
    const std::pair<std::set<int>, std::wstring> cases[] = {
        {{kKeyD, kKeyT}, L"07/12/2026"},    {{kKeyT, kKeyC}, L"13:05:09"}, {{kKeyC, kKeyN}, L""},
        {{kKeyN}, L"13:05:09  07/12/2026"}, {{kKeyI}, L"192.168.0.5"},
    };
    clipboard.text = L"clipboard";
    const int beeps = view.beeps;
    for (const auto& [held, expected] : cases) {
        view.text[2] = L"before";
        keys.down = held;
        form.picPaste_Click(2);
        EXPECT_EQ(view.text[2], expected);
        form.mnuUndo_Click();
        EXPECT_EQ(view.text[2], L"before");
    }
    EXPECT_EQ(view.beeps, beeps);  // no sound, no clipboard use
    EXPECT_EQ(clipboard.text, L"clipboard");
}

TEST_F(SlotTest, PasteAndDropsReplaceTheWholeTextAndUndoRestoresIt) {
    view.text[1] = L"old";
    clipboard.text = L"new text";
    form.picPaste_Click(1);
    EXPECT_EQ(view.text[1], L"new text");
    EXPECT_TRUE(UndoEnabled());
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[1], L"old");
    EXPECT_FALSE(UndoEnabled());
    clipboard.text.reset();  // an empty clipboard clears the slot, as C held does
    form.picPaste_Click(1);
    EXPECT_EQ(view.text[1], L"");
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[1], L"old");

    form.txt_OLEDragDrop(1, DropContent{false, L"", L"dropped text"});
    EXPECT_EQ(view.text[1], L"dropped text");
    const int beeps = view.beeps;
    form.txt_OLEDragDrop(1, DropContent{true, L"C:\\a\\first.txt", std::nullopt});
    EXPECT_EQ(view.text[1], L"C:\\a\\first.txt");
    EXPECT_EQ(view.beeps, beeps + 1);
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[1], L"dropped text");
}

// A focused box whose text differs from the target's becomes the target; a
// title leaves the pop-up's Undo as it was.
TEST_F(SlotTest, FocusRulesMoveTheUndoTarget) {
    view.text[0] = L"one";
    view.text[1] = L"two";
    view.title[4] = L"label";
    clipboard.text = L"pasted";
    form.picPaste_Click(0);
    ASSERT_TRUE(UndoEnabled());

    view.enabled[IDM_POPUNDO] = true;
    form.txtTitle_GotFocus(4);
    EXPECT_FALSE(UndoEnabled());
    EXPECT_TRUE(view.enabled[IDM_POPUNDO]);
    view.title[4] = L"label!";
    form.mnuUndo_Click();
    EXPECT_EQ(view.title[4], L"label");

    view.enabled[IDM_POPUNDO] = true;
    form.txt_GotFocus(1);
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
    view.title[6] = L"two";
    form.txtTitle_GotFocus(6);
    EXPECT_TRUE(UndoEnabled());
}

TEST_F(SlotTest, PasteIntoATitleAndCutRestoreTheWholeBoxOnUndo) {
    view.title[3] = L"Label";
    view.active = BoxRef{BoxRef::Kind::kTitle, 3};
    view.selStart = 5;
    clipboard.text = L" more";
    form.mnuPaste_Click();
    EXPECT_EQ(view.title[3], L"Label more");
    form.mnuUndo_Click();
    EXPECT_EQ(view.title[3], L"Label");

    view.text[2] = L"keep CUT keep";
    view.active = BoxRef{BoxRef::Kind::kText, 2};
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

TEST_F(SlotTest, EditCommandsWithoutASlotBoxSayWhyAndLeaveTheClipboard) {
    clipboard.text = L"kept";
    form.mnuCut_Click();
    form.mnuPaste_Click();
    form.mnuCopy_Click();
    form.mnuSelectAll_Click();
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].title + L"|" + prompt.messages[0].text,
              L"Cut|Nothing was selected to Cut");
    EXPECT_EQ(prompt.messages[1].title + L"|" + prompt.messages[1].text,
              L"Error pasting|Error - You need to place the curser inside a text box to paste");
    EXPECT_EQ(prompt.messages[1].icon, Prompt::Icon::kNone);
    EXPECT_EQ(clipboard.text, L"kept");
}

TEST_F(SlotTest, CopyAndSelectAllReachTheWholeText) {
    view.text[8] = std::wstring(40000, L'x') + L"END";
    view.active = BoxRef{BoxRef::Kind::kText, 8};
    form.mnuSelectAll_Click();
    EXPECT_EQ(view.selStart, 0u);
    EXPECT_EQ(view.selLength, 40003u);
    form.mnuCopy_Click();
    EXPECT_EQ(clipboard.text, view.text[8]);
    EXPECT_EQ(view.clipboardLength, L"40003 Chars");
}

// Each clear command asks with its own question; only OK or Yes clears, and
// only what it names. The ones of this store leave the file to a save.
TEST_F(SlotTest, ClearCommandsAskThenClearWhatTheyName) {
    struct Case {
        void (MainForm::*command)();
        const wchar_t* question;
        Prompt::Buttons buttons;
        bool texts, titles, file;
    };
    using B = Prompt::Buttons;
    const Case cases[] = {
        {&MainForm::mnuClearLabels_Click,
         L"Are you sure you want to delete all the 'Labels' of this store ?", B::kOkCancel, false,
         true, false},
        {&MainForm::mnuClearContents_Click,
         L"Are you sure you want to delete all the 'Contents' of this store ?", B::kOkCancel, true,
         false, false},
        {&MainForm::mnuClearStore_Click,
         L"Are you sure you want to delete all the labels and contents of this store ?",
         B::kOkCancel, true, true, false},
        {&MainForm::mnuClearAllStoresXLabels_Click,
         L"Are you sure you want to delete all the Contents of All stores ? (except Labels)",
         B::kYesNo, true, false, true},
        {&MainForm::mnuClearAll_Click,
         L"Are you sure you want to delete All the Contents of All stores ?", B::kYesNo, true, true,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << &c - cases);
        fs.files[kIni] = "[Settings]\r\nStoreNumber=3\r\nStoreCaption2=Work\r\n";
        for (int s : {0, 3, 15}) {
            Store("Savings" + std::to_string(s), "txt(9)", L"t");
            Store("Savings" + std::to_string(s), "txtTitle(9)", L"l");
        }
        for (int i = 0; i < 10; ++i) view.text[i] = view.title[i] = L"x";
        const std::string before = fs.files[kIni];
        prompt.confirmations.clear();
        prompt.answers = {false};
        (form.*c.command)();
        EXPECT_EQ(view.text[0] + view.title[9], L"xx");
        EXPECT_EQ(fs.files[kIni], before);

        view.enabled[IDM_UNDO] = true;
        prompt.answers = {true};
        (form.*c.command)();
        ASSERT_EQ(prompt.confirmations.size(), 2u);
        EXPECT_EQ(prompt.confirmations[0].title, L"Confirm Delete");
        EXPECT_EQ(prompt.confirmations[0].text,
                  c.question + std::wstring(L"\r\nThis action cannot be undone"));
        EXPECT_EQ(prompt.confirmations[0].buttons, c.buttons);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(view.text[i], c.texts ? L"" : L"x") << i;
            EXPECT_EQ(view.title[i], c.titles ? L"" : L"x") << i;
        }
        EXPECT_FALSE(UndoEnabled());
        if (!c.file) {
            EXPECT_EQ(fs.files[kIni], before);
            continue;
        }
        EXPECT_EQ(Stored("Savings15", "txt(9)"), L"");
        EXPECT_EQ(Stored("Savings15", "txtTitle(9)"), c.titles ? L"" : L"l");
        EXPECT_EQ(Stored("Savings0", "txtTitle(9)") + Stored("Settings", "StoreCaption2"),
                  L"lWork");
    }
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

// Undo never reaches into another store, nor into picture slot 1 with an
// undo file an earlier session left.
TEST_F(SlotTest, UndoNeverCrossesAStoreSwitch) {
    const std::string old = BitmapFileOf(Dib(2, 1, 10));
    fs.files[SlotPicturePath(0)] = old;
    fs.files[std::wstring(kUndoPicturePath)] = BitmapFileOf(Dib(2, 1, 99));
    clipboard.text = L"pasted";
    form.picPaste_Click(0);
    form.submnustore_Click(4);
    EXPECT_FALSE(UndoEnabled());
    form.mnuUndo_Click();
    EXPECT_EQ(view.text[0], L"");
    form.lblStore_Click(3);
    form.picPaste_Click(0);
    form.submnustore_Click(0);
    EXPECT_FALSE(UndoEnabled());
    EXPECT_FALSE(view.enabled[IDM_POPUNDO]);
    form.mnuUndo_Click();
    EXPECT_EQ(slots.dib[0], Dib(2, 1, 10));
    EXPECT_EQ(fs.files[SlotPicturePath(0)], old);
}

TEST(ButtonTips, TheTenthCopyTipHasNoBlank) {
    EXPECT_EQ(CopyButtonTip(0), L"1 Copy and/or Drag");
    EXPECT_EQ(CopyButtonTip(9), L"10Copy and/or Drag");
    EXPECT_EQ(PasteButtonTip(9), L"10 Paste");
}

TEST(IPAddress, FormatsInResolverOrderWithoutATrailingSeparator) {
    testing::FakeResolver r;
    EXPECT_EQ(GetIPAddress(r), L"");  // the name does not resolve
    r.hosts["quillet-host"] = {};
    EXPECT_EQ(GetIPAddress(r), L"");
    r.hosts["quillet-host"] = {{192, 168, 0, 5}, {127, 0, 0, 1}, {192, 168, 0, 5}};
    r.name = "  quillet-host ";
    EXPECT_EQ(GetIPAddress(r), L"192.168.0.5, 127.0.0.1, 192.168.0.5");
    EXPECT_EQ(r.asked.back(), "quillet-host");
    EXPECT_EQ(FormatAddresses({{0, 255, 7, 10}}), L"0.255.7.10");
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
    clipboard.picture = Dib(2, 1, 3);  // stays beside the addresses
    form.mnuGetIP_Click();
    EXPECT_EQ(clipboard.text, L"192.168.0.5, 10.0.0.2");
    EXPECT_EQ(clipboard.picture, Dib(2, 1, 3));
    EXPECT_EQ(view.clipboardText, L"192.168.0.5, 10.0.0.2");
    EXPECT_EQ(prompt.messages[1].text,
              L"Your current IP Address\r\n192.168.0.5, 10.0.0.2\r\n\r\n"
              L"This is also now in your clipboard.");
}

// The shell splits nothing and the mail program breaks lines only where
// the text is encoded for it.
TEST_F(SlotTest, HelpCommandsOpenTheirAddresses) {
    const std::wstring tell = TellFriendAddress();
    EXPECT_EQ(tell.rfind(L"mailto:?subject=Quillet Pro&Body=Hi,%0D%0A", 0), 0u);
    EXPECT_EQ(tell.find_first_of(L"\r\n"), std::wstring::npos);
    EXPECT_NE(tell.find(kProductPage), std::wstring::npos);
    EXPECT_NE(tell.find(kDownloadPage), std::wstring::npos);
    EXPECT_EQ(FeedbackAddress(2, 7, 45),
              L"mailto:" + std::wstring(kFeedbackMail) + L"?subject=Quillet Pro - Version  2.7.45");

    const int beeps = view.beeps;
    form.mnuTell_Click();
    EXPECT_EQ(view.beeps, beeps);
    form.submnuHome_Click();
    form.submnuFeedback_Click();
    EXPECT_EQ(view.beeps, beeps + 2);
    EXPECT_EQ(shell.Opened(), (std::vector<std::wstring>{
                                  tell, std::wstring(kHomePage),
                                  FeedbackAddress(QUILLET_VERSION_MAJOR, QUILLET_VERSION_MINOR,
                                                  QUILLET_VERSION_REVISION)}));
}

}  // namespace
}  // namespace quillet
