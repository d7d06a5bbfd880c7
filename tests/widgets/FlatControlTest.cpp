// The painter's control half: a flat, transparent speed button on a form drawn at rest, under
// the mouse, pressed and down; hooking and unhooking, one hook object per control, and a painter
// that goes away taking its hooks with it.
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/FlatColors.h"
#include "widgets/FlatControlHook.h"
#include "widgets/FlatMenu.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace vd {
namespace {

constexpr TColor kFormColor = RGB(221, 221, 221);
constexpr TRect kButton{50, 40, 125, 65}; // 75 x 25

TColor Lighten(TColor c, int p) {
    return flat::LightenColor(32, c, p);
}

TColor And(TColor a, TColor b) {
    return ColorToRGB(a) & ColorToRGB(b);
}

class FlatControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        SystemColors::SetClassic();
        TCanvas::SetDisplayBitsPerPixel(32);
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 200, 100);
        form_->SetColor(kFormColor);
        button_ = TComponent::Create<TSpeedButton>(form_.get());
        button_->SetParent(form_.get());
        button_->SetBounds(kButton.Left, kButton.Top, kButton.Width(), kButton.Height());
        button_->SetFlat(true);
        button_->SetTransparent(true);
        button_->SetCaption("Close");
        button_->Font().SetColor(clBlack);
        painter_ = TComponent::Create<TFlatMenu>(form_.get());
    }
    void TearDown() override { form_.reset(); }

    TBitmap Picture() { return test::PaintedPicture(*form_); }

    int ButtonPixels(const TBitmap& picture, TColor color) const {
        return test::CountColor(picture, color, kButton);
    }

    std::unique_ptr<TForm> form_;
    TSpeedButton* button_ = nullptr;
    TFlatMenu* painter_ = nullptr;
};

TEST_F(FlatControlTest, ActivatingHooksTheSpeedButtonOnce) {
    painter_->SetActive(true);
    ASSERT_NE(painter_->HookOf(button_), nullptr);
    EXPECT_TRUE(painter_->HookOf(button_)->Hooked());
    EXPECT_EQ(painter_->HookCount(), 1);
    // Toggling without a message in between, or changing the sets, keeps the one hook.
    painter_->SetActive(false);
    painter_->SetActive(true);
    painter_->SetFlatControls(kAllFlatControls & ~fcEdit);
    painter_->SetFlatContainers(kAllFlatContainers & ~fccPanel);
    EXPECT_EQ(painter_->HookCount(), 1);
    EXPECT_TRUE(painter_->HookOf(button_)->Hooked());
}

TEST_F(FlatControlTest, Tag999TheParentsTag999AndAMissingKindAreLeftAlone) {
    button_->SetTag(999);
    painter_->SetActive(true);
    EXPECT_EQ(painter_->HookCount(), 0);
    painter_->SetActive(false);
    button_->SetTag(0);
    form_->SetTag(999);
    painter_->SetActive(true);
    EXPECT_EQ(painter_->HookCount(), 0);
    painter_->SetActive(false);
    form_->SetTag(0);
    painter_->SetFlatControls(kAllFlatControls & ~fcSpeedButton);
    painter_->SetActive(true);
    EXPECT_EQ(painter_->HookCount(), 0);
    painter_->SetFlatControls(kAllFlatControls);
    EXPECT_EQ(painter_->HookCount(), 1);
}

TEST_F(FlatControlTest, AtRestOnlyTheCaptionShowsCentredAfterTheSpacing) {
    painter_->SetActive(true);
    const TBitmap rest = Picture();
    EXPECT_EQ(rest.Pixel(kButton.Left, kButton.Top), kFormColor) << "no frame at rest";
    EXPECT_EQ(rest.Pixel(kButton.Right - 1, kButton.Bottom - 1), kFormColor);
    TBitmap scratch(4, 4);
    scratch.Canvas().Font().Assign(&button_->Font());
    const int tw = scratch.Canvas().TextWidth("Close");
    const int start = kButton.Left + 4 + (kButton.Width() - 4 - tw) / 2;
    EXPECT_GT(ButtonPixels(rest, clBlack), 10);
    EXPECT_EQ(test::CountColor(rest, clBlack, {kButton.Left, kButton.Top, start, kButton.Bottom}),
              0);
    EXPECT_EQ(test::CountColor(rest, clBlack,
                               {start + tw + 1, kButton.Top, kButton.Right, kButton.Bottom}),
              0);
    EXPECT_GT(test::CountColor(rest, clBlack, {start, kButton.Top, start + 2, kButton.Bottom}), 0)
        << "the caption starts at Spacing + (width - Spacing - caption width) div 2";
}

TEST_F(FlatControlTest, UnderTheMouseTheAreaIsTintedAndFramedAndLeavingRestoresIt) {
    painter_->SetActive(true);
    const TBitmap rest = Picture();
    button_->HandleMouseEnter();
    EXPECT_TRUE(painter_->HookOf(button_)->Highlighted);
    const TBitmap hover = Picture();
    const TColor frame = Lighten(painter_->Work().select_border, 30);
    const TColor tinted = And(kFormColor, Lighten(painter_->Work().select, 20));
    EXPECT_EQ(hover.Pixel(kButton.Left, kButton.Top), frame);
    EXPECT_EQ(hover.Pixel(kButton.Right - 1, kButton.Bottom - 1), frame);
    EXPECT_EQ(hover.Pixel(kButton.Left + 2, kButton.Top + 2), tinted);
    EXPECT_EQ(hover.Pixel(kButton.Left - 1, kButton.Top), kFormColor) << "only the button";
    button_->HandleMouseLeave();
    EXPECT_FALSE(painter_->HookOf(button_)->Highlighted);
    EXPECT_EQ(test::Pixels(Picture()), test::Pixels(rest));
}

TEST_F(FlatControlTest, APressHeldKeepsMouseDownUntilTheRelease) {
    painter_->SetActive(true);
    button_->HandleMouseEnter();
    button_->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5, false);
    EXPECT_TRUE(painter_->HookOf(button_)->MouseDown);
    const TBitmap pressed = Picture();
    EXPECT_EQ(pressed.Pixel(kButton.Left, kButton.Top),
              Lighten(painter_->Work().select_border, 30));
    button_->HandleMouseLeave();
    EXPECT_TRUE(painter_->HookOf(button_)->MouseDown);
    button_->HandleMouseUp(TMouseButton::mbLeft, 0, 5, 5, false);
    EXPECT_FALSE(painter_->HookOf(button_)->MouseDown);
}

TEST_F(FlatControlTest, ADownButtonIsFilledInTheCheckedColoursOverTheTint) {
    painter_->SetActive(true);
    button_->SetDown(true);
    const TBitmap down = Picture();
    const TColor tinted = And(kFormColor, Lighten(painter_->Work().select, 20));
    EXPECT_EQ(down.Pixel(kButton.Left, kButton.Top), Lighten(painter_->Work().select_border, 30));
    EXPECT_EQ(down.Pixel(kButton.Left + 2, kButton.Top + 2), tinted);
}

TEST_F(FlatControlTest, AnOpaqueRaisedButtonHasItsEdgeBottomRightAndTopLeftWhilePressed) {
    button_->SetFlat(false);
    button_->SetTransparent(false);
    painter_->SetActive(true);
    const TBitmap rest = Picture();
    const TColor fill = painter_->Work().icon_back;
    const TColor edge = flat::DarkenColor(clBtnShadow, 50);
    EXPECT_EQ(rest.Pixel(kButton.Left + 3, kButton.Top + 3), fill);
    EXPECT_EQ(rest.Pixel(kButton.Left, kButton.Top), Lighten(clBtnShadow, 30));
    EXPECT_EQ(rest.Pixel(kButton.Right - 1, kButton.Top + 5), edge);
    EXPECT_EQ(rest.Pixel(kButton.Left + 5, kButton.Bottom - 1), edge);
    button_->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5, false);
    const TBitmap pressed = Picture();
    EXPECT_EQ(pressed.Pixel(kButton.Left, kButton.Top + 5), edge);
    EXPECT_EQ(pressed.Pixel(kButton.Left + 5, kButton.Top), edge);
    button_->HandleMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
}

TEST_F(FlatControlTest, TheGlyphIsDimmedAtRestAndLiftedAtFullColourUnderTheMouse) {
    TBitmap glyph = test::Filled(16, 16, clFuchsia);
    glyph.Canvas().Brush().SetColor(clRed);
    glyph.Canvas().FillRect({4, 4, 12, 12});
    button_->SetCaption("");
    button_->SetGlyph(glyph);
    painter_->SetActive(true);
    // Without a caption the glyph is centred: left (75 - 16) div 2, top (25 - 16) div 2 - 1,
    // drawn one row lower.
    const int gx = kButton.Left + (75 - 16) / 2;
    const int gy = kButton.Top + (25 - 16) / 2 - 1 + 1;
    const TBitmap rest = Picture();
    EXPECT_EQ(rest.Pixel(gx + 4, gy + 4), Lighten(clRed, 30));
    button_->HandleMouseEnter();
    const TBitmap hover = Picture();
    EXPECT_EQ(hover.Pixel(gx - 1 + 4, gy - 1 + 4), clRed);
    EXPECT_EQ(hover.Pixel(gx + 1 + 11, gy + 1 + 11),
              flat::DarkenColor(painter_->Work().select, 50));
}

TEST_F(FlatControlTest, ADoubleClickActsAsASecondPress) {
    int presses = 0;
    button_->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++presses; };
    painter_->SetActive(true);
    button_->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5, true);
    EXPECT_EQ(presses, 2);
}

TEST_F(FlatControlTest, AfterDeactivationTheFirstMessageUnhooksAndTheButtonPaintsItself) {
    painter_->SetActive(true);
    button_->HandleMouseEnter();
    const TBitmap styled = Picture();
    painter_->SetActive(false);
    EXPECT_EQ(painter_->HookCount(), 1) << "hooked controls unhook at their next message";
    button_->HandleMouseLeave();
    EXPECT_EQ(painter_->HookCount(), 0);
    EXPECT_FALSE(static_cast<bool>(button_->WindowProc));
    button_->HandleMouseEnter();
    const TBitmap own = Picture();
    EXPECT_EQ(own.Pixel(kButton.Left, kButton.Top), ColorToRGB(clBtnHighlight))
        << "the button's own raised frame";
    EXPECT_NE(test::Pixels(own), test::Pixels(styled));
}

TEST_F(FlatControlTest, DestroyingThePainterPutsTheButtonsOwnHandlingBack) {
    bool foreign_seen = false;
    button_->WindowProc = [&](TControlMessage& m) {
        foreign_seen = true;
        button_->DefaultWindowProc(m);
    };
    painter_->SetActive(true);
    ASSERT_EQ(painter_->HookCount(), 1);
    FreeComponent(painter_);
    painter_ = nullptr;
    ASSERT_TRUE(static_cast<bool>(button_->WindowProc));
    foreign_seen = false;
    button_->HandleMouseEnter(); // would reach a freed hook object if it were still in place
    EXPECT_TRUE(foreign_seen);
    (void)Picture();
}

TEST_F(FlatControlTest, AButtonThatGoesFirstLeavesAnIdleHookBehind) {
    painter_->SetActive(true);
    FreeComponent(button_);
    button_ = nullptr;
    EXPECT_EQ(painter_->HookOf(nullptr) != nullptr, true);
    painter_->SetActive(false);
    painter_->SetActive(true);
    (void)Picture();
}

} // namespace
} // namespace vd
