// The picture panel's frames, the fitting of a picture into its frame, and
// the file steps that store a slot's picture.
#include <gtest/gtest.h>

#include "layout.h"
#include "pictures/fake_pictures.h"
#include "pictures/picture_files.h"

namespace quillet {
namespace {

using testing::Dib;
using testing::FakeFileSystem;

// Two columns of four wide frames numbered on their left, then two square
// frames numbered above them; slots run along the rows.
TEST(PictureSlotLayout, SlotsRunAlongTheRowsWithTheirNumbersBeside) {
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const PictureSlotRects r = PictureSlotLayout(i),
                               next = PictureSlotLayout(i + 1 - i % 2 * 2);
        EXPECT_EQ(r.frame.top, next.frame.top);
        EXPECT_EQ(r.frame.left < next.frame.left, i % 2 == 0);
        EXPECT_EQ(r.frame.width == r.frame.height, i >= 8);
        EXPECT_GT(r.frame.top, i >= 2 ? PictureSlotLayout(i - 2).frame.top : -1);
        EXPECT_TRUE(i < 8 ? r.number.left + r.number.width <= r.frame.left
                          : r.number.top + r.number.height <= r.frame.top);
    }
}

TEST(PictureSlotLayout, EverythingLiesInsideThePanelAndNothingOverlaps) {
    const TwipsRect panel = ComputeLayout(kPicturesWidth, false, true).pictures;
    auto inside = [&](const TwipsRect& r) {
        return r.left >= 0 && r.top >= 0 && r.left + r.width <= panel.width &&
               r.top + r.height <= panel.height;
    };
    auto overlap = [](const TwipsRect& a, const TwipsRect& b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
               b.top < a.top + a.height;
    };
    std::vector<TwipsRect> all;
    for (int i = 0; i < 10; ++i) {
        const PictureSlotRects r = PictureSlotLayout(i);
        EXPECT_TRUE(inside(r.frame)) << "frame " << i + 1;
        EXPECT_TRUE(inside(r.number)) << "number " << i + 1;
        EXPECT_GT(r.number.width, 0);
        EXPECT_GT(r.number.height, 0);
        all.push_back(r.frame);
        all.push_back(r.number);
    }
    for (size_t a = 0; a < all.size(); ++a)
        for (size_t b = a + 1; b < all.size(); ++b)
            EXPECT_FALSE(overlap(all[a], all[b])) << a << " and " << b;
}

// Scaled until it touches two sides of its frame, less the margin, and
// centred between the other two; halves round to even on the way.
TEST(FitPicture, ScalesToTheFrameAndCentresBetweenTheOtherSides) {
    struct Case {
        int width, height, frameWidth, frameHeight, margin;
        TwipsRect fitted;
    };
    const Case cases[] = {
        // 4 : 1 in a square frame: 333.75 high, 1001.25 left over, halved.
        {4000, 1000, 1335, 1335, 0, {0, 500, 1335, 334}},
        // Tall in a wide frame: 162.5 wide, 1052.5 left over, to the even 1052.
        {100, 400, 1215, 650, 0, {526, 0, 163, 650}},
        {2430, 1300, 1215, 650, 0, {0, 0, 1215, 650}},
        {1335, 1335, 1335, 1335, 0, {0, 0, 1335, 1335}},
        // Small pictures are scaled up: 607.5 high, 42.5 left over.
        {10, 5, 1215, 650, 0, {0, 21, 1215, 608}},
        {1000, 1000, 1215, 650, 50, {332, 50, 550, 550}},
        // No width or height: the thumbnail stays empty.
        {0, 100, 1215, 650, 0, {}},
        {100, 0, 1215, 650, 0, {}},
        {100, 100, 0, 650, 0, {}},
        {-5, 100, 1215, 650, 0, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitPicture(c.width, c.height, c.frameWidth, c.frameHeight, c.margin), c.fitted)
            << c.width << " x " << c.height << " in " << c.frameWidth << " x " << c.frameHeight;
}

TEST(FitPicture, IntegerDivisionRoundsHalvesToEvenThenTruncates) {
    EXPECT_EQ(IntegerDivide(2.5, 1), 2);
    EXPECT_EQ(IntegerDivide(3.5, 1), 4);
    EXPECT_EQ(IntegerDivide(7, 2), 3);
    EXPECT_EQ(IntegerDivide(-7, 2), -3);
    EXPECT_EQ(IntegerDivide(5, 2.5), 2);  // the divisor rounds too
    EXPECT_EQ(IntegerDivide(5, 0.4), 0);  // the divisor rounds to 0
}

TEST(BitmapFile, TheHeaderPointsPastTheColourTableToTheBits) {
    const std::vector<uint8_t> dib = Dib(3, 2, 7);
    const std::string header = BitmapFileHeader(dib);
    ASSERT_EQ(header.size(), 14u);
    EXPECT_EQ(header.substr(0, 2), "BM");
    auto at = [&](size_t i) {
        return static_cast<uint32_t>(
            static_cast<uint8_t>(header[i]) | static_cast<uint8_t>(header[i + 1]) << 8 |
            static_cast<uint8_t>(header[i + 2]) << 16 | static_cast<uint8_t>(header[i + 3]) << 24);
    };
    EXPECT_EQ(at(2), 14 + dib.size());
    EXPECT_EQ(at(10), 54u);
    EXPECT_EQ(BitmapFileOf(dib), header + std::string(dib.begin(), dib.end()));

    std::vector<uint8_t> palette = Dib(3, 100, 7);
    palette[14] = 8;  // 8 bits: a table of 256 colours follows the header
    const std::string eight = BitmapFileHeader(palette);
    EXPECT_EQ(static_cast<uint8_t>(eight[10]) | static_cast<uint8_t>(eight[11]) << 8, 54 + 1024);
    EXPECT_EQ(BitmapFileHeader({1, 2, 3}), "");
    std::vector<uint8_t> lying = dib;
    lying[0] = 200;  // a header longer than the DIB
    EXPECT_EQ(BitmapFileHeader(lying), "");
    std::vector<uint8_t> tableless = Dib(2, 1, 0);
    tableless[14] = 8;  // 256 colours, but no room for their table
    EXPECT_EQ(BitmapFileHeader(tableless), "");
    EXPECT_EQ(BitmapFileOf(tableless), "");
}

class StoreSlotPictureTest : public ::testing::Test {
  protected:
    FakeFileSystem fs;
    const std::wstring slot = SlotPicturePath(2), undo = std::wstring(kUndoPicturePath);
    const std::string before = BitmapFileOf(Dib(2, 2, 1));
    const std::string olderUndo = BitmapFileOf(Dib(2, 2, 9));
};

// An empty slot leaves no undo file: Undo would bring back another's.
TEST_F(StoreSlotPictureTest, TheOldFileBecomesTheUndoFile) {
    for (const bool held : {true, false}) {
        fs.files = {{undo, olderUndo}};
        if (held) fs.files[slot] = before;
        ASSERT_TRUE(StoreSlotPicture(fs, 2, BitmapFileOf(Dib(4, 3, 200))));
        EXPECT_EQ(fs.files[slot], BitmapFileOf(Dib(4, 3, 200)));
        EXPECT_EQ(fs.files.count(undo) ? fs.files[undo] : "none", held ? before : "none");
        EXPECT_EQ(fs.files.size(), held ? 2u : 1u);  // nothing left beside them
    }
}

TEST_F(StoreSlotPictureTest, AWriteThatFailsTouchesNeitherFile) {
    fs.files[slot] = before;
    fs.files[undo] = olderUndo;
    fs.readOnly.insert(slot + L".new");
    const IoResult r = StoreSlotPicture(fs, 2, BitmapFileOf(Dib(4, 3, 200)));
    EXPECT_FALSE(r);
    EXPECT_EQ(r.reason, L"Access is denied.");
    EXPECT_EQ(fs.files[slot], before);
    EXPECT_EQ(fs.files[undo], olderUndo);
    EXPECT_EQ(fs.files.size(), 2u);
}

TEST_F(StoreSlotPictureTest, AMalformedPictureIsRefusedBeforeAnyStep) {
    fs.files[slot] = before;
    EXPECT_FALSE(StoreSlotPicture(fs, 2, ""));
    EXPECT_FALSE(StoreSlotPicture(fs, 2, "GIF89a and then some bytes of a picture"));
    EXPECT_FALSE(StoreSlotPicture(fs, 2, "BM too short"));
    EXPECT_EQ(fs.files[slot], before);
    EXPECT_EQ(fs.replaceCount, 0);
}

}  // namespace
}  // namespace quillet
