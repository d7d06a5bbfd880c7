// A skinned control repainted alone composes its face over the background it captured when it
// was last painted normally. Whenever the skin beneath is painted again (a hidden window, a
// control not painted yet, a control that moved or grew), the control must capture anew, or it
// shows black or a stale picture where the skin should show through.

#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSlider.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

class RepaintFaceTest : public test::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        UseBackground("back.bmp", test::Background(320, 200));
        AddGraphic("cell.bmp", test::SolidBitmap(4, 4, clLime));
    }
    TVsLabel* AddLabel(int left, int top) {
        auto* label = new TVsLabel(form_.get()); // owned by the form
        label->SetParent(skin_);
        label->Font().SetColor(clYellow);
        label->SetBounds(left, top, 65, 17);
        return label;
    }
    // Pixels of `area` that show neither `ink` nor the skin beneath them.
    int WrongPixels(const TRect& area, TColor ink) const {
        int wrong = 0;
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x) {
                const TColor c = Shown(x, y);
                if (c != ink && c != test::BackgroundPixel(x, y))
                    ++wrong;
            }
        return wrong;
    }
    // Lets everything waiting be painted, as the window system would.
    void Settle() {
        TApplication::ProcessMessages();
        skin_->Update();
    }
};

TEST_F(RepaintFaceTest, ALabelChangedWhileTheWindowIsHiddenShowsTheSkinBeneath) {
    TVsLabel* label = AddLabel(20, 20);
    label->SetAutoSize(false);
    label->SetCaption("Position:");
    Settle();
    EXPECT_EQ(WrongPixels(label->BoundsRect(), clYellow), 0);
}

TEST_F(RepaintFaceTest, ALabelChangedBeforeItsFirstPaintShowsTheSkinBeneath) {
    ShowWindow();
    TVsLabel* label = AddLabel(20, 20);
    label->SetAutoSize(false);
    label->SetCaption("Position:");
    Settle();
    EXPECT_EQ(WrongPixels(label->BoundsRect(), clYellow), 0);
}

TEST_F(RepaintFaceTest, AGrowingAutoSizedLabelShowsTheSkinInItsNewPart) {
    TVsLabel* label = AddLabel(20, 20);
    label->SetCaption("i");
    ShowWindow();
    skin_->Repaint();
    label->SetCaption("Position: Position:");
    Settle();
    EXPECT_GT(label->Width(), 60);
    EXPECT_EQ(WrongPixels(label->BoundsRect(), clYellow), 0);
}

TEST_F(RepaintFaceTest, ARightJustifiedLabelThatGrowsShowsTheSkinWhereItNowLies) {
    TVsLabel* label = AddLabel(100, 20);
    label->SetAlignment(TVsAlignment::vaRightJustify);
    label->SetCaption("i");
    ShowWindow();
    skin_->Repaint();
    label->SetCaption("Position: Position:");
    Settle();
    EXPECT_EQ(WrongPixels(label->BoundsRect(), clYellow), 0);
}

TEST_F(RepaintFaceTest, ABarWhosePositionIsSetWhileHiddenShowsTheSkinBeyondItsFill) {
    auto* bar = new TVsProgressBar(form_.get()); // owned by the form
    bar->SetParent(skin_);
    bar->SetBounds(30, 60, 100, 8);
    bar->SetGraphicName("cell.bmp");
    bar->SetPosition(50);
    Settle();
    EXPECT_EQ(WrongPixels(bar->BoundsRect(), clLime), 0);
}

TEST_F(RepaintFaceTest, ASliderMovedOnAShownWindowShowsTheSkinBeneath) {
    AddGraphic("thumb.bmp", test::SolidBitmap(8, 4, clLime));
    auto* slider = new TVsSlider(form_.get()); // owned by the form
    slider->SetParent(skin_);
    slider->SetBounds(30, 100, 120, 8);
    slider->SetGraphicName("thumb.bmp");
    ShowWindow();
    skin_->Repaint();
    slider->SetBounds(60, 120, 150, 8);
    slider->SetPosition(30);
    Settle();
    EXPECT_EQ(WrongPixels(slider->BoundsRect(), clLime), 0);
    EXPECT_EQ(WrongPixels({30, 100, 60, 108}, clLime), 0); // where it was
}

} // namespace
} // namespace vd
