#pragma once

#include "audio/AudioSource.h"

#include "base/Mutex.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vd {

// Sums the attached sources into one block. One audio thread calls mix(); any number of other
// threads attach and detach.
//
// The source list is guarded by a mutex that is held only to copy the list, never while a source
// renders, so a slow source never blocks attach() or detach() for longer than that copy. To keep
// the promise of detach() anyway, every mix() pass is counted: a pass takes a snapshot of the list
// and counts itself started, renders the snapshot, drops it and counts itself finished. detach()
// removes the source and then waits until every pass that started before the removal has finished;
// later passes cannot see the source any more.
class Mixer {
public:
    Mixer() = default;
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // GUI thread. Mixes `source` from the next pass on; attaching a source twice has no effect.
    void attach(std::shared_ptr<AudioSource> source);
    // GUI thread. Removes `source`; on return no pass renders it and none will. Unknown sources
    // are ignored. Must not be called from inside a render() (that pass would wait for itself),
    // nor while holding a lock that a render() takes.
    void detach(const AudioSource* source);
    // any thread. Number of attached sources.
    [[nodiscard]] std::size_t source_count() const;

    // any thread. The playback volume, a gain from 0 (silent) to 1 (as the sources render);
    // values outside are clamped, NaN is taken as 1. Applies from the next pass on.
    void set_volume(float gain);
    [[nodiscard]] float volume() const { return volume_.load(std::memory_order_relaxed); }

    // audio thread. Fills `out` (interleaved stereo) with the sum of all sources times the volume,
    // clamped to -1..1. The volume scales the floating-point sum before the clamp, so turning it
    // down makes a sum that was too loud fit again instead of clipping it first. A source that
    // delivers fewer frames contributes silence for the rest.
    void mix(std::span<float> out);
    // audio thread. As mix(), for a device that plays the block's first frame at `heard_at_ns` on
    // the steady clock (see AudioSource::render_timed).
    void mix(std::span<float> out, std::int64_t heard_at_ns);

private:
    // heard_at_ns < 0: the device plays the block as it comes.
    void mix_block(std::span<float> out, std::int64_t heard_at_ns);

    mutable Mutex mutex_;
    std::condition_variable pass_finished_cv_;
    std::vector<std::shared_ptr<AudioSource>> sources_ GUARDED_BY(mutex_);
    std::uint64_t passes_started_ GUARDED_BY(mutex_) = 0;
    std::uint64_t passes_finished_ GUARDED_BY(mutex_) = 0;
    std::atomic<float> volume_{1.0f};

    // Owned by the thread inside mix(); kept between passes so that steady state never allocates.
    std::vector<std::shared_ptr<AudioSource>> snapshot_;
    std::vector<float> scratch_;
};

} // namespace vd
