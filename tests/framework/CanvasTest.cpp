// Drawing with the classic semantics: which pixels a rectangle, a line, a copy and a masked copy
// touch, and where text lands for each DrawText flag.

#include "framework/Graphics.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/PixelProbe.h"

#include <gtest/gtest.h>

#include <QImage>

namespace vd {
namespace {

using test::InkBox;
using test::SolidBitmap;

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { test::StartGui(); }

    // A white picture with a black pen and a red brush.
    static TBitmap Paper(int width, int height) {
        TBitmap bitmap = SolidBitmap(width, height, clWhite);
        bitmap.Canvas().Pen().SetColor(clBlack);
        bitmap.Canvas().Brush().SetColor(clRed);
        return bitmap;
    }
};

TEST_F(CanvasTest, FillRectCoversLeftAndTopButNotRightAndBottom) {
    TBitmap b = Paper(10, 10);
    b.Canvas().FillRect({2, 3, 5, 7});
    EXPECT_EQ(b.Pixel(2, 3), clRed);
    EXPECT_EQ(b.Pixel(4, 6), clRed);
    EXPECT_EQ(b.Pixel(5, 3), clWhite);
    EXPECT_EQ(b.Pixel(2, 7), clWhite);
    EXPECT_EQ(b.Pixel(1, 3), clWhite);
    EXPECT_EQ(b.Pixel(2, 2), clWhite);
    EXPECT_EQ(InkBox(b, clWhite), (TRect{2, 3, 5, 7}));
}

TEST_F(CanvasTest, FillRectWithClearBrushOrEmptyRectDrawsNothing) {
    TBitmap b = Paper(10, 10);
    b.Canvas().FillRect({5, 5, 5, 9});
    b.Canvas().FillRect({6, 6, 2, 2});
    b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    b.Canvas().FillRect({0, 0, 10, 10});
    EXPECT_EQ(InkBox(b, clWhite), TRect{});
}

TEST_F(CanvasTest, RectangleOutlinesTheLastInsidePixelsAndFillsWithin) {
    TBitmap b = Paper(10, 10);
    b.Canvas().Rectangle({1, 1, 6, 5});
    EXPECT_EQ(InkBox(b, clWhite), (TRect{1, 1, 6, 5}));
    for (int x = 1; x <= 5; ++x) {
        EXPECT_EQ(b.Pixel(x, 1), clBlack) << x;
        EXPECT_EQ(b.Pixel(x, 4), clBlack) << x;
    }
    for (int y = 1; y <= 4; ++y) {
        EXPECT_EQ(b.Pixel(1, y), clBlack) << y;
        EXPECT_EQ(b.Pixel(5, y), clBlack) << y;
    }
    for (int y = 2; y <= 3; ++y)
        for (int x = 2; x <= 4; ++x)
            EXPECT_EQ(b.Pixel(x, y), clRed) << x << "," << y;
}

TEST_F(CanvasTest, RectangleWithoutPenIsOnePixelSmaller) {
    TBitmap b = Paper(10, 10);
    b.Canvas().Pen().SetStyle(TPenStyle::psClear);
    b.Canvas().Rectangle({1, 1, 6, 5});
    EXPECT_EQ(InkBox(b, clWhite), (TRect{1, 1, 5, 4}));
    EXPECT_EQ(b.Pixel(1, 1), clRed);
}

TEST_F(CanvasTest, RectangleWithClearBrushLeavesTheInsideAndThePenPosition) {
    TBitmap b = Paper(10, 10);
    b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    b.Canvas().MoveTo(8, 9);
    b.Canvas().Rectangle({1, 1, 6, 5});
    EXPECT_EQ(b.Pixel(3, 2), clWhite);
    EXPECT_EQ(b.Pixel(1, 1), clBlack);
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{8, 9}));
}

TEST_F(CanvasTest, FrameRectDrawsOnePixelFrameInBrushColour) {
    TBitmap b = Paper(10, 10);
    b.Canvas().FrameRect({2, 2, 7, 6});
    EXPECT_EQ(InkBox(b, clWhite), (TRect{2, 2, 7, 6}));
    EXPECT_EQ(b.Pixel(6, 5), clRed);
    EXPECT_EQ(b.Pixel(4, 3), clWhite);
}

TEST_F(CanvasTest, LineToLeavesOutItsLastPointAndMovesThePen) {
    TBitmap b = Paper(10, 10);
    TCanvas& c = b.Canvas();
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(c.PenPos(), (TPoint{5, 1}));
    EXPECT_EQ(InkBox(b, clWhite), (TRect{1, 1, 5, 2}));

    TBitmap v = Paper(10, 10);
    v.Canvas().MoveTo(3, 8);
    v.Canvas().LineTo(3, 2); // upwards: (3, 2) is left out
    EXPECT_EQ(InkBox(v, clWhite), (TRect{3, 3, 4, 9}));

    TBitmap d = Paper(10, 10);
    d.Canvas().MoveTo(0, 0);
    d.Canvas().LineTo(4, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d.Pixel(i, i), clBlack) << i;
    EXPECT_EQ(d.Pixel(4, 4), clWhite);
    EXPECT_EQ(test::CountColor(d.Image(), clBlack, {0, 0, 10, 10}), 4);
}

TEST_F(CanvasTest, LineToItsOwnStartDrawsNothingAndClearPenDrawsNothing) {
    TBitmap b = Paper(10, 10);
    b.Canvas().MoveTo(4, 4);
    b.Canvas().LineTo(4, 4);
    b.Canvas().Pen().SetStyle(TPenStyle::psClear);
    b.Canvas().LineTo(9, 4);
    EXPECT_EQ(InkBox(b, clWhite), TRect{});
    EXPECT_EQ(b.Canvas().PenPos(), (TPoint{9, 4}));
}

TEST_F(CanvasTest, DottedPenSetsEveryOtherPixel) {
    TBitmap b = Paper(10, 3);
    b.Canvas().Pen().SetStyle(TPenStyle::psDot);
    b.Canvas().MoveTo(0, 1);
    b.Canvas().LineTo(9, 1);
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(b.Pixel(x, 1), x % 2 == 0 ? clBlack : clWhite) << x;
}

TEST_F(CanvasTest, PixelsReadBackAndOutsideReadsAsNone) {
    TBitmap b = Paper(4, 4);
    b.Canvas().SetPixel(2, 3, RGB(1, 2, 3));
    EXPECT_EQ(b.Canvas().Pixel(2, 3), RGB(1, 2, 3));
    EXPECT_EQ(b.Pixel(2, 3), RGB(1, 2, 3));
    EXPECT_EQ(b.Canvas().Pixel(4, 0), clNone);
    EXPECT_EQ(b.Canvas().Pixel(-1, 0), clNone);
    EXPECT_EQ(b.Pixel(0, 4), clNone);
    b.Canvas().SetPixel(9, 9, clBlack); // ignored
    EXPECT_EQ(InkBox(b, clWhite), (TRect{2, 3, 3, 4}));
}

TEST_F(CanvasTest, SystemColoursResolveThroughTheTable) {
    TBitmap b = Paper(2, 1);
    b.Canvas().Brush().SetColor(clBtnFace);
    b.Canvas().FillRect({0, 0, 1, 1});
    EXPECT_EQ(b.Pixel(0, 0), RGB(212, 208, 200));
    SystemColors::Set(static_cast<int>(clBtnFace & 0xFF), RGB(1, 2, 3));
    b.Canvas().FillRect({1, 0, 2, 1});
    EXPECT_EQ(b.Pixel(1, 0), RGB(1, 2, 3));
    SystemColors::SetClassic();
}

// A 4 x 3 picture whose every pixel differs.
TBitmap Numbered() {
    TBitmap b(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            b.Canvas().SetPixel(x, y, RGB(10 * x + 1, 10 * y + 1, 77));
    return b;
}

TEST_F(CanvasTest, CopyRectIsPixelExact) {
    const TBitmap source = Numbered();
    TBitmap dest = Paper(8, 8);
    dest.Canvas().CopyRect({3, 2, 6, 4}, source, {1, 1, 4, 3});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dest.Pixel(3 + x, 2 + y), source.Pixel(1 + x, 1 + y)) << x << "," << y;
    EXPECT_EQ(InkBox(dest, clWhite), (TRect{3, 2, 6, 4}));
}

TEST_F(CanvasTest, CopyRectBetweenCanvasesAndWithinOnePicture) {
    TBitmap source = Numbered();
    TBitmap dest = Paper(8, 8);
    dest.Canvas().CopyRect({0, 0, 4, 3}, source.Canvas(), {0, 0, 4, 3});
    EXPECT_EQ(dest.Pixel(3, 2), source.Pixel(3, 2));

    // Overlapping copy within one picture: the source is read before it is overwritten.
    TBitmap same = Numbered();
    const TBitmap original = Numbered();
    same.Canvas().CopyRect({1, 0, 4, 3}, same.Canvas(), {0, 0, 3, 3});
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x < 4; ++x)
            EXPECT_EQ(same.Pixel(x, y), original.Pixel(x - 1, y)) << x << "," << y;
}

TEST_F(CanvasTest, CanvasWithOriginAndClipDrawsOnlyInsideItsClip) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(0xFFFFFFFFu);
    {
        TCanvas canvas(&image, {3, 2}, {0, 0, 2, 2});
        EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 2, 2}));
        canvas.Brush().SetColor(clBlue);
        canvas.FillRect({-5, -5, 20, 20});
        EXPECT_EQ(canvas.Pixel(0, 0), clBlue);
        EXPECT_EQ(canvas.Pixel(2, 0), clNone); // outside the clip
    }
    EXPECT_EQ(InkBox(image, clWhite, {0, 0, 10, 10}), (TRect{3, 2, 5, 4}));
    TCanvas whole(&image, {3, 2});
    EXPECT_EQ(whole.ClipRect(), (TRect{-3, -2, 7, 8}));
}

class BrushCopyTest : public CanvasTest {
protected:
    // Source row: fuchsia, red, fuchsia, blue; destination: green.
    TBitmap source_ = Strip();
    TBitmap dest_ = SolidBitmap(4, 1, clGreen);

    static TBitmap Strip() {
        TBitmap b(4, 1);
        b.Canvas().SetPixel(0, 0, clFuchsia);
        b.Canvas().SetPixel(1, 0, clRed);
        b.Canvas().SetPixel(2, 0, clFuchsia);
        b.Canvas().SetPixel(3, 0, clBlue);
        return b;
    }
    void Copy(TBrushStyle style, TColor brush, TColor transparent) {
        dest_.Canvas().Brush().SetColor(brush);
        dest_.Canvas().Brush().SetStyle(style);
        dest_.Canvas().BrushCopy({0, 0, 4, 1}, source_, {0, 0, 4, 1}, transparent);
    }
    std::vector<TColor> Row() const {
        return {dest_.Pixel(0, 0), dest_.Pixel(1, 0), dest_.Pixel(2, 0), dest_.Pixel(3, 0)};
    }
};

TEST_F(BrushCopyTest, ClearBrushLeavesTheTransparentColourOut) {
    Copy(TBrushStyle::bsClear, clFuchsia, clFuchsia);
    EXPECT_EQ(Row(), (std::vector<TColor>{clGreen, clRed, clGreen, clBlue}));
}

TEST_F(BrushCopyTest, SolidBrushPaintsTheTransparentColourInTheBrushColour) {
    Copy(TBrushStyle::bsSolid, clWhite, clFuchsia);
    EXPECT_EQ(Row(), (std::vector<TColor>{clWhite, clRed, clWhite, clBlue}));
}

TEST_F(BrushCopyTest, NoneIsAPlainCopy) {
    Copy(TBrushStyle::bsClear, clNone, clNone);
    EXPECT_EQ(Row(), (std::vector<TColor>{clFuchsia, clRed, clFuchsia, clBlue}));
}

TEST_F(BrushCopyTest, PartOfTheSourceToAnOffsetDestination) {
    dest_ = SolidBitmap(6, 2, clGreen);
    dest_.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    dest_.Canvas().BrushCopy({3, 1, 5, 2}, source_, {1, 0, 3, 1}, clFuchsia);
    EXPECT_EQ(dest_.Pixel(3, 1), clRed);
    EXPECT_EQ(dest_.Pixel(4, 1), clGreen);
    EXPECT_EQ(InkBox(dest_, clGreen), (TRect{3, 1, 4, 2}));
}

// ---- fonts and text ---------------------------------------------------------------------------

TEST_F(CanvasTest, MsSansSerifEightPointMeasuresThirteenPixelLines) {
    TBitmap b(1, 1);
    TFont& f = b.Canvas().Font();
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(b.Canvas().TextHeight("Position:"), 13);
    EXPECT_EQ(b.Canvas().TextWidth("Position:"), 40);
    EXPECT_EQ(b.Canvas().TextWidth(""), 0);
}

TEST_F(CanvasTest, CalcRectMeasuresWithoutDrawing) {
    TBitmap b = Paper(60, 40);
    TRect r{5, 7, 5, 7};
    const int height = b.Canvas().DrawText("Position:", r, DT_CALCRECT);
    EXPECT_EQ(height, 13);
    EXPECT_EQ(r, (TRect{5, 7, 45, 20}));
    EXPECT_EQ(InkBox(b, clWhite), TRect{});

    TRect two{0, 0, 0, 0};
    EXPECT_EQ(b.Canvas().DrawText("Position:\r\nab", two, DT_CALCRECT), 26);
    EXPECT_EQ(two, (TRect{0, 0, 40, 26}));

    TRect single{0, 0, 0, 0};
    b.Canvas().DrawText("Position:\nab", single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(single.Height(), 13);
}

TEST_F(CanvasTest, WordBreakWrapsAtBlanksAndKeepsLongWordsWhole) {
    TBitmap b(1, 1);
    TCanvas& c = b.Canvas();
    const int one_two = c.TextWidth("one two");
    const int three = c.TextWidth("three");
    TRect r{0, 0, one_two + 2, 0};
    EXPECT_EQ(c.DrawText("one two three", r, DT_CALCRECT | DT_WORDBREAK), 26);
    EXPECT_EQ(r.Right, std::max(one_two, three));
    EXPECT_EQ(r.Bottom, 26);

    TRect narrow{0, 0, 10, 0};
    c.DrawText("Position:", narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(narrow, (TRect{0, 0, 40, 13}));

    TRect wide{0, 0, 500, 0};
    c.DrawText("one two three", wide, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(wide.Bottom, 13);
}

class TextPlacementTest : public CanvasTest {
protected:
    // Where the ink of "Position:" lands in a white w x h picture drawn in black with `flags`.
    static TRect InkOf(unsigned flags, int w = 100, int h = 13) {
        TBitmap b = SolidBitmap(w, h, clWhite);
        b.Canvas().Font().SetColor(clBlack);
        b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
        TRect r{0, 0, w, h};
        b.Canvas().DrawText("Position:", r, flags);
        return InkBox(b, clWhite);
    }
};

TEST_F(TextPlacementTest, LeftRightAndCentreShiftTheSameInk) {
    const TRect left = InkOf(DT_LEFT);
    ASSERT_FALSE(left.IsEmpty());
    EXPECT_LT(left.Right, 41);
    EXPECT_EQ(InkOf(DT_RIGHT), left.Offset(60, 0));
    EXPECT_EQ(InkOf(DT_CENTER), left.Offset(30, 0));
}

TEST_F(TextPlacementTest, SingleLineVCentreAndBottom) {
    const TRect top = InkOf(DT_SINGLELINE, 100, 33);
    ASSERT_FALSE(top.IsEmpty());
    EXPECT_EQ(InkOf(DT_SINGLELINE | DT_VCENTER, 100, 33), top.Offset(0, 10));
    EXPECT_EQ(InkOf(DT_SINGLELINE | DT_BOTTOM, 100, 33), top.Offset(0, 20));
    // Without DT_SINGLELINE the vertical flags do nothing.
    EXPECT_EQ(InkOf(DT_VCENTER, 100, 33), top);
}

TEST_F(TextPlacementTest, TextIsClippedToItsRectangleUnlessNoClip) {
    TBitmap b = SolidBitmap(100, 13, clWhite);
    b.Canvas().Font().SetColor(clBlack);
    TRect r{0, 0, 20, 13};
    b.Canvas().DrawText("Position:", r, 0);
    EXPECT_LE(InkBox(b, clWhite).Right, 20);
    TRect r2{0, 0, 20, 13};
    b.Canvas().DrawText("Position:", r2, DT_NOCLIP);
    EXPECT_GT(InkBox(b, clWhite).Right, 20);
}

TEST_F(TextPlacementTest, OpaqueBrushFillsTheTextCellClearBrushDoesNot) {
    TBitmap b = SolidBitmap(100, 20, clWhite);
    b.Canvas().Font().SetColor(clBlack);
    b.Canvas().Brush().SetColor(clYellow);
    TRect r{0, 0, 100, 20};
    b.Canvas().DrawText("Position:", r, 0);
    // The cell behind the text (40 x 13) is yellow where there is no ink, and nothing else is.
    EXPECT_EQ(InkBox(b, clWhite), (TRect{0, 0, 40, 13}));
    EXPECT_GT(test::CountColor(b.Image(), clYellow, {0, 0, 40, 13}), 100);
}

TEST_F(TextPlacementTest, AmpersandIsAPrefixUnlessNoPrefix) {
    TBitmap plain = SolidBitmap(100, 13, clWhite);
    TBitmap prefixed = SolidBitmap(100, 13, clWhite);
    TRect r{0, 0, 100, 13};
    plain.Canvas().DrawText("Pos", r, 0);
    TRect r2{0, 0, 100, 13};
    prefixed.Canvas().DrawText("P&os", r2, 0);
    EXPECT_EQ(InkBox(plain, clWhite).Right, InkBox(prefixed, clWhite).Right);
    TRect m1{0, 0, 0, 0};
    TRect m2{0, 0, 0, 0};
    plain.Canvas().DrawText("P&&os", m1, DT_CALCRECT);
    plain.Canvas().DrawText("P&os", m2, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(m1.Width(), m2.Width());
    EXPECT_GT(m1.Width(), plain.Canvas().TextWidth("Pos"));
}

// ---- bitmaps ----------------------------------------------------------------------------------

TEST_F(CanvasTest, SetSizeKeepsWhatFitsAndNewPixelsAreBlack) {
    TBitmap b = SolidBitmap(3, 3, clWhite);
    b.SetSize(5, 2);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(2, 1), clWhite);
    EXPECT_EQ(b.Pixel(3, 0), clBlack);
    b.SetSize(-4, 7);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
}

TEST_F(CanvasTest, CopiesAreIndependentOnceDrawnOn) {
    TBitmap original = SolidBitmap(4, 4, clWhite);
    TBitmap copy(original);
    TBitmap assigned;
    assigned.Assign(&original);
    copy.Canvas().SetPixel(1, 1, clRed);
    assigned.Canvas().Brush().SetColor(clBlue);
    assigned.Canvas().FillRect({0, 0, 2, 2});
    original.Canvas().SetPixel(3, 3, clGreen);
    EXPECT_EQ(original.Pixel(1, 1), clWhite);
    EXPECT_EQ(original.Pixel(0, 0), clWhite);
    EXPECT_EQ(copy.Pixel(0, 0), clWhite);
    EXPECT_EQ(copy.Pixel(3, 3), clWhite);
    EXPECT_EQ(assigned.Pixel(1, 1), clBlue);
    EXPECT_EQ(assigned.Pixel(3, 3), clWhite);
}

TEST_F(CanvasTest, AssignFromNothingEmptiesAndChangesAreNotified) {
    TBitmap b = SolidBitmap(4, 4, clWhite);
    int changes = 0;
    b.OnChange = [&](TComponent*) { ++changes; };
    b.SetSize(5, 5);
    EXPECT_EQ(changes, 1);
    b.SetSize(5, 5);
    EXPECT_EQ(changes, 1);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(changes, 2);
    TFont font;
    EXPECT_THROW(b.Assign(&font), Exception);
}

TEST_F(CanvasTest, DrawingOnAnEmptyBitmapDoesNothing) {
    TBitmap empty;
    TBitmap dest = SolidBitmap(3, 3, clWhite);
    dest.Canvas().Draw(0, 0, empty);
    dest.Canvas().CopyRect({0, 0, 3, 3}, empty, {0, 0, 3, 3});
    dest.Canvas().BrushCopy({0, 0, 3, 3}, empty, {0, 0, 3, 3}, clFuchsia);
    EXPECT_EQ(InkBox(dest, clWhite), TRect{});
    EXPECT_EQ(empty.Pixel(0, 0), clNone);
}

} // namespace
} // namespace vd
