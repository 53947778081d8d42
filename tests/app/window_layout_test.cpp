// The main window's width toggle, Mirror, moving and the whole-pixel
// arithmetic at real DPIs.
#include <gtest/gtest.h>

#include "layout.h"
#include "support/main_form_fixture.h"

namespace quillet {
namespace {

// Halves away from zero on both sides; widths past 16 bits of twips.
TEST(PixelArithmetic, RoundsLikeMulDivAtEveryDpi) {
    const struct {
        int twips, dpi, pixels;
    } cases[] = {{5000, 96, 333},  {5000, 120, 417}, {5000, 144, 500}, {5000, 192, 667},
                 {-1000, 96, -67}, {1000, 96, 67},   {45000, 96, 3000}};
    for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips;
    EXPECT_EQ(PixelsToTwips(333, 96), 4995);
    EXPECT_EQ(PixelsToTwips(3000, 96), 45000);
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
