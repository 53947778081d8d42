// Switching, saving and the save question; the clipboard tools.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>

#include "pictures/picture_files.h"
#include "resource.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

using StoresTest = MainFormTest;

// Leaving an edited store asks, from the label, the Stores menu and the
// tray alike: Yes saves all of it first, No leaves the file as it was, and
// AutoSave saves without asking. The window keeps its width; Undo goes.
TEST_F(StoresTest, LeavingAnEditedStoreAsksFromEveryPlace) {
    const std::pair<const char*, void (MainForm::*)(int)> ways[] = {
        {"label", &MainForm::lblStore_Click},
        {"stores menu", &MainForm::submnustore_Click},
        {"tray", &MainForm::menuTrayStore_Click}};
    for (const auto& [way, choose] : ways) {
        for (const std::string answer : {"yes", "no", "autosave"}) {
            SCOPED_TRACE(way + (" " + answer));
            fs.files = {
                {kIni, "[Settings]\r\naskImport=1\r\nStoreNumber=2\r\nAutoSave=" +
                           std::string(answer == "autosave" ? "1" : "0") +
                           "\r\n[Savings2]\r\ntxt(1)=saved\r\n[Savings5]\r\ntxt(0)=five\r\n"}};
            prompt.questions.clear();
            MainForm f = Restarted();
            ASSERT_TRUE(f.FormLoad(kFolder));
            view.geometry.width = 8000;
            view.enabled[IDM_UNDO] = true;
            view.text[1] = L"edited";
            prompt.answers = {answer == "yes"};
            (f.*choose)(5);
            EXPECT_EQ(prompt.questions.size(), answer == "autosave" ? 0u : 1u);
            EXPECT_EQ(Stored("Savings2", "txt(1)"), answer == "no" ? L"saved" : L"edited");
            EXPECT_EQ(Present("Savings2", "txtTitle(9)"), answer != "no");
            EXPECT_EQ(f.CurrentStore(), 5);
            EXPECT_EQ(view.text[0] + view.text[1], L"five");
            EXPECT_EQ(Stored("Settings", "StoreNumber"), L"5");
            EXPECT_EQ(view.geometry.width, 8000);
            EXPECT_FALSE(view.enabled[IDM_UNDO]);
        }
    }
}

TEST_F(StoresTest, ClickOnTheCurrentLabelAsksThenReloads) {
    Store("Savings4", "txt(2)", L"stored");
    StartIn(4);
    view.text[2] = L"edit";
    prompt.answers = {false};
    form.lblStore_Click(4);
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(view.text[2], L"stored");
    view.text[2] = L"edit";
    prompt.answers = {true};
    form.lblStore_Click(4);
    EXPECT_EQ(view.text[2], L"edit");
    EXPECT_EQ(Stored("Savings4", "txt(2)"), L"edit");
}

TEST_F(StoresTest, SaveWritesAllTwentyValuesAndRevertReadsThemWithoutAsking) {
    StartIn(7);
    view.text[3] = L"a\r\nb";
    form.mnuFileSave_Click();
    EXPECT_EQ(Stored("Savings7", "txt(3)"), L"a\r\nb");
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(Present("Savings7", TextKey(i)) && Present("Savings7", TitleKey(i))) << i;
    view.text[3] = L"mistake";
    form.mnuRevert_Click();
    EXPECT_EQ(view.text[3], L"a\r\nb");
    form.CloseMainWindow();
    EXPECT_TRUE(prompt.questions.empty());
}

// Only a difference from the file counts, case and all, not the edits on
// the way; an empty store has none.
TEST_F(StoresTest, OnlyADifferenceFromTheFileAsks) {
    Store("Savings1", "txt(0)", L"same");
    StartIn(1);
    view.text[0] = L"different";
    form.txt_Change(0);
    view.text[0] = L"same";
    form.txt_Change(0);
    form.lblStore_Click(2);
    form.lblStore_Click(1);
    EXPECT_TRUE(prompt.questions.empty());
    // Lone line breaks are saved as pairs: the text saved is no difference.
    view.text[0] = L"pasted\nfrom\rthere";
    form.mnuFileSave_Click();
    form.lblStore_Click(1);
    EXPECT_TRUE(prompt.questions.empty());
    view.text[0] = L"Same";
    form.CloseMainWindow();
    EXPECT_EQ(prompt.questions.size(), 1u);
}

// The Pictures store makes the window pictures-wide, shows slot numbers
// for empty titles, loads the thumbnails through the progress window and
// leaves the text boxes alone.
TEST_F(StoresTest, ThePicturesStoreLoadsThroughTheProgressWindow) {
    fs.files[SlotPicturePath(2)] = BitmapFileOf(testing::Dib(1, 1, 7));
    Store("Savings1", "txt(0)", L"kept");
    Store("Savings0", "txtTitle(4)", L"Holiday");
    StartIn(1);
    view.geometry.width = 8000;
    view.enabled[IDM_UNDO] = view.enabled[IDM_POPUNDO] = true;
    form.lblStore_Click(0);
    EXPECT_TRUE(view.picturesShown);
    EXPECT_EQ(view.title[0] + view.title[4] + view.title[9], L"1Holiday10");
    EXPECT_FALSE(view.enabled[IDM_PASTE] || view.enabled[IDM_SELECTALL]);
    EXPECT_EQ(view.geometry.width, kPicturesWidth);
    EXPECT_FALSE(view.enabled[IDM_UNDO] || view.enabled[IDM_POPUNDO]);
    EXPECT_TRUE(view.lastPictures);
    EXPECT_EQ(view.text[0], L"kept");
    ASSERT_EQ(view.progress.size(), 12u);
    EXPECT_EQ(view.progress.front(), L"show Quillet Pro / Loading Thumbnails...");
    for (int b = 1; b <= 10; ++b) EXPECT_EQ(view.progress[b], L"block " + std::to_wstring(b));
    EXPECT_EQ(view.progress.back(), L"close");
    EXPECT_EQ(slots.dib[2], testing::Dib(1, 1, 7));
    EXPECT_TRUE(slots.dib[3].empty());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(slots.fitted[i], 1) << i;
}

// The Pictures store's change check saves its titles every time, without a
// question; a save that changes nothing must not touch the file, or an
// unwritable file would hold the program open.
TEST_F(StoresTest, PicturesStoreSavesOnlyItsTitlesWithoutAskingAndOnlyWhenChanged) {
    Store("Savings1", "txt(0)", L"text of store one");
    StartIn(0);
    view.title[3] = L"";
    view.text[3] = L"hidden text";
    form.lblStore_Click(1);
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(Stored("Savings0", "txtTitle(3)"), L"");
    EXPECT_EQ(Stored("Savings0", "txtTitle(9)"), L"10");
    EXPECT_FALSE(Present("Savings0", "txt(3)"));
    form.lblStore_Click(0);
    EXPECT_EQ(view.title[3], L"4");  // an emptied title shows its number again
    form.CloseMainWindow();
    fs.readOnly.insert(kIni);
    const int replaces = fs.replaceCount;
    EXPECT_FALSE(form.FormQueryUnload(UnloadMode::kProgram));
    EXPECT_EQ(fs.replaceCount, replaces);
    EXPECT_TRUE(prompt.confirmations.empty());
}

TEST_F(StoresTest, StoreSwitchMarksOneLabelAndOneMenuItem) {
    StartIn(3);
    form.lblStore_Click(12);
    EXPECT_EQ(view.CheckedStores(), 1);
    EXPECT_TRUE(view.IsChecked(IDM_STORE0 + 12));
    for (int n = 0; n < 16; ++n) EXPECT_EQ(view.labelCurrent[n], n == 12) << n;
    EXPECT_EQ(view.focusedPaste, 1);
}

TEST_F(StoresTest, AFailedSaveOnSwitchIsReportedOnce) {
    StartIn(2);
    view.text[0] = L"edit";
    fs.readOnly.insert(kIni);
    prompt.answers = {true};
    form.lblStore_Click(3);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].icon, Prompt::Icon::kCritical);
}

// Another program holding the file at start must not show empty stores that
// a later save would write over the user's texts.
TEST_F(StoresTest, AFileThatCannotBeReadAtStartIsAskedAboutUntilReadOrLeftAlone) {
    Store("Savings1", "txt(0)", L"kept");
    Store("Settings", "AutoSave", L"1");
    const std::string before = fs.files[kIni];
    const int replaces = fs.replaceCount;
    fs.unreadable.insert(kIni);
    prompt.answers = {true, false};  // Retry while still held, then Cancel
    EXPECT_FALSE(form.FormLoad(kFolder));
    ASSERT_EQ(prompt.retries.size(), 2u);
    EXPECT_NE(prompt.retries[0].find(kIni), std::wstring::npos);
    EXPECT_NE(prompt.retries[0].find(L"The process cannot access the file."), std::wstring::npos);
    EXPECT_EQ(fs.files[kIni], before);
    EXPECT_EQ(fs.replaceCount, replaces);
    EXPECT_TRUE(fs.folders.empty());

    MainForm again = Restarted();
    prompt.answers = {true};
    prompt.beforeRetry = [&] { fs.unreadable.clear(); };
    EXPECT_TRUE(again.FormLoad(kFolder));
    EXPECT_EQ(prompt.retries.size(), 3u);
    EXPECT_EQ(view.text[0], L"kept");
}

// Every later read of a store that fails keeps the window as it is, says
// so, and neither asks nor writes; once the file can be read the edit is
// still there to be saved.
TEST_F(StoresTest, AFileThatCannotBeReadLaterKeepsTheStoreShownAndWritesNothing) {
    const std::pair<const char*, std::function<void(MainForm&)>> commands[] = {
        {"label", [](MainForm& f) { f.lblStore_Click(5); }},
        {"stores menu", [](MainForm& f) { f.submnustore_Click(5); }},
        {"tray store", [](MainForm& f) { f.menuTrayStore_Click(0); }},
        {"revert", [](MainForm& f) { f.mnuRevert_Click(); }},
        {"close", [](MainForm& f) { f.CloseMainWindow(); }},
        {"save", [](MainForm& f) { f.mnuFileSave_Click(); }},
    };
    Store("Savings2", "txt(1)", L"saved");
    Store("Savings5", "txt(1)", L"five");
    StartIn(2);
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        view.text[1] = L"edited";
        fs.unreadable.insert(kIni);
        const std::string before = fs.files[kIni];
        prompt.messages.clear();
        prompt.answers = {true};
        command(form);
        EXPECT_TRUE(prompt.questions.empty());
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_NE(prompt.messages[0].text.find(L"cannot access"), std::wstring::npos);
        EXPECT_EQ(form.CurrentStore(), 2);
        EXPECT_EQ(view.text[1], L"edited");
        EXPECT_EQ(fs.files[kIni], before);
        fs.unreadable.clear();
    }
    prompt.answers = {true};
    form.lblStore_Click(5);
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(Stored("Savings2", "txt(1)"), L"edited");
    EXPECT_EQ(view.text[1], L"five");
}

TEST_F(StoresTest, RenameSavesFirstThenAsksAndKeepsTheNumber) {
    StartIn(3);
    view.text[0] = L"saved by the rename";
    input.answers = {L"R&D", L"  ", std::wstring(), std::nullopt};
    form.submnuRename_Click();
    EXPECT_EQ(Stored("Savings3", "txt(0)"), L"saved by the rename");
    EXPECT_EQ(view.storeCaption[3], L"3 R&D");
    EXPECT_EQ(view.tooltip[3], L"3 R&D");
    EXPECT_EQ(Stored("Settings", "StoreCaption3"), L"3 R&D");
    // The second prompt quotes the first rename; blanks rename too.
    form.submnuRename_Click();
    ASSERT_EQ(input.asked.size(), 2u);
    EXPECT_EQ(input.asked[0], L"Rename Store | What would you like to rename Store 3 Store to ?");
    EXPECT_EQ(input.asked[1], L"Rename Store | What would you like to rename Store 3 R&D to ?");
    EXPECT_EQ(form.StoreCaption(3), L"3   ");
    // An empty answer and Cancel change nothing.
    form.submnuRename_Click();
    form.submnuRename_Click();
    EXPECT_EQ(Stored("Settings", "StoreCaption3"), L"3   ");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(StoresTest, ThePicturesStoreIsNotRenamed) {
    StartIn(0);
    form.submnuRename_Click();
    EXPECT_TRUE(input.asked.empty());
    EXPECT_EQ(prompt.messages.at(0).icon, Prompt::Icon::kNone);
    EXPECT_EQ(Told(), L"Sorry|The Picture Store cannot be renamed");
}

class ClipboardTest : public MainFormTest {
  protected:
    void SetUp() override { form.FormLoad(kFolder); }
};

// The line shows the text and its length; Empty Clipboard keeps the old
// count until a refresh. A private text shows only its length, and bullets
// in the tray.
TEST_F(ClipboardTest, TheLineShowsTheTextAndItsLength) {
    clipboard.text = std::wstring(32000, L'x');
    form.ShowClipboard();
    EXPECT_EQ(view.clipboardText, clipboard.text);
    EXPECT_EQ(view.clipboardLength, L"32000 Chars");
    form.mnuEmptyClipboard_Click();
    EXPECT_FALSE(clipboard.text);
    EXPECT_EQ(view.clipboardText, L"");
    EXPECT_EQ(view.clipboardLength, L"32000 Chars");
    EXPECT_EQ(view.beeps, 0);
    form.txtLength_Click();
    EXPECT_EQ(view.clipboardLength, L"0 Chars");

    clipboard.text = L"correct horse";
    clipboard.secret = true;
    form.ShowClipboard();
    EXPECT_EQ(view.clipboardText, L"");
    EXPECT_EQ(view.clipboardLength, L"13 Chars");
    EXPECT_EQ(form.CurrentTrayMenu().contents, kPrivateText);
    clipboard.text = L"";
    EXPECT_EQ(form.CurrentTrayMenu().contents, L"");
}

// Lower and upper case follow the locale's mapping, the opposite case only
// plain letters; a clipboard without text is left alone.
TEST_F(ClipboardTest, CaseCommandsRewriteOnlyAText) {
    const struct {
        void (MainForm::*command)();
        std::wstring before, after;
    } cases[] = {
        {&MainForm::mnuOppositeCase_Click, L"Hello World 42 \u00C9t\u00E9",
         L"hELLO wORLD 42 \u00C9T\u00E9"},
        {&MainForm::mnuLowerCase_Click, L"\u00C9COLE Caf\u00E9 1", L"\u00E9cole caf\u00E9 1"},
        {&MainForm::mnuUpperCase_Click, L"\u00E9cole Caf\u00E9 1", L"\u00C9COLE CAF\u00C9 1"},
    };
    for (const auto& c : cases) {
        const int beeps = view.beeps;
        clipboard.text = c.before;
        (form.*c.command)();
        EXPECT_EQ(clipboard.text, c.after);
        EXPECT_EQ(view.clipboardText, c.after);
        EXPECT_EQ(view.clipboardLength, std::to_wstring(c.after.size()) + L" Chars");
        EXPECT_EQ(view.beeps, beeps + 1);

        clipboard.text.reset();
        clipboard.picture = std::vector<uint8_t>{40, 0, 0, 0};
        clipboard.writes = 0;
        (form.*c.command)();
        EXPECT_TRUE(clipboard.picture);
        EXPECT_EQ(clipboard.writes, 0);
        EXPECT_EQ(view.clipboardLength, L"0 Chars");
    }
}

}  // namespace
}  // namespace quillet
