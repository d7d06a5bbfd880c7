#include "framework/Timer.h"

#include "framework/Controls.h"

#include <QTimer>

namespace vd {

struct TTimer::Platform {
    QTimer timer;
};

TTimer::TTimer(TComponent* owner) : TComponent(owner), platform_(std::make_unique<Platform>()) {
    platform_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&platform_->timer, &QTimer::timeout, [this] { Tick(); });
}

TTimer::~TTimer() {
    BeginDestruction();
    platform_->timer.stop();
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

void TTimer::Update() {
    if (Loading() || !enabled_ || interval_ms_ <= 0 || !OnTimer) {
        platform_->timer.stop();
        return;
    }
    platform_->timer.start(interval_ms_);
}

void TTimer::Tick() {
    if (OnTimer)
        SafeCall([this] { OnTimer(this); });
}

} // namespace vd
