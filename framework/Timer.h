#pragma once

#include "framework/Component.h"

#include <functional>
#include <memory>

namespace vd {

// When a timer's clock wakes the process for it.
enum class TTimerWake {
    Always,        // every Interval
    OnNotice,      // at the first beat after a DueNotifier() call, or after being enabled
    AfterActivity, // at the first beat after the GUI thread handled anything else (input, a
                   // posted call, another timer's tick, a paint), or after being enabled
};

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

    // Lets a timer whose work only matters after something happened sleep until then; its
    // ticks keep the interval's beat. Default Always.
    [[nodiscard]] TTimerWake Wake() const { return wake_; }
    void SetWake(TTimerWake wake);
    // GUI thread. The function it returns may be called from any thread, also after the timer
    // is gone (then it does nothing). It makes a tick of an OnNotice timer due, and its clock
    // beats as soon as the GUI thread sees it; cheap enough for an audio thread (a flag, and one
    // write to an eventfd until the tick; no lock, no heap).
    [[nodiscard]] std::function<void()> DueNotifier();
    // GUI thread. Makes a tick of an OnNotice timer due `ms` from now, with a beat of its clock
    // then. A later call replaces an earlier one that has not come yet. Waking for it is not
    // activity that AfterActivity timers answer; the tick's work is.
    void DueIn(int ms);

    // The clock's side (GUI thread).
    [[nodiscard]] bool TickDue() const;
    void BeginTick();
    void MarkDue();
    // Its clock stops when no member has a tick due any more.
    void ClockSettled();
    static void NoteActivity();

private:
    // The tick is due now: the clock beats at once, out of its time, for every member that is
    // due (one wake-up of the process instead of this one and a beat).
    void BeatNow();
    void Update();
    void Stop();
    struct DueState;
    struct Platform;
    std::unique_ptr<Platform> platform_;
    TTimerWake wake_ = TTimerWake::Always;
    bool enabled_ = true;
    int interval_ms_ = 1000;
};

} // namespace vd
