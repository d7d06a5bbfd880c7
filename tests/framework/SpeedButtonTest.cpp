// Speed buttons (glyph and caption placement, their own flat and raised pictures), the hookable
// message handling of controls, menu items' draw handlers and shortcut texts, and the insertion
// notice components get when a sibling joins their owner.

#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "tests/support/GuiTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vd {
namespace {

TEST(ButtonGlyphPlace, GlyphLeftCentresGlyphSpacingAndCaptionTogether) {
    const TButtonGlyphPlace p =
        PlaceButtonGlyph(75, 25, 16, 16, 30, 13, 4, TButtonLayout::blGlyphLeft);
    EXPECT_EQ(p.glyph, (TPoint{(75 - 50) / 2, (25 - 16) / 2 - 1}));
    EXPECT_EQ(p.caption.Left, 12 + 16 + 4);
    EXPECT_EQ(p.caption.Width(), 30);
    // Without a glyph the caption starts at spacing + (width - spacing - caption width) div 2.
    const TButtonGlyphPlace bare =
        PlaceButtonGlyph(75, 25, 0, 0, 30, 13, 4, TButtonLayout::blGlyphLeft);
    EXPECT_EQ(bare.caption.Left, 4 + (75 - 4 - 30) / 2);
}

TEST(ButtonGlyphPlace, OtherLayoutsPutTheGlyphRightAboveOrBelow) {
    const TButtonGlyphPlace right =
        PlaceButtonGlyph(75, 25, 16, 16, 30, 13, 4, TButtonLayout::blGlyphRight);
    EXPECT_EQ(right.glyph.X + 16, (4 + 16 + 30 + 75) / 2);
    EXPECT_EQ(right.caption.Right, right.glyph.X - 4);
    const TButtonGlyphPlace top =
        PlaceButtonGlyph(60, 50, 16, 16, 30, 13, 4, TButtonLayout::blGlyphTop);
    EXPECT_EQ(top.glyph, (TPoint{22, (50 - 33) / 2}));
    EXPECT_EQ(top.caption.Top, top.glyph.Y + 16 + 4);
    EXPECT_EQ(top.caption.Left, 15);
    const TButtonGlyphPlace bottom =
        PlaceButtonGlyph(60, 50, 16, 16, 30, 13, 4, TButtonLayout::blGlyphBottom);
    EXPECT_EQ(bottom.glyph.Y + 16, (4 + 16 + 13 + 50) / 2);
    EXPECT_EQ(bottom.caption.Bottom, bottom.glyph.Y - 4);
}

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 100, 60);
        form_->SetColor(clWhite);
        button_ = TComponent::Create<TSpeedButton>(form_.get());
        button_->SetParent(form_.get());
        button_->SetBounds(10, 10, 40, 20);
    }
    TColor At(int x, int y) {
        form_->Invalidate();
        form_->Update();
        const QRgb p = form_->Picture().pixel(x, y);
        return RGB(static_cast<unsigned>(qRed(p)), static_cast<unsigned>(qGreen(p)),
                   static_cast<unsigned>(qBlue(p)));
    }
    std::unique_ptr<TForm> form_;
    TSpeedButton* button_ = nullptr;
};

TEST_F(SpeedButtonTest, AFlatTransparentButtonShowsItsFrameOnlyUnderTheMouse) {
    button_->SetFlat(true);
    EXPECT_EQ(At(10, 10), clWhite);
    button_->HandleMouseEnter();
    EXPECT_TRUE(button_->MouseInControl());
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(49, 29), ColorToRGB(clBtnShadow));
    button_->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 3, 3, false);
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnShadow)) << "pressed: sunken";
    button_->HandleMouseUp(TMouseButton::mbLeft, 0, 3, 3, true);
    button_->HandleMouseLeave();
    EXPECT_EQ(At(10, 10), clWhite);
}

TEST_F(SpeedButtonTest, ARaisedButtonIsFilledAndDownIsSunken) {
    EXPECT_EQ(At(20, 20), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnHighlight));
    button_->SetDown(true);
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnShadow));
}

TEST_F(SpeedButtonTest, AHookSeesEveryMessageAndCallsOnToTheControlsOwnHandling) {
    std::vector<TControlMessageKind> seen;
    int clicks = 0;
    button_->OnClick = [&](TComponent*) { ++clicks; };
    button_->WindowProc = [&](TControlMessage& m) {
        seen.push_back(m.kind);
        if (m.kind != TControlMessageKind::mkPaint)
            button_->DefaultWindowProc(m);
    };
    button_->HandleMouseEnter();
    button_->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 3, 3, false);
    button_->HandleMouseUp(TMouseButton::mbLeft, 0, 3, 3, true);
    button_->SetEnabled(false);
    button_->SetCaption("Update");
    (void)At(0, 0);
    using enum TControlMessageKind;
    const std::vector<TControlMessageKind> want = {mkMouseEnter, mkMouseDown, mkMouseUp,
                                                   mkEnabledChanged, mkTextChanged};
    ASSERT_GE(seen.size(), want.size());
    std::vector<TControlMessageKind> without_paints;
    for (TControlMessageKind k : seen)
        if (k != mkPaint)
            without_paints.push_back(k);
    EXPECT_EQ(without_paints, want);
    EXPECT_EQ(seen.back(), mkPaint);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button_->Enabled());
}

TEST(MenuItemDraw, AnAdvancedHandlerComesBeforeThePlainOne) {
    test::StartGui();
    auto item = test::MakeUnowned<TMenuItem>();
    std::vector<std::string> calls;
    item->OnDrawItem = [&](TMenuItem*, TCanvas&, const TRect&, bool selected) {
        calls.push_back(selected ? "plain selected" : "plain");
    };
    QImage picture(10, 10, QImage::Format_RGB32);
    TCanvas canvas(&picture);
    item->Draw(canvas, {0, 0, 10, 10}, odSelected);
    item->OnAdvancedDrawItem = [&](TMenuItem*, TCanvas&, const TRect&, TOwnerDrawState) {
        calls.push_back("advanced");
    };
    item->Draw(canvas, {0, 0, 10, 10}, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"plain selected", "advanced"}));
}

TEST(MenuItemShortCut, TextsNameTheModifiersThenTheKey) {
    EXPECT_EQ(ShortCutToText(scCtrl | 'O'), "Ctrl+O");
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | (VK_F1 + 4)), "Shift+Ctrl+F5");
    EXPECT_EQ(ShortCutToText(scAlt | VK_DELETE), "Alt+Del");
    EXPECT_EQ(ShortCutToText(0), "");
}

class InsertionProbe : public TComponent {
public:
    using TComponent::TComponent;
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opInsert)
            inserted.push_back(component);
    }
    std::vector<TComponent*> inserted;
};

TEST(ComponentInsertion, TheOwnerAndItsComponentsAreToldOfANewOneOnceItIsWhole) {
    auto owner = test::MakeUnowned<InsertionProbe>();
    auto* first = TComponent::Create<InsertionProbe>(owner.get());
    auto* item = TComponent::Create<TMenuItem>(owner.get());
    EXPECT_EQ(owner->inserted, (std::vector<TComponent*>{first, item}));
    ASSERT_EQ(first->inserted.size(), 1U);
    EXPECT_NE(dynamic_cast<TMenuItem*>(first->inserted[0]), nullptr) << "told once it is whole";
}

} // namespace
} // namespace vd
