// The window shape built from a skin picture: one run of non-mask pixels per stretch of a row,
// the row's last pixel alone left out, mask colours compared as raw values, and the region of the
// main window's background.

#include "skin/VsMask.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vd {
namespace {

constexpr TColor M = clFuchsia;
constexpr TColor O = clBlack;

// A one-row picture from colours.
TBitmap Row(const std::vector<TColor>& pixels) {
    TBitmap b(static_cast<int>(pixels.size()), 1);
    for (std::size_t x = 0; x < pixels.size(); ++x)
        b.Canvas().SetPixel(static_cast<int>(x), 0, pixels[x]);
    return b;
}

std::vector<TRect> RunsOf(const std::vector<TColor>& pixels) {
    return MaskRuns(0, 0, Row(pixels), M);
}

class MaskRegionTest : public ::testing::Test {
protected:
    void SetUp() override { test::StartGui(); }
};

TEST_F(MaskRegionTest, OneRunPerStretchOfOpaquePixels) {
    EXPECT_EQ(RunsOf({M, O, O, M, O, M, M, O, O, M}),
              (std::vector<TRect>{{1, 0, 3, 1}, {4, 0, 5, 1}, {7, 0, 9, 1}}));
    EXPECT_EQ(RunsOf({O, O, O, O}), (std::vector<TRect>{{0, 0, 4, 1}}));
    EXPECT_EQ(RunsOf({O, M}), (std::vector<TRect>{{0, 0, 1, 1}}));
    EXPECT_EQ(RunsOf({M, O, O}), (std::vector<TRect>{{1, 0, 3, 1}}));
}

TEST_F(MaskRegionTest, TheLastPixelAloneIsLeftOut) {
    EXPECT_EQ(RunsOf({M, M, M, O}), (std::vector<TRect>{}));
    EXPECT_EQ(RunsOf({O, M, O}), (std::vector<TRect>{{0, 0, 1, 1}}));
    EXPECT_EQ(RunsOf({M, O}), (std::vector<TRect>{}));
    // A picture one pixel wide has no runs at all.
    EXPECT_EQ(RunsOf({O}), (std::vector<TRect>{}));
}

TEST_F(MaskRegionTest, RunsAreOffsetAndRowsAreNotMerged) {
    TBitmap b(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            b.Canvas().SetPixel(x, y, x == 0 ? M : O);
    EXPECT_EQ(MaskRuns(10, 20, b, M),
              (std::vector<TRect>{{11, 20, 14, 21}, {11, 21, 14, 22}, {11, 22, 14, 23}}));
}

TEST_F(MaskRegionTest, AllMaskGivesNoRegionNoMaskOneRectPerRow) {
    TRgnData data;
    BuildMaskRegion(0, 0, test::SolidBitmap(6, 4, M), data, M);
    EXPECT_EQ(data.Size(), 0);

    BuildMaskRegion(0, 0, test::SolidBitmap(6, 4, O), data, M);
    ASSERT_GT(data.Size(), 0);
    EXPECT_EQ(MaskRuns(0, 0, test::SolidBitmap(6, 4, O), M).size(), 4u);
    const TRegion region = data.CreateRegion();
    EXPECT_EQ(region.BoundingRect(), (TRect{0, 0, 6, 4}));
    EXPECT_EQ(region.Rects().size(), 1u); // the rows' equal spans merge
}

TEST_F(MaskRegionTest, MaskColoursAreComparedRawWithoutSystemColours) {
    // clBtnFace shows as (212, 208, 200), but as a mask it matches nothing.
    const TBitmap face = test::SolidBitmap(5, 2, RGB(212, 208, 200));
    EXPECT_EQ(MaskRuns(0, 0, face, clBtnFace).size(), 2u);
    EXPECT_TRUE(MaskRuns(0, 0, face, RGB(212, 208, 200)).empty());
}

TEST_F(MaskRegionTest, TheRegionHoldsExactlyTheOpaquePixels) {
    const TBitmap b = test::Background(40, 30, 3);
    TBitmap shaped = b;
    // A hole and a notch, away from the last column.
    shaped.Canvas().Brush().SetColor(M);
    shaped.Canvas().FillRect({10, 10, 15, 20});
    shaped.Canvas().FillRect({3, 3, 8, 5});
    TRgnData data;
    BuildMaskRegion(0, 0, shaped, data, M);
    const TRegion region = data.CreateRegion();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(region.Contains({x, y}), shaped.Pixel(x, y) != M) << x << "," << y;
}

TEST_F(MaskRegionTest, RegionDataSizes) {
    TRgnData data;
    data.SetSize(64);
    EXPECT_EQ(data.Size(), 64);
    data.SetSize(-5);
    EXPECT_EQ(data.Size(), 0);
    EXPECT_THROW((void)data.CreateRegion(), Exception);
}

TEST_F(MaskRegionTest, TheMainWindowsBackground) {
    const std::vector<uint8_t> block = test::RealSkinBlock();
    ASSERT_FALSE(block.empty());
    TVsGraphics graphics;
    TMemoryStream in(block);
    graphics.LoadFromStream(in);
    const TBitmap& background = graphics.Items(0)->Bitmap();
    const std::vector<TRect> runs = MaskRuns(0, 0, background, clFuchsia);
    EXPECT_EQ(runs.size(), 409u);
    TRgnData data;
    BuildMaskRegion(0, 0, background, data, clFuchsia);
    const TRegion region = data.CreateRegion();
    int inside = 0;
    for (int y = 0; y < 425; ++y)
        for (int x = 0; x < 518; ++x)
            inside += region.Contains({x, y}) ? 1 : 0;
    EXPECT_EQ(inside, 518 * 425 - 50849);
}

} // namespace
} // namespace vd
