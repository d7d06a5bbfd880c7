// The shared simple timer: its one receiver lives as long as a timer does, a tick reaches the
// callback with its data, and a callback that fails is shown rather than forgotten.
#include "framework/SimpleTimer.h"
#include "framework/Application.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vd {
namespace {

TEST(SimpleTimer, OneSharedReceiverServesAllTimersAndGoesWithTheLast) {
    ASSERT_EQ(TSimpleTimer::HandlerCount(), 0);
    auto a = std::make_unique<TSimpleTimer>(nullptr, nullptr);
    auto b = std::make_unique<TSimpleTimer>(nullptr, nullptr);
    EXPECT_EQ(TSimpleTimer::HandlerCount(), 1);
    a.reset();
    EXPECT_EQ(TSimpleTimer::HandlerCount(), 1);
    b.reset();
    EXPECT_EQ(TSimpleTimer::HandlerCount(), 0);
}

TEST(SimpleTimer, StartStopAndRestart) {
    TSimpleTimer timer(nullptr, nullptr);
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(timer.StartTimer(500));
    EXPECT_TRUE(timer.Running());
    EXPECT_EQ(timer.Interval(), 500U);
    EXPECT_TRUE(timer.StartTimer(40));
    EXPECT_EQ(timer.Interval(), 40U);
    timer.StopTimer();
    EXPECT_FALSE(timer.Running());
    timer.StopTimer(); // stopping a stopped timer does nothing
}

TEST(SimpleTimer, TicksRepeatWithTheCallbackData) {
    int data = 0;
    std::vector<void*> seen;
    TSimpleTimer timer(&data, [&](void* d) { seen.push_back(d); });
    ASSERT_TRUE(timer.StartTimer(1));
    QElapsedTimer guard; // only a bound on a broken timer, not a measure
    guard.start();
    while (seen.size() < 3 && guard.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    timer.StopTimer();
    ASSERT_GE(seen.size(), 3U) << "the timer stopped ticking";
    EXPECT_EQ(seen.front(), &data);
    const std::size_t after_stop = seen.size();
    QCoreApplication::processEvents();
    EXPECT_EQ(seen.size(), after_stop);
}

TEST(SimpleTimer, AFailingCallbackIsShownByTheApplication) {
    TApplication* app = TApplication::Instance();
    ASSERT_NE(app, nullptr);
    std::vector<std::string> shown;
    app->SetErrorDisplay(
        [&](const std::string&, const std::string& text) { shown.push_back(text); });
    int ticks = 0;
    TSimpleTimer timer(nullptr, [&](void*) {
        ++ticks;
        throw std::runtime_error("The title could not be read.");
    });
    timer.Fire();
    timer.Fire();
    app->SetErrorDisplay([](const std::string&, const std::string& text) {
        ADD_FAILURE() << "error escaped a handler: " << text;
    });
    EXPECT_EQ(ticks, 2) << "a failure stops nothing";
    EXPECT_EQ(shown, (std::vector<std::string>{"The title could not be read.",
                                               "The title could not be read."}));
}

} // namespace
} // namespace vd
