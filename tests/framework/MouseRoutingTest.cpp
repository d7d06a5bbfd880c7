// How a windowed control routes the mouse to its window-less children: the child under the
// pointer gets moves, enter and leave; a left press captures the mouse until its release, with
// leave and enter still reported; a click needs the press and the release on the same control;
// a right press opens the popup menu of the control or of its nearest parent that has one; and an
// opaque repaint of one child paints nothing beneath it.

#include "framework/Controls.h"
#include "framework/Menus.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/PixelProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vd {
namespace {

std::string Describe(const char* what, TMouseButton button, int x, int y) {
    const char* b = button == TMouseButton::mbLeft    ? "L"
                    : button == TMouseButton::mbRight ? "R"
                                                      : "M";
    return std::string(what) + " " + b + " " + std::to_string(x) + "," + std::to_string(y);
}

// A window-less child that logs what reaches it and counts its paints.
class ProbeControl : public TGraphicControl {
public:
    ProbeControl(TComponent* owner, std::vector<std::string>& log, std::string name, TColor color)
        : TGraphicControl(owner), log_(log), color_(color) {
        SetName(name);
    }
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas().Brush().SetColor(color_);
        Canvas().FillRect(ClientRect());
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Add(Describe("down", b, x, y) + ((s & ssDouble) != 0 ? " double" : ""));
        TGraphicControl::MouseDown(b, s, x, y);
    }
    void MouseMove(TShiftState, int x, int y) override {
        Add("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton b, TShiftState, int x, int y) override {
        Add(Describe("up", b, x, y));
    }
    void Click() override { Add("click"); }
    void DblClick() override { Add("dblclick"); }
    void MouseEnter() override { Add("enter"); }
    void MouseLeave() override { Add("leave"); }

private:
    void Add(const std::string& what) { log_.push_back(Name() + " " + what); }
    std::vector<std::string>& log_;
    TColor color_;
};

// The windowed parent: grey, counting its paints and logging what reaches it itself.
class ProbePanel : public TCustomControl {
public:
    ProbePanel(TComponent* owner, std::vector<std::string>& log)
        : TCustomControl(owner), log_(log) {
        SetName("panel");
        SetBounds(0, 0, 100, 60);
    }
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        Canvas().Brush().SetColor(clGray);
        Canvas().FillRect(ClientRect());
    }
    void MouseDown(TMouseButton b, TShiftState, int x, int y) override {
        log_.push_back("panel " + Describe("down", b, x, y));
    }
    void MouseMove(TShiftState, int x, int y) override {
        log_.push_back("panel move " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseUp(TMouseButton b, TShiftState, int x, int y) override {
        log_.push_back("panel " + Describe("up", b, x, y));
    }
    void Click() override { log_.push_back("panel click"); }

private:
    std::vector<std::string>& log_;
};

class MouseRoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        owner_ = test::MakeUnowned<TComponent>();
        panel_ = new ProbePanel(owner_.get(), log_);            // owned
        a_ = new ProbeControl(owner_.get(), log_, "a", clRed);  // owned
        b_ = new ProbeControl(owner_.get(), log_, "b", clBlue); // owned
        a_->SetBounds(10, 10, 20, 20);
        b_->SetBounds(50, 10, 20, 20);
        a_->SetParent(panel_);
        b_->SetParent(panel_);
        panel_->Update();
    }
    QWidget* W() const { return panel_->Widget(); }
    // The log since the last call.
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(log_);
        return out;
    }

    std::vector<std::string> log_;
    test::ComponentPtr<TComponent> owner_;
    ProbePanel* panel_ = nullptr;
    ProbeControl* a_ = nullptr;
    ProbeControl* b_ = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(MouseRoutingTest, MovesGoToTheChildUnderThePointerWithEnterAndLeave) {
    test::Move(W(), 15, 12);
    test::Move(W(), 16, 12);
    test::Move(W(), 55, 15);
    test::Move(W(), 90, 50);
    EXPECT_EQ(Take(), (Log{"a enter", "a move 5,2", "a move 6,2", "a leave", "b enter",
                           "b move 5,5", "b leave", "panel move 90,50"}));
}

TEST_F(MouseRoutingTest, APointerThatEntersWithoutMovingReachesTheChildUnderIt) {
    // As when a message box above the window closes: the window is entered, and no move follows.
    const QPointF local(55, 15);
    QEnterEvent enter(local, local, W()->mapToGlobal(local));
    QCoreApplication::sendEvent(W(), &enter);
    EXPECT_EQ(Take(), (Log{"b enter", "b move 5,5"}));
    test::Press(W(), 55, 15);
    test::Release(W(), 55, 15);
    EXPECT_EQ(Take(), (Log{"b down L 5,5", "b click", "b up L 5,5"}));
}

TEST_F(MouseRoutingTest, ClickIsPressAndReleaseOnTheSameControlClickBeforeUp) {
    test::Move(W(), 15, 15);
    Take();
    test::Press(W(), 15, 15);
    test::Release(W(), 16, 17);
    EXPECT_EQ(Take(), (Log{"a down L 5,5", "a click", "a up L 6,7"}));
}

TEST_F(MouseRoutingTest, LeftPressCapturesUntilReleaseWithLeaveAndEnterOnTheWay) {
    test::Move(W(), 15, 15);
    Take();
    test::Press(W(), 15, 15);
    test::Move(W(), 55, 15); // over b, but a holds the mouse
    test::Move(W(), 25, 15); // back over a
    test::Move(W(), 5, 5);   // off again
    test::Release(W(), 5, 5);
    EXPECT_EQ(Take(), (Log{"a down L 5,5", "a leave", "a move 45,5", "a enter", "a move 15,5",
                           "a leave", "a move -5,-5", "a up L -5,-5"}));
}

TEST_F(MouseRoutingTest, ReleaseOverAnotherChildIsNoClickAndThatChildIsEnteredAfter) {
    test::Move(W(), 15, 15);
    test::Press(W(), 15, 15);
    test::Move(W(), 55, 15);
    Take();
    test::Release(W(), 55, 15);
    const Log log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "a click"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "b click"), 0);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "a up L 45,5");
    EXPECT_EQ(std::count(log.begin(), log.end(), "b enter"), 1);
    test::Move(W(), 56, 15);
    EXPECT_EQ(Take(), (Log{"b move 6,5"}));
}

TEST_F(MouseRoutingTest, PressAndReleaseOnDifferentControlsWithoutCaptureIsNoClick) {
    // a does not capture the mouse: the release lands on b, which was never pressed.
    a_->SetControlStyle(a_->ControlStyle() & ~csCaptureMouse);
    test::Press(W(), 15, 15);
    test::Release(W(), 55, 15);
    const Log log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "b click"), 0) << ::testing::PrintToString(log);
    EXPECT_EQ(std::count(log.begin(), log.end(), "a click"), 0);
}

TEST_F(MouseRoutingTest, AControlWithoutClickEventsGetsNoClick) {
    a_->SetControlStyle(a_->ControlStyle() & ~csClickEvents);
    test::Move(W(), 15, 15);
    Take();
    test::Click(W(), 15, 15);
    EXPECT_EQ(Take(), (Log{"a down L 5,5", "a up L 5,5"}));
}

TEST_F(MouseRoutingTest, PressOnThePanelItselfIsThePanels) {
    test::Press(W(), 40, 40);
    test::Release(W(), 41, 40);
    EXPECT_EQ(Take(), (Log{"panel down L 40,40", "panel click", "panel up L 41,40"}));
}

TEST_F(MouseRoutingTest, DisabledAndInvisibleChildrenAreSkipped) {
    a_->SetEnabled(false);
    test::Press(W(), 15, 15);
    test::Release(W(), 15, 15);
    b_->SetVisible(false);
    test::Press(W(), 55, 15);
    test::Release(W(), 55, 15);
    const Log log = Take();
    EXPECT_EQ(log, (Log{"panel down L 15,15", "panel click", "panel up L 15,15",
                        "panel down L 55,15", "panel click", "panel up L 55,15"}));
}

TEST_F(MouseRoutingTest, TheTopmostOfOverlappingChildrenGetsThePress) {
    b_->SetBounds(20, 20, 20, 20); // overlaps a, and lies above it
    test::Press(W(), 25, 25);
    test::Release(W(), 25, 25);
    const Log log = Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "b down L 5,5");
}

TEST_F(MouseRoutingTest, DoubleClickIsReportedBeforeItsPress) {
    test::DoubleClick(W(), 15, 15);
    test::Release(W(), 15, 15);
    const Log log = Take();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "a dblclick");
    EXPECT_EQ(log[1], "a down L 5,5 double");
}

TEST_F(MouseRoutingTest, RightPressOpensTheControlsMenuOrItsParentsAndDoesNotCapture) {
    auto* own = new TPopupMenu(owner_.get());     // owned
    auto* parents = new TPopupMenu(owner_.get()); // owned
    a_->SetPopupMenu(own);
    panel_->SetPopupMenu(parents);

    test::Press(W(), 15, 15, TMouseButton::mbRight);
    test::Release(W(), 15, 15, TMouseButton::mbRight);
    test::Press(W(), 55, 15, TMouseButton::mbRight);
    test::Release(W(), 55, 15, TMouseButton::mbRight);
    test::Press(W(), 90, 50, TMouseButton::mbRight);
    test::Release(W(), 90, 50, TMouseButton::mbRight);
    ASSERT_EQ(test::ShownPopups().size(), 3u);
    EXPECT_EQ(test::ShownPopups()[0].menu, own);
    EXPECT_EQ(test::ShownPopups()[1].menu, parents);
    EXPECT_EQ(test::ShownPopups()[2].menu, parents);
    const TPoint screen = panel_->ClientToScreen({15, 15});
    EXPECT_EQ(test::ShownPopups()[0].screen, screen);

    // No capture: after a right press on a, moving over b reaches b.
    Take();
    test::Press(W(), 15, 15, TMouseButton::mbRight);
    test::Move(W(), 55, 15);
    const Log log = Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "b move 5,5"), log.end())
        << ::testing::PrintToString(log);
    test::Release(W(), 55, 15, TMouseButton::mbRight);
}

TEST_F(MouseRoutingTest, NoMenuAnywhereOpensNothing) {
    test::Press(W(), 15, 15, TMouseButton::mbRight);
    test::Release(W(), 15, 15, TMouseButton::mbRight);
    EXPECT_TRUE(test::ShownPopups().empty());
}

TEST_F(MouseRoutingTest, AnErrorInAHandlerIsShownAndRoutingGoesOn) {
    a_->OnMouseDown = [](TComponent*, TMouseButton, TShiftState, int, int) {
        throw Exception("handler failed");
    };
    test::Click(W(), 15, 15);
    ASSERT_EQ(test::ShownErrors().size(), 1u);
    EXPECT_EQ(test::ShownErrors()[0], "handler failed");
    const Log log = Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "a click"), log.end());
}

// ---- painting ---------------------------------------------------------------------------------

TEST_F(MouseRoutingTest, ChildrenArePaintedOverTheParentInZOrder) {
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 5, 5), clGray);
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 10, 10), clRed);
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 29, 29), clRed);
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 30, 29), clGray);
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 50, 10), clBlue);
}

TEST_F(MouseRoutingTest, OpaqueRepaintPaintsTheChildAndWhatLiesAboveOnly) {
    auto* above = new ProbeControl(owner_.get(), log_, "above", clYellow); // owned
    auto* elsewhere = new ProbeControl(owner_.get(), log_, "far", clLime); // owned
    above->SetBounds(25, 25, 10, 10);
    elsewhere->SetBounds(80, 40, 5, 5);
    above->SetParent(panel_);
    elsewhere->SetParent(panel_);
    panel_->Update();
    const int panel_paints = panel_->paints;
    const int a_paints = a_->paints;
    const int b_paints = b_->paints;
    const int above_paints = above->paints;
    const int far_paints = elsewhere->paints;

    // A mark in the parent's picture beneath a: an opaque repaint of a must not repaint it.
    panel_->Picture().setPixel(12, 12, qRgb(1, 2, 3));
    a_->SetControlStyle(a_->ControlStyle() | csOpaque);
    a_->Repaint();
    EXPECT_EQ(panel_->paints, panel_paints);
    EXPECT_EQ(a_->paints, a_paints + 1);
    EXPECT_EQ(above->paints, above_paints + 1);
    EXPECT_EQ(b_->paints, b_paints);
    EXPECT_EQ(elsewhere->paints, far_paints);
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 12, 12), clRed);    // a painted over it
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 27, 27), clYellow); // above still above
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 5, 5), clGray);

    // A plain repaint paints the parent beneath first.
    a_->SetControlStyle(a_->ControlStyle() & ~csOpaque);
    a_->Repaint();
    EXPECT_EQ(panel_->paints, panel_paints + 1);
    EXPECT_EQ(a_->paints, a_paints + 2);
}

TEST_F(MouseRoutingTest, InvalidatedAreasArePaintedOnceByUpdate) {
    const int panel_paints = panel_->paints;
    const int a_paints = a_->paints;
    const int b_paints = b_->paints;
    a_->Invalidate();
    a_->Invalidate();
    EXPECT_EQ(a_->paints, a_paints); // not yet
    panel_->Update();
    EXPECT_EQ(panel_->paints, panel_paints + 1);
    EXPECT_EQ(a_->paints, a_paints + 1);
    EXPECT_EQ(b_->paints, b_paints);
    panel_->Update();
    EXPECT_EQ(panel_->paints, panel_paints + 1);
}

TEST_F(MouseRoutingTest, MovingAChildRepaintsWhereItWas) {
    a_->SetLeft(60);
    b_->SetVisible(false);
    panel_->Update();
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 12, 12), clGray);
    EXPECT_EQ(test::PixelOf(panel_->Picture(), 62, 12), clRed);
}

} // namespace
} // namespace vd
