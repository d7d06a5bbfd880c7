// The skinned button: its size from the clip rectangle, the state image it shows for each state,
// and the click rules: a click needs a left press on an opaque pixel and a release without the
// pointer having left the button in between.

#include "skin/VsButtons.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

// The colour of state image `index` of row `row` of the strip below.
TColor StateColor(int row, int index) {
    return RGB(40 * index + 20, 30 * row + 5, 200);
}

// "2. buttons.bmp" as the layouts use it: six rows of five 21-pixel images at tops 0, 16, ...,
// each image with a 3 x 3 fuchsia corner at its top left; grey between the rows.
TBitmap ButtonStrip() {
    TBitmap b = test::SolidBitmap(115, 94, clGray);
    TCanvas& c = b.Canvas();
    for (int row = 0; row < 6; ++row)
        for (int i = 0; i < 5; ++i) {
            c.Brush().SetColor(StateColor(row, i));
            c.FillRect(Bounds(21 * i, 16 * row, 21, 14));
            c.Brush().SetColor(clFuchsia);
            c.FillRect(Bounds(21 * i, 16 * row, 3, 3));
        }
    return b;
}

class ButtonTest : public test::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        UseBackground("back.bmp", test::Background(200, 120));
        AddGraphic("2. buttons.bmp", ButtonStrip());
        play_ = new TVsButton(form_.get()); // owned by the form
        play_->SetParent(skin_);
        play_->SetBounds(37, 95, 21, 14);
        play_->SetGraphicName("2. buttons.bmp");
        play_->ClipRect().SetBounds(0, 32, 105, 14);
        play_->OnClick = [this](TComponent* sender) {
            EXPECT_EQ(sender, play_);
            ++clicks_;
        };
        skin_->Update();
    }
    // The state image the button shows, judged by a pixel in its middle.
    int ShownImage() const {
        const TColor c = Shown(37 + 10, 95 + 7);
        for (int i = 0; i < 5; ++i)
            if (c == StateColor(2, i))
                return i;
        return -1;
    }
    // Points on the screen: on the button, off it.
    static constexpr int kOnX = 47, kOnY = 100;
    static constexpr int kOffX = 150, kOffY = 60;

    TVsButton* play_ = nullptr;
    int clicks_ = 0;
};

TEST_F(ButtonTest, SizeIsOneImageOfTheClipRectangle) {
    EXPECT_EQ(play_->BoundsRect(), Bounds(37, 95, 21, 14));
    play_->SetBounds(37, 95, 50, 50);
    EXPECT_EQ(play_->Width(), 21);
    EXPECT_EQ(play_->Height(), 14);
    play_->ClipRect().SetWidth(115);
    EXPECT_EQ(play_->Width(), 23);
    play_->ClipRect().SetWidth(4);
    EXPECT_EQ(play_->Width(), 0);
}

TEST_F(ButtonTest, ANewGraphicNameResetsTheClipRectangleASkinRefreshDoesNot) {
    skin_->UpdateSkin();
    EXPECT_EQ(play_->ClipRect().GetRect(), (TRect{0, 32, 105, 46}));
    AddGraphic("round.bmp", test::SolidBitmap(45, 8, clRed));
    EXPECT_EQ(play_->ClipRect().GetRect(), (TRect{0, 32, 105, 46}));
    play_->SetGraphicName("round.bmp");
    EXPECT_EQ(play_->ClipRect().GetRect(), (TRect{0, 0, 45, 8}));
    EXPECT_EQ(play_->BoundsRect(), Bounds(37, 95, 9, 8));
}

TEST_F(ButtonTest, EachStateShowsItsImageFromTheStrip) {
    EXPECT_EQ(play_->FrameIndex(), 0);
    EXPECT_EQ(ShownImage(), 0);
    // Every column of the shown image comes from x = 21 * index of row 32.
    const TBitmap& strip = composer_->Graphics().Items(1)->Bitmap();
    for (int x = 0; x < 21; ++x)
        for (int y = 0; y < 14; ++y)
            ASSERT_EQ(play_->Frame().Pixel(x, y), strip.Pixel(x, 32 + y)) << x << "," << y;

    play_->SetEnabled(false);
    EXPECT_EQ(play_->FrameIndex(), 2);
    EXPECT_EQ(ShownImage(), 2);
    play_->SetDown(true);
    EXPECT_EQ(play_->FrameIndex(), 3);
    EXPECT_EQ(ShownImage(), 3);
    play_->SetEnabled(true);
    EXPECT_EQ(play_->FrameIndex(), 0); // a push button shows Down only while disabled
    EXPECT_EQ(ShownImage(), 0);
}

TEST_F(ButtonTest, HoverPressReleaseShowFourOneFourAndClickOnce) {
    test::Move(W(), kOnX, kOnY);
    EXPECT_TRUE(play_->Hot());
    EXPECT_EQ(ShownImage(), 4);
    test::Press(W(), kOnX, kOnY);
    EXPECT_TRUE(play_->Pressed());
    EXPECT_EQ(ShownImage(), 1);
    EXPECT_EQ(clicks_, 0);
    test::Release(W(), kOnX, kOnY);
    EXPECT_FALSE(play_->Pressed());
    EXPECT_EQ(ShownImage(), 4);
    EXPECT_EQ(clicks_, 1);
    EXPECT_FALSE(form_->WindowDragArmed());
    EXPECT_FALSE(form_->ManualDragging());
}

TEST_F(ButtonTest, DragOffAndReleaseIsNoClickPressedImageUntilTheRelease) {
    test::Move(W(), kOnX, kOnY);
    test::Press(W(), kOnX, kOnY);
    test::Move(W(), kOffX, kOffY);
    EXPECT_FALSE(play_->Hot());
    EXPECT_EQ(ShownImage(), 1);
    test::Release(W(), kOffX, kOffY);
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(ShownImage(), 0);
}

TEST_F(ButtonTest, DragOffAndBackIsNoClick) {
    test::Move(W(), kOnX, kOnY);
    test::Press(W(), kOnX, kOnY);
    test::Move(W(), kOffX, kOffY);
    test::Move(W(), kOnX, kOnY);
    test::Release(W(), kOnX, kOnY);
    EXPECT_EQ(clicks_, 0);
}

TEST_F(ButtonTest, APressWithoutHoverShowsPressedButGivesNoClick) {
    test::Press(W(), kOnX, kOnY);
    EXPECT_EQ(ShownImage(), 1);
    test::Release(W(), kOnX, kOnY);
    EXPECT_EQ(clicks_, 0);
}

TEST_F(ButtonTest, ARightPressDoesNotPress) {
    test::Move(W(), kOnX, kOnY);
    test::Press(W(), kOnX, kOnY, TMouseButton::mbRight);
    EXPECT_FALSE(play_->Pressed());
    EXPECT_EQ(ShownImage(), 4);
    test::Release(W(), kOnX, kOnY, TMouseButton::mbRight);
    EXPECT_EQ(clicks_, 0);
}

TEST_F(ButtonTest, AnyReleaseEndsALeftPressAndCountsAsItsRelease) {
    test::Move(W(), kOnX, kOnY);
    test::Press(W(), kOnX, kOnY);
    test::Release(W(), kOnX, kOnY, TMouseButton::mbRight);
    EXPECT_FALSE(play_->Pressed());
    EXPECT_EQ(clicks_, 1);
    test::Release(W(), kOnX, kOnY); // the left button's own release: nothing more
    EXPECT_EQ(clicks_, 1);
}

TEST_F(ButtonTest, APushButtonTogglesDownOnEveryAcceptedPress) {
    test::Move(W(), kOnX, kOnY);
    test::Press(W(), kOnX, kOnY);
    EXPECT_TRUE(play_->Down());
    test::Release(W(), kOnX, kOnY);
    EXPECT_TRUE(play_->Down());
    test::Press(W(), kOnX, kOnY);
    test::Move(W(), kOffX, kOffY);
    test::Release(W(), kOffX, kOffY);
    EXPECT_FALSE(play_->Down()); // toggled by the press, not by the click
}

TEST_F(ButtonTest, ASwitchTogglesOncePerClickAndShowsPressedWhileDown) {
    play_->SetStyle(TVsButtonStyle::bsSwitch);
    test::Move(W(), kOnX, kOnY);
    test::Click(W(), kOnX, kOnY);
    EXPECT_TRUE(play_->Down());
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(ShownImage(), 1);
    test::Move(W(), kOnX + 1, kOnY);
    EXPECT_EQ(ShownImage(), 1);
    test::Click(W(), kOnX, kOnY);
    EXPECT_FALSE(play_->Down());
    EXPECT_EQ(ShownImage(), 4);
    // Released off the button: the switch keeps its old state.
    test::Press(W(), kOnX, kOnY);
    EXPECT_TRUE(play_->Down());
    test::Move(W(), kOffX, kOffY);
    test::Release(W(), kOffX, kOffY);
    EXPECT_FALSE(play_->Down());
    EXPECT_EQ(clicks_, 2);
}

TEST_F(ButtonTest, WithAMaskColourTheSkinShowsThroughAndMaskPixelsIgnoreTheMouse) {
    // Opaque: the fuchsia corner is drawn.
    EXPECT_EQ(Shown(37, 95), clFuchsia);
    play_->SetMaskColor(clFuchsia);
    EXPECT_EQ(Shown(37, 95), RGB(37, 95, 60)); // the skin beneath
    EXPECT_EQ(Shown(40, 98), StateColor(2, 0));

    test::Move(W(), 38, 96); // over the corner
    EXPECT_FALSE(play_->Hot());
    test::Press(W(), 38, 96);
    EXPECT_FALSE(play_->Pressed());
    test::Release(W(), 38, 96);
    EXPECT_EQ(clicks_, 0);
    test::Move(W(), kOnX, kOnY);
    EXPECT_TRUE(play_->Hot());
    test::Move(W(), 38, 96); // back over the corner: no longer hot
    EXPECT_FALSE(play_->Hot());
}

TEST_F(ButtonTest, WithoutAGraphicTheBackgroundShowsAndEveryPixelClicks) {
    auto* bare = new TVsButton(form_.get()); // owned by the form
    bare->SetParent(skin_);
    bare->SetGraphicName("missing.bmp");
    bare->SetBounds(120, 20, 30, 12);
    int bare_clicks = 0;
    bare->OnClick = [&](TComponent*) { ++bare_clicks; };
    skin_->Update();
    EXPECT_EQ(bare->BoundsRect(), Bounds(120, 20, 30, 12));
    EXPECT_EQ(Shown(125, 25), RGB(125, 25, 60));
    test::Move(W(), 121, 21);
    test::Click(W(), 121, 21);
    EXPECT_EQ(bare_clicks, 1);
}

TEST_F(ButtonTest, LeavingTheButtonEndsHot) {
    test::Move(W(), kOnX, kOnY);
    ASSERT_TRUE(play_->Hot());
    test::Move(W(), kOffX, kOffY);
    EXPECT_FALSE(play_->Hot());
    EXPECT_EQ(ShownImage(), 0);
    test::Move(W(), kOnX, kOnY);
    test::Leave(W()); // the pointer leaves the window altogether
    EXPECT_FALSE(play_->Hot());
}

TEST_F(ButtonTest, StateChangesRepaintTheButtonAloneOnAShownWindow) {
    ShowWindow();
    skin_->Repaint();
    const int skin_paints = skin_->paints;
    test::Move(W(), kOnX, kOnY);
    test::Click(W(), kOnX, kOnY);
    EXPECT_EQ(skin_->paints, skin_paints);
    EXPECT_EQ(ShownImage(), 4);
    EXPECT_EQ(clicks_, 1);
}

} // namespace
} // namespace vd
