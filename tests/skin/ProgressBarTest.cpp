// The skinned progress bar, with the main window's row bar as the example: 73 x 9, a 14 x 4 cell,
// maximum 127. The strip of cells, the fill quantised to whole percent, the vertical bar filling
// from the bottom, and no repaint for an unchanged position.

#include "skin/VsProgressBar.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

// "mod_progress2.bmp": every pixel of the 14 x 4 cell differs.
TColor CellColor(int x, int y) {
    return RGB(10 * x + 5, 100 + 20 * y, 7);
}

TBitmap Cell() {
    TBitmap b(14, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 14; ++x)
            b.Canvas().SetPixel(x, y, CellColor(x, y));
    return b;
}

class CountingBar : public TVsProgressBar {
public:
    using TVsProgressBar::TVsProgressBar;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TVsProgressBar::Paint();
    }
};

class ProgressBarTest : public test::SkinWindowTest {
protected:
    static constexpr int kLeft = 226;
    static constexpr int kTop = 168;

    void SetUp() override {
        SkinWindowTest::SetUp();
        UseBackground("back.bmp", test::Background(320, 220));
        AddGraphic("mod_progress2.bmp", Cell());
        bar_ = new CountingBar(form_.get()); // owned by the form
        bar_->SetParent(skin_);
        bar_->SetMaxValue(127);
        bar_->SetBounds(kLeft, kTop, 73, 9);
        bar_->SetGraphicName("mod_progress2.bmp");
        skin_->Repaint();
    }
    // The number of columns of the bar that show the strip (checked on every row of it).
    int FilledColumns() const {
        int filled = 0;
        for (int x = 0; x < 73; ++x) {
            bool cell = true;
            for (int y = 0; y < 4; ++y)
                cell = cell && Shown(kLeft + x, kTop + 2 + y) == CellColor(x % 14, y);
            if (!cell)
                break;
            ++filled;
        }
        return filled;
    }

    CountingBar* bar_ = nullptr;
};

TEST_F(ProgressBarTest, TheStripTilesCellsFromTheLeftWithTheLastOneCut) {
    const TBitmap& strip = bar_->Strip();
    ASSERT_EQ(strip.Width(), 73);
    ASSERT_EQ(strip.Height(), 4);
    for (int x = 0; x < 73; ++x)
        for (int y = 0; y < 4; ++y)
            ASSERT_EQ(strip.Pixel(x, y), CellColor(x % 14, y)) << x << "," << y;
}

TEST_F(ProgressBarTest, TheFillIsQuantisedToWholePercent) {
    struct Case {
        int32_t position;
        int percent;
        int columns;
    };
    for (const Case c : {Case{0, 0, 0}, Case{1, 0, 0}, Case{2, 1, 0}, Case{3, 2, 1},
                         Case{64, 50, 36}, Case{126, 99, 72}, Case{127, 100, 73}}) {
        bar_->SetPosition(c.position);
        EXPECT_EQ(bar_->PercentDone(), c.percent) << c.position;
        EXPECT_EQ(FilledColumns(), c.columns) << c.position;
    }
}

TEST_F(ProgressBarTest, TheStripIsDrawnAtRowTwoAndTheRestShowsTheSkin) {
    bar_->SetPosition(64);
    for (int x : {0, 20, 35}) {
        EXPECT_EQ(Shown(kLeft + x, kTop + 1), test::BackgroundPixel(kLeft + x, kTop + 1)) << x;
        EXPECT_EQ(Shown(kLeft + x, kTop + 6), test::BackgroundPixel(kLeft + x, kTop + 6)) << x;
    }
    EXPECT_EQ(Shown(kLeft + 36, kTop + 3), test::BackgroundPixel(kLeft + 36, kTop + 3));
    EXPECT_EQ(Shown(kLeft + 35, kTop + 3), CellColor(35 % 14, 1));
    // Going back down uncovers the skin again.
    bar_->SetPosition(0);
    EXPECT_EQ(Shown(kLeft + 5, kTop + 3), test::BackgroundPixel(kLeft + 5, kTop + 3));
}

TEST_F(ProgressBarTest, TheSamePositionDoesNotRepaint) {
    bar_->SetPosition(10);
    skin_->Update();
    const int paints = bar_->paints;
    bar_->SetPosition(10);
    bar_->SetPosition(200); // clamped to 127
    skin_->Update();
    EXPECT_EQ(bar_->paints, paints + 1);
    bar_->SetPosition(127);
    bar_->SetMaxValue(127);
    bar_->SetStep(5);
    skin_->Update();
    EXPECT_EQ(bar_->paints, paints + 1);
}

TEST_F(ProgressBarTest, LimitsAsForTheSlider) {
    bar_->SetMaxValue(0);
    EXPECT_EQ(bar_->MaxValue(), 127);
    bar_->SetPosition(100);
    bar_->SetMaxValue(50);
    EXPECT_EQ(bar_->Position(), 50);
    EXPECT_EQ(bar_->PercentDone(), 100);
    bar_->SetMinValue(-50);
    EXPECT_EQ(bar_->PercentDone(), 100);
    bar_->SetPosition(0);
    EXPECT_EQ(bar_->PercentDone(), 50);
}

TEST_F(ProgressBarTest, ResizingRebuildsTheStrip) {
    bar_->SetBounds(kLeft, kTop, 40, 9);
    EXPECT_EQ(bar_->Strip().Width(), 40);
    EXPECT_EQ(bar_->Strip().Pixel(39, 0), CellColor(39 % 14, 0));
}

TEST_F(ProgressBarTest, WithoutAGraphicNoFill) {
    bar_->SetPosition(127);
    bar_->SetGraphicName("missing.bmp");
    EXPECT_TRUE(bar_->Strip().Empty());
    bar_->SetPosition(100);
    EXPECT_EQ(FilledColumns(), 0);
    EXPECT_EQ(Shown(kLeft + 5, kTop + 3), test::BackgroundPixel(kLeft + 5, kTop + 3));
}

TEST_F(ProgressBarTest, AVerticalBarFillsFromTheBottom) {
    bar_->ClipRect().SetBounds(0, 0, 6, 4);
    bar_->SetOrientation(TVsOrientation::poVertical);
    bar_->SetMaxValue(100);
    bar_->SetBounds(300, 10, 10, 50);
    ASSERT_EQ(bar_->Strip().Width(), 6);
    ASSERT_EQ(bar_->Strip().Height(), 50);
    // Cells start at the bottom edge: the strip's last row is the cell's last row.
    EXPECT_EQ(bar_->Strip().Pixel(0, 49), CellColor(0, 3));
    EXPECT_EQ(bar_->Strip().Pixel(0, 46), CellColor(0, 0));
    EXPECT_EQ(bar_->Strip().Pixel(0, 45), CellColor(0, 3));
    bar_->SetPosition(50);
    skin_->Repaint();
    const int x = 300 + 2; // (10 - 6) / 2
    EXPECT_EQ(Shown(x, 10 + 49), CellColor(0, 3));
    EXPECT_EQ(Shown(x, 10 + 25), bar_->Strip().Pixel(0, 25));
    EXPECT_EQ(Shown(x, 10 + 24), test::BackgroundPixel(x, 10 + 24));
    EXPECT_EQ(Shown(300 + 1, 10 + 49), test::BackgroundPixel(301, 59)); // left of the strip
}

TEST_F(ProgressBarTest, PositionChangesRepaintTheBarAloneOnAShownWindow) {
    ShowWindow();
    skin_->Repaint();
    const int skin_paints = skin_->paints;
    for (int32_t p = 0; p <= 127; ++p)
        bar_->SetPosition(p);
    EXPECT_EQ(skin_->paints, skin_paints);
    EXPECT_EQ(FilledColumns(), 73);
}

} // namespace
} // namespace vd
