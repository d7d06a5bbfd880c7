// The main window's skinned part built from the real skin block: the window takes the picture's
// size and shape, every control takes the size its clip rectangle gives, and everything paints.

#include "tests/skin/SkinTestSupport.h"
#include "tests/support/MainWindowLayout.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        block_ = test::RealSkinBlock();
        ASSERT_EQ(block_.size(), 746470u);
        form_ = test::MakeUnowned<TForm>();
        window_ = test::BuildMainWindow(form_.get(), block_);
    }
    std::vector<uint8_t> block_;
    test::ComponentPtr<TForm> form_;
    test::MainWindowLayout window_;
};

TEST_F(MainWindowTest, TheWindowTakesThePicturesSizeAndShape) {
    EXPECT_EQ(form_->BorderStyle(), TFormBorderStyle::bsNone);
    EXPECT_EQ(window_.skin->BoundsRect(), (TRect{0, 0, 518, 425}));
    EXPECT_EQ(form_->ClientWidth(), 518);
    EXPECT_EQ(form_->ClientHeight(), 425);
    EXPECT_TRUE(form_->HasWindowRegion());
    const TRegion shape = window_.skin->RegionData().CreateRegion();
    const TBitmap& picture = window_.composer->Graphics().Items(0)->Bitmap();
    int outside = 0;
    for (int y = 0; y < 425; ++y)
        for (int x = 0; x < 518; ++x)
            if (!shape.Contains({x, y})) {
                ++outside;
                ASSERT_EQ(picture.Pixel(x, y), clFuchsia) << x << "," << y;
            }
    EXPECT_EQ(outside, 50849);
}

TEST_F(MainWindowTest, ControlsKeepTheirLayoutSizesThroughTheirClipRectangles) {
    const int widths[] = {22, 21, 23, 22, 23, 22, 9, 45, 45, 45, 45, 45};
    ASSERT_EQ(window_.buttons.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_NE(window_.buttons[i]->Graphic(), nullptr) << window_.buttons[i]->Name();
        EXPECT_EQ(window_.buttons[i]->Width(), widths[i]) << window_.buttons[i]->Name();
    }
    EXPECT_EQ(window_.buttons[6]->Height(), 8);
    EXPECT_EQ(window_.progress->ThumbRect(), (TRect{0, 1, 20, 7}));
    EXPECT_EQ(window_.rows->Strip().Width(), 73);
    EXPECT_EQ(window_.position_label->BoundsRect(), Bounds(7, 107, 40, 13));
    EXPECT_EQ(window_.title->BoundsRect(), Bounds(36, 85, 265, 13));
    EXPECT_EQ(window_.pos_label->BoundsRect(), Bounds(48, 107, 105, 13));
}

TEST_F(MainWindowTest, TheWholeWindowPaintsTheBackgroundAndTheButtons) {
    window_.skin->Repaint();
    const TBitmap& picture = window_.composer->Graphics().Items(0)->Bitmap();
    const TBitmap& strip = window_.composer->Graphics().Items(1)->Bitmap();
    // Far from every control the background shows as it is.
    EXPECT_EQ(test::PixelOf(window_.skin->Picture(), 400, 20), picture.Pixel(400, 20));
    // PlayBtn, opaque, shows image 0 of its row.
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(test::PixelOf(window_.skin->Picture(), 37 + x, 195 + y),
                      strip.Pixel(x, 32 + y))
                << x << "," << y;
}

TEST_F(MainWindowTest, FreeingTheWindowInAnyOrderIsClean) {
    FreeComponent(window_.composer);
    EXPECT_EQ(window_.skin->Graphic(), nullptr);
    FreeComponent(window_.skin);
    form_.reset();
}

} // namespace
} // namespace vd
