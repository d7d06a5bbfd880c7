#include "framework/SimpleTimer.h"

#include "framework/Controls.h"

#include <QObject>
#include <QTimerEvent>

#include <map>
#include <memory>

namespace vd {

namespace {

// Receives the platform's timer events for every TSimpleTimer and hands each to its timer.
class TSimpleTimerHandler : public QObject {
public:
    std::map<int, TSimpleTimer*> timers; // by platform timer id
    int references = 0;

protected:
    void timerEvent(QTimerEvent* event) override {
        const auto it = timers.find(event->timerId());
        if (it != timers.end())
            it->second->Fire();
    }
};

std::unique_ptr<TSimpleTimerHandler> g_handler; // GUI thread only

TSimpleTimerHandler& AcquireHandler() {
    if (!g_handler)
        g_handler = std::make_unique<TSimpleTimerHandler>();
    ++g_handler->references;
    return *g_handler;
}

void ReleaseHandler() {
    if (g_handler && --g_handler->references == 0)
        g_handler.reset();
}

} // namespace

TSimpleTimer::TSimpleTimer(void* callback_data, TCallback callback)
    : callback_data_(callback_data), callback_(std::move(callback)) {
    AcquireHandler();
}

TSimpleTimer::~TSimpleTimer() {
    if (running_)
        StopTimer();
    ReleaseHandler();
}

bool TSimpleTimer::StartTimer(unsigned interval_ms) {
    if (running_)
        StopTimer();
    interval_ms_ = interval_ms;
    platform_id_ = g_handler->startTimer(static_cast<int>(interval_ms), Qt::CoarseTimer);
    if (platform_id_ == 0)
        return false;
    g_handler->timers[platform_id_] = this;
    running_ = true;
    return true;
}

void TSimpleTimer::StopTimer() {
    running_ = false;
    if (platform_id_ != 0) {
        g_handler->killTimer(platform_id_);
        g_handler->timers.erase(platform_id_);
        platform_id_ = 0;
    }
}

void TSimpleTimer::Fire() {
    // A callback that fails is one tick lost, not a silent one: the person sees why.
    if (callback_)
        SafeCall([this] { callback_(callback_data_); });
}

int TSimpleTimer::HandlerCount() {
    return g_handler ? 1 : 0;
}

} // namespace vd
