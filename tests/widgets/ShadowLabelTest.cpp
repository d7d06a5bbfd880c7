// The shadowed label read back from the canvas: every copy of the caption where its style puts
// it (compared pixel by pixel with the caption alone, moved), the presets and the switch to a
// custom style, the angle kept in 0..359, offsets and automatic sizing, the disabled emboss, word
// wrapped copies, and the mouse events.
#include "widgets/ShadowLabel.h"
#include "framework/Forms.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace vd {
namespace {

constexpr TColor kFormColor = RGB(221, 221, 221);
constexpr TRect kLabel{20, 20, 140, 70};

// A copy of the caption: where it is moved to and its colour.
struct Copy {
    int dx;
    int dy;
    TColor color;
};

class ShadowLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        SystemColors::SetClassic();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 200, 100);
        form_->SetColor(kFormColor);
        label_ = TComponent::Create<TShadowLabel>(form_.get());
        label_->SetParent(form_.get());
        label_->SetAutoSize(false);
        label_->SetBounds(kLabel.Left, kLabel.Top, kLabel.Width(), kLabel.Height());
        label_->SetTransparent(true);
        // Kept away from the label's edges, so that no copy is cut off.
        label_->SetAlignment(TAlignment::taCenter);
        label_->SetVerticalAlignment(TVerticalAlignment::vaCenter);
        label_->Font().SetName("Arial");
        label_->Font().SetSize(12);
        label_->Font().SetStyle(fsBold);
        label_->Font().SetColor(clBlack);
        label_->SetCaption("About");
    }
    void TearDown() override { form_.reset(); }

    TBitmap Picture() { return test::PaintedPicture(*form_); }

    // The caption's own pixels, drawn alone in black (form coordinates): by a plain twin of the
    // label in its place.
    std::set<std::pair<int, int>> CaptionInk() {
        auto* twin = TComponent::Create<TShadowLabel>(form_.get());
        twin->SetParent(form_.get());
        twin->SetAutoSize(false);
        twin->SetBounds(label_->Left(), label_->Top(), label_->Width(), label_->Height());
        twin->SetTransparent(true);
        twin->SetAlignment(label_->Alignment());
        twin->SetVerticalAlignment(label_->VerticalAlignment());
        twin->SetWordWrap(label_->WordWrap());
        twin->Font().Assign(&label_->Font());
        twin->Font().SetColor(clBlack);
        twin->SetCaption(label_->Caption());
        twin->SetAngle(label_->Angle());
        twin->SetOffsetX(label_->OffsetX());
        twin->SetOffsetY(label_->OffsetY());
        label_->SetVisible(false);
        const TBitmap alone = Picture();
        label_->SetVisible(true);
        FreeComponent(twin);
        std::set<std::pair<int, int>> ink;
        for (int y = 0; y < alone.Height(); ++y)
            for (int x = 0; x < alone.Width(); ++x)
                if (alone.Pixel(x, y) == clBlack)
                    ink.insert({x, y});
        return ink;
    }

    // Checks every pixel of the form against the copies of `ink` drawn in order.
    void ExpectCopies(const std::set<std::pair<int, int>>& ink, const std::vector<Copy>& copies) {
        ASSERT_FALSE(ink.empty());
        std::map<std::pair<int, int>, TColor> expected;
        for (const Copy& copy : copies)
            for (const auto& [x, y] : ink)
                expected[{x + copy.dx, y + copy.dy}] = ColorToRGB(copy.color);
        const TBitmap picture = Picture();
        int wrong = 0;
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                const auto it = expected.find({x, y});
                const TColor want = it == expected.end() ? kFormColor : it->second;
                if (picture.Pixel(x, y) != want && ++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex
                                  << picture.Pixel(x, y) << ", expected " << want;
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    std::unique_ptr<TForm> form_;
    TShadowLabel* label_ = nullptr;
};

TEST_F(ShadowLabelTest, StartsWithoutShadowOrHighlight) {
    EXPECT_EQ(label_->ShadowStyle(), TShadowStyle::ssNone);
    EXPECT_EQ(label_->HighlightDirection(), TDirection::drNone);
    EXPECT_EQ(label_->HighlightDepth(), 0);
    EXPECT_EQ(label_->HighlightColor(), clBtnHighlight);
    EXPECT_EQ(label_->ShadowDirection(), TDirection::drNone);
    EXPECT_EQ(label_->ShadowDepth(), 0);
    EXPECT_EQ(label_->ShadowSize(), 0);
    EXPECT_EQ(label_->ShadowColor(), clBtnShadow);
    EXPECT_EQ(label_->Angle(), 0);
    EXPECT_EQ(label_->OffsetX(), 0);
    TShadowLabel fresh(nullptr);
    EXPECT_TRUE(fresh.AutoSize());
    EXPECT_TRUE(fresh.ShowAccelChar());
    EXPECT_FALSE(fresh.Transparent());
    EXPECT_FALSE(fresh.WordWrap());
    EXPECT_EQ(fresh.VerticalAlignment(), TVerticalAlignment::vaTop);
}

TEST_F(ShadowLabelTest, DirectionsStepOnePixel) {
    using enum TDirection;
    const std::vector<std::pair<TDirection, TPoint>> steps = {
        {drNone, {0, 0}},     {drUp, {0, -1}},       {drDown, {0, 1}},
        {drLeft, {-1, 0}},    {drRight, {1, 0}},     {drUpLeft, {-1, -1}},
        {drUpRight, {1, -1}}, {drDownLeft, {-1, 1}}, {drDownRight, {1, 1}}};
    for (const auto& [direction, step] : steps) {
        EXPECT_EQ(DirectionStep(direction).X, step.X);
        EXPECT_EQ(DirectionStep(direction).Y, step.Y);
    }
}

TEST_F(ShadowLabelTest, NoneDrawsOnlyTheCaption) {
    const auto ink = CaptionInk();
    ExpectCopies(ink, {{0, 0, clBlack}});
}

TEST_F(ShadowLabelTest, RaisedDrawsTheHighlightUpLeftAndNothingDownRight) {
    const auto ink = CaptionInk();
    label_->SetShadowStyle(TShadowStyle::ssRaised);
    EXPECT_EQ(label_->HighlightDirection(), TDirection::drUpLeft);
    EXPECT_EQ(label_->HighlightDepth(), 1);
    EXPECT_EQ(label_->ShadowSize(), 0);
    ExpectCopies(ink, {{-1, -1, clBtnHighlight}, {0, 0, clBlack}});
}

TEST_F(ShadowLabelTest, ThickShadowDrawsFourCopiesAndShadowOneAtTwo) {
    const auto ink = CaptionInk();
    label_->SetShadowStyle(TShadowStyle::ssThickShadow);
    ExpectCopies(ink, {{1, 1, clBtnShadow},
                       {2, 2, clBtnShadow},
                       {3, 3, clBtnShadow},
                       {4, 4, clBtnShadow},
                       {0, 0, clBtnHighlight},
                       {0, 0, clBlack}});
    label_->SetShadowStyle(TShadowStyle::ssShadow);
    EXPECT_EQ(label_->ShadowDepth(), 2);
    EXPECT_EQ(label_->ShadowSize(), 1);
    ExpectCopies(ink, {{2, 2, clBtnShadow}, {0, 0, clBtnHighlight}, {0, 0, clBlack}});
}

TEST_F(ShadowLabelTest, ColorPresetsPaintTheCaptionInTheFaceColour) {
    const auto ink = CaptionInk();
    label_->SetShadowStyle(TShadowStyle::ssRaisedColor);
    EXPECT_EQ(label_->Font().Color(), clBtnFace);
    ExpectCopies(ink, {{1, 1, clBtnShadow}, {-1, -1, clBtnHighlight}, {0, 0, clBtnFace}});
    label_->SetShadowStyle(TShadowStyle::ssRecessedColor);
    ExpectCopies(ink, {{-1, -1, clBtnShadow}, {1, 1, clBtnHighlight}, {0, 0, clBtnFace}});
    // The other presets leave the font's colour alone.
    label_->Font().SetColor(clBlack);
    label_->SetShadowStyle(TShadowStyle::ssRaisedThickShadow);
    EXPECT_EQ(label_->Font().Color(), clBlack);
    EXPECT_EQ(label_->ShadowSize(), 4);
    EXPECT_EQ(label_->ShadowDirection(), TDirection::drDownRight);
}

TEST_F(ShadowLabelTest, ChangingOneSettingMakesTheStyleCustomAndCount) {
    label_->SetShadowStyle(TShadowStyle::ssRaised);
    label_->SetHighlightDepth(2);
    EXPECT_EQ(label_->ShadowStyle(), TShadowStyle::ssCustom);
    EXPECT_EQ(label_->HighlightDirection(), TDirection::drUpLeft); // the rest stays
    const auto ink = CaptionInk();
    ExpectCopies(ink, {{-2, -2, clBtnHighlight}, {0, 0, clBlack}});
    // Custom only stores the style; None puts every setting back.
    label_->SetShadowStyle(TShadowStyle::ssCustom);
    EXPECT_EQ(label_->HighlightDepth(), 2);
    label_->SetShadowStyle(TShadowStyle::ssNone);
    EXPECT_EQ(label_->HighlightDepth(), 0);
    EXPECT_EQ(label_->HighlightDirection(), TDirection::drNone);
    // A shadow direction alone draws nothing without a size.
    label_->SetShadowDirection(TDirection::drDownRight);
    label_->SetShadowDepth(3);
    EXPECT_EQ(label_->ShadowStyle(), TShadowStyle::ssCustom);
    ExpectCopies(ink, {{0, 0, clBlack}});
    label_->SetShadowSize(1);
    label_->SetShadowColor(clRed);
    ExpectCopies(ink, {{3, 3, clRed}, {0, 0, clBtnHighlight}, {0, 0, clBlack}});
    // A negative depth moves the copy the other way.
    label_->SetHighlightDirection(TDirection::drUpLeft);
    label_->SetHighlightDepth(-1);
    ExpectCopies(ink, {{3, 3, clRed}, {1, 1, clBtnHighlight}, {0, 0, clBlack}});
}

TEST_F(ShadowLabelTest, DisabledShowsTheEmbossedPairWhateverTheStyle) {
    label_->SetShadowStyle(TShadowStyle::ssThickShadow);
    const auto ink = CaptionInk();
    label_->SetEnabled(false);
    ExpectCopies(ink, {{1, 1, clBtnHighlight}, {0, 0, clBtnShadow}});
}

TEST_F(ShadowLabelTest, NegativeOffsetMovesEverythingLeftAndKeepsAutoSize) {
    const auto ink = CaptionInk();
    label_->SetShadowStyle(TShadowStyle::ssRaised);
    label_->SetAutoSize(true);
    label_->SetAutoSize(false);
    label_->SetBounds(kLabel.Left, kLabel.Top, kLabel.Width(), kLabel.Height());
    label_->SetOffsetX(-2);
    ExpectCopies(ink, {{-3, -1, clBtnHighlight}, {-2, 0, clBlack}});

    TShadowLabel sized(nullptr);
    sized.SetCaption("About");
    sized.SetOffsetX(-2);
    sized.SetOffsetY(-1);
    EXPECT_TRUE(sized.AutoSize());
    sized.SetOffsetY(3);
    EXPECT_FALSE(sized.AutoSize());
}

TEST_F(ShadowLabelTest, AngleIsKeptWithinOneTurn) {
    TShadowLabel label(nullptr);
    label.SetCaption("About");
    label.SetAngle(-90);
    EXPECT_EQ(label.Angle(), 270);
    EXPECT_FALSE(label.AutoSize());
    label.SetAutoSize(true);
    label.SetAngle(720);
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_TRUE(label.AutoSize()); // zero leaves automatic sizing alone
    label.SetAngle(45);
    EXPECT_EQ(label.Angle(), 45);
    EXPECT_FALSE(label.AutoSize());
    label.SetAngle(-405);
    EXPECT_EQ(label.Angle(), 315);
}

TEST_F(ShadowLabelTest, TurnedCaptionIsDrawnUpright) {
    label_->SetAlignment(TAlignment::taLeftJustify);
    label_->SetVerticalAlignment(TVerticalAlignment::vaTop);
    label_->SetBounds(20, 5, 60, 90);
    label_->SetCaption("About VO");
    label_->SetAngle(90);
    const TBitmap turned = Picture();
    TRect box{1000, 1000, -1, -1};
    for (int y = 0; y < turned.Height(); ++y)
        for (int x = 0; x < turned.Width(); ++x)
            if (turned.Pixel(x, y) == clBlack) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    ASSERT_LT(box.Left, box.Right);
    // Read bottom to top: much taller than wide, inside the label.
    EXPECT_GT(box.Height(), 2 * box.Width());
    EXPECT_GE(box.Left, 20);
    EXPECT_GE(box.Top, 5);
    EXPECT_LE(box.Bottom, 95);
    // The turned copies move like the upright ones.
    const auto ink = CaptionInk();
    label_->SetShadowStyle(TShadowStyle::ssRaised);
    ExpectCopies(ink, {{-1, -1, clBtnHighlight}, {0, 0, clBlack}});
}

TEST_F(ShadowLabelTest, WordWrappedHighlightWrapsLikeTheCaption) {
    label_->SetAlignment(TAlignment::taLeftJustify);
    label_->SetVerticalAlignment(TVerticalAlignment::vaTop);
    label_->SetWordWrap(true);
    label_->Font().SetName("MS Sans Serif");
    label_->Font().SetSize(8);
    label_->SetBounds(5, 20, 190, 60);
    label_->SetCaption("  VO Dezaru is a multimedia player created specially for Velora fans. "
                       "Hope you like our player.");
    label_->SetOffsetX(1);
    label_->SetOffsetY(1);
    const auto ink = CaptionInk();
    int lines = 0;
    int last_y = -10;
    for (const auto& [x, y] : ink)
        (void)x, last_y = std::max(last_y, y);
    lines = (last_y - 20) / 13 + 1;
    EXPECT_GE(lines, 2); // it did wrap
    label_->SetShadowStyle(TShadowStyle::ssRaised);
    ExpectCopies(ink, {{-1, -1, clBtnHighlight}, {0, 0, clBlack}});
}

TEST_F(ShadowLabelTest, MouseEnterAndLeaveTellWhoIsSender) {
    std::vector<std::string> seen;
    label_->OnMouseEnter = [&](TComponent* sender) {
        seen.push_back(sender == label_ ? "enter" : "enter?");
    };
    label_->OnMouseLeave = [&](TComponent* sender) {
        seen.push_back(sender == label_ ? "leave" : "leave?");
    };
    label_->HandleMouseEnter();
    label_->HandleMouseLeave();
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(ShadowLabelTest, OpaqueLabelFillsItsColour) {
    label_->SetTransparent(false);
    label_->SetColor(clYellow);
    const TBitmap picture = Picture();
    EXPECT_EQ(picture.Pixel(kLabel.Left, kLabel.Top), clYellow);
    EXPECT_EQ(picture.Pixel(kLabel.Right - 1, kLabel.Bottom - 1), clYellow);
    EXPECT_EQ(picture.Pixel(kLabel.Left - 1, kLabel.Top), kFormColor);
}

} // namespace
} // namespace vd
