// The skin surface: only on a form, at 0, 0 with its graphic's size; the window's shape from the
// mask colour; refreshing on changes of name, mask, store and the store's contents (and not on
// the same name again); the placeholder without a graphic; window dragging; and the clip
// rectangle's notices.

#include "skin/VsButtons.h"
#include "skin/VsClasses.h"
#include "skin/VsLabel.h"
#include "skin/VsSkin.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace vd {
namespace {

using test::Background;

// A skinned control that counts how often the surface asks it to look up its graphic.
class LookupProbe : public TVsSkinGraphicControl {
public:
    using TVsSkinGraphicControl::TVsSkinGraphicControl;
    void UpdateGraphic(bool reload) override {
        ++lookups;
        last_reload = reload;
    }
    int lookups = 0;
    bool last_reload = true;
};

class SkinSurfaceTest : public test::SkinWindowTest {};

TEST_F(SkinSurfaceTest, OnlyAFormCarriesASkinAndTheFormLosesItsBorder) {
    EXPECT_EQ(skin_->Form(), form_.get());
    EXPECT_EQ(form_->BorderStyle(), TFormBorderStyle::bsNone);
    auto* panel = new TCustomControl(form_.get()); // owned by the form
    panel->SetParent(form_.get());
    try {
        skin_->SetParent(panel);
        FAIL() << "placed on a panel";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "TVsSkin needs to be placed on a form.");
    }
    EXPECT_EQ(skin_->Parent(), form_.get());
}

TEST_F(SkinSurfaceTest, OnlyASkinCarriesSkinnedControls) {
    auto* button = new TVsButton(form_.get()); // owned by the form
    try {
        button->SetParent(form_.get());
        FAIL() << "placed on the form";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Control needs to be placed on a TVsSkin component.");
    }
    EXPECT_EQ(button->Parent(), nullptr);
    button->SetParent(skin_);
    EXPECT_EQ(button->Skin(), skin_);
    EXPECT_THROW(button->SetParent(form_.get()), Exception);
    EXPECT_EQ(button->Parent(), skin_);
    EXPECT_NO_THROW(button->SetParent(nullptr));
}

TEST_F(SkinSurfaceTest, TakingAControlOffItsSkinForgetsTheSkin) {
    auto* button = new TVsButton(form_.get()); // owned by the form
    button->SetParent(skin_);
    button->SetParent(nullptr);
    EXPECT_EQ(button->Skin(), nullptr);
    // Freeing the surface under a control it carries must not leave the control pointing at it.
    auto* other = new TVsButton(form_.get()); // owned by the form
    other->SetParent(skin_);
    FreeComponent(skin_);
    skin_ = nullptr;
    EXPECT_EQ(other->Parent(), nullptr);
    EXPECT_EQ(other->Skin(), nullptr);
}

TEST_F(SkinSurfaceTest, DefaultsWithoutAGraphic) {
    EXPECT_EQ(skin_->BoundsRect(), (TRect{0, 0, 300, 200}));
    EXPECT_EQ(skin_->MaskColor(), clNone);
    EXPECT_TRUE(skin_->FormDrag());
    EXPECT_EQ(skin_->GraphicName(), "");
}

TEST_F(SkinSurfaceTest, TheSurfaceLiesAtTheOriginWithItsGraphicsSize) {
    UseBackground("back.bmp", Background(120, 80, 2));
    EXPECT_EQ(skin_->BoundsRect(), (TRect{0, 0, 120, 80}));
    EXPECT_EQ(form_->ClientWidth(), 120);
    EXPECT_EQ(form_->ClientHeight(), 80);
    skin_->SetBounds(7, 9, 300, 300);
    EXPECT_EQ(skin_->BoundsRect(), (TRect{0, 0, 120, 80}));
    EXPECT_EQ(Shown(50, 40), RGB(50, 40, 60));
    EXPECT_EQ(Shown(0, 0), clFuchsia); // painted; the window's shape hides it
}

TEST_F(SkinSurfaceTest, TheMaskColourShapesTheWindowAndNoneMakesItARectangle) {
    UseBackground("back.bmp", Background(120, 80, 2));
    ASSERT_TRUE(skin_->HasRegion());
    EXPECT_TRUE(form_->HasWindowRegion());
    const TRegion shape = skin_->RegionData().CreateRegion();
    EXPECT_FALSE(shape.Contains({1, 1}));
    EXPECT_TRUE(shape.Contains({2, 2}));
    EXPECT_TRUE(shape.Contains({117, 77}));
    EXPECT_FALSE(shape.Contains({118, 40}));

    skin_->SetMaskColor(clNone);
    EXPECT_FALSE(skin_->HasRegion());
    EXPECT_FALSE(form_->HasWindowRegion());
    EXPECT_EQ(skin_->RegionData().Size(), 0);
    skin_->SetMaskColor(clFuchsia);
    EXPECT_TRUE(form_->HasWindowRegion());
    // A colour that is nowhere in the picture: every row whole, one rectangle.
    skin_->SetMaskColor(clLime);
    EXPECT_EQ(skin_->RegionData().CreateRegion().Rects(), (std::vector<TRect>{{0, 0, 120, 80}}));
}

TEST_F(SkinSurfaceTest, SameNameAgainDoesNothingACaseChangeRefreshes) {
    auto* probe = new LookupProbe(form_.get()); // owned by the form
    probe->SetParent(skin_);
    UseBackground("back.bmp", Background(60, 40));
    const int lookups = probe->lookups;
    skin_->SetGraphicName("back.bmp");
    EXPECT_EQ(probe->lookups, lookups);
    skin_->SetGraphicName("BACK.bmp");
    EXPECT_EQ(probe->lookups, lookups + 1);
    EXPECT_FALSE(probe->last_reload);
    EXPECT_NE(skin_->Graphic(), nullptr); // the store's look-up ignores case
    EXPECT_EQ(skin_->Width(), 60);
    skin_->SetMaskColor(clFuchsia); // unchanged: nothing
    EXPECT_EQ(probe->lookups, lookups + 1);
}

TEST_F(SkinSurfaceTest, ChangesOfTheStoreRefreshTheSurfaceAndItsControls) {
    auto* probe = new LookupProbe(form_.get()); // owned by the form
    probe->SetParent(skin_);
    UseBackground("back.bmp", Background(60, 40));
    int lookups = probe->lookups;
    AddGraphic("other.bmp", Background(10, 10));
    EXPECT_EQ(probe->lookups, ++lookups);
    composer_->Graphics().Clear();
    EXPECT_EQ(probe->lookups, ++lookups);
    EXPECT_EQ(skin_->Graphic(), nullptr);
    EXPECT_EQ(skin_->Width(), 60); // keeps its size without a graphic
    EXPECT_FALSE(form_->HasWindowRegion());
    AddGraphic("back.bmp", Background(70, 50, 1));
    EXPECT_EQ(skin_->Width(), 70);
    EXPECT_TRUE(form_->HasWindowRegion());
}

TEST_F(SkinSurfaceTest, WithoutAStoreOrAMatchThePlaceholderIsPainted) {
    skin_->Repaint();
    EXPECT_EQ(Shown(0, 0), clBlack); // dotted frame
    EXPECT_EQ(Shown(2, 0), clBlack);
    EXPECT_EQ(Shown(150, 100), RGB(255, 255, 255)); // clWindow of the classic scheme
    UseBackground("back.bmp", Background(60, 40));
    skin_->SetGraphicName("missing.bmp");
    skin_->Update();
    EXPECT_EQ(skin_->Graphic(), nullptr);
    EXPECT_EQ(Shown(30, 20), RGB(255, 255, 255));
}

TEST_F(SkinSurfaceTest, RemovingTheStoreLeavesThePlaceholderAndAPlainWindow) {
    auto* button = new TVsButton(form_.get()); // owned by the form
    button->SetParent(skin_);
    UseBackground("back.bmp", Background(120, 80, 2));
    AddGraphic("strip.bmp", test::SolidBitmap(50, 10, clRed));
    button->SetGraphicName("strip.bmp");
    ASSERT_NE(button->Graphic(), nullptr);
    ASSERT_TRUE(form_->HasWindowRegion());
    FreeComponent(composer_);
    composer_ = nullptr;
    EXPECT_EQ(skin_->Composer(), nullptr);
    EXPECT_EQ(skin_->Graphic(), nullptr);
    EXPECT_EQ(button->Graphic(), nullptr);
    EXPECT_FALSE(form_->HasWindowRegion());
    skin_->Update();
    EXPECT_EQ(Shown(60, 70), RGB(255, 255, 255));
}

TEST_F(SkinSurfaceTest, SwitchingStoresMovesTheLink) {
    UseBackground("back.bmp", Background(60, 40));
    auto* second = new TVsComposer(form_.get()); // owned by the form
    skin_->SetComposer(second);
    EXPECT_EQ(composer_->LinkCount(), 0);
    EXPECT_EQ(second->LinkCount(), 1);
    EXPECT_EQ(skin_->Graphic(), nullptr);
    FreeComponent(skin_);
    skin_ = nullptr;
    EXPECT_EQ(second->LinkCount(), 0);
}

TEST_F(SkinSurfaceTest, WhileLoadingNothingRefreshesUntilLoaded) {
    auto* probe = new LookupProbe(form_.get()); // owned by the form
    probe->SetParent(skin_);
    AddGraphic("back.bmp", Background(64, 48, 1));
    skin_->BeginLoading();
    skin_->SetMaskColor(clFuchsia);
    skin_->SetGraphicName("back.bmp");
    skin_->SetComposer(composer_);
    EXPECT_EQ(probe->lookups, 0);
    EXPECT_EQ(skin_->Width(), 300);
    EXPECT_FALSE(form_->HasWindowRegion());
    skin_->Loaded();
    EXPECT_EQ(probe->lookups, 1);
    EXPECT_EQ(skin_->BoundsRect(), (TRect{0, 0, 64, 48}));
    EXPECT_TRUE(form_->HasWindowRegion());
}

TEST_F(SkinSurfaceTest, ALeftPressDragsTheWindowUnlessFormDragIsOff) {
    UseBackground("back.bmp", Background(60, 40));
    int downs = 0;
    skin_->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++downs; };
    test::Press(W(), 30, 20);
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(form_->WindowDragArmed());
    test::Release(W(), 30, 20);
    EXPECT_FALSE(form_->WindowDragArmed());
    EXPECT_FALSE(form_->ManualDragging());

    skin_->SetFormDrag(false);
    test::Press(W(), 30, 20);
    EXPECT_FALSE(form_->WindowDragArmed());
    test::Release(W(), 30, 20);
}

// A touchpad's tap is a press and a release within milliseconds: asking the window system to move
// the window at the press leaves the window stuck to the pointer when the release gets there
// first. The move is asked for only once the pointer moves with the button held.
TEST_F(SkinSurfaceTest, AClickWithoutMovingNeverMovesTheWindow) {
    UseBackground("back.bmp", Background(60, 40));
    form_->SetBounds(100, 80, 60, 40);
    test::Press(W(), 30, 20);
    test::Move(W(), 31, 22); // a tap's jitter
    EXPECT_TRUE(form_->WindowDragArmed());
    EXPECT_FALSE(form_->ManualDragging());
    test::Release(W(), 31, 22);
    EXPECT_FALSE(form_->WindowDragArmed());
    EXPECT_FALSE(form_->ManualDragging());
    // The pointer goes on without a button: nothing follows it.
    test::Move(W(), 50, 35);
    test::Move(W(), 5, 5);
    EXPECT_FALSE(form_->WindowDragArmed());
    EXPECT_FALSE(form_->ManualDragging());
    EXPECT_EQ(form_->Left(), 100);
    EXPECT_EQ(form_->Top(), 80);
}

TEST_F(SkinSurfaceTest, MovingWithTheButtonHeldStartsTheMoveWithThePressedSpotUnderThePointer) {
    UseBackground("back.bmp", Background(60, 40));
    form_->SetBounds(100, 80, 60, 40);
    test::Press(W(), 30, 20);
    test::Move(W(), 40, 26);
    // The offscreen window system moves no windows: the window follows the pointer itself, from
    // where the pointer is now.
    EXPECT_TRUE(form_->ManualDragging());
    EXPECT_EQ(form_->Left(), 110);
    EXPECT_EQ(form_->Top(), 86);
    test::Release(W(), 40, 26);
    EXPECT_FALSE(form_->ManualDragging());
}

TEST(DragThreshold, AFewPixelsInAnyDirection) {
    EXPECT_FALSE(DragThresholdPassed({100, 100}, {100, 100}));
    EXPECT_FALSE(DragThresholdPassed({100, 100}, {102, 98}));
    EXPECT_TRUE(DragThresholdPassed({100, 100}, {103, 100}));
    EXPECT_TRUE(DragThresholdPassed({100, 100}, {100, 97}));
    EXPECT_TRUE(DragThresholdPassed({INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}));
}

TEST_F(SkinSurfaceTest, ARightPressOpensTheSurfacesMenuAndDoesNotDrag) {
    UseBackground("back.bmp", Background(60, 40));
    auto* menu = new TPopupMenu(form_.get()); // owned by the form
    skin_->SetPopupMenu(menu);
    test::Press(W(), 30, 20, TMouseButton::mbRight);
    test::Release(W(), 30, 20, TMouseButton::mbRight);
    EXPECT_FALSE(form_->ManualDragging());
    ASSERT_EQ(test::ShownPopups().size(), 1u);
    EXPECT_EQ(test::ShownPopups()[0].menu, menu);
}

TEST_F(SkinSurfaceTest, APressOnAControlDoesNotDragButOneOnALabelDoes) {
    UseBackground("back.bmp", Background(100, 60));
    auto* button = new TVsButton(form_.get()); // owned by the form
    button->SetParent(skin_);
    button->SetBounds(10, 10, 20, 10);
    auto* label = new TVsLabel(form_.get()); // owned by the form
    label->SetParent(skin_);
    label->SetAutoSize(false);
    label->SetBounds(10, 30, 40, 13);
    test::Press(W(), 15, 15);
    EXPECT_FALSE(form_->WindowDragArmed());
    test::Move(W(), 25, 25);
    EXPECT_FALSE(form_->ManualDragging());
    test::Release(W(), 25, 25);
    test::Press(W(), 15, 35);
    EXPECT_TRUE(form_->WindowDragArmed());
    test::Move(W(), 25, 40);
    EXPECT_TRUE(form_->ManualDragging());
    test::Release(W(), 25, 40);
    label->SetFormDrag(false);
    test::Press(W(), 15, 35);
    EXPECT_FALSE(form_->WindowDragArmed());
    test::Release(W(), 15, 35);
}

// ---- the clip rectangle -----------------------------------------------------------------------

TEST(ClipRectTest, SameValuesNotifyNothingAssignNotifiesExactlyOnce) {
    TVsClipRect clip;
    int notices = 0;
    clip.OnChange = [&](TVsPersistent* sender) {
        EXPECT_EQ(sender, &clip);
        ++notices;
    };
    clip.SetBounds(0, 32, 105, 14);
    EXPECT_EQ(notices, 1);
    clip.SetBounds(0, 32, 105, 14);
    clip.SetLeft(0);
    clip.SetTop(32);
    clip.SetWidth(105);
    clip.SetHeight(14);
    clip.SetRect({0, 32, 105, 46});
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(clip.GetRect(), (TRect{0, 32, 105, 46}));
    clip.SetHeight(15);
    EXPECT_EQ(notices, 2);

    TVsClipRect other;
    other.SetBounds(1, 2, 3, 4);
    clip.Assign(&other);
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(clip.GetRect(), (TRect{1, 2, 4, 6}));
    clip.Assign(&other); // nothing changes, yet the bracket closes once
    EXPECT_EQ(notices, 4);
    TVsGraphic foreign;
    EXPECT_THROW(clip.Assign(&foreign), Exception);
    EXPECT_EQ(notices, 4);
}

} // namespace
} // namespace vd

namespace vd {
namespace {

// The layout creates the store after the surface, so the form frees the store first while the
// surface is still there, and the surface refreshes itself with the form half taken apart.
TEST(SkinFormLifetimeTest, FreeingAFormWhoseStoreComesAfterItsSkin) {
    test::StartGui();
    auto form = test::MakeUnowned<TForm>();
    auto* skin = new TVsSkin(form.get()); // owned by the form
    skin->SetParent(form.get());
    auto* composer = new TVsComposer(form.get()); // owned by the form
    auto* button = new TVsButton(form.get());     // owned by the form
    button->SetParent(skin);
    TVsGraphic g;
    g.SetName("back.bmp");
    const TBitmap back = test::Background(60, 40, 2);
    g.Bitmap().Assign(&back);
    composer->Graphics().Add(&g);
    skin->SetComposer(composer);
    skin->SetMaskColor(clFuchsia);
    skin->SetGraphicName("back.bmp");
    button->SetGraphicName("back.bmp");
    ASSERT_TRUE(form->HasWindowRegion());
    form.reset();
    SUCCEED();
}

} // namespace
} // namespace vd
