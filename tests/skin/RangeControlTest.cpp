// The base the slider and the progress bar share: their limits and position under the range's
// rules, and a position notice only when the position itself moves.

#include "skin/VsRangeControl.h"
#include "tests/skin/SkinTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

// A range control that counts its position notices and its paints.
class ProbeRange : public TVsRangeControl {
public:
    using TVsRangeControl::TVsRangeControl;
    int position_notices = 0;
    int paints = 0;

protected:
    void PositionChanged() override { ++position_notices; }
    void Paint() override {
        ++paints;
        TVsRangeControl::Paint();
    }
};

class RangeControlTest : public test::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        UseBackground("back.bmp", test::Background(100, 60));
        probe_ = new ProbeRange(form_.get()); // owned by the form
        probe_->SetParent(skin_);
        probe_->SetBounds(10, 10, 40, 8);
        ShowWindow();
        probe_->paints = 0;
    }
    ProbeRange* probe_ = nullptr;
};

TEST_F(RangeControlTest, OnlyAMovedPositionIsNoticedAndEveryChangeRepaints) {
    probe_->SetPosition(40);
    EXPECT_EQ(probe_->position_notices, 1);
    EXPECT_EQ(probe_->paints, 1);
    probe_->SetPosition(40); // unchanged: nothing
    probe_->SetMaxValue(10); // below the position: the position follows it down
    EXPECT_EQ(probe_->Position(), 10);
    EXPECT_EQ(probe_->position_notices, 2);
    EXPECT_EQ(probe_->paints, 2);
    probe_->SetMinValue(-5); // a limit alone: a repaint, no notice
    EXPECT_EQ(probe_->position_notices, 2);
    EXPECT_EQ(probe_->paints, 3);
    probe_->SetMinValue(10); // not below the maximum: ignored
    EXPECT_EQ(probe_->MinValue(), -5);
    EXPECT_EQ(probe_->paints, 3);
}

} // namespace
} // namespace vd
