// Start-up, shut-down and the shared helpers of the main window's logic.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "layout.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

TEST_F(MainFormTest, FirstStartWithoutSettingsFile) {
    form.FormLoad(kFolder);
    EXPECT_EQ(view.caption, L"Quillet Pro");
    EXPECT_EQ(form.SettingsPath(), kIni);
    EXPECT_EQ(view.geometry.top, 500);
    EXPECT_EQ(view.geometry.left, 1500);
    EXPECT_EQ(form.CurrentStore(), 1);
    EXPECT_TRUE(view.labelCurrent[1]);
    EXPECT_EQ(view.CheckedStores(), 1);
    for (const auto& [item, on] : std::map<int, bool>{{IDM_STORE0 + 1, true},
                                                      {IDM_SOUNDS, true},
                                                      {IDM_AUTOSAVE, false},
                                                      {IDM_AUTORUN, false},
                                                      {IDM_HOTKEYS, false},
                                                      {IDM_STAYTOP, false}})
        EXPECT_EQ(view.IsChecked(item), on) << item;
    EXPECT_FALSE(view.topMost);
    EXPECT_EQ(view.titleColour, kTitleBackground);
    EXPECT_EQ(view.textColour, kTextBackground);
    EXPECT_EQ(view.focusedPaste, 1);
    EXPECT_FALSE(view.enabled[IDM_UNDO]);
    EXPECT_FALSE(view.enabled[IDM_POPUNDO]);
    EXPECT_EQ(Stored("Settings", "askImport"), L"1");
    EXPECT_EQ(Stored("Settings", "StoreNumber"), L"1");
    EXPECT_TRUE(fs.folders.count(L"C:\\ClipPics"));
    for (int n = 1; n < 16; ++n) EXPECT_EQ(view.tooltip[n], DefaultCaption(n));
}

// A normal user may not create files at the drive root: the settings go to
// the user's own folder, and the next start finds them there.
TEST_F(MainFormTest, ASettingsFileTheDriveRootRefusesIsMadeInTheUsersFolder) {
    const std::wstring user = L"C:\\Users\\me\\AppData\\Roaming";
    const std::wstring path = user + L"\\Quillet Pro\\quilbdx.ini";
    fs.readOnly.insert(kIni);
    form.FormLoad(kFolder, user);
    EXPECT_EQ(form.SettingsPath(), path);
    EXPECT_TRUE(fs.folders.count(user + L"\\Quillet Pro\\"));
    EXPECT_NE(fs.files[path].find("askImport=1"), std::string::npos);
    EXPECT_NE(fs.files[path].find("StoreNumber=1"), std::string::npos);

    MainForm again = Restarted();
    again.FormLoad(kFolder, user);
    EXPECT_EQ(again.SettingsPath(), path);
}

// A settings file may hold megabytes; start-up parses it once and writes
// nothing that is already there.
TEST_F(MainFormTest, StartUpReadsTheFileOnceAndLeavesItAlone) {
    Store("Settings", "askImport", L"1");
    Store("Settings", "StoreNumber", L"4");
    Store("Settings", "StartTray", L"1");  // the change check runs too
    Store("Savings4", "txt(2)", L"kept");
    const int replaces = fs.replaceCount;
    fs.readCount = 0;
    form.FormLoad(kFolder);
    EXPECT_EQ(view.text[2], L"kept");
    EXPECT_EQ(fs.readCount, 1);
    EXPECT_EQ(fs.replaceCount, replaces);
}

TEST_F(MainFormTest, StoredOptionsAndCaptionsAreRestored) {
    fs.files[kIni] =
        "[Settings]\r\nStoreNumber=3\r\nAutoSave=1\r\nSounds=0\r\nAutoRun=1\r\nMainOnTop=1\r\n"
        "StoreCaption4=4 Recipes\r\nStoreCaption5=\r\nMirror=1\r\nHotkeys=yes\r\n"
        "[Savings3]\r\ntxt(0)=first\xFF\xF6line\r\ntxtTitle(0)=T\r\n";
    form.FormLoad(kFolder);
    EXPECT_EQ(form.CurrentStore(), 3);
    EXPECT_EQ(view.text[0], L"first\r\nline");
    EXPECT_EQ(view.title[0], L"T");
    EXPECT_TRUE(view.IsChecked(IDM_AUTOSAVE));
    EXPECT_FALSE(view.IsChecked(IDM_SOUNDS));
    EXPECT_TRUE(view.IsChecked(IDM_AUTORUN));
    EXPECT_TRUE(view.topMost);
    EXPECT_TRUE(view.IsChecked(IDM_STAYTOP));
    EXPECT_EQ(view.storeCaption[4] + view.tooltip[4], L"4 Recipes4 Recipes");
    EXPECT_EQ(view.storeCaption[5], L"5 Store");
    EXPECT_TRUE(view.IsChecked(IDM_MIRROR));
    EXPECT_TRUE(view.IsChecked(IDM_HOTKEYS));  // anything but "0" is on
}

// The stored place, width and store within the limits of the screen and the
// stores; a number that does not convert leaves what the design has, and an
// empty value is an absent one.
TEST_F(MainFormTest, StartUpTakesThePlaceWidthAndStoreWithinLimits) {
    struct Case {
        std::string settings;
        int top, left, width, store;
    };
    view.screenWidth = 3840 * 15 * 2;  // two 4K screens side by side
    const int designWidth = view.geometry.width;
    const Case starts[] = {
        {"StoreNumber=\r\nFormTop=\r\nFormWidth=\r\n", 500, 1500, designWidth, 1},
        {"FormTop=30000\r\nFormLeft=-400\r\n", view.screenHeight - 3000, 0, designWidth, 1},
        {"FormTop=abc\r\nFormWidth=wide\r\nStoreNumber=x\r\n", 777, 1500, kPicturesWidth, 0},
        {"StoreNumber=99\r\n", 500, 1500, kPicturesWidth, 0},
        {"FormWidth=7000\r\n", 500, 1500, 7000, 1},
        // Past 16 bits of twips.
        {"FormWidth=45000\r\nFormLeft=40000\r\n", 500, 40000, 45000, 1},
    };
    for (const Case& c : starts) {
        SCOPED_TRACE(c.settings);
        fs.files = {{kIni, "[Settings]\r\n" + c.settings}};
        view.geometry = {1500, 777, designWidth, 6500, WindowState::kNormal};
        MainForm started = Restarted();
        started.FormLoad(kFolder);
        EXPECT_EQ(view.geometry.top, c.top);
        EXPECT_EQ(view.geometry.left, c.left);
        EXPECT_EQ(view.geometry.width, c.width);
        EXPECT_EQ(started.CurrentStore(), c.store);
        EXPECT_EQ(Stored("Settings", "StoreNumber"), std::to_wstring(c.store));
    }
}

TEST_F(MainFormTest, ExitWritesTheGeometryOnlyInTheNormalState) {
    form.FormLoad(kFolder);
    view.geometry = {2000, 1000, 8000, 6500, WindowState::kNormal};
    EXPECT_FALSE(form.FormQueryUnload(UnloadMode::kProgram));
    form.FormUnload();
    EXPECT_EQ(Stored("Settings", "FormWidth"), L"8000");
    EXPECT_EQ(Stored("Settings", "FormTop"), L"1000");
    EXPECT_EQ(Stored("Settings", "FormLeft"), L"2000");
    // Maximized or minimized, the window's place is no place to keep.
    for (WindowState state : {WindowState::kMaximized, WindowState::kMinimized}) {
        fs.files.clear();
        form.FormLoad(kFolder);
        view.geometry.state = state;
        form.FormUnload();
        EXPECT_FALSE(Present("Settings", "FormWidth"));
        EXPECT_FALSE(Present("Settings", "FormTop"));
    }
}

// The icon comes before Start in Tray hides the window, so the program is
// never without a way back; at exit every other window goes, the icon last.
TEST_F(MainFormTest, TheTrayIconAndTheOtherWindowsFollowStartAndExit) {
    Store("Settings", "StartTray", L"1");
    view.visible = true;
    form.FormLoad(kFolder);
    EXPECT_EQ(windows.calls, std::vector<std::string>{"icon while shown"});
    EXPECT_FALSE(view.visible);
    EXPECT_TRUE(view.IsChecked(IDM_STARTTRAY));
    EXPECT_TRUE(prompt.questions.empty());  // after the change check
    windows.calls.clear();
    form.FormUnload();
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"close help and about", "close preview or print",
                                        "close preview or print", "no icon"}));
}

// Hotkeys take effect at the next start, and say so.
TEST_F(MainFormTest, OptionsAreWrittenTheMomentTheyChange) {
    form.FormLoad(kFolder);
    struct Case {
        void (MainForm::*toggle)();
        int item;
        const char* key;
        bool startsOn;
    };
    const Case cases[] = {{&MainForm::mnuStartTray_Click, IDM_STARTTRAY, "StartTray", false},
                          {&MainForm::submnuStayTop_Click, IDM_STAYTOP, "MainOnTop", false},
                          {&MainForm::mnuSounds_Click, IDM_SOUNDS, "Sounds", true},
                          {&MainForm::submnuAutoSave_Click, IDM_AUTOSAVE, "AutoSave", false},
                          {&MainForm::menuMirror_Click, IDM_MIRROR, "Mirror", false},
                          {&MainForm::mnuHotkeys_Click, IDM_HOTKEYS, "Hotkeys", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        for (const bool on : {!c.startsOn, c.startsOn}) {
            (form.*c.toggle)();
            EXPECT_EQ(view.IsChecked(c.item), on);
            EXPECT_EQ(Stored("Settings", c.key), on ? L"1" : L"0");
        }
    }
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].title + L"|" + prompt.messages[0].text,
              L"Hotkeys|The new setting may not take effect until Quillet has been Restarted.");
    // Each acts at once, not at the next start.
    const int layouts = view.layouts;
    form.menuMirror_Click();
    EXPECT_GT(view.layouts, layouts);
    EXPECT_TRUE(view.lastMirror);
    form.submnuStayTop_Click();
    EXPECT_TRUE(view.topMost);
    form.mnuSounds_Click();
    form.BeepIfSounds();
    EXPECT_EQ(view.beeps, 0);
    form.submnuAutoSave_Click();
    view.text[0] = L"changed";
    form.CloseMainWindow();
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(Stored("Savings1", "txt(0)"), L"changed");
    form.submnuAutoSave_Click();  // off again: the next close asks
    view.text[0] = L"changed again";
    form.CloseMainWindow();
    EXPECT_EQ(prompt.questions.size(), 1u);
}

TEST(AutoRunCommand, QuotesThePathWithOneBackslash) {
    EXPECT_EQ(AutoRunCommandLine(L"C:\\", L"quilletpro.exe"), L"\"C:\\quilletpro.exe\"");
    EXPECT_EQ(AutoRunCommandLine(L"D:\\Tools\\Q", L"q.exe"), L"\"D:\\Tools\\Q\\q.exe\"");
}

// A normal user may not write the machine's Run key: the user's own then.
// Only when neither key will do is the user told, in a key's own words; the
// mark and the file keep the new state.
TEST_F(MainFormTest, AutoRunFallsBackToTheUsersRunKeyAndSaysWhenBothRefuse) {
    using Scope = AutoRunEntries::Scope;
    const std::wstring command = L"\"C:\\Program Files\\Quillet Pro\\quilletpro.exe\"";
    form.FormLoad(kFolder);
    autoRun.refused = {Scope::kMachine};
    form.menuAutoRun_Click();
    EXPECT_EQ(Stored("Settings", "AutoRun"), L"1");
    EXPECT_EQ(autoRun.values, (std::map<Scope, std::wstring>{{Scope::kUser, command}}));
    form.menuAutoRun_Click();  // off: both go, a missing one is no failure
    EXPECT_TRUE(autoRun.values.empty());
    EXPECT_TRUE(prompt.messages.empty());

    autoRun.refused = {Scope::kMachine, Scope::kUser};
    form.menuAutoRun_Click();
    EXPECT_TRUE(view.IsChecked(IDM_AUTORUN));
    EXPECT_EQ(Told(),
              L"Quillet Pro|Quillet Pro could not be set to start with Windows.\r\n\r\n"
              L"The user's key is locked.");
    autoRun.values[Scope::kUser] = command;  // left from before
    form.menuAutoRun_Click();
    EXPECT_FALSE(view.IsChecked(IDM_AUTORUN));
    EXPECT_EQ(Stored("Settings", "AutoRun"), L"0");
    EXPECT_EQ(prompt.messages.at(0).icon, Prompt::Icon::kExclamation);
    EXPECT_EQ(Told(),
              L"Quillet Pro|Quillet Pro could not be kept from starting with Windows.\r\n\r\n"
              L"Access is denied.");

    // The exit renews the entry, quietly, with the program's current path.
    form.menuAutoRun_Click();
    prompt.messages.clear();
    autoRun.refused.clear();
    form.FormUnload();
    EXPECT_EQ(autoRun.values[Scope::kMachine], command);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(MainFormTest, HotkeysCopyAndPasteTheCurrentStoresSlots) {
    testing::FakeHotkeyHost& host = hotkeys;
    Store("Settings", "Hotkeys", L"yes");  // hand-edited: on all the same
    Store("Savings1", "txt(2)", L"three");
    form.FormLoad(kFolder);
    ASSERT_EQ(host.starts, 1);
    const auto& ids = form.Hotkeys().HotkeyIDs();
    host.press(ids[2]);  // Ctrl+Alt+F3
    EXPECT_EQ(clipboard.text, L"three");
    host.press(ids[19]);  // Ctrl+Alt+0
    EXPECT_EQ(view.text[9], L"three");

    form.mnuHotkeys_Click();  // off: presses are ignored at once
    clipboard.text = L"kept";
    host.press(ids[2]);
    EXPECT_EQ(clipboard.text, L"kept");
    form.FormUnload();
    EXPECT_EQ(host.stops, 1);
}

TEST_F(MainFormTest, CloseBoxAsksThenHidesInsteadOfEnding) {
    form.FormLoad(kFolder);
    view.visible = true;
    view.text[2] = L"edited";
    prompt.answers = {true};
    EXPECT_TRUE(form.FormQueryUnload(UnloadMode::kUser));
    EXPECT_FALSE(view.visible);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].title, L"Save Changes ?");
    EXPECT_EQ(prompt.questions[0].text,
              L"Some contents of this Store have changed....\r\n\r\nDo you want to save your "
              L"changes ?\r\n\r\nHint:\r\nYou can stop these messages by selecting 'Autosave' "
              L"from the Options menu.");
    EXPECT_EQ(prompt.questions[0].icon, Prompt::Icon::kQuestion);
    EXPECT_EQ(Stored("Savings1", "txt(2)"), L"edited");
    EXPECT_FALSE(Present("Settings", "FormWidth"));
}

// A save that fails on Exit, or a file that cannot even be compared, asks
// whether to exit anyway: No, the default, keeps the program with its
// texts, Yes lets it go. At the end of the session nothing waits on a box:
// the reason goes to Windows. Nothing may lock the user in.
TEST_F(MainFormTest, AFailedSaveOnExitOrLogoffAsksOrGivesAReason) {
    form.FormLoad(kFolder);
    for (const bool unreadable : {false, true}) {
        SCOPED_TRACE(unreadable ? "unreadable" : "unwritable");
        const std::wstring why = unreadable ? L"cannot access" : L"Access is denied.";
        view.text[0] = L"unsaved work, " + why;
        (unreadable ? fs.unreadable : fs.readOnly).insert(kIni);
        prompt.questions.clear();
        prompt.confirmations.clear();
        prompt.answers = {true, false};  // save: yes (when asked); exit anyway: no
        if (unreadable) prompt.answers.pop_front();
        EXPECT_TRUE(form.FormQueryUnload(UnloadMode::kProgram));
        EXPECT_EQ(prompt.questions.size(), unreadable ? 0u : 1u);
        ASSERT_EQ(prompt.confirmations.size(), 1u);
        const auto& asked = prompt.confirmations[0];
        EXPECT_EQ(asked.title, L"Quillet Pro");
        EXPECT_EQ(asked.buttons, Prompt::Buttons::kYesNo);  // No is the default
        for (const std::wstring& part : {kIni, why, std::wstring(L"Exit anyway?")})
            EXPECT_NE(asked.text.find(part), std::wstring::npos) << part;
        EXPECT_EQ(view.text[0], L"unsaved work, " + why);
        prompt.answers = {true, true};
        if (unreadable) prompt.answers.pop_front();
        EXPECT_FALSE(form.FormQueryUnload(UnloadMode::kProgram));

        prompt.answers = {true};
        EXPECT_TRUE(form.FormQueryUnload(UnloadMode::kSession));
        EXPECT_EQ(prompt.confirmations.size(), 2u);
        EXPECT_NE(form.SessionBlockReason().find(kIni), std::wstring::npos);
        EXPECT_NE(form.SessionBlockReason().find(why), std::wstring::npos);
        fs.readOnly.clear();
        fs.unreadable.clear();
        prompt.answers = {true};
        EXPECT_FALSE(form.FormQueryUnload(UnloadMode::kSession));
        EXPECT_TRUE(form.SessionBlockReason().empty());
        EXPECT_EQ(Stored("Savings1", "txt(0)"), L"unsaved work, " + why);
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(MainFormTest, ApplyMainOnTopNeedsAStoreNumber) {
    form.FormLoad(kFolder);
    fs.files[kIni] = "[Settings]\r\nMainOnTop=1\r\n";
    form.ApplyMainOnTop();
    EXPECT_FALSE(form.CurrentOptions().stayOnTop);
    EXPECT_FALSE(view.topMost);
    Store("Settings", "StoreNumber", L"2");
    form.ApplyMainOnTop();
    EXPECT_TRUE(form.CurrentOptions().stayOnTop);
    EXPECT_TRUE(view.topMost);
    Store("Settings", "MainOnTop", L"yes");
    form.ApplyMainOnTop();
    EXPECT_FALSE(view.topMost);
}

// The check mark is drawn from the option, never read back: a mark set on
// the menu alone changes nothing.
TEST_F(MainFormTest, BeepFollowsTheSoundsOptionNotTheMenu) {
    form.FormLoad(kFolder);
    view.SetChecked(IDM_SOUNDS, false);
    form.BeepIfSounds();
    EXPECT_EQ(view.beeps, 1);
    Store("Settings", "Sounds", L"0");
    MainForm silent = Restarted();
    silent.FormLoad(kFolder);
    EXPECT_FALSE(view.IsChecked(IDM_SOUNDS));
    silent.BeepIfSounds();
    EXPECT_EQ(view.beeps, 1);
}

// Each row's boxes stand from left to right within the window, in their
// order or mirrored, the rows one below the other above the clipboard line; the
// Pictures store never mirrors.
TEST(Layout, RowsStayInsideTheWidthInTheirOrderOrMirrored) {
    for (const int width : {LimitWidth(0, false), 9000, 45000}) {
        for (const bool mirror : {false, true}) {
            SCOPED_TRACE(::testing::Message() << width << (mirror ? " mirrored" : ""));
            const MainLayout l = ComputeLayout(width, mirror, false);
            EXPECT_EQ(ComputeLayout(width, mirror, true).rows[3].copy,
                      ComputeLayout(width, false, false).rows[3].copy);
            EXPECT_LE(l.clipboard.left + l.clipboard.width, width);
            for (int i = 0; i < 10; ++i) {
                const RowRects& r = l.rows[i];
                std::vector<TwipsRect> order{r.title, r.paste, r.text, r.copy};
                if (mirror) std::reverse(order.begin(), order.end());
                EXPECT_GE(order.front().left, 0) << i;
                for (size_t k = 1; k < order.size(); ++k) {
                    EXPECT_LT(order[k - 1].left, order[k].left) << i;
                    EXPECT_LT(order[k - 1].left + order[k - 1].width,
                              order[k].left + order[k].width)
                        << i;
                }
                EXPECT_LE(order.back().left + order.back().width, width) << i;
                const int below = i < 9 ? l.rows[i + 1].text.top : l.clipboard.top;
                EXPECT_LE(r.text.top + r.text.height, below) << i;
            }
        }
    }
}

TEST(Layout, WidthAndScreenLimits) {
    EXPECT_EQ(LimitWidth(3000, false), kMinWidth);
    EXPECT_EQ(LimitWidth(9000, true), kPicturesWidth);
    EXPECT_EQ(LimitWidth(6000, false), 6000);
    int left = -5000, top = -10;
    KeepOnScreen(left, top, 19200, 14400);
    EXPECT_EQ(left, -1000);
    EXPECT_EQ(top, 0);
    left = 30000, top = 30000;
    KeepOnScreen(left, top, 19200, 14400);
    EXPECT_EQ(left, 19200 - 2000);
    EXPECT_EQ(top, 14400 - 2000);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

TEST(DeferredBeginning, LongParagraphsWaitForUseOtherLongTextsForIdle) {
    std::wstring lines;
    while (lines.size() < 40000) lines += std::wstring(80, L'w') + L"\r\n";
    const std::wstring longLine(kLongParagraph + 1, L'x');
    struct Case {
        std::wstring text;
        bool scrolls;
        bool deferred, whenIdle;
    };
    const Case cases[] = {
        {L"", true, false, false},
        {L"", false, false, false},
        {std::wstring(kLongParagraph, L'x'), true, false, false},
        {lines.substr(0, kLongText), false, false, false},
        // A box with a scroll bar shows texts of lines whole once idle.
        {lines, true, true, true},
        // Lone breaks end a paragraph as CR LF does.
        {std::wstring(1500, L'a') + L"\n" + std::wstring(1501, L'b'), true, true, true},
        {std::wstring(1500, L'a') + L"\n" + std::wstring(1400, L'b'), true, false, false},
        {longLine, true, true, false},
        {L"short\r\n" + longLine, true, true, false},
        // A box without one shows only the beginning of any long text.
        {lines, false, true, false},
        {std::wstring(kLongParagraph + 500, L'x'), false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text.size() << (c.scrolls ? " scrolls" : ""));
        const std::optional<Deferral> d = DeferredBeginning(c.text, c.scrolls, 0);
        ASSERT_EQ(d.has_value(), c.deferred);
        if (!d) continue;
        EXPECT_EQ(d->beginning, kShownBeginning);
        EXPECT_EQ(d->wholeWhenIdle, c.whenIdle);
    }
}

TEST(DeferredBeginning, NeverSplitsALineBreakOrASurrogatePair) {
    std::wstring text(kShownBeginning - 1, L'a');
    text += L"\r\n";
    text += std::wstring(kLongParagraph + 5, L'b');
    EXPECT_EQ(DeferredBeginning(text, true, 0)->beginning, kShownBeginning - 1);

    std::wstring emoji(kShownBeginning - 1, L'a');
    emoji += static_cast<wchar_t>(0xD83D);  // one character in two UTF-16 units
    emoji += static_cast<wchar_t>(0xDE00);
    emoji += std::wstring(kLongParagraph, L'c');
    EXPECT_EQ(DeferredBeginning(emoji, true, 0)->beginning, kShownBeginning - 1);
}

TEST(DeferredBeginning, EndsWithTheParagraphOfTheLastLineShown) {
    std::wstring lines;
    while (lines.size() < 40000) lines += std::wstring(80, L'w') + L"\r\n";
    // Two lines shown: the first two paragraphs, without the break after them.
    EXPECT_EQ(DeferredBeginning(lines, false, 2)->beginning, 2 * 82 - 2);
    // Empty paragraphs are lines too.
    EXPECT_EQ(DeferredBeginning(L"\r\n\r\n" + lines, false, 2)->beginning, 2u);
    // Lone breaks may not break the line: they do not shorten the beginning.
    std::wstring lone;
    while (lone.size() < 40000) lone += std::wstring(80, L'w') + L"\n";
    EXPECT_EQ(DeferredBeginning(lone, false, 2)->beginning, kShownBeginning);
    // Paragraphs longer than the cap: the cap holds.
    EXPECT_EQ(DeferredBeginning(std::wstring(kLongParagraph + 1, L'x') + L"\r\n" + lines, true, 2)
                  ->beginning,
              kShownBeginning);
}

// The pieces a box takes a text in: together the text, in order; none with
// more of one paragraph than a piece may hold; short paragraphs together.
TEST(FillPieces, CoverTheTextAndCutOnlyLongParagraphs) {
    std::wstring lines;
    while (lines.size() < 30000) lines += std::wstring(78, L'n') + L"\r\n";
    std::wstring pairs(3 * kFillPiece, L'a');
    for (size_t i = kFillPiece - 1; i < pairs.size(); i += kFillPiece) {
        pairs[i] = static_cast<wchar_t>(0xD83D);  // a character in two units
        pairs[i + 1] = static_cast<wchar_t>(0xDE00);
    }
    std::wstring breaks(kFillPiece, L'b');
    breaks += L"\r\n" + std::wstring(3 * kFillPiece, L'c');
    struct Case {
        const char* what;
        std::wstring text;
        size_t pieces;  // 0: more than one, as the paragraphs need
    };
    const Case cases[] = {
        {"empty", L"", 1},
        {"one piece's worth", std::wstring(kFillPiece, L'x'), 1},
        {"short lines", lines, 1},
        {"one long line", std::wstring(10 * kFillPiece + 1, L'x'), 11},
        {"lines then a long line", lines + std::wstring(2 * kFillPiece, L'x'), 2},
        {"surrogate pairs at the cuts", pairs, 0},
        {"a paragraph ends inside a piece", breaks, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::wstring joined;
        size_t pieces = 0, at = 0;
        do {
            const size_t end = FillPieceEnd(c.text, at);
            if (!c.text.empty()) {
                ASSERT_GT(end, at);
            }
            const std::wstring piece = c.text.substr(at, end - at);
            size_t run = 0;
            for (wchar_t ch : piece) {
                run = (ch == L'\r' || ch == L'\n') ? 0 : run + 1;
                ASSERT_LE(run, kFillPiece);
            }
            if (end < c.text.size()) {
                const wchar_t last = c.text[end - 1];
                EXPECT_FALSE(last == L'\r' && c.text[end] == L'\n');
                EXPECT_FALSE(last >= 0xD800 && last <= 0xDBFF);
            }
            joined += piece;
            at = end;
            ++pieces;
        } while (at < c.text.size());
        EXPECT_EQ(joined, c.text);
        if (c.pieces) {
            EXPECT_EQ(pieces, c.pieces);
        } else {
            EXPECT_GT(pieces, 1u);
        }
    }
}

}  // namespace
}  // namespace quillet
