#include "audio/PositionStamps.h"

namespace vd {

namespace {

[[nodiscard]] bool differs(const PositionStamp& a, const PositionStamp& b) {
    return a.packed != b.packed || a.ended != b.ended;
}

} // namespace

void PositionStamps::reset(const PositionStamp& stamp) {
    const MutexLock lock(mutex_);
    before_ = stamp;
    first_ = 0;
    count_ = 0;
}

void PositionStamps::add(const PositionStamp& stamp) { // audio thread
    const MutexLock lock(mutex_);
    if (count_ == kCapacity) {
        before_ = ring_[first_];
        first_ = (first_ + 1) % kCapacity;
        --count_;
    }
    ring_[(first_ + count_) % kCapacity] = stamp;
    ++count_;
}

PositionStamp PositionStamps::at(std::int64_t at_ns) const {
    const MutexLock lock(mutex_);
    // Newest first: the present is near the end of what the device holds, a few stamps back.
    for (std::size_t i = count_; i > 0; --i) {
        if (entry(i - 1).heard_at_ns <= at_ns)
            return entry(i - 1);
    }
    return before_;
}

std::optional<std::int64_t> PositionStamps::next_change_after(std::int64_t at_ns) const {
    const MutexLock lock(mutex_);
    const PositionStamp* now = &before_;
    std::size_t i = 0;
    for (; i < count_ && entry(i).heard_at_ns <= at_ns; ++i)
        now = &entry(i);
    for (; i < count_; ++i) {
        if (differs(entry(i), *now))
            return entry(i).heard_at_ns;
    }
    return std::nullopt;
}

std::size_t PositionStamps::size() const {
    const MutexLock lock(mutex_);
    return count_;
}

void PositionStamps::delay_after(std::int64_t at_ns, std::int64_t delay_ns) {
    const MutexLock lock(mutex_);
    for (std::size_t i = 0; i < count_; ++i) {
        PositionStamp& stamp = ring_[(first_ + i) % kCapacity];
        if (stamp.heard_at_ns > at_ns)
            stamp.heard_at_ns += delay_ns;
    }
}

} // namespace vd
