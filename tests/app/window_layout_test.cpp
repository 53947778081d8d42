// The main window's width toggle, Mirror, moving and the whole-pixel
// arithmetic at real DPIs.
#include <gtest/gtest.h>

#include "layout.h"
#include "resource.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

TEST(PixelArithmetic, RoundsLikeMulDivAtEveryDpi) {
    EXPECT_EQ(TwipsToPixels(5000, 96), 333);
    EXPECT_EQ(TwipsToPixels(5000, 120), 417);
    EXPECT_EQ(TwipsToPixels(5000, 144), 500);
    EXPECT_EQ(TwipsToPixels(5000, 192), 667);
    EXPECT_EQ(PixelsToTwips(333, 96), 4995);
    EXPECT_EQ(TwipsToPixels(-1000, 96), -67) << "halves away from zero on both sides";
    EXPECT_EQ(TwipsToPixels(1000, 96), 67);
    // Widths past 16 bits of twips: a 3,000-pixel window.
    EXPECT_EQ(PixelsToTwips(3000, 96), 45000);
    EXPECT_EQ(TwipsToPixels(45000, 96), 3000);
}

TEST(SettingNumbers, ThirtyTwoBitsForPositionsAndWidths) {
    EXPECT_EQ(ToInt32(L" 45000 "), 45000);
    EXPECT_EQ(ToInt32(L"-40000"), -40000);
    EXPECT_EQ(ToInt32(L"2.5"), 2);
    EXPECT_FALSE(ToInt32(L"3000000000").has_value());
    EXPECT_FALSE(ToInt32(L"wide").has_value());
    EXPECT_FALSE(ToInt16(L"45000").has_value());
}

TEST_F(MainFormTest, DoubleClickTogglesInWholePixels) {
    Store("Settings", "FormWidth", L"45000");
    form.FormLoad(kFolder);
    view.geometry.width = 7000;
    form.Form_DblClick();
    EXPECT_EQ(view.geometry.width, 5000);
    // Read back from 333 pixels the width is 4995 twips: still the default.
    view.geometry.width = 4995;
    form.Form_DblClick();
    EXPECT_EQ(view.geometry.width, 45000);

    view.dpi = 144;
    view.geometry.width = 5000;
    Store("Settings", "FormWidth", L"narrow");
    form.Form_DblClick();
    EXPECT_EQ(view.geometry.width, 5000) << "an unreadable width keeps the window";

    view.geometry.width = 7000;
    view.geometry.state = WindowState::kMaximized;
    form.Form_DblClick();
    EXPECT_EQ(view.geometry.width, 7000);
}

TEST_F(MainFormTest, MirrorTogglesWritesAndLaysOutAtOnce) {
    form.FormLoad(kFolder);
    const int layouts = view.layouts;
    form.menuMirror_Click();
    EXPECT_TRUE(view.IsChecked(IDM_MIRROR));
    EXPECT_EQ(Stored("Settings", "Mirror"), L"1");
    EXPECT_GT(view.layouts, layouts);
    EXPECT_TRUE(view.lastMirror);
    form.menuMirror_Click();
    EXPECT_FALSE(view.IsChecked(IDM_MIRROR));
    EXPECT_EQ(Stored("Settings", "Mirror"), L"0");
    EXPECT_FALSE(view.lastMirror);
}

TEST_F(MainFormTest, OnlyTheLeftButtonMovesEveryButtonFocusesPasteTwo) {
    form.FormLoad(kFolder);
    clipboard.text = L"on the line";
    view.focusedPaste = -1;
    form.Form_MouseDown(2);
    EXPECT_EQ(view.moves, 0);
    EXPECT_EQ(view.focusedPaste, 1);
    EXPECT_EQ(view.clipboardText, L"on the line");
    form.Form_MouseDown(1);
    EXPECT_EQ(view.moves, 1);
}

}  // namespace
}  // namespace quillet
