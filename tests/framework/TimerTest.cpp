// Timers of one interval share a clock: they tick together, in the order they were enabled, and a
// tick that switches another timer off or on is seen at once.
#include "framework/Timer.h"
#include "tests/framework/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace vd {
namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override { test::StartGui(); }

    test::ComponentPtr<TTimer> MakeTimer(int interval_ms, std::string name) {
        auto timer = test::MakeUnowned<TTimer>();
        timer->SetInterval(interval_ms);
        timer->SetOnTimer([this, name](TComponent*) {
            ticks_.push_back(name);
            if (on_tick_)
                on_tick_(name);
        });
        return timer;
    }

    // Runs the event loop until `done` holds; fails after 5 s (a bound, not a measurement).
    void RunUntil(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        ASSERT_TRUE(done()) << "timed out";
    }

    [[nodiscard]] int Count(const std::string& name) const {
        return static_cast<int>(std::count(ticks_.begin(), ticks_.end(), name));
    }

    std::vector<std::string> ticks_;
    std::function<void(const std::string&)> on_tick_;
};

TEST_F(TimerTest, TimersOfOneIntervalTickTogetherInTheOrderTheyWereEnabled) {
    auto mod = MakeTimer(10, "mod");
    auto next = MakeTimer(10, "next");
    ASSERT_TRUE(mod->Running());
    ASSERT_TRUE(next->Running());
    RunUntil([&] { return ticks_.size() >= 20; });
    // One beat serves both, so the two names alternate from the first beat on.
    for (std::size_t i = 0; i + 1 < ticks_.size(); i += 2) {
        EXPECT_EQ(ticks_[i], "mod") << i;
        EXPECT_EQ(ticks_[i + 1], "next") << i;
    }
}

TEST_F(TimerTest, ATickThatDisablesALaterTimerKeepsItFromTickingOnThatBeat) {
    auto next = MakeTimer(10, "next");
    auto mod = MakeTimer(10, "mod");
    // As the player's stop does from within the end-of-track check.
    on_tick_ = [&](const std::string& name) {
        if (name == "next" && Count("next") == 3)
            mod->SetEnabled(false);
    };
    RunUntil([&] { return Count("next") >= 8; });
    EXPECT_EQ(Count("mod"), 2);
    EXPECT_FALSE(mod->Running());
    EXPECT_TRUE(next->Running());
}

TEST_F(TimerTest, AReenabledTimerTicksAgainAndOthersOfItsIntervalGoOn) {
    auto a = MakeTimer(10, "a");
    auto b = MakeTimer(10, "b");
    b->SetEnabled(false);
    RunUntil([&] { return Count("a") >= 3; });
    EXPECT_EQ(Count("b"), 0);
    b->SetEnabled(true);
    RunUntil([&] { return Count("b") >= 3; });
    a->SetEnabled(false);
    const int a_ticks = Count("a");
    RunUntil([&] { return Count("b") >= 6; });
    EXPECT_EQ(Count("a"), a_ticks);
}

TEST_F(TimerTest, TimersOfOtherIntervalsKeepTheirOwnPace) {
    auto fast = MakeTimer(10, "fast");
    auto slow = MakeTimer(250, "slow");
    RunUntil([&] { return Count("slow") >= 1; });
    // A quarter second holds many 10 ms beats; the exact number depends on the machine's load.
    EXPECT_GT(Count("fast"), Count("slow"));
    slow->SetInterval(10);
    ticks_.clear();
    RunUntil([&] { return ticks_.size() >= 10; });
    EXPECT_EQ(Count("fast"), Count("slow"));
}

TEST_F(TimerTest, ATimerWithoutHandlerOrIntervalDoesNotRun) {
    auto timer = test::MakeUnowned<TTimer>();
    EXPECT_FALSE(timer->Running()) << "no handler yet";
    timer->SetOnTimer([](TComponent*) {});
    EXPECT_TRUE(timer->Running());
    timer->SetInterval(0);
    EXPECT_FALSE(timer->Running());
    timer->SetInterval(10);
    EXPECT_TRUE(timer->Running());
}

TEST_F(TimerTest, ATimerFreedByATickOfItsClockIsNotTickedAfterwards) {
    auto first = MakeTimer(10, "first");
    auto second = MakeTimer(10, "second");
    on_tick_ = [&](const std::string& name) {
        if (name == "first" && Count("first") == 2)
            second.reset();
    };
    RunUntil([&] { return Count("first") >= 5; });
    EXPECT_EQ(Count("second"), 1);
}

} // namespace
} // namespace vd
