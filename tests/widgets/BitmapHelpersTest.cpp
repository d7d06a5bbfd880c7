#include "widgets/slUtils.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

using test::Filled;

TEST(RecolorBitmap, ReplacesExactlyTheGivenColour) {
    TBitmap b = Filled(4, 3, clBlack);
    b.Canvas().SetPixel(1, 1, RGB(0, 0, 1));
    b.Canvas().SetPixel(2, 2, clRed);
    RecolorBitmap(b, clBlack, clWhite);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(3, 2), clWhite);
    EXPECT_EQ(b.Pixel(1, 1), RGB(0, 0, 1));
    EXPECT_EQ(b.Pixel(2, 2), clRed);
}

TEST(RecolorBitmap, LeavesAnEmptyBitmapAlone) {
    TBitmap empty;
    RecolorBitmap(empty, clBlack, clWhite);
    EXPECT_TRUE(empty.Empty());
}

TEST(CornerPixelColor, ReadsTheCornerOfEachMode) {
    TBitmap b = Filled(5, 4, clGray);
    b.Canvas().SetPixel(0, 0, clRed);
    b.Canvas().SetPixel(0, 3, clLime);
    b.Canvas().SetPixel(4, 0, clBlue);
    b.Canvas().SetPixel(4, 3, clYellow);
    EXPECT_EQ(CornerPixelColor(b, TslAutoTransparentColor::ftcLeftTopPixel), clRed);
    EXPECT_EQ(CornerPixelColor(b, TslAutoTransparentColor::ftcLeftBottomPixel), clLime);
    EXPECT_EQ(CornerPixelColor(b, TslAutoTransparentColor::ftcRightTopPixel), clBlue);
    EXPECT_EQ(CornerPixelColor(b, TslAutoTransparentColor::ftcRightBottomPixel), clYellow);
}

TEST(DrawBitmapTransparent, LeavesThePixelsOfTheTransparentColourUnpainted) {
    TBitmap glyph = Filled(3, 3, clOlive);
    glyph.Canvas().SetPixel(1, 1, clRed);
    glyph.Canvas().SetPixel(2, 0, clBlack);
    TBitmap target = Filled(6, 6, clSilver);
    DrawBitmapTransparent(target.Canvas(), glyph, 2, 1, clOlive);
    EXPECT_EQ(target.Pixel(3, 2), clRed);
    EXPECT_EQ(target.Pixel(4, 1), clBlack);
    EXPECT_EQ(test::CountColor(target, clSilver, {0, 0, 6, 6}), 34);
    EXPECT_EQ(test::CountColor(target, clOlive, {0, 0, 6, 6}), 0);
}

TEST(DrawBitmapTransparent, ResolvesASystemTransparentColour) {
    TBitmap glyph = Filled(2, 2, ColorToRGB(clBtnFace));
    glyph.Canvas().SetPixel(0, 0, clRed);
    TBitmap target = Filled(2, 2, clSilver);
    DrawBitmapTransparent(target.Canvas(), glyph, 0, 0, clBtnFace);
    EXPECT_EQ(target.Pixel(0, 0), clRed);
    EXPECT_EQ(test::CountColor(target, clSilver, {0, 0, 2, 2}), 3);
}

} // namespace
} // namespace vd
