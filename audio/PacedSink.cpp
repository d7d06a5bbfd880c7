#include "audio/PacedSink.h"

#include "audio/Mixer.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace vd {

namespace {

using Clock = std::chrono::steady_clock;

// Further behind than this and the sink gives up catching up.
constexpr auto kMaxLag = std::chrono::milliseconds(250);

[[nodiscard]] Clock::duration duration_of(std::uint64_t frames) {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(frames * 1'000'000'000ULL / kOutputRateHz));
}

} // namespace

PacedSink::PacedSink(Mixer& mixer, std::string name, Consumer consumer)
    : mixer_(mixer), name_(std::move(name)), consumer_(std::move(consumer)),
      thread_([this] { run(); }) {}

PacedSink::~PacedSink() {
    {
        const MutexLock lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PacedSink::run() {
    std::vector<float> block(kBlockFrames * kOutputChannels);
    Clock::time_point start = Clock::now();
    std::uint64_t frames_done = 0;
    for (;;) {
        mixer_.mix(block);
        if (consumer_) {
            consumer_(block);
        }
        frames_done += kBlockFrames;
        Clock::time_point due = start + duration_of(frames_done);
        if (const auto now = Clock::now(); now - due > kMaxLag) {
            start = now;
            frames_done = 0;
            due = now;
        }
        MutexLock lock(mutex_);
        while (!stopping_) {
            if (wake_.wait_until(lock.unique_lock(), due) == std::cv_status::timeout) {
                break;
            }
        }
        if (stopping_) {
            return;
        }
    }
}

std::unique_ptr<AudioSink> make_null_sink(Mixer& mixer) {
    return std::make_unique<PacedSink>(mixer, "null", nullptr);
}

} // namespace vd
