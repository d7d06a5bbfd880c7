#include "framework/Timer.h"

#include "framework/Controls.h"

#include <QTimer>

#include <algorithm>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace vd {

namespace {

// Timers of the same interval share one clock: the process then wakes once for all of them
// instead of once for each, which matters for the player's pair of 10 ms timers. Members tick
// in the order they were enabled. A timer that joins a running clock has its first tick at the
// clock's next beat, so within one interval, never later.
class SharedClock {
public:
    explicit SharedClock(int interval_ms) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(interval_ms);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Beat(); });
    }

    void Join(TTimer* member) {
        if (std::ranges::find(members_, member) != members_.end())
            return;
        members_.push_back(member);
        if (!timer_.isActive())
            timer_.start();
    }

    void Leave(TTimer* member) {
        std::erase(members_, member);
        if (members_.empty())
            timer_.stop();
    }

    [[nodiscard]] std::size_t MemberCount() const { return members_.size(); }

private:
    // GUI thread. A tick may enable or disable timers (the player's stop disables one), so every
    // member is looked up again before it ticks.
    void Beat() {
        const std::vector<TTimer*> due = members_;
        for (TTimer* member : due) {
            if (std::ranges::find(members_, member) != members_.end())
                member->Tick();
        }
    }

    QTimer timer_;
    std::vector<TTimer*> members_;
};

// GUI thread only. Never destroyed, so a timer that goes during static destruction still finds
// its clock.
std::map<int, std::unique_ptr<SharedClock>>& Clocks() {
    static auto* clocks = new std::map<int, std::unique_ptr<SharedClock>>;
    return *clocks;
}

} // namespace

struct TTimer::Platform {
    int joined_interval_ms = 0; // the clock this timer ticks with; 0 while stopped
};

TTimer::TTimer(TComponent* owner) : TComponent(owner), platform_(std::make_unique<Platform>()) {}

TTimer::~TTimer() {
    BeginDestruction();
    Stop();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Update();
}

void TTimer::SetInterval(int interval_ms) {
    if (interval_ms_ == interval_ms)
        return;
    interval_ms_ = interval_ms;
    Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    OnTimer = std::move(handler);
    Update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

void TTimer::Stop() {
    const int interval_ms = std::exchange(platform_->joined_interval_ms, 0);
    if (interval_ms == 0)
        return;
    auto& clocks = Clocks();
    if (auto found = clocks.find(interval_ms); found != clocks.end())
        found->second->Leave(this);
    // The clock itself stays for the next timer of that interval: it costs nothing idle.
}

void TTimer::Update() {
    if (Loading() || !enabled_ || interval_ms_ <= 0 || !OnTimer) {
        Stop();
        return;
    }
    if (platform_->joined_interval_ms == interval_ms_)
        return; // already ticking at this interval
    Stop();
    auto& clock = Clocks()[interval_ms_];
    if (!clock)
        clock = std::make_unique<SharedClock>(interval_ms_);
    clock->Join(this);
    platform_->joined_interval_ms = interval_ms_;
}

bool TTimer::Running() const {
    return platform_->joined_interval_ms != 0;
}

void TTimer::Tick() {
    if (OnTimer)
        SafeCall([this] { OnTimer(this); });
}

} // namespace vd
