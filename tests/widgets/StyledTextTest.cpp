#include "widgets/sl3DCol.h"
#include "widgets/slUtils.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

using test::Filled;
using test::kSentinel;

const TColor kFace = RGB(0, 0, 255);
const TColor kShadow = RGB(128, 128, 128);
const TColor kHighlight = RGB(255, 255, 255);
constexpr std::string_view kText = "Styled text";
const TRect kRect{4, 4, 96, 24};

TFont FaceFont(TColor color = kFace) {
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
    font.SetColor(color);
    return font;
}

TBitmap Draw(TslTextStyle style, unsigned format = 0) {
    TBitmap b = Filled(100, 28);
    const TFont font = FaceFont();
    DrawStyledText(b.Canvas(), kRect, kText, style, &font, format);
    return b;
}

// One plain pass in `color` with the rectangle moved by (dx, dy).
void Pass(TBitmap& b, TColor color, int dx, int dy) {
    const TFont font = FaceFont(color);
    DrawStyledText(b.Canvas(), kRect.Offset(dx, dy), kText, TslTextStyle::fstNone, &font, 0);
}

int Count(const TBitmap& b, TColor color) {
    return test::CountColor(b, color, {0, 0, 100, 28});
}

TEST(DrawStyledText, PlainTextUsesTheFontColourOverATransparentBackground) {
    const TBitmap b = Draw(TslTextStyle::fstNone);
    EXPECT_GT(Count(b, kFace), 20);
    EXPECT_EQ(Count(b, kFace) + Count(b, kSentinel), 100 * 28);
}

TEST(DrawStyledText, EachEffectIsItsPassesInOrder) {
    struct Case {
        TslTextStyle style;
        std::vector<std::tuple<TColor, int, int>> passes;
    };
    const std::vector<Case> cases = {
        {TslTextStyle::fstRaised, {{kHighlight, -1, -1}, {kShadow, 1, 1}, {kFace, 0, 0}}},
        {TslTextStyle::fstRecessed, {{kShadow, -1, -1}, {kHighlight, 1, 1}, {kFace, 0, 0}}},
        {TslTextStyle::fstPushed, {{kHighlight, 0, 0}, {kShadow, -1, -1}}},
        {TslTextStyle::fstShadow, {{kShadow, 2, 2}, {kFace, 0, 0}}},
        {TslTextStyle::fstVolumetric, {{kFace, 0, 0}}},
    };
    for (const Case& c : cases) {
        TBitmap expected = Filled(100, 28);
        for (const auto& [color, dx, dy] : c.passes)
            Pass(expected, color, dx, dy);
        EXPECT_EQ(test::Pixels(Draw(c.style)), test::Pixels(expected))
            << "style " << static_cast<int>(c.style);
    }
}

TEST(DrawStyledText, PushedShowsNoFaceColour) {
    const TBitmap b = Draw(TslTextStyle::fstPushed);
    EXPECT_EQ(Count(b, kFace), 0);
    EXPECT_GT(Count(b, kShadow), 0);
    EXPECT_GT(Count(b, kHighlight), 0);
}

TEST(DrawStyledText, VolumetricLooksLikeNone) {
    EXPECT_EQ(test::Pixels(Draw(TslTextStyle::fstVolumetric)),
              test::Pixels(Draw(TslTextStyle::fstNone)));
}

TEST(DrawStyledText, EffectColoursIgnoreTheCurrent3DColours) {
    Tsl3DLocalColors colors;
    Derive3DColors(colors, clRed);
    Push3DColors(colors);
    const TBitmap pushed = Draw(TslTextStyle::fstRecessed);
    Pop3DColors(colors);
    EXPECT_EQ(test::Pixels(pushed), test::Pixels(Draw(TslTextStyle::fstRecessed)));
}

TEST(DrawStyledText, FormatZeroIsOneLineCentredVertically) {
    EXPECT_EQ(test::Pixels(Draw(TslTextStyle::fstNone, 0)),
              test::Pixels(Draw(TslTextStyle::fstNone, DT_SINGLELINE | DT_VCENTER)));
    EXPECT_NE(test::Pixels(Draw(TslTextStyle::fstNone, 0)),
              test::Pixels(Draw(TslTextStyle::fstNone, DT_SINGLELINE)));
}

TEST(DrawStyledText, WithoutAFontNothingIsDrawn) {
    TBitmap b = Filled(100, 28);
    DrawStyledText(b.Canvas(), kRect, kText, TslTextStyle::fstRaised, nullptr, 0);
    EXPECT_EQ(Count(b, kSentinel), 100 * 28);
}

TEST(DrawStyledText, LeavesTheCanvasFontAndBrushAsTheyWere) {
    TBitmap b = Filled(100, 28);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Tahoma");
    c.Font().SetColor(clGreen);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    const TFont font = FaceFont();
    DrawStyledText(c, kRect, kText, TslTextStyle::fstShadow, &font, 0);
    EXPECT_EQ(c.Font().Name(), "Tahoma");
    EXPECT_EQ(c.Font().Color(), clGreen);
    EXPECT_EQ(c.Brush().Style(), TBrushStyle::bsSolid);
}

} // namespace
} // namespace vd
