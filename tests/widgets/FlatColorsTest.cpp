// The flat menu painter's colour arithmetic: lightening with rounding to even and the surface's
// nearest colour, darkening with its green bias and clamping, grey with its cap, and the pixel
// loops over bitmaps.
#include "widgets/FlatColors.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

using flat::DarkenColor;
using flat::GrayColor;
using flat::LightenColor;

TEST(FlatColors, LightenMovesEachChannelTowardWhiteRoundingHalvesToEven) {
    EXPECT_EQ(LightenColor(32, RGB(212, 208, 200), 86), RGB(249, 248, 247));
    EXPECT_EQ(LightenColor(32, RGB(212, 208, 200), 16), RGB(219, 216, 209));
    // 50 * 1 / 100 = 0.5 rounds to 0; 150 * 1 / 100 = 1.5 rounds to 2.
    EXPECT_EQ(LightenColor(32, RGB(205, 105, 0), 1), RGB(205, 107, 3));
    EXPECT_EQ(LightenColor(32, RGB(10, 20, 30), 0), RGB(10, 20, 30));
}

TEST(FlatColors, LightenAbove100IsWhiteAndANegativeAmountDarkens) {
    EXPECT_EQ(LightenColor(32, RGB(10, 20, 30), 100), clWhite);
    EXPECT_EQ(LightenColor(32, RGB(10, 20, 30), 250), clWhite);
    // 155 * -10 / 100 = -15.5 rounds to -16.
    EXPECT_EQ(LightenColor(32, RGB(100, 100, 100), -10), RGB(84, 84, 84));
}

TEST(FlatColors, LightenResolvesSystemColoursAndGivesTheSurfacesNearestColour) {
    EXPECT_EQ(LightenColor(32, clBtnFace, 86), LightenColor(32, ColorToRGB(clBtnFace), 86));
    // 16 bits: five bits of red and blue, six of green, the top bits repeated below.
    EXPECT_EQ(flat::NearestColor(16, RGB(0x13, 0x13, 0x13)), RGB(0x10, 0x10, 0x10));
    EXPECT_EQ(flat::NearestColor(16, RGB(0x13, 0x17, 0x13)), RGB(0x10, 0x14, 0x10));
    EXPECT_EQ(flat::NearestColor(16, clWhite), clWhite);
    // 8 bits: one of the twenty fixed palette colours.
    EXPECT_EQ(flat::NearestColor(8, RGB(250, 250, 250)), clWhite);
    EXPECT_EQ(flat::NearestColor(8, RGB(200, 190, 195)), RGB(192, 192, 192));
    EXPECT_EQ(LightenColor(8, RGB(240, 10, 10), 0), RGB(255, 0, 0));
}

TEST(FlatColors, DarkenTakesTwoLessFromGreenAndClamps) {
    EXPECT_EQ(DarkenColor(RGB(100, 100, 100), 10), RGB(90, 92, 90));
    EXPECT_EQ(DarkenColor(clBlack, 10), clBlack);
    EXPECT_EQ(DarkenColor(clWhite, -40), clWhite);
    // A negative amount lightens: 40 on red and blue, 42 on green.
    EXPECT_EQ(DarkenColor(RGB(100, 100, 100), -40), RGB(140, 142, 140));
    EXPECT_EQ(DarkenColor(RGB(5, 1, 200), 3), RGB(2, 0, 197));
}

TEST(FlatColors, GrayIsTheAveragePlusTheLevelAtMost240) {
    EXPECT_EQ(GrayColor(RGB(30, 60, 90), 10), RGB(70, 70, 70));
    EXPECT_EQ(GrayColor(clWhite, 10), RGB(240, 240, 240));
    EXPECT_EQ(GrayColor(clWhite, 0), RGB(240, 240, 240));
    // (1 + 1 + 2) div 3 truncates to 1.
    EXPECT_EQ(GrayColor(RGB(1, 1, 2), 0), RGB(1, 1, 1));
}

TEST(FlatColors, BitmapsAreConvertedPixelByPixel) {
    TBitmap b = test::Filled(4, 3, RGB(100, 100, 100));
    b.Canvas().SetPixel(1, 1, RGB(30, 60, 90));
    b.Canvas().SetPixel(2, 1, RGB(30, 60, 90));
    TBitmap dimmed = b;
    flat::DimBitmap(dimmed, 30);
    EXPECT_EQ(dimmed.Pixel(0, 0), LightenColor(32, RGB(100, 100, 100), 30));
    EXPECT_EQ(dimmed.Pixel(1, 1), LightenColor(32, RGB(30, 60, 90), 30));
    EXPECT_EQ(dimmed.Pixel(2, 1), LightenColor(32, RGB(30, 60, 90), 30));
    EXPECT_EQ(dimmed.Pixel(3, 1), LightenColor(32, RGB(100, 100, 100), 30));
    EXPECT_EQ(b.Pixel(1, 1), RGB(30, 60, 90)) << "the copy was converted, not the original";
    flat::GrayBitmap(b, 10);
    EXPECT_EQ(b.Pixel(1, 1), RGB(70, 70, 70));
    EXPECT_EQ(b.Pixel(3, 2), RGB(110, 110, 110));
}

TEST(FlatColors, ShadowSetsThePixelsThatDifferFromTheBottomLeftOne) {
    TBitmap icon = test::Filled(3, 3, clFuchsia);
    icon.Canvas().SetPixel(1, 0, clRed);
    icon.Canvas().SetPixel(2, 1, clBlue);
    TBitmap surface = test::Filled(8, 8, clWhite);
    flat::DrawBitmapShadow(icon, surface.Canvas(), 2, 3, clGray);
    EXPECT_EQ(test::CountColor(surface, clGray, {0, 0, 8, 8}), 2);
    EXPECT_EQ(surface.Pixel(3, 3), clGray);
    EXPECT_EQ(surface.Pixel(4, 4), clGray);
}

} // namespace
} // namespace vd
