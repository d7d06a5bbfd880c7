// Timers of one interval share a clock: they tick together, in the order they were enabled, and a
// tick that switches another timer off or on is seen at once.
#include "framework/Timer.h"
#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
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

// Lets the event loop run for a while with nothing expected to happen. Not a timing check: the
// timers under test must stay quiet however long this takes.
void IdleFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

TEST_F(TimerTest, ANoticeTimerTicksOnceAfterItStartsThenOnlyAfterNotices) {
    auto mod = MakeTimer(10, "mod");
    mod->SetWake(TTimerWake::OnNotice);
    RunUntil([&] { return Count("mod") == 1; });
    IdleFor(100);
    EXPECT_EQ(Count("mod"), 1) << "no notice, no tick";

    // Notices from another thread, several before the tick: one tick.
    const std::function<void()> notify = mod->DueNotifier();
    std::thread audio([&] {
        for (int i = 0; i < 5; ++i)
            notify();
    });
    audio.join();
    RunUntil([&] { return Count("mod") == 2; });
    IdleFor(100);
    EXPECT_EQ(Count("mod"), 2);

    // Disabled, a notice does not tick it; enabled again, it ticks once as at any start.
    mod->SetEnabled(false);
    notify();
    IdleFor(50);
    EXPECT_EQ(Count("mod"), 2);
    mod->SetEnabled(true);
    RunUntil([&] { return Count("mod") == 3; });
}

// An audio thread tells of new rows while the GUI thread ticks, reads the flag and rearms: every
// row it tells of after a tick brings another tick, and the timer may go while notices still come.
TEST_F(TimerTest, NoticesFromAThreadThatRunsAlongsideTheTicksKeepThemComing) {
    auto mod = MakeTimer(10, "mod");
    mod->SetWake(TTimerWake::OnNotice);
    const std::function<void()> notify = mod->DueNotifier();
    std::atomic<bool> playing{true};
    std::thread audio([&] { // audio thread
        while (playing.load()) {
            notify();
            std::this_thread::yield();
        }
    });
    RunUntil([&] { return Count("mod") >= 20; });
    mod.reset(); // the module timer goes with the window while the song still plays
    IdleFor(20);
    playing = false;
    audio.join();
}

TEST_F(TimerTest, ANoticeAfterTheTimerIsGoneDoesNothing) {
    auto mod = MakeTimer(10, "mod");
    mod->SetWake(TTimerWake::OnNotice);
    const std::function<void()> notify = mod->DueNotifier();
    RunUntil([&] { return Count("mod") == 1; });
    notify(); // posted, and the timer goes before the posted call runs
    mod.reset();
    notify();
    IdleFor(50);
    EXPECT_EQ(Count("mod"), 1);
}

TEST_F(TimerTest, AnActivityTimerSleepsWhileNothingHappensAndTicksAfterEachOtherWork) {
    auto next = MakeTimer(10, "next");
    next->SetWake(TTimerWake::AfterActivity);
    RunUntil([&] { return Count("next") >= 1; });
    IdleFor(100);
    const int idle_ticks = Count("next");
    EXPECT_LE(idle_ticks, 2) << "its own ticks are not work that wakes it again";

    // A call posted to the GUI thread (as a media device's notice is) is work.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    RunUntil([&] { return Count("next") == idle_ticks + 1; });

    // Another timer's ticks are work too: the end check follows each refresh.
    auto position = MakeTimer(30, "position");
    RunUntil([&] { return Count("position") >= 4; });
    EXPECT_GE(Count("next"), idle_ticks + 1 + 3);
    position.reset();
}

TEST_F(TimerTest, ANoticeTimerTickIsWorkForTheActivityTimerButNotTheOtherWayRound) {
    auto mod = MakeTimer(10, "mod");
    auto next = MakeTimer(10, "next");
    mod->SetWake(TTimerWake::OnNotice);
    next->SetWake(TTimerWake::AfterActivity);
    const std::function<void()> notify = mod->DueNotifier();
    IdleFor(100);
    ticks_.clear();
    for (int row = 1; row <= 3; ++row) {
        notify();
        RunUntil([&] { return Count("mod") == row && Count("next") >= row; });
    }
    IdleFor(100);
    EXPECT_EQ(Count("mod"), 3) << "the end check does not wake the module timer";
}

TEST_F(TimerTest, ANoticeTimerWokenForLaterTicksOnceThenAndTheEndCheckRightAfterIt) {
    auto mod = MakeTimer(10, "mod");
    auto next = MakeTimer(10, "next");
    mod->SetWake(TTimerWake::OnNotice);
    next->SetWake(TTimerWake::AfterActivity);
    IdleFor(100);
    ticks_.clear();
    mod->DueIn(30);
    RunUntil([&] { return Count("mod") == 1; });
    // The end check answers the tick's work in the same beat, after it, and only once.
    IdleFor(100);
    EXPECT_EQ(ticks_, (std::vector<std::string>{"mod", "next"}));
}

TEST_F(TimerTest, ALaterWakeReplacesAnEarlierOneAndAStoppedTimerIsNotWoken) {
    auto mod = MakeTimer(10, "mod");
    mod->SetWake(TTimerWake::OnNotice);
    IdleFor(100);
    ticks_.clear();
    mod->DueIn(20);
    mod->DueIn(60);
    RunUntil([&] { return Count("mod") == 1; });
    IdleFor(100);
    EXPECT_EQ(Count("mod"), 1) << "one wake, not two";

    mod->DueIn(20);
    mod->SetEnabled(false);
    IdleFor(100);
    EXPECT_EQ(Count("mod"), 1);
}

TEST_F(TimerTest, AnActivityTimerAnswersAnotherClocksTickInThatSameBeat) {
    auto next = MakeTimer(10, "next");
    next->SetWake(TTimerWake::AfterActivity);
    RunUntil([&] { return Count("next") >= 1; });
    IdleFor(50);
    ticks_.clear();
    auto position = MakeTimer(40, "position");
    RunUntil([&] { return Count("position") >= 3; });
    // Seen at once after each refresh, not one beat of its own clock later.
    EXPECT_EQ(ticks_, (std::vector<std::string>{"position", "next", "position", "next", "position",
                                                "next"}));
}

TEST_F(TimerTest, PaintingIsNoWorkForTheActivityTimer) {
    auto next = MakeTimer(10, "next");
    next->SetWake(TTimerWake::AfterActivity);
    RunUntil([&] { return Count("next") >= 1; });
    IdleFor(50);
    const int idle_ticks = Count("next");
    QEvent update(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &update);
    IdleFor(100);
    EXPECT_EQ(Count("next"), idle_ticks);
    QEvent other(QEvent::User);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &other);
    RunUntil([&] { return Count("next") == idle_ticks + 1; });
}

} // namespace
} // namespace vd
