#pragma once

#include <functional>

namespace vd {

// A repeating timer that needs no form or component: every instance in the process is served by
// one shared hidden receiver, created with the first timer and freed with the last. GUI thread.
class TSimpleTimer {
public:
    using TCallback = std::function<void(void* callback_data)>;

    TSimpleTimer(void* callback_data, TCallback callback);
    ~TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    // Starts (or restarts) the timer with a period of `interval_ms`; false when the platform
    // refused, and then the timer is not running.
    bool StartTimer(unsigned interval_ms);
    void StopTimer();

    [[nodiscard]] bool Running() const { return running_; }
    [[nodiscard]] unsigned Interval() const { return interval_ms_; }
    [[nodiscard]] void* CallbackData() const { return callback_data_; }

    // Calls the callback once, as a tick does: an exception escaping it is shown by the
    // application's error display. Tests drive timers this way.
    void Fire();

    // How many shared receivers exist now (0 or 1): the last timer frees it.
    [[nodiscard]] static int HandlerCount();

private:
    void* callback_data_;
    TCallback callback_;
    bool running_ = false;
    unsigned interval_ms_ = 0;
    int platform_id_ = 0;
};

} // namespace vd
