// The skinned slider, with the main window's position slider as the example: 295 x 8 with a
// 40 x 6 clip of two thumbs. Thumb placement, the arithmetic between pixels and positions, when
// OnChange and OnClick come, limits, the vertical slider, and the disabled thumb.

#include "skin/VsSlider.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace vd {
namespace {

constexpr TColor kEnabledThumb = RGB(250, 10, 10);
constexpr TColor kDisabledThumb = RGB(10, 10, 250);

// "3. thumb.bmp": two 20 x 6 thumbs side by side, each with fuchsia corners.
TBitmap Thumbs() {
    TBitmap b = test::SolidBitmap(40, 6, kEnabledThumb);
    b.Canvas().Brush().SetColor(kDisabledThumb);
    b.Canvas().FillRect({20, 0, 40, 6});
    for (int x : {0, 19, 20, 39})
        for (int y : {0, 5})
            b.Canvas().SetPixel(x, y, clFuchsia);
    return b;
}

class SliderTest : public test::SkinWindowTest {
protected:
    static constexpr int kLeft = 4;
    static constexpr int kTop = 182;

    void SetUp() override {
        SkinWindowTest::SetUp();
        UseBackground("back.bmp", test::Background(320, 220));
        AddGraphic("3. thumb.bmp", Thumbs());
        slider_ = new TVsSlider(form_.get()); // owned by the form
        slider_->SetParent(skin_);
        slider_->SetBounds(kLeft, kTop, 295, 8);
        slider_->SetGraphicName("3. thumb.bmp");
        slider_->OnChange = [this](TComponent* sender) {
            EXPECT_EQ(sender, slider_);
            events_.push_back("change " + std::to_string(slider_->Position()));
        };
        slider_->OnClick = [this](TComponent*) {
            events_.push_back("click " + std::to_string(slider_->Position()));
        };
        // The thumb is placed where it is painted, and it is painted at once on a shown window.
        ShowWindow();
        skin_->Repaint();
    }
    // Sends mouse input at slider coordinates.
    void PressAt(int x, int y, TMouseButton button = TMouseButton::mbLeft) {
        test::Press(W(), kLeft + x, kTop + y, button);
    }
    void MoveTo(int x, int y) { test::Move(W(), kLeft + x, kTop + y); }
    void ReleaseAt(int x, int y, TMouseButton button = TMouseButton::mbLeft) {
        test::Release(W(), kLeft + x, kTop + y, button);
    }
    [[nodiscard]] TColor At(int x, int y) const { return Shown(kLeft + x, kTop + y); }

    TVsSlider* slider_ = nullptr;
    std::vector<std::string> events_;
};

TEST_F(SliderTest, ThumbIsHalfTheClipCentredAcrossTheTrack) {
    EXPECT_EQ(slider_->ClipRect().GetRect(), (TRect{0, 0, 40, 6}));
    EXPECT_EQ(slider_->ThumbWidth(), 20);
    EXPECT_EQ(slider_->ThumbHeight(), 6);
    EXPECT_EQ(slider_->TrackLength(), 275);
    EXPECT_EQ(slider_->ThumbRect(), (TRect{0, 1, 20, 7}));
    EXPECT_EQ(slider_->BoundsRect(), Bounds(kLeft, kTop, 295, 8)); // not the graphic's size
}

TEST_F(SliderTest, PositionsMapToTheThumbsLeftEdge) {
    EXPECT_EQ(slider_->PositionToPixel(0), 0);
    EXPECT_EQ(slider_->PositionToPixel(100), 275);
    EXPECT_EQ(slider_->PositionToPixel(50), 138); // 137.5 to the even neighbour
    EXPECT_EQ(slider_->PixelToPosition(190), 69);
    EXPECT_EQ(slider_->PixelToPosition(-40), 0);
    EXPECT_EQ(slider_->PixelToPosition(1000), 100);
    slider_->SetPosition(100);
    EXPECT_EQ(slider_->ThumbRect(), (TRect{275, 1, 295, 7}));
    EXPECT_EQ(At(280, 3), kEnabledThumb);
    EXPECT_EQ(At(270, 3), test::BackgroundPixel(kLeft + 270, kTop + 3)); // the skin beneath
}

TEST_F(SliderTest, ClickingTheTrackJumpsThereChangeAtPressClickAtRelease) {
    PressAt(200, 4);
    EXPECT_EQ(slider_->Position(), 69);
    EXPECT_EQ(events_, (std::vector<std::string>{"change 69"}));
    EXPECT_FALSE(slider_->Dragging());
    ReleaseAt(200, 4);
    EXPECT_EQ(events_, (std::vector<std::string>{"change 69", "click 69"}));
    EXPECT_EQ(slider_->ThumbRect().Left, slider_->PositionToPixel(69));
    // Again at the same place: no change, still a click.
    PressAt(200, 4);
    ReleaseAt(200, 4);
    EXPECT_EQ(events_.back(), "click 69");
    EXPECT_EQ(events_.size(), 3u);
}

TEST_F(SliderTest, DraggingTheThumbFollowsThePointerAndReleasingOutsideIsNoClick) {
    slider_->SetPosition(40);
    events_.clear();
    const int left = slider_->ThumbRect().Left;
    ASSERT_EQ(left, 110);
    PressAt(left + 5, 3);
    EXPECT_TRUE(slider_->Dragging());
    EXPECT_TRUE(events_.empty());
    MoveTo(left + 15, 3);
    const int32_t expected = slider_->PixelToPosition(left + 10);
    EXPECT_EQ(expected, 44);
    EXPECT_EQ(slider_->Position(), expected);
    EXPECT_EQ(slider_->ThumbRect().Left, slider_->PositionToPixel(expected));
    EXPECT_EQ(At(slider_->PositionToPixel(expected) + 10, 3), kEnabledThumb);
    // Far past the end: clamped to the track.
    MoveTo(1000, 3);
    EXPECT_EQ(slider_->Position(), 100);
    ReleaseAt(1000, 40);
    EXPECT_FALSE(slider_->Dragging());
    EXPECT_EQ(events_, (std::vector<std::string>{"change 44", "change 100"}));
}

TEST_F(SliderTest, AThumbHeldStillIsAClickWhereItStandsAtTheRelease) {
    slider_->SetPosition(40);
    events_.clear();
    const int left = slider_->ThumbRect().Left;
    PressAt(left + 12, 3); // right of the thumb's middle: no jump
    EXPECT_TRUE(slider_->Held());
    EXPECT_TRUE(slider_->Dragging());
    EXPECT_EQ(slider_->Position(), 40);
    ReleaseAt(left + 12, 3);
    EXPECT_FALSE(slider_->Held());
    EXPECT_FALSE(slider_->Dragging());
    EXPECT_EQ(events_, (std::vector<std::string>{"click 40"}));
}

TEST_F(SliderTest, AHeldThumbGoesBackUnderThePointerAndTheReleaseReportsWhereItWasLetGo) {
    slider_->SetPosition(40);
    events_.clear();
    const int left = slider_->ThumbRect().Left; // 110
    PressAt(left + 5, 3);
    MoveTo(left + 55, 3);
    const int32_t dragged = slider_->PixelToPosition(left + 50);
    EXPECT_EQ(dragged, 58);
    EXPECT_EQ(slider_->Position(), dragged);
    // Code that sets the position meanwhile moves the thumb (the slider's own rule); the next
    // move brings it back under the pointer, and the release reports the pointer's place.
    slider_->SetPosition(41);
    EXPECT_EQ(slider_->ThumbRect().Left, slider_->PositionToPixel(41));
    EXPECT_TRUE(slider_->Held());
    MoveTo(left + 65, 3);
    const int32_t released = slider_->PixelToPosition(left + 60);
    EXPECT_EQ(slider_->Position(), released);
    ReleaseAt(left + 65, 3);
    EXPECT_FALSE(slider_->Held());
    EXPECT_EQ(events_, (std::vector<std::string>{"change 58", "change 41",
                                                 "change " + std::to_string(released),
                                                 "click " + std::to_string(released)}));
    EXPECT_EQ(slider_->ThumbRect().Left, slider_->PositionToPixel(released));
}

TEST_F(SliderTest, OnlyALeftPressOnAnEnabledSliderHoldsIt) {
    PressAt(200, 4); // the track: the thumb jumps there, and stays held
    EXPECT_TRUE(slider_->Held());
    EXPECT_FALSE(slider_->Dragging());
    ReleaseAt(200, 4);
    EXPECT_FALSE(slider_->Held());
    PressAt(10, 3, TMouseButton::mbRight);
    EXPECT_FALSE(slider_->Held());
    ReleaseAt(10, 3, TMouseButton::mbRight);
    slider_->SetEnabled(false);
    PressAt(10, 3);
    EXPECT_FALSE(slider_->Held());
    ReleaseAt(10, 3);
}

TEST_F(SliderTest, AReleaseTheSliderNeverHeardEndsItsHoldAtTheNextMove) {
    PressAt(10, 3);
    ASSERT_TRUE(slider_->Held());
    // The release went elsewhere (a window that took the mouse): the next move over the slider
    // comes without the button.
    skin_->ReleaseCapture();
    test::HeldButtons() = Qt::NoButton;
    MoveTo(30, 3);
    EXPECT_FALSE(slider_->Held());
    EXPECT_FALSE(slider_->Dragging());
}

TEST_F(SliderTest, LimitsKeepMinBelowMaxAndClampThePosition) {
    slider_->SetMaxValue(0); // not above the minimum
    EXPECT_EQ(slider_->MaxValue(), 100);
    slider_->SetMinValue(100);
    EXPECT_EQ(slider_->MinValue(), 0);
    EXPECT_TRUE(events_.empty());
    slider_->SetPosition(80);
    events_.clear();
    slider_->SetMaxValue(50);
    EXPECT_EQ(slider_->Position(), 50);
    EXPECT_EQ(events_, (std::vector<std::string>{"change 50"}));
    slider_->SetMinValue(60); // not below the maximum
    EXPECT_EQ(slider_->MinValue(), 0);
    slider_->SetMinValue(20);
    EXPECT_EQ(slider_->Position(), 50);
    slider_->SetPosition(-5);
    EXPECT_EQ(slider_->Position(), 20);
    slider_->SetPosition(20); // same value: no notice
    EXPECT_EQ(events_, (std::vector<std::string>{"change 50", "change 20"}));
    EXPECT_EQ(slider_->PositionToPixel(20), 0);
}

TEST_F(SliderTest, ExtremeRangesDoNotOverflow) {
    slider_->SetMinValue(INT_MIN);
    slider_->SetMaxValue(INT_MAX);
    slider_->SetPosition(INT_MAX);
    EXPECT_EQ(slider_->ThumbRect().Left, 275);
    EXPECT_EQ(slider_->PixelToPosition(0), INT_MIN);
    EXPECT_EQ(slider_->PixelToPosition(275), INT_MAX);
    PressAt(10, 3);
    ReleaseAt(10, 3);
    EXPECT_EQ(slider_->Position(), INT_MIN);
}

TEST_F(SliderTest, AVerticalSliderHasItsMinimumAtTheBottom) {
    slider_->SetDirection(TVsSliderDirection::sdVert);
    slider_->SetBounds(300, 10, 20, 100);
    EXPECT_EQ(slider_->TrackLength(), 94);
    skin_->Update();
    EXPECT_EQ(slider_->ThumbRect(), (TRect{0, 94, 20, 100}));
    slider_->SetPosition(100);
    EXPECT_EQ(slider_->ThumbRect(), (TRect{0, 0, 20, 6}));
    // A click at y 50 puts the thumb's middle there.
    test::Press(W(), 310, 60);
    test::Release(W(), 310, 60);
    EXPECT_EQ(slider_->Position(), 50);
    EXPECT_EQ(slider_->ThumbRect().Top, 47);
}

TEST_F(SliderTest, ADisabledSliderDrawsThumbOneAndIgnoresPresses) {
    slider_->SetEnabled(false);
    EXPECT_EQ(At(10, 3), kDisabledThumb);
    PressAt(200, 4);
    ReleaseAt(200, 4);
    EXPECT_EQ(slider_->Position(), 0);
    EXPECT_TRUE(events_.empty());
    slider_->SetEnabled(true);
    EXPECT_EQ(At(10, 3), kEnabledThumb);
}

TEST_F(SliderTest, TheMaskColourLetsTheTrackShowThrough) {
    EXPECT_EQ(At(0, 1), clFuchsia);
    slider_->SetMaskColor(clFuchsia);
    EXPECT_EQ(At(0, 1), test::BackgroundPixel(kLeft, kTop + 1));
    EXPECT_EQ(At(1, 1), kEnabledThumb);
}

TEST_F(SliderTest, WithoutAGraphicNoThumbButTheSameArithmetic) {
    slider_->SetGraphicName("missing.bmp");
    skin_->Repaint();
    EXPECT_EQ(At(10, 3), test::BackgroundPixel(kLeft + 10, kTop + 3));
    PressAt(200, 4);
    ReleaseAt(200, 4);
    // The clip rectangle stays, so the thumb that is not drawn still counts.
    EXPECT_EQ(slider_->Position(), 69);
}

TEST_F(SliderTest, ATrackNoLongerThanTheThumbStaysUsable) {
    slider_->SetBounds(kLeft, kTop, 20, 8);
    EXPECT_EQ(slider_->TrackLength(), 0);
    PressAt(15, 4);
    MoveTo(18, 4);
    ReleaseAt(18, 4);
    EXPECT_EQ(slider_->Position(), 0);
    slider_->SetBounds(kLeft, kTop, 10, 8);
    PressAt(5, 4);
    ReleaseAt(5, 4);
    EXPECT_GE(slider_->Position(), 0);
    EXPECT_LE(slider_->Position(), 100);
}

TEST_F(SliderTest, PositionChangesRepaintTheSliderAloneOnAShownWindow) {
    const int skin_paints = skin_->paints;
    for (int p = 0; p <= 100; p += 10)
        slider_->SetPosition(p);
    EXPECT_EQ(skin_->paints, skin_paints);
    // The old thumb is gone: what the skin showed is back where the thumb was.
    EXPECT_EQ(At(10, 3), test::BackgroundPixel(kLeft + 10, kTop + 3));
    EXPECT_EQ(At(280, 3), kEnabledThumb);
}

} // namespace
} // namespace vd
