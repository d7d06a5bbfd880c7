#include "widgets/slCommCl.h"
#include "widgets/slLBox.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

// Counts the notifications of one style object.
struct Counter {
    int count = 0;
    TslChangeEvent Handler() {
        return [this](TPersistent*) { ++count; };
    }
};

TEST(TwainColors, StoresResolvedColoursAtTheMomentTheyAreSet) {
    TTwainColors colors;
    EXPECT_EQ(colors.FromColor(), clGray);
    EXPECT_EQ(colors.ToColor(), clBlack);
    Counter changes;
    colors.OnChange = changes.Handler();
    colors.SetFromColor(clBtnFace);
    EXPECT_EQ(colors.RGBFromColor(), RGB(212, 208, 200));
    SystemColors::Set(15, RGB(1, 1, 1));
    EXPECT_EQ(colors.RGBFromColor(), RGB(212, 208, 200));
    SystemColors::SetClassic();
    colors.SetFromColor(clBtnFace);
    colors.SetToColor(clBlack);
    EXPECT_EQ(changes.count, 1);
    colors.SetToColor(clWhite);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(colors.RGBToColor(), clWhite);
}

TEST(Gradient, StepsAreClampedToOneTo255) {
    TGradient g;
    EXPECT_EQ(g.Steps(), 255);
    Counter changes;
    g.OnChange = changes.Handler();
    g.SetSteps(0);
    EXPECT_EQ(g.Steps(), 1);
    g.SetSteps(1000);
    EXPECT_EQ(g.Steps(), 255);
    g.SetSteps(300);
    EXPECT_EQ(changes.count, 2);
    g.SetPercentFilling(150);
    EXPECT_EQ(g.PercentFilling(), 100);
    EXPECT_EQ(changes.count, 2);
}

TEST(Gradient, OrientationNotifiesOnlyWhileActiveAndBrushStyleAlways) {
    TGradient g;
    Counter changes;
    g.OnChange = changes.Handler();
    g.SetOrientation(TslGradientDir::fgdVertical);
    EXPECT_EQ(g.Orientation(), TslGradientDir::fgdVertical);
    EXPECT_EQ(changes.count, 0);
    g.SetActive(true);
    g.SetOrientation(TslGradientDir::fgdRectangle);
    EXPECT_EQ(changes.count, 2);
    g.SetBrushStyle(TBrushStyle::bsSolid);
    g.SetBrushStyle(TBrushStyle::bsSolid);
    EXPECT_EQ(changes.count, 4);
    g.SetActive(true);
    g.SetBufferedDraw(false);
    EXPECT_EQ(changes.count, 4);
}

TEST(Bevel, DefaultsAndNotifications) {
    TslBevel bevel;
    EXPECT_EQ(bevel.Inner(), TBevelCut::bvNone);
    EXPECT_EQ(bevel.Outer(), TBevelCut::bvNone);
    EXPECT_EQ(bevel.Sides(), kAllSides);
    EXPECT_FALSE(bevel.Bold());
    Counter changes;
    bevel.OnChange = changes.Handler();
    bevel.SetInner(TBevelCut::bvNone);
    bevel.SetSides(kAllSides);
    EXPECT_EQ(changes.count, 0);
    bevel.SetOuter(TBevelCut::bvRaised);
    bevel.SetSides(TslSides{TslSide::fsdTop});
    bevel.SetBold(true);
    EXPECT_EQ(changes.count, 3);
}

TEST(ItemStyle, FontAndTextStyleNotifyAlwaysButChangesInsideTheFontDoNot) {
    TslListBoxItemStyle style;
    EXPECT_EQ(style.Color(), clBlack);
    EXPECT_EQ(style.DelineateColor(), clBlack);
    EXPECT_EQ(style.TextStyle(), TslTextStyle::fstNone);
    EXPECT_FALSE(style.Gradient().Active());
    Counter changes;
    style.SetChangeHandler(changes.Handler());
    style.Font().SetColor(clLime);
    EXPECT_EQ(changes.count, 0);
    TFont same = style.Font();
    style.SetFont(same);
    style.SetTextStyle(TslTextStyle::fstNone);
    EXPECT_EQ(changes.count, 2);
    style.SetColor(clBlack);
    EXPECT_EQ(changes.count, 2);
    style.SetColor(clYellow);
    EXPECT_EQ(changes.count, 3);
}

TEST(ItemStyle, ItsBevelAndGradientReportThroughTheOneHandler) {
    TslListBoxItemStyle style;
    Counter changes;
    style.SetChangeHandler(changes.Handler());
    style.Bevel().SetInner(TBevelCut::bvLowered);
    style.Gradient().SetActive(true);
    style.Gradient().SetFromColor(clYellow);
    EXPECT_EQ(changes.count, 3);
}

TEST(Align, DefaultsAndNotifications) {
    T2DAlign align;
    EXPECT_EQ(align.Horizontal(), TslHorAlign::fhaLeft);
    EXPECT_EQ(align.Vertical(), TslVertAlign::fvaTop);
    Counter changes;
    align.OnChange = changes.Handler();
    align.SetHorizontal(TslHorAlign::fhaLeft);
    align.SetVertical(TslVertAlign::fvaBottom);
    EXPECT_EQ(changes.count, 1);
}

} // namespace
} // namespace vd
