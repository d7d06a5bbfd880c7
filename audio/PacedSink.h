#pragma once

#include "audio/AudioSink.h"

#include "base/Mutex.h"

#include <condition_variable>
#include <functional>
#include <span>
#include <string>
#include <thread>

namespace vd {

// A sink without a device: its own thread pulls one block from the mixer, hands it to a consumer
// and sleeps until the wall clock has caught up with the sound rendered so far. Time therefore
// advances as it would with a sound card. When the thread falls far behind (a stalled machine) it
// starts counting afresh instead of rendering the missed time in a burst, as a device would drop
// it.
class PacedSink final : public AudioSink {
public:
    // audio thread: the consumer sees each mixed block once, in order.
    using Consumer = std::function<void(std::span<const float>)>;

    static constexpr std::size_t kBlockFrames = 512;

    PacedSink(Mixer& mixer, std::string name, Consumer consumer);
    ~PacedSink() override;
    PacedSink(const PacedSink&) = delete;
    PacedSink& operator=(const PacedSink&) = delete;

    [[nodiscard]] std::string name() const override { return name_; }

private:
    void run(); // audio thread

    Mixer& mixer_;
    const std::string name_;
    Consumer consumer_;
    Mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ GUARDED_BY(mutex_) = false;
    std::thread thread_; // last: starts after every member above exists
};

} // namespace vd
