// "Paste into the Active Window" in the program: the option as the menu and
// the file hold it, and which copies are pasted on into the active window.
#include <gtest/gtest.h>

#include "resource.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

class PasteAtOnceTest : public MainFormTest {
  protected:
    void Start(bool on, MainForm& started) {
        Store("Settings", "Hotkeys", L"1");
        Store("Settings", "PasteAtOnce", on ? L"1" : L"0");
        Store("Savings1", "txt(2)", L"three");
        started.FormLoad(kFolder);
    }
    void Start(bool on) { Start(on, form); }
    // The hotkeys of the program started last.
    void Press(const MainForm& started, size_t binding) {
        hotkeys.press(started.Hotkeys().HotkeyIDs()[binding]);
    }
    static constexpr size_t kCtrlAltF2 = 1, kCtrlAltF3 = 2, kCtrlAlt3 = 12;
};

TEST_F(PasteAtOnceTest, OffUntilTickedWrittenAtOnceAndReadAtTheNextStart) {
    form.FormLoad(kFolder);
    EXPECT_FALSE(form.CurrentOptions().pasteAtOnce);
    EXPECT_FALSE(view.IsChecked(IDM_PASTEATONCE));
    EXPECT_FALSE(Present("Settings", "PasteAtOnce"));

    ASSERT_TRUE(form.RunMenuCommand(IDM_PASTEATONCE));
    EXPECT_TRUE(view.IsChecked(IDM_PASTEATONCE));
    EXPECT_EQ(Stored("Settings", "PasteAtOnce"), L"1");
    {
        view.checked.clear();
        MainForm again = Restarted();
        again.FormLoad(kFolder);
        EXPECT_TRUE(again.CurrentOptions().pasteAtOnce);
        EXPECT_TRUE(view.IsChecked(IDM_PASTEATONCE));
    }
    form.RunMenuCommand(IDM_PASTEATONCE);
    EXPECT_FALSE(view.IsChecked(IDM_PASTEATONCE));
    EXPECT_EQ(Stored("Settings", "PasteAtOnce"), L"0");
    MainForm again = Restarted();
    again.FormLoad(kFolder);
    EXPECT_FALSE(again.CurrentOptions().pasteAtOnce);
    EXPECT_FALSE(view.IsChecked(IDM_PASTEATONCE));
}

TEST_F(PasteAtOnceTest, ACopyHotkeyPastesTheSlotOnceItIsOnTheClipboard) {
    Start(true);
    std::wstring clipboardThen;
    int beepsThen = -1;
    paste.onSend = [&] {
        clipboardThen = clipboard.text.value_or(L"(none)");
        beepsThen = view.beeps;
    };
    Press(form, kCtrlAltF3);
    ASSERT_EQ(paste.sentAt.size(), 1u);
    EXPECT_EQ(clipboardThen, L"three");
    // The confirming sound comes after: it must not hold the paste up.
    EXPECT_EQ(beepsThen, 0);
    EXPECT_EQ(view.beeps, 1);
    EXPECT_EQ(paste.returns, 0);  // the hotkey's window is the active one
}

TEST_F(PasteAtOnceTest, NothingIsSentWhenOffEmptyPicturesOrForAPasteHotkey) {
    struct Case {
        const char* name;
        bool on;
        size_t binding;
        bool pictures;
        std::wstring_view clipboardAfter;  // the copy itself is as before
    };
    const Case cases[] = {
        {"option off", false, kCtrlAltF3, false, L"three"},
        {"empty slot", true, kCtrlAltF2, false, L""},
        {"Pictures store", true, kCtrlAltF3, true, L"before"},
        {"paste hotkey", true, kCtrlAlt3, false, L"before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.files.clear();
        MainForm started = Restarted();
        Start(c.on, started);
        if (c.pictures) started.lblStore_Click(kPicturesStore);
        clipboard.text = L"before";
        Press(started, c.binding);
        EXPECT_TRUE(paste.sentAt.empty());
        EXPECT_EQ(clipboard.text, c.clipboardAfter);
    }
}

TEST_F(PasteAtOnceTest, TheTrayMenuPastesAFilledSlotIntoTheWindowBeforeTheMenu) {
    Start(true);
    paste.active = PasteDesktop::Foreground::kOurs;  // the menu's owner
    paste.windowBeforeMenu = true;
    form.mnuTrayRef_Click(2);
    EXPECT_EQ(clipboard.text, L"three");
    EXPECT_EQ(paste.returns, 1);
    EXPECT_EQ(paste.sentAt.size(), 1u);

    // An empty slot takes the clipboard; nothing goes anywhere.
    paste.sentAt.clear();
    clipboard.text = L"clip";
    form.mnuTrayRef_Click(5);
    EXPECT_EQ(view.text[5], L"clip");
    EXPECT_TRUE(paste.sentAt.empty());
}

}  // namespace
}  // namespace quillet
