#pragma once

#include "base/Mutex.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vd {

// Where a song stands from a moment on: its order and row (order | row << 16), its time and
// whether it has ended. The moment is on the steady clock, in nanoseconds.
struct PositionStamp {
    std::int64_t heard_at_ns = 0;
    std::uint32_t packed = 0;
    std::int64_t position_ms = 0;
    bool ended = false;
};

// The sound device holds what was rendered for a while before it is heard. The audio thread
// stamps each piece it renders with the moment it will be heard; the GUI thread asks which stamp
// is in force now, so that the position shown is the one heard, and when the next change comes,
// so that it can sleep until then.
//
// A fixed ring: the audio thread never allocates. When it is full the oldest stamp is folded into
// the one in force before the ring, which costs only precision about the distant past. One mutex,
// held for a copy or a scan of the ring.
class PositionStamps {
public:
    static constexpr std::size_t kCapacity = 128;

    // any thread. Forgets every stamp: `stamp` holds from now on, whatever its time.
    void reset(const PositionStamp& stamp);
    // audio thread. Adds a stamp heard after all that were added before it.
    void add(const PositionStamp& stamp);
    // any thread. Stamps heard after `at_ns` are heard `delay_ns` later (the device held them).
    void delay_after(std::int64_t at_ns, std::int64_t delay_ns);
    // any thread. The stamp in force at `at_ns`: the last added whose moment is not later.
    [[nodiscard]] PositionStamp at(std::int64_t at_ns) const;
    // any thread. The first moment after `at_ns` at which the position or the end differs from
    // the stamp in force at `at_ns`; none while no such stamp was added yet.
    [[nodiscard]] std::optional<std::int64_t> next_change_after(std::int64_t at_ns) const;
    // any thread. Stamps held in the ring (for tests).
    [[nodiscard]] std::size_t size() const;

private:
    [[nodiscard]] const PositionStamp& entry(std::size_t i) const REQUIRES(mutex_) {
        return ring_[(first_ + i) % kCapacity];
    }

    mutable Mutex mutex_;
    PositionStamp before_ GUARDED_BY(mutex_); // in force before the first stamp of the ring
    std::array<PositionStamp, kCapacity> ring_ GUARDED_BY(mutex_){};
    std::size_t first_ GUARDED_BY(mutex_) = 0;
    std::size_t count_ GUARDED_BY(mutex_) = 0;
};

} // namespace vd
