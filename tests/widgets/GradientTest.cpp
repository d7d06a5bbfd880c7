#include "widgets/slUtils.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

using test::Filled;
using test::kSentinel;

TGradient Gradient(TslGradientDir orientation, TColor from, TColor to) {
    TGradient g;
    g.SetActive(true);
    g.SetOrientation(orientation);
    g.SetFromColor(from);
    g.SetToColor(to);
    return g;
}

TEST(FillGradient, VerticalYellowToBlackGivesOneColumnPerPixel) {
    TBitmap b = Filled(6, 4);
    const TGradient g = Gradient(TslGradientDir::fgdVertical, RGB(255, 255, 0), RGB(0, 0, 0));
    FillGradient(b.Canvas(), {0, 0, 6, 4}, g, 1, TPenStyle::psSolid);
    const unsigned expected[] = {255, 204, 153, 102, 51, 0};
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(b.Pixel(x, y), RGB(expected[x], expected[x], 0)) << x << "," << y;
}

TEST(FillGradient, HorizontalRunsFromTopToBottomInsideTheRectangleOnly) {
    TBitmap b = Filled(5, 8);
    const TGradient g = Gradient(TslGradientDir::fgdHorizontal, clWhite, clBlack);
    FillGradient(b.Canvas(), {1, 2, 4, 6}, g, 1, TPenStyle::psSolid);
    // Four rows, four steps: 255, 170, 85, 0.
    const unsigned expected[] = {255, 170, 85, 0};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(b.Pixel(2, 2 + y), RGB(expected[y], expected[y], expected[y]));
    EXPECT_EQ(b.Pixel(0, 3), kSentinel);
    EXPECT_EQ(b.Pixel(4, 3), kSentinel);
    EXPECT_EQ(b.Pixel(2, 1), kSentinel);
    EXPECT_EQ(b.Pixel(2, 6), kSentinel);
}

TEST(FillGradient, PercentFillingStopsAfterTheStepThatPassesIt) {
    for (const auto& [percent, last_drawn] : {std::pair{50, 6}, {0, 1}, {100, 9}}) {
        TBitmap b = Filled(3, 10);
        TGradient g = Gradient(TslGradientDir::fgdHorizontal, clWhite, clBlack);
        g.SetPercentFilling(percent);
        FillGradient(b.Canvas(), {0, 0, 3, 10}, g, 1, TPenStyle::psSolid);
        for (int y = 0; y < 10; ++y) {
            if (y <= last_drawn)
                EXPECT_NE(b.Pixel(1, y), kSentinel) << "percent " << percent << " row " << y;
            else
                EXPECT_EQ(b.Pixel(1, y), kSentinel) << "percent " << percent << " row " << y;
        }
    }
}

TEST(FillGradient, FewerStepsThanPixelsMakeWiderBands) {
    TBitmap b = Filled(10, 2);
    TGradient g = Gradient(TslGradientDir::fgdVertical, RGB(0, 0, 0), RGB(0, 0, 200));
    g.SetSteps(3);
    FillGradient(b.Canvas(), {0, 0, 10, 2}, g, 1, TPenStyle::psSolid);
    // Bands at MulDiv(i, 10, 3): 0..2, 3..6, 7..9; colours 0, 100, 200 blue.
    for (int x = 0; x < 10; ++x) {
        const unsigned blue = x < 3 ? 0 : x < 7 ? 100 : 200;
        EXPECT_EQ(b.Pixel(x, 1), RGB(0, 0, blue)) << x;
    }
}

TEST(FillGradient, InactiveOrSingleStepDrawsNothing) {
    TBitmap b = Filled(4, 4);
    TGradient g = Gradient(TslGradientDir::fgdVertical, clWhite, clBlack);
    g.SetSteps(1);
    FillGradient(b.Canvas(), {0, 0, 4, 4}, g, 1, TPenStyle::psSolid);
    g.SetSteps(10);
    g.SetActive(false);
    FillGradient(b.Canvas(), {0, 0, 4, 4}, g, 1, TPenStyle::psSolid);
    EXPECT_EQ(test::CountColor(b, kSentinel, {0, 0, 4, 4}), 16);
}

TEST(FillGradient, RectangleGoesFromTheEdgeInwards) {
    TBitmap b = Filled(9, 9);
    const TGradient g = Gradient(TslGradientDir::fgdRectangle, clRed, clBlue);
    FillGradient(b.Canvas(), {0, 0, 9, 9}, g, 1, TPenStyle::psSolid);
    // Half of 9 is 4: four frames, red outside to blue at the middle.
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(8, 4), clRed);
    EXPECT_EQ(b.Pixel(4, 8), clRed);
    EXPECT_EQ(b.Pixel(4, 4), clBlue);
    EXPECT_EQ(b.Pixel(3, 3), clBlue);
    EXPECT_EQ(b.Pixel(1, 4), RGB(170, 0, 85));
}

TEST(FillGradient, ConvergentPutsTheStartColourAtBothEdges) {
    TBitmap b = Filled(4, 8);
    TGradient g = Gradient(TslGradientDir::fgdHorzConvergent, clWhite, clBlack);
    FillGradient(b.Canvas(), {0, 0, 4, 8}, g, 1, TPenStyle::psSolid);
    EXPECT_EQ(b.Pixel(1, 0), clWhite);
    EXPECT_EQ(b.Pixel(1, 7), clWhite);
    EXPECT_EQ(b.Pixel(1, 3), clBlack);
    EXPECT_EQ(b.Pixel(1, 4), clBlack);
    EXPECT_EQ(g.Orientation(), TslGradientDir::fgdHorzConvergent);

    TBitmap v = Filled(8, 2);
    g.SetOrientation(TslGradientDir::fgdVertConvergent);
    FillGradient(v.Canvas(), {0, 0, 8, 2}, g, 1, TPenStyle::psSolid);
    EXPECT_EQ(v.Pixel(0, 0), clWhite);
    EXPECT_EQ(v.Pixel(7, 0), clWhite);
    EXPECT_EQ(v.Pixel(3, 1), clBlack);
    EXPECT_EQ(v.Pixel(4, 1), clBlack);
    EXPECT_EQ(g.Orientation(), TslGradientDir::fgdVertConvergent);
}

TEST(FillGradient, BiasStartsInItsTopCorner) {
    {
        TBitmap b = Filled(12, 12);
        const TGradient g = Gradient(TslGradientDir::fgdLeftBias, clWhite, clBlack);
        FillGradient(b.Canvas(), {0, 0, 12, 12}, g, 1, TPenStyle::psSolid);
        // Each line leaves out its end point on the top edge, so the corner pixel itself is
        // the one below it.
        EXPECT_EQ(b.Pixel(0, 1), clWhite);
        EXPECT_NE(b.Pixel(11, 11), kSentinel);
        EXPECT_LT(GetRValue(b.Pixel(11, 11)), 40u);
        EXPECT_GT(GetRValue(b.Pixel(1, 1)), GetRValue(b.Pixel(6, 6)));
    }
    {
        TBitmap b = Filled(12, 12);
        const TGradient g = Gradient(TslGradientDir::fgdRightBias, clWhite, clBlack);
        FillGradient(b.Canvas(), {0, 0, 12, 12}, g, 1, TPenStyle::psSolid);
        EXPECT_GT(GetRValue(b.Pixel(11, 0)), 200u);
        EXPECT_LT(GetRValue(b.Pixel(0, 11)), 40u);
    }
}

TEST(FillGradient, BiasLinesCoverTheRectangleBelowItsTopEdge) {
    TBitmap b = Filled(10, 7);
    const TGradient g = Gradient(TslGradientDir::fgdLeftBias, clRed, clBlue);
    FillGradient(b.Canvas(), {0, 0, 10, 7}, g, 0, TPenStyle::psSolid);
    EXPECT_EQ(test::CountColor(b, kSentinel, {0, 1, 10, 7}), 0);
}

TEST(FillGradient, HatchedBrushPaintsOnlyTheHatch) {
    TBitmap b = Filled(16, 16);
    TGradient g = Gradient(TslGradientDir::fgdHorizontal, clRed, clRed);
    g.SetBrushStyle(TBrushStyle::bsCross);
    FillGradient(b.Canvas(), {0, 0, 16, 16}, g, 1, TPenStyle::psSolid);
    const int red = test::CountColor(b, clRed, {0, 0, 16, 16});
    const int untouched = test::CountColor(b, kSentinel, {0, 0, 16, 16});
    EXPECT_GT(red, 0);
    EXPECT_GT(untouched, 0);
    EXPECT_EQ(red + untouched, 256);
}

TEST(FillGradient, BufferedDrawGivesTheSamePictureAtAnOffset) {
    TBitmap direct = Filled(20, 12);
    TBitmap buffered = Filled(20, 12);
    TGradient g = Gradient(TslGradientDir::fgdLeftBias, clYellow, clNavy);
    // The rectangle reaches the picture's right and bottom edges, where the lines that run
    // beyond it are cut off either way.
    FillGradient(direct.Canvas(), {3, 2, 20, 12}, g, 1, TPenStyle::psSolid);
    g.SetBufferedDraw(true);
    FillGradient(buffered.Canvas(), {3, 2, 20, 12}, g, 1, TPenStyle::psSolid);
    EXPECT_EQ(test::Pixels(direct), test::Pixels(buffered));
}

TEST(FillGradient, LeavesTheCanvasBrushAndPenAsTheyWere) {
    TBitmap b = Filled(8, 8);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clAqua);
    c.Brush().SetStyle(TBrushStyle::bsDiagCross);
    c.Pen().SetColor(clMaroon);
    c.Pen().SetWidth(3);
    TGradient g = Gradient(TslGradientDir::fgdHorizontal, clWhite, clBlack);
    FillGradient(c, {0, 0, 8, 8}, g, 1, TPenStyle::psSolid);
    g.SetOrientation(TslGradientDir::fgdRightBias);
    FillGradient(c, {0, 0, 8, 8}, g, 2, TPenStyle::psDot);
    EXPECT_EQ(c.Brush().Color(), clAqua);
    EXPECT_EQ(c.Brush().Style(), TBrushStyle::bsDiagCross);
    EXPECT_EQ(c.Pen().Color(), clMaroon);
    EXPECT_EQ(c.Pen().Width(), 3);
    EXPECT_EQ(c.Pen().Style(), TPenStyle::psSolid);
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFailsOnZero) {
    EXPECT_EQ(MulDiv(1, 255, 2), 128);
    EXPECT_EQ(MulDiv(1, -255, 2), -128);
    EXPECT_EQ(MulDiv(2, -255, 5), -102);
    EXPECT_EQ(MulDiv(7, 3, 0), -1);
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
}

} // namespace
} // namespace vd
