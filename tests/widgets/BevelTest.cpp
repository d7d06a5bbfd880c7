#include "widgets/sl3DCol.h"
#include "widgets/slUtils.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace vd {
namespace {

using test::Filled;
using test::kSentinel;

const TColor kMid = RGB(128, 128, 128);   // button shadow
const TColor kLight = RGB(255, 255, 255); // button highlight
const TColor kDark = RGB(64, 64, 64);     // 3-D dark shadow
const TColor kFill = RGB(10, 200, 30);

TRect Bevel(TBitmap& b, const TRect& r, TBevelCut inner, TBevelCut outer, bool bold,
            TslSides sides = kAllSides, bool no_fill = false) {
    return DrawBevelFrame(b.Canvas(), r, sides, inner, outer, bold, kFill, no_fill);
}

TEST(DrawBevelFrame, ShrinksByTheWidthOfEachRing) {
    TBitmap b = Filled(20, 20);
    const TRect r{2, 2, 17, 17};
    using enum TBevelCut;
    EXPECT_EQ(Bevel(b, r, bvNone, bvRaised, true), (TRect{3, 3, 15, 15}));
    EXPECT_EQ(Bevel(b, r, bvNone, bvLowered, true), (TRect{4, 4, 16, 16}));
    EXPECT_EQ(Bevel(b, r, bvRaised, bvNone, false), (TRect{3, 3, 16, 16}));
    EXPECT_EQ(Bevel(b, r, bvSpace, bvSpace, true), r);
    EXPECT_EQ(Bevel(b, r, bvNone, bvNone, false), r);
    // The outer ring surrounds the inner one.
    EXPECT_EQ(Bevel(b, r, bvLowered, bvRaised, false), (TRect{4, 4, 15, 15}));
    EXPECT_EQ(Bevel(b, r, bvLowered, bvRaised, true), (TRect{5, 5, 14, 14}));
}

TEST(DrawBevelFrame, LoweredIsShadowedTopLeftAndLightBottomRight) {
    TBitmap b = Filled(10, 10);
    const TRect inner = Bevel(b, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvLowered, false);
    EXPECT_EQ(inner, (TRect{2, 2, 7, 7}));
    for (int i = 1; i < 8; ++i) {
        EXPECT_EQ(b.Pixel(1, i), kMid) << i;
        EXPECT_EQ(b.Pixel(i, 1), kMid) << i;
        EXPECT_EQ(b.Pixel(8, i), kLight) << i;
        EXPECT_EQ(b.Pixel(i + 1, 8), kLight) << i;
    }
    // The fill covers the inner rectangle including its last column and row.
    EXPECT_EQ(test::CountColor(b, kFill, {0, 0, 10, 10}), 36);
    EXPECT_EQ(b.Pixel(2, 2), kFill);
    EXPECT_EQ(b.Pixel(7, 7), kFill);
    EXPECT_EQ(b.Pixel(0, 0), kSentinel);
    EXPECT_EQ(b.Pixel(9, 9), kSentinel);
    EXPECT_EQ(b.Pixel(8, 9), kSentinel);
}

TEST(DrawBevelFrame, RaisedBoldAddsTheDarkLineOutsideTheShadowedSides) {
    TBitmap b = Filled(12, 12);
    Bevel(b, {1, 1, 9, 9}, TBevelCut::bvNone, TBevelCut::bvRaised, true);
    EXPECT_EQ(b.Pixel(1, 1), kLight);
    EXPECT_EQ(b.Pixel(1, 8), kLight);
    EXPECT_EQ(b.Pixel(1, 9), kDark); // the bottom is drawn after the left side
    EXPECT_EQ(b.Pixel(5, 1), kLight);
    EXPECT_EQ(b.Pixel(9, 1), kDark);
    EXPECT_EQ(b.Pixel(9, 5), kDark);
    EXPECT_EQ(b.Pixel(8, 2), kMid);
    EXPECT_EQ(b.Pixel(5, 9), kDark);
    EXPECT_EQ(b.Pixel(2, 8), kMid);
    EXPECT_EQ(b.Pixel(2, 2), kFill);
    EXPECT_EQ(b.Pixel(7, 7), kFill);
}

TEST(DrawBevelFrame, DrawsOnlyTheSidesAsked) {
    TBitmap b = Filled(10, 10);
    const TRect inner = Bevel(b, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvLowered, false,
                              TslSides{TslSide::fsdTop}, true);
    EXPECT_EQ(inner, (TRect{1, 2, 8, 8}));
    EXPECT_EQ(test::CountColor(b, kMid, {0, 0, 10, 10}), 7);
    EXPECT_EQ(test::CountColor(b, kSentinel, {0, 0, 10, 10}), 93);
}

TEST(DrawBevelFrame, BoldLoweredLeftReachesTheBottomWhenTheBottomIsLeftOut) {
    TBitmap without = Filled(10, 10);
    Bevel(without, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvLowered, true,
          TslSides{TslSide::fsdLeft, TslSide::fsdTop, TslSide::fsdRight}, true);
    EXPECT_EQ(without.Pixel(2, 8), kMid);
    EXPECT_EQ(without.Pixel(1, 7), kDark);

    TBitmap with = Filled(10, 10);
    Bevel(with, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvLowered, true, kAllSides, true);
    EXPECT_EQ(with.Pixel(2, 7), kMid);
    EXPECT_EQ(with.Pixel(2, 8), kLight); // the bottom line
}

TEST(DrawBevelFrame, NoFillLeavesTheInsideAlone) {
    TBitmap b = Filled(10, 10);
    Bevel(b, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvRaised, false, kAllSides, true);
    EXPECT_EQ(test::CountColor(b, kFill, {0, 0, 10, 10}), 0);
    EXPECT_EQ(b.Pixel(4, 4), kSentinel);
}

TEST(DrawBevelFrame, AZeroWidthPenCountsAsOneAndThePenIsKept) {
    TBitmap b = Filled(10, 10);
    b.Canvas().Pen().SetWidth(0);
    b.Canvas().Pen().SetColor(clRed);
    Bevel(b, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvLowered, false);
    EXPECT_EQ(b.Pixel(1, 4), kMid);
    EXPECT_EQ(b.Pixel(0, 4), kSentinel);
    EXPECT_EQ(b.Canvas().Pen().Width(), 0);
    EXPECT_EQ(b.Canvas().Pen().Color(), clRed);
}

TEST(LocalColors, PushedSetColoursTheBevelUntilPopped) {
    Tsl3DLocalColors colors;
    Derive3DColors(colors, clRed);
    EXPECT_EQ(colors.Shadow(), RGB(195, 0, 0));
    EXPECT_EQ(colors.Highlight(), RGB(255, 60, 60));
    EXPECT_EQ(colors.DkShadow(), cl3DDkShadow);

    ASSERT_EQ(Current3DColors(), nullptr);
    Push3DColors(colors);
    EXPECT_EQ(Current3DColors(), &colors);
    TBitmap b = Filled(10, 10);
    Bevel(b, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvLowered, true);
    EXPECT_EQ(b.Pixel(1, 4), kDark); // DkShadow stays the desktop's
    EXPECT_EQ(b.Pixel(2, 4), RGB(195, 0, 0));
    EXPECT_EQ(b.Pixel(8, 4), RGB(255, 60, 60));
    Pop3DColors(colors);
    EXPECT_EQ(Current3DColors(), nullptr);

    TBitmap after = Filled(10, 10);
    Bevel(after, {1, 1, 8, 8}, TBevelCut::bvNone, TBevelCut::bvLowered, true);
    EXPECT_EQ(after.Pixel(2, 4), kMid);
}

TEST(LocalColors, DerivingResolvesSystemColoursAndClampsEachChannel) {
    Tsl3DLocalColors colors;
    Derive3DColors(colors, clBtnFace); // 212, 208, 200 in the classic scheme
    EXPECT_EQ(colors.Shadow(), RGB(152, 148, 140));
    EXPECT_EQ(colors.Highlight(), RGB(255, 255, 255));
    Derive3DColors(colors, RGB(20, 100, 230));
    EXPECT_EQ(colors.Shadow(), RGB(0, 40, 170));
    EXPECT_EQ(colors.Highlight(), RGB(80, 160, 255));
}

TEST(LocalColors, PushesNestAndDestroyingAnySetClearsTheCurrentOne) {
    Tsl3DLocalColors outer;
    Tsl3DLocalColors inner;
    Push3DColors(outer);
    Push3DColors(inner);
    EXPECT_EQ(Current3DColors(), &inner);
    Pop3DColors(inner);
    EXPECT_EQ(Current3DColors(), &outer);
    { Tsl3DLocalColors other; }
    EXPECT_EQ(Current3DColors(), nullptr);
}

} // namespace
} // namespace vd
