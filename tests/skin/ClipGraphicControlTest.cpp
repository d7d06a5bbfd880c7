// The base the button, slider and progress bar share: finding the graphic by name on the surface,
// resetting or keeping the clip rectangle, cutting images from it and copying them masked onto
// the face; and the rule that a setter given the value it has does nothing.

#include "skin/VsClipGraphicControl.h"
#include "skin/VsSysUtils.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace vd {
namespace {

// A control that counts what the base asks of it.
class ProbeControl : public TVsClipGraphicControl {
public:
    using TVsClipGraphicControl::ClipImage;
    using TVsClipGraphicControl::DrawMasked;
    using TVsClipGraphicControl::MaskColor;
    using TVsClipGraphicControl::SetMaskColor;
    using TVsClipGraphicControl::TVsClipGraphicControl;
    int updates = 0;
    int clip_changes = 0;

protected:
    void GraphicUpdated() override { ++updates; }
    void ClipRectChanged() override { ++clip_changes; }
};

class ClipGraphicControlTest : public test::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        UseBackground("back.bmp", test::Background(100, 60));
        AddGraphic("strip.bmp", test::SolidBitmap(40, 6, clLime));
        probe_ = new ProbeControl(form_.get()); // owned by the form
        probe_->SetParent(skin_);
        probe_->SetBounds(10, 10, 20, 6);
    }
    ProbeControl* probe_ = nullptr;
};

TEST_F(ClipGraphicControlTest, ANewNameFindsTheGraphicAndClipsToAllOfIt) {
    probe_->SetGraphicName("STRIP.bmp"); // the store's lookup ignores case
    ASSERT_NE(probe_->Graphic(), nullptr);
    EXPECT_EQ(probe_->Graphic()->Name(), "strip.bmp");
    EXPECT_EQ(probe_->ClipRect().GetRect(), (TRect{0, 0, 40, 6}));
    EXPECT_EQ(probe_->updates, 1);
    EXPECT_EQ(probe_->clip_changes, 1);
    probe_->SetGraphicName("STRIP.bmp"); // the same name: nothing
    EXPECT_EQ(probe_->updates, 1);
    EXPECT_EQ(probe_->clip_changes, 1);
}

TEST_F(ClipGraphicControlTest, ASkinRefreshFindsTheGraphicAgainAndKeepsTheClip) {
    probe_->SetGraphicName("strip.bmp");
    probe_->ClipRect().SetBounds(20, 0, 20, 6);
    skin_->UpdateSkin(); // looks up every control's graphic with reload off
    EXPECT_NE(probe_->Graphic(), nullptr);
    EXPECT_EQ(probe_->ClipRect().GetRect(), (TRect{20, 0, 40, 6}));
    EXPECT_EQ(probe_->updates, 2);
}

TEST_F(ClipGraphicControlTest, AMissingGraphicOrSurfaceLeavesNoneAndTheClipAsItWas) {
    probe_->ClipRect().SetBounds(1, 2, 3, 4);
    probe_->SetGraphicName("missing.bmp");
    EXPECT_EQ(probe_->Graphic(), nullptr);
    EXPECT_EQ(probe_->ClipRect().GetRect(), (TRect{1, 2, 4, 6}));
    EXPECT_EQ(probe_->updates, 1);
    auto* loose = new ProbeControl(form_.get()); // owned by the form; on no surface
    loose->SetGraphicName("strip.bmp");
    EXPECT_EQ(loose->Graphic(), nullptr);
}

TEST_F(ClipGraphicControlTest, AssigningTheClipRectangleNotifiesOnce) {
    TVsClipRect other;
    other.SetBounds(4, 3, 2, 1);
    probe_->SetClipRect(other);
    EXPECT_EQ(probe_->ClipRect().GetRect(), (TRect{4, 3, 6, 4}));
    EXPECT_EQ(probe_->clip_changes, 1);
}

TEST_F(ClipGraphicControlTest, ImagesLieSideBySideFromTheClipsCorner) {
    probe_->ClipRect().SetBounds(5, 7, 50, 4);
    EXPECT_EQ(probe_->ClipImage(0, 10, 4), (TRect{5, 7, 15, 11}));
    EXPECT_EQ(probe_->ClipImage(2, 10, 4), (TRect{25, 7, 35, 11}));
}

TEST_F(ClipGraphicControlTest, AMaskedCopyLeavesTheFaceWhereTheImageHasTheMaskColour) {
    TBitmap image = test::SolidBitmap(4, 2, clLime);
    image.Canvas().SetPixel(0, 0, clFuchsia);
    auto face_after_copy = [&](TColor mask) {
        probe_->SetMaskColor(mask);
        TBitmap before = test::SolidBitmap(20, 6, clNavy);
        probe_->Face().Assign(&before);
        probe_->DrawMasked({2, 1, 6, 3}, image, {0, 0, 4, 2});
        return std::pair{probe_->Face().Pixel(2, 1), probe_->Face().Pixel(3, 1)};
    };
    EXPECT_EQ(face_after_copy(clNone), std::pair(ColorToRGB(clFuchsia), ColorToRGB(clLime)));
    EXPECT_EQ(face_after_copy(clFuchsia), std::pair(ColorToRGB(clNavy), ColorToRGB(clLime)));
    EXPECT_EQ(probe_->MaskColor(), clFuchsia);
}

TEST(StoreIfChanged, StoresOnlyADifferentValue) {
    std::string name = "a";
    EXPECT_FALSE(StoreIfChanged(name, std::string_view("a")));
    EXPECT_TRUE(StoreIfChanged(name, std::string_view("A"))); // case counts
    EXPECT_EQ(name, "A");
    int value = 3;
    EXPECT_FALSE(StoreIfChanged(value, 3));
    EXPECT_TRUE(StoreIfChanged(value, 4));
    EXPECT_EQ(value, 4);
}

} // namespace
} // namespace vd
