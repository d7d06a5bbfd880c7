#include "framework/Timer.h"

#include "framework/Controls.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vd {

namespace {

class SharedClock;

// GUI thread. Ticks every timer that waits for activity and has some to answer, on any clock.
void TickActivityWaiters();

// GUI thread only. Never destroyed, so a timer that goes during static destruction still finds
// its clock.
std::map<int, std::unique_ptr<SharedClock>>& Clocks() {
    static auto* clocks = new std::map<int, std::unique_ptr<SharedClock>>;
    return *clocks;
}

// Timers of the same interval share one clock: the process then wakes once for all of them
// instead of once for each. Members tick in the order they were enabled. A timer that joins a
// running clock has its first tick at the clock's next beat, so within one interval, never later.
// The clock beats only while some member has a tick due, so timers that wait for a notice or for
// other work let the process sleep.
class SharedClock {
public:
    explicit SharedClock(int interval_ms) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(interval_ms);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Beat(); });
    }

    void Join(TTimer* member) {
        if (std::ranges::find(members_, member) == members_.end())
            members_.push_back(member);
        Rearm();
    }

    void Leave(TTimer* member) {
        std::erase(members_, member);
        Rearm();
    }

    // Starts the clock when a member has a tick due, stops it when none has; a running clock
    // keeps its beat.
    void Rearm() {
        const bool due = std::ranges::any_of(members_, [](TTimer* m) { return m->TickDue(); });
        if (due && !timer_.isActive())
            timer_.start();
        else if (!due)
            timer_.stop();
    }

    [[nodiscard]] bool IsBeat(const QObject* receiver) const { return receiver == &timer_; }

    // GUI thread. A tick may enable or disable timers (the player's stop disables one), so every
    // member is looked up again before it ticks. Timers that answer activity, of this clock or
    // another, tick last: they see the work of this beat at once instead of waking the process
    // again for it.
    void Beat() {
        const std::vector<TTimer*> members = members_;
        auto tick = [this](TTimer* member) {
            if (std::ranges::find(members_, member) == members_.end() || !member->TickDue())
                return false;
            member->BeginTick();
            member->Tick();
            return true;
        };
        bool worked = false;
        for (TTimer* member : members) {
            // A tick may free a later member: only members still here are looked at.
            if (std::ranges::find(members_, member) == members_.end())
                continue;
            if (member->Wake() != TTimerWake::AfterActivity)
                worked = tick(member) || worked;
        }
        if (worked)
            TTimer::NoteActivity();
        // Ticks that answer other work are not work themselves: they would wake each other forever.
        TickActivityWaiters();
        Rearm();
    }

private:
    QTimer timer_;
    std::vector<TTimer*> members_;
};

// GUI thread only: the single-shot timers of DueIn, whose wake-ups are no activity either.
std::vector<const QObject*>& DueInTimers() {
    static auto* timers = new std::vector<const QObject*>;
    return *timers;
}

// Sees every event of the GUI thread; anything but the beat of a clock, a timer's own wake-up
// and painting is work that timers waiting for activity answer. Painting shows what work did
// and changes nothing they look at; counting it would cost a second wake-up after every change
// on the screen.
class ActivityWatch final : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Timer:
            for (const auto& [interval, clock] : Clocks())
                if (clock->IsBeat(receiver))
                    return false;
            if (std::ranges::find(DueInTimers(), receiver) != DueInTimers().end())
                return false;
            break;
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater:
        case QEvent::Paint:
            return false;
        default:
            break;
        }
        TTimer::NoteActivity();
        return false;
    }
};

// GUI thread only: the timers that wait for activity.
std::vector<TTimer*>& ActivityWaiters() {
    static auto* waiters = new std::vector<TTimer*>;
    return *waiters;
}

void TickActivityWaiters() {
    const std::vector<TTimer*> waiters = ActivityWaiters();
    for (TTimer* waiter : waiters) {
        const auto& now = ActivityWaiters();
        if (std::ranges::find(now, waiter) == now.end() || !waiter->Running() || !waiter->TickDue())
            continue;
        waiter->BeginTick();
        waiter->Tick();
        // The tick may have freed the timer.
        const auto& after = ActivityWaiters();
        if (std::ranges::find(after, waiter) != after.end())
            waiter->ClockSettled();
    }
}

} // namespace

// Shared with notifiers, which may outlive the timer and run on any thread. A notice reaches the
// GUI thread through an eventfd that the timer's socket notifier watches: the notifying thread
// makes one system call and touches neither the heap nor a lock of Qt's (whose event queue hands
// its objects over by a synchronisation the thread sanitizer cannot see).
struct TTimer::DueState {
    std::atomic<bool> due{false};
    std::atomic<bool> posted{false}; // a wake-up is in the eventfd, not yet read
    int wake_fd = -1;                // open until the last notifier goes

    DueState() = default;
    DueState(const DueState&) = delete;
    DueState& operator=(const DueState&) = delete;
    ~DueState() {
        if (wake_fd >= 0)
            ::close(wake_fd);
    }
};

struct TTimer::Platform {
    int joined_interval_ms = 0; // the clock this timer ticks with; 0 while stopped
    std::shared_ptr<DueState> state = std::make_shared<DueState>();
    std::unique_ptr<QSocketNotifier> wake; // GUI thread; made with the first DueNotifier()
    std::unique_ptr<QTimer> due_in;        // GUI thread; made with the first DueIn()

    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;
    ~Platform() {
        if (due_in)
            std::erase(DueInTimers(), due_in.get());
    }
};

TTimer::TTimer(TComponent* owner) : TComponent(owner), platform_(std::make_unique<Platform>()) {}

TTimer::~TTimer() {
    BeginDestruction();
    platform_->wake.reset(); // later notices only fill the eventfd, which no one reads
    std::erase(ActivityWaiters(), this);
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

void TTimer::SetWake(TTimerWake wake) {
    if (wake_ == wake)
        return;
    wake_ = wake;
    auto& waiters = ActivityWaiters();
    std::erase(waiters, this);
    if (wake_ == TTimerWake::AfterActivity) {
        waiters.push_back(this);
        static ActivityWatch* watch = nullptr; // one for the process, on the application
        if (watch == nullptr && QCoreApplication::instance() != nullptr) {
            watch = new ActivityWatch; // lives as long as the process
            QCoreApplication::instance()->installEventFilter(watch);
        }
    }
    platform_->state->due = true; // a change of mind starts with one tick, as enabling does
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
    platform_->state->due = true; // the first tick after a start is always due
    auto& clock = Clocks()[interval_ms_];
    if (!clock)
        clock = std::make_unique<SharedClock>(interval_ms_);
    platform_->joined_interval_ms = interval_ms_;
    clock->Join(this);
}

bool TTimer::Running() const {
    return platform_->joined_interval_ms != 0;
}

bool TTimer::TickDue() const {
    return wake_ == TTimerWake::Always || platform_->state->due.load();
}

void TTimer::BeginTick() {
    platform_->state->due = false;
}

void TTimer::ClockSettled() {
    if (const int interval_ms = platform_->joined_interval_ms; interval_ms != 0)
        Clocks()[interval_ms]->Rearm();
}

void TTimer::MarkDue() {
    if (platform_->state->due.exchange(true))
        return;
    if (const int interval_ms = platform_->joined_interval_ms; interval_ms != 0)
        Clocks()[interval_ms]->Rearm();
}

std::function<void()> TTimer::DueNotifier() { // GUI thread
    DueState& state = *platform_->state;
    if (!platform_->wake) {
        state.wake_fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (state.wake_fd < 0)
            throw std::runtime_error("No eventfd for the timer's notices");
        platform_->wake = std::make_unique<QSocketNotifier>(state.wake_fd, QSocketNotifier::Read);
        QObject::connect(platform_->wake.get(), &QSocketNotifier::activated, [this] {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got =
                ::read(platform_->state->wake_fd, &count, sizeof count);
            platform_->state->posted = false;
            BeatNow();
        });
    }
    return [state = platform_->state] { // any thread
        // The first notice since the last tick wakes the GUI thread; later ones only find the
        // flag raised.
        if (state->due.load() || state->posted.exchange(true))
            return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(state->wake_fd, &one, sizeof one);
    };
}

void TTimer::BeatNow() {
    platform_->state->due = true;
    if (const int interval_ms = platform_->joined_interval_ms; interval_ms != 0)
        Clocks()[interval_ms]->Beat();
}

void TTimer::DueIn(int ms) { // GUI thread
    if (!platform_->due_in) {
        platform_->due_in = std::make_unique<QTimer>();
        platform_->due_in->setSingleShot(true);
        platform_->due_in->setTimerType(Qt::PreciseTimer);
        QObject::connect(platform_->due_in.get(), &QTimer::timeout, [this] { BeatNow(); });
        DueInTimers().push_back(platform_->due_in.get());
    }
    platform_->due_in->start(std::max(0, ms));
}

void TTimer::NoteActivity() {
    for (TTimer* waiter : ActivityWaiters())
        waiter->MarkDue();
}

void TTimer::Tick() {
    if (OnTimer)
        SafeCall([this] { OnTimer(this); });
}

} // namespace vd
