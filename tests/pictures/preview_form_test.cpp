// The preview window's rectangle on its monitor, and the panning of a picture
// larger than the window.
#include <gtest/gtest.h>

#include <climits>

#include "pictures/preview_form.h"

namespace quillet {
namespace {

const PixelRect kWork{0, 0, 1280, 984};  // a 1280 x 1024 screen less its taskbar

// The picture's size plus the frame, no larger than the work area of the
// window's monitor, and moved back onto it where it hangs off.
TEST(PreviewWindowRect, FitsThePictureOnTheWorkAreaOfItsMonitor) {
    struct Case {
        PixelRect now;
        int32_t width, height;
        PixelRect work, expected;
    };
    // Monitors left of the main one, and right of it with a taskbar on top.
    const PixelRect left{-1920, 0, 1920, 1050}, right{1280, 40, 1920, 1040};
    const Case cases[] = {
        {{50, 60, 300, 200}, 100, 100, kWork, {50, 60, 116, 139}},
        {{50, 60, 300, 200}, 4000, 3000, kWork, kWork},
        {{50, 60, 1, 1}, 4000, 500, kWork, {0, 60, 1280, 539}},
        {{1200, 900, 1, 1}, 300, 200, kWork, {964, 745, 316, 239}},
        {{-500, -40, 1, 1}, 300, 200, kWork, {0, 0, 316, 239}},
        {{100, 100, 1, 1}, 640, 480, left, {-656, 100, 656, 519}},
        {{1300, 0, 1, 1}, 6000, 4000, right, right},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewWindowRect(c.now, c.width, c.height, 16, 39, c.work), c.expected)
            << "case " << (&c - cases);
}

TEST(PreviewWindowRect, HugeSizesDoNotOverflow) {
    const PixelRect r = PreviewWindowRect({INT_MAX - 10, INT_MIN + 10, 1, 1}, INT_MAX, INT_MAX,
                                          INT_MAX, INT_MAX, kWork);
    EXPECT_EQ(r, kWork);
}

TEST(PreviewWindowRect, FirstOpeningIsCentredOnTheWorkArea) {
    EXPECT_EQ(CentredOn(kWork, 316, 239), (PixelRect{482, 372, 316, 239}));
    EXPECT_EQ(CentredOn({1280, 40, 1920, 1040}, 5000, 100), (PixelRect{1280, 510, 1920, 100}));
}

// Drags as the window makes them: the press and every move are given in
// the picture's own coordinates, which shift with each offset the move makes.
class PanTest : public ::testing::Test {
  protected:
    PreviewForm form;
    // The mouse from (x0, y0) to (x1, y1) of the viewport, in `steps` moves.
    bool Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int steps = 8) {
        if (!form.Picture2_MouseDown(1, x0 + form.HScroll1().value, y0 + form.VScroll1().value))
            return false;
        for (int i = 1; i <= steps; ++i) {
            const int32_t x = x0 + (x1 - x0) * i / steps, y = y0 + (y1 - y0) * i / steps;
            form.Picture2_MouseMove(x + form.HScroll1().value, y + form.VScroll1().value);
        }
        form.Picture2_MouseUp();
        return true;
    }
};

TEST_F(PanTest, APictureInsideTheViewportDoesNotPan) {
    form.FormResize(19050, 14850, 19050, 1500);
    EXPECT_FALSE(form.HScroll1().visible);
    EXPECT_FALSE(form.VScroll1().visible);
    EXPECT_FALSE(form.Picture2_MouseDown(1, 100, 100));
    EXPECT_FALSE(form.Dragging());
    EXPECT_FALSE(form.Picture2_MouseMove(5000, 5000));
    EXPECT_EQ(form.PictureLeft(), 0);
    EXPECT_EQ(form.PictureTop(), 0);
}

TEST_F(PanTest, APhotoPansToItsFarCornerPast32767Twips) {
    // 4,000 x 3,000 pixels at 15 twips each in a 1,270 x 990 pixel viewport.
    form.FormResize(19050, 14850, 60000, 45000);
    EXPECT_EQ(form.HScroll1().maximum, 40950);
    EXPECT_EQ(form.VScroll1().maximum, 30150);
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Drag(18000, 14000, 300, 300));
    EXPECT_EQ(form.HScroll1().value, 40950);
    EXPECT_EQ(form.VScroll1().value, 30150);
    EXPECT_EQ(form.PictureLeft(), -40950);
    EXPECT_EQ(form.PictureTop(), -30150);
    // And back: never beyond the top-left corner.
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(Drag(300, 300, 18000, 14000));
    EXPECT_EQ(form.PictureLeft(), 0);
    EXPECT_EQ(form.PictureTop(), 0);
}

TEST_F(PanTest, TheGrabbedPointStaysUnderThePointer) {
    form.FormResize(19050, 14850, 60000, 45000);
    ASSERT_TRUE(form.Picture2_MouseDown(1, 9000, 7000));
    EXPECT_TRUE(form.Dragging());
    EXPECT_TRUE(form.Picture2_MouseMove(8700, 7000));  // 300 twips to the left
    EXPECT_EQ(form.HScroll1().value, 300);
    EXPECT_EQ(form.PictureLeft(), -300);
    // The pointer is now at 8700 of the viewport, 9000 of the picture again;
    // the start is not moved during the drag.
    EXPECT_FALSE(form.Picture2_MouseMove(9000, 7000));
    EXPECT_TRUE(form.Picture2_MouseMove(8900, 7000));
    EXPECT_EQ(form.HScroll1().value, 400);
}

TEST_F(PanTest, MovesBeyondEitherEndAreClampedWithoutOverflow) {
    form.FormResize(19050, 14850, 60000, 45000);
    ASSERT_TRUE(form.Picture2_MouseDown(1, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(form.Picture2_MouseMove(INT32_MIN, INT32_MIN));
    EXPECT_EQ(form.HScroll1().value, 40950);
    EXPECT_EQ(form.VScroll1().value, 30150);
    form.Picture2_MouseUp();
    ASSERT_TRUE(form.Picture2_MouseDown(1, INT32_MIN, INT32_MIN));
    EXPECT_TRUE(form.Picture2_MouseMove(INT32_MAX, INT32_MAX));
    EXPECT_EQ(form.HScroll1().value, 0);
    EXPECT_EQ(form.VScroll1().value, 0);
}

TEST_F(PanTest, ATallPictureThatFitsInWidthPansOnlyVertically) {
    form.FormResize(19050, 14850, 15000, 90000);
    EXPECT_FALSE(form.HScroll1().visible);
    EXPECT_TRUE(form.VScroll1().visible);
    ASSERT_TRUE(Drag(10000, 10000, 100, 10000));  // sideways only
    EXPECT_EQ(form.PictureLeft(), 0);
    EXPECT_EQ(form.PictureTop(), 0);
    ASSERT_TRUE(Drag(10000, 10000, 100, 100));
    EXPECT_EQ(form.PictureLeft(), 0);
    EXPECT_EQ(form.VScroll1().value, 9900);
}

// Only the left button drags; a release or a reset ends the drag.
TEST_F(PanTest, OnlyTheLeftButtonDragsAndAReleaseOrAResetEndsIt) {
    form.FormResize(19050, 14850, 60000, 45000);
    EXPECT_FALSE(form.Picture2_MouseDown(2, 5000, 5000));
    EXPECT_FALSE(form.Picture2_MouseDown(4, 5000, 5000));
    EXPECT_FALSE(form.Picture2_MouseMove(1000, 1000));
    for (const bool reset : {false, true}) {
        ASSERT_TRUE(form.Picture2_MouseDown(1, 5000, 5000));
        reset ? form.Reset() : form.Picture2_MouseUp();
        EXPECT_FALSE(form.Dragging());
        EXPECT_FALSE(form.Picture2_MouseMove(1000, 1000));
        EXPECT_EQ(form.PictureLeft(), 0);
    }
    EXPECT_FALSE(form.HScroll1().visible);
}

TEST_F(PanTest, AResizePutsThePictureBackAtItsCornerAndTheNextDragStartsThere) {
    form.FormResize(19050, 14850, 60000, 45000);
    ASSERT_TRUE(Drag(18000, 14000, 300, 300));
    ASSERT_NE(form.PictureLeft(), 0);
    form.FormResize(9000, 6000, 60000, 45000);
    EXPECT_EQ(form.PictureLeft(), 0);
    EXPECT_EQ(form.PictureTop(), 0);
    EXPECT_EQ(form.HScroll1().maximum, 51000);
    // A small move now moves the picture by as much, not by the old offset.
    ASSERT_TRUE(form.Picture2_MouseDown(1, 4000, 3000));
    EXPECT_TRUE(form.Picture2_MouseMove(3985, 3000));
    EXPECT_EQ(form.PictureLeft(), -15);
    EXPECT_EQ(form.PictureTop(), 0);
    // Grown larger than the picture: nothing pans any more.
    form.FormResize(70000, 50000, 60000, 45000);
    EXPECT_EQ(form.HScroll1().maximum, 0);
    EXPECT_FALSE(form.HScroll1().visible);
    EXPECT_FALSE(form.Picture2_MouseDown(1, 100, 100));
}

}  // namespace
}  // namespace quillet
