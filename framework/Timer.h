#pragma once

#include "framework/Component.h"

#include <memory>

namespace vd {

// Calls OnTimer every Interval milliseconds while enabled, also inside the nested event loops
// of dialogs, menus and message boxes. An error escaping OnTimer is shown by the application.
// Timers of equal interval tick together, on one wake-up of the process; a timer enabled while
// another of its interval runs first ticks within one interval.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds between calls; default 1000; 0 stops the timer.
    [[nodiscard]] int Interval() const { return interval_ms_; }
    void SetInterval(int interval_ms);

    TNotifyEvent OnTimer;
    void SetOnTimer(TNotifyEvent handler);

    void Loaded() override;

    // Calls OnTimer once, as a tick would (tests drive timers this way).
    void Tick();
    // True while the timer is ticking: enabled, loaded, with an interval and a handler.
    [[nodiscard]] bool Running() const;

private:
    void Update();
    void Stop();
    struct Platform;
    std::unique_ptr<Platform> platform_;
    bool enabled_ = true;
    int interval_ms_ = 1000;
};

} // namespace vd
