// When a copied slot is pasted into the active window, and how long the
// paste waits for the user to let go of the hotkey's modifiers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "background/paste_at_once.h"
#include "support/fake_paste_desktop.h"

namespace quillet {
namespace {

using Foreground = PasteDesktop::Foreground;
using testing::FakePasteDesktop;
constexpr int64_t kNever = FakePasteDesktop::kNever;

struct Case {
    const char* name;
    bool on;
    std::wstring_view copied;
    PasteOrigin origin;
    Foreground active;
    int64_t releaseAt;
    bool windowBeforeMenu;
    PasteOutcome outcome;
};

TEST(PasteAtOnce, SendsCtrlVOnlyWhenOnFilledAndAnotherProgramIsActive) {
    using O = PasteOutcome;
    constexpr auto kHot = PasteOrigin::kHotkey, kTray = PasteOrigin::kTrayMenu;
    constexpr auto kOther = Foreground::kOther, kOurs = Foreground::kOurs,
                   kNone = Foreground::kNone;
    const Case cases[] = {
        {"off", false, L"slot", kHot, kOther, 0, false, O::kOff},
        {"off from the tray", false, L"slot", kTray, kOurs, 0, true, O::kOff},
        {"empty slot", true, L"", kHot, kOther, 0, false, O::kNothing},
        {"empty slot from the tray", true, L"", kTray, kOurs, 0, true, O::kNothing},
        {"our own window in front", true, L"slot", kHot, kOurs, 0, false, O::kOurWindow},
        {"no window in front", true, L"slot", kHot, kNone, 0, false, O::kNoWindow},
        {"keys already up", true, L"slot", kHot, kOther, 0, false, O::kSent},
        {"keys let go late", true, L"slot", kHot, kOther, 400, false, O::kSent},
        {"keys never let go", true, L"slot", kHot, kOther, kNever, false, O::kKeysHeld},
        {"tray, back to the window before", true, L"slot", kTray, kOurs, 0, true, O::kSent},
        {"tray, no window before", true, L"slot", kTray, kOurs, 0, false, O::kOurWindow},
    };
    for (const Case& c : cases) {
        FakePasteDesktop desktop;
        desktop.active = c.active;
        desktop.releaseAt = c.releaseAt;
        desktop.windowBeforeMenu = c.windowBeforeMenu;
        PasteAtOnce paste(desktop);
        EXPECT_EQ(paste.AfterCopy(c.on, c.copied, c.origin), c.outcome) << c.name;
        EXPECT_EQ(desktop.sentAt.size(), c.outcome == O::kSent ? 1u : 0u) << c.name;
    }
}

TEST(PasteAtOnce, PollsUntilTheKeysAreUpAndSendsRightAfter) {
    for (const int64_t release :
         {int64_t{1}, int64_t{37}, int64_t{400}, int64_t{PasteAtOnce::kReleaseBound - 1}}) {
        FakePasteDesktop desktop;
        desktop.releaseAt = release;
        PasteAtOnce paste(desktop);
        ASSERT_EQ(paste.AfterCopy(true, L"slot", PasteOrigin::kHotkey), PasteOutcome::kSent)
            << release;
        ASSERT_EQ(desktop.sentAt.size(), 1u);
        EXPECT_GE(desktop.sentAt[0], release);
        EXPECT_LT(desktop.sentAt[0], release + PasteAtOnce::kPollInterval + 1) << release;
        // Looked at again and again, not one long sleep.
        EXPECT_GE(desktop.pauses, static_cast<int>(release / (PasteAtOnce::kPollInterval + 1)))
            << release;
    }
}

TEST(PasteAtOnce, NeitherWaitsNorSendsWhenNothingNeedsIt) {
    for (const Foreground active : {Foreground::kOurs, Foreground::kNone}) {
        FakePasteDesktop desktop;
        desktop.active = active;
        desktop.releaseAt = kNever;
        PasteAtOnce(desktop).AfterCopy(true, L"slot", PasteOrigin::kHotkey);
        EXPECT_EQ(desktop.pauses, 0);
    }
    FakePasteDesktop up;
    PasteAtOnce(up).AfterCopy(true, L"slot", PasteOrigin::kHotkey);
    EXPECT_EQ(up.pauses, 0);
    EXPECT_EQ(up.sentAt, std::vector<int64_t>{0});
}

TEST(PasteAtOnce, GivesUpAboutASecondAfterTheCopy) {
    FakePasteDesktop desktop;
    desktop.releaseAt = kNever;
    PasteAtOnce paste(desktop);
    EXPECT_EQ(paste.AfterCopy(true, L"slot", PasteOrigin::kHotkey), PasteOutcome::kKeysHeld);
    EXPECT_TRUE(desktop.sentAt.empty());
    const int64_t waited = desktop.now - 1000;
    EXPECT_GE(waited, 900);
    EXPECT_LE(waited, 1100);
}

// A held hotkey repeats: the presses that queued up while the paste waited
// are dropped before it pastes, or when it gives up, so that one hold
// pastes once.
TEST(PasteAtOnce, PressesThatQueuedWhileItWaitedAreDropped) {
    for (const int64_t release : {int64_t{0}, int64_t{400}, kNever}) {
        FakePasteDesktop desktop;
        desktop.releaseAt = release;
        PasteAtOnce(desktop).AfterCopy(true, L"slot", PasteOrigin::kHotkey);
        ASSERT_EQ(desktop.forgotAt.size(), 1u) << release;
        if (release == kNever) {
            EXPECT_GE(desktop.forgotAt[0], PasteAtOnce::kReleaseBound);
            EXPECT_TRUE(desktop.sentAt.empty());
        } else {
            EXPECT_GE(desktop.forgotAt[0], release);
            ASSERT_EQ(desktop.sentAt.size(), 1u);
            EXPECT_LE(desktop.forgotAt[0], desktop.sentAt[0]);
        }
    }
}

TEST(PasteAtOnce, ASwitchToOurWindowWhileTheKeysAreHeldSendsNothing) {
    FakePasteDesktop desktop;
    desktop.releaseAt = 200;
    desktop.activeAfterRelease = Foreground::kOurs;
    PasteAtOnce paste(desktop);
    EXPECT_EQ(paste.AfterCopy(true, L"slot", PasteOrigin::kHotkey), PasteOutcome::kOurWindow);
    EXPECT_TRUE(desktop.sentAt.empty());
}

TEST(PasteAtOnce, OnlyTheTrayMenuGoesBackToTheWindowBeforeAndFirst) {
    FakePasteDesktop tray;
    tray.active = Foreground::kOurs;
    tray.windowBeforeMenu = true;
    ASSERT_EQ(PasteAtOnce(tray).AfterCopy(true, L"slot", PasteOrigin::kTrayMenu),
              PasteOutcome::kSent);
    EXPECT_EQ(tray.returns, 1);
    EXPECT_EQ(tray.returnsBeforeFirstSend, 1);

    FakePasteDesktop hotkey;
    hotkey.windowBeforeMenu = true;
    PasteAtOnce(hotkey).AfterCopy(true, L"slot", PasteOrigin::kHotkey);
    EXPECT_EQ(hotkey.returns, 0);
}

}  // namespace
}  // namespace quillet
