// The skinned label: sizing itself to its caption in its font (and keeping its size when asked),
// which edge it keeps when the caption changes, the disabled look, the text layouts, and
// repainting itself alone without leftovers of the previous caption.

#include "skin/VsLabel.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

using test::InkBox;

// A label whose paints are counted.
class CountingLabel : public TVsLabel {
public:
    using TVsLabel::TVsLabel;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TVsLabel::Paint();
    }
};

constexpr TColor kNavy = RGB(0, 0, 128);

class LabelTest : public test::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        UseBackground("back.bmp", test::SolidBitmap(320, 200, kNavy));
        label_ = new CountingLabel(form_.get()); // owned by the form
        label_->SetParent(skin_);
    }
    // The ink of the label on the screen: every pixel in its rectangle that is not the skin.
    TRect Ink() const { return InkBox(Picture(), kNavy, label_->BoundsRect()); }

    CountingLabel* label_ = nullptr;
};

TEST_F(LabelTest, AutoSizeMeasuresTheCaptionInItsFont) {
    EXPECT_EQ(label_->BoundsRect(), Bounds(0, 0, 65, 17));
    label_->SetBounds(7, 107, 65, 17);
    label_->SetCaption("Position:");
    EXPECT_EQ(label_->BoundsRect(), Bounds(7, 107, 40, 13));
    label_->Font().SetSize(8);
    EXPECT_EQ(label_->BoundsRect(), Bounds(7, 107, 40, 13));
    label_->Font().SetStyle(fsBold);
    EXPECT_GT(label_->Width(), 40); // a font change measures again
    EXPECT_EQ(label_->Height(), 13);
}

TEST_F(LabelTest, NotWhileLoadingButOnceLoaded) {
    label_->BeginLoading();
    label_->SetBounds(7, 107, 65, 17);
    label_->SetCaption("Position:");
    EXPECT_EQ(label_->BoundsRect(), Bounds(7, 107, 65, 17));
    label_->Loaded();
    EXPECT_EQ(label_->BoundsRect(), Bounds(7, 107, 40, 13));
}

TEST_F(LabelTest, WithAutoSizeOffTheSizeStays) {
    label_->SetAutoSize(false);
    label_->SetBounds(36, 85, 265, 13);
    label_->Font().SetStyle(fsBold);
    label_->SetCaption("A title much longer than the label could ever hold, and then some more");
    EXPECT_EQ(label_->BoundsRect(), Bounds(36, 85, 265, 13));
    label_->SetCaption("");
    EXPECT_EQ(label_->BoundsRect(), Bounds(36, 85, 265, 13));
    label_->SetAutoSize(true); // turning it on measures at once
    EXPECT_EQ(label_->Width(), 0);
}

TEST_F(LabelTest, RightJustifiedKeepsItsRightEdgeCentredItsLeftEdge) {
    label_->SetAlignment(TVsAlignment::vaRightJustify);
    label_->SetBounds(100, 10, 65, 17);
    label_->SetCaption("Position:");
    EXPECT_EQ(label_->BoundsRect(), Bounds(125, 10, 40, 13));
    label_->SetCaption("Po");
    EXPECT_EQ(label_->BoundsRect().Right, 165);
    label_->SetCaption("Position: Position:");
    EXPECT_EQ(label_->BoundsRect().Right, 165);

    auto* centred = new TVsLabel(form_.get()); // owned by the form
    centred->SetParent(skin_);
    centred->SetAlignment(TVsAlignment::vaCenter);
    centred->SetBounds(100, 40, 65, 17);
    centred->SetCaption("Position:");
    EXPECT_EQ(centred->BoundsRect(), Bounds(100, 40, 40, 13));
    centred->SetCaption("Po");
    EXPECT_EQ(centred->Left(), 100);
}

TEST_F(LabelTest, WordWrapMeasuresLinesWithinTheWidth) {
    label_->SetBounds(10, 10, 60, 17);
    label_->SetWordWrap(true);
    label_->SetCaption("one two three four");
    EXPECT_LE(label_->Width(), 60);
    EXPECT_GE(label_->Height(), 26);
    EXPECT_EQ(label_->Height() % 13, 0);
}

TEST_F(LabelTest, TextIsDrawnInTheFontColourOverTheSkin) {
    label_->SetBounds(10, 10, 65, 17);
    label_->SetCaption("Position:");
    skin_->Repaint();
    const TRect ink = Ink();
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GT(test::CountColor(Picture(), clBlack, ink), 20);
    // No background of its own: only ink and skin inside its rectangle.
    const int total = 40 * 13;
    EXPECT_EQ(test::CountColor(Picture(), clBlack, label_->BoundsRect()) +
                  test::CountColor(Picture(), kNavy, label_->BoundsRect()),
              total);
}

TEST_F(LabelTest, DisabledDrawsAHighlightBelowRightAndTheShadowOverIt) {
    label_->SetAutoSize(false);
    label_->SetBounds(10, 10, 80, 20);
    label_->SetCaption("Position:");
    label_->SetEnabled(false);
    skin_->Repaint();
    const QImage& p = Picture();
    const TRect area = label_->BoundsRect();
    EXPECT_EQ(test::CountColor(p, clBlack, area), 0);
    const int white = test::CountColor(p, RGB(255, 255, 255), area);
    const int grey = test::CountColor(p, RGB(128, 128, 128), area);
    EXPECT_GT(white, 10);
    EXPECT_GT(grey, 10);
    // The highlight lies one pixel right and down of the shadow.
    TBitmap only_white(320, 200);
    TBitmap only_grey(320, 200);
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
            const TColor c = test::PixelOf(p, x, y);
            if (c == RGB(255, 255, 255))
                only_white.Canvas().SetPixel(x, y, clWhite);
            if (c == RGB(128, 128, 128))
                only_grey.Canvas().SetPixel(x, y, clWhite);
        }
    const TRect w = InkBox(only_white, clBlack);
    const TRect g = InkBox(only_grey, clBlack);
    EXPECT_EQ(w.Right, g.Right + 1);
    EXPECT_EQ(w.Bottom, g.Bottom + 1);
}

TEST_F(LabelTest, LayoutsPlaceTheTextTopCentreOrBottom) {
    label_->SetAutoSize(false);
    label_->SetBounds(10, 10, 80, 33);
    label_->SetCaption("Position:");
    skin_->Repaint();
    const TRect top = Ink();
    label_->SetLayout(TVsTextLayout::vlCenter);
    EXPECT_EQ(Ink(), top.Offset(0, 10));
    label_->SetLayout(TVsTextLayout::vlBottom);
    EXPECT_EQ(Ink(), top.Offset(0, 20));
}

TEST_F(LabelTest, AlignmentMovesTheTextWithinAFixedLabel) {
    label_->SetAutoSize(false);
    label_->SetBounds(10, 10, 100, 13);
    label_->SetCaption("Position:");
    skin_->Repaint();
    const TRect left = Ink();
    label_->SetAlignment(TVsAlignment::vaRightJustify);
    EXPECT_EQ(Ink(), left.Offset(60, 0));
    label_->SetAlignment(TVsAlignment::vaCenter);
    EXPECT_EQ(Ink(), left.Offset(30, 0));
}

TEST_F(LabelTest, ACaptionChangeRepaintsOnlyTheLabelWithNoLeftovers) {
    label_->SetAutoSize(false);
    label_->SetBounds(48, 107, 105, 13);
    label_->SetCaption("WWWWWWWWWWWW");
    ShowWindow();
    skin_->Repaint();
    const int skin_paints = skin_->paints;
    const int label_paints = label_->paints;
    for (const char* caption : {"0:01", "0:02", "12:34:56", "i"}) {
        label_->SetCaption(caption);
        TApplication::ProcessMessages();
    }
    EXPECT_EQ(skin_->paints, skin_paints);
    EXPECT_EQ(label_->paints, label_paints + 4);
    const TRect ink = Ink();
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LT(ink.Right, 48 + 8);
    // Where the old captions were, the skin shows again.
    EXPECT_EQ(test::CountColor(Picture(), kNavy, {56, 107, 153, 120}), 97 * 13);
}

TEST_F(LabelTest, AnAutoSizedLabelThatShrinksLeavesNothingBehind) {
    label_->SetBounds(48, 107, 105, 13);
    label_->SetCaption("WWWWWWWWWWWW");
    ShowWindow();
    skin_->Repaint();
    label_->SetCaption("i");
    TApplication::ProcessMessages();
    skin_->Update();
    EXPECT_EQ(InkBox(Picture(), kNavy, {0, 100, 320, 130}).Right, Ink().Right);
}

} // namespace
} // namespace vd
