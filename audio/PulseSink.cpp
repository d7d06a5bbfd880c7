#include "audio/AudioError.h"
#include "audio/AudioSink.h"
#include "audio/Mixer.h"
#include "audio/PulseLatency.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace vd {

namespace {

// Feeds the mixer's sound to the sound server (PulseAudio, or PipeWire through its PulseAudio
// service). The server keeps about kPulseTargetLatencyMs queued and asks for more a block at a
// time; the mixer renders right inside that request, on the client library's own thread, so the
// process wakes only when the server wants sound: no thread of our own, and timing updates only
// as often as the client library's automatic ones (they grow sparse while nothing changes). Each
// block is handed to the mixer with the moment it will be heard, so that displays show what is
// heard. A halt is still heard at once, because flush() drops what the server holds.
class PulseSink final : public AudioSink {
public:
    explicit PulseSink(Mixer& mixer) : mixer_(mixer) {
        mainloop_ = pa_threaded_mainloop_new();
        if (mainloop_ == nullptr) {
            throw AudioError("The sound server's client cannot start");
        }
        try {
            connect();
        } catch (...) {
            teardown();
            throw;
        }
    }

    ~PulseSink() override { teardown(); }

    PulseSink(const PulseSink&) = delete;
    PulseSink& operator=(const PulseSink&) = delete;

    [[nodiscard]] std::string name() const override { return "pulse"; }

    // any thread but the client library's. Waits at most for one block being mixed.
    void flush() override {
        pa_threaded_mainloop_lock(mainloop_);
        if (pa_operation* op = pa_stream_flush(stream_, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
        pa_threaded_mainloop_unlock(mainloop_);
    }

    // any thread but the client library's. The server stops playing the stream at once and keeps
    // what it holds; requests that were already on their way are not answered until released, so
    // that nothing (no silence either) is queued behind what is held.
    void hold(bool held) override {
        pa_threaded_mainloop_lock(mainloop_);
        held_ = held;
        if (pa_operation* op = pa_stream_cork(stream_, held ? 1 : 0, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
        // A request that came while held (a flush while held asks for a whole new queue) is not
        // asked again: it is answered once released, on the client library's thread.
        if (!held) {
            pa_mainloop_api_once(pa_threaded_mainloop_get_api(mainloop_), &PulseSink::on_released,
                                 this);
        }
        pa_threaded_mainloop_unlock(mainloop_);
    }

private:
    void connect() {
        context_ = pa_context_new(pa_threaded_mainloop_get_api(mainloop_), "VO Dezaru");
        if (context_ == nullptr) {
            throw AudioError("The sound server's client cannot start");
        }
        pa_context_set_state_callback(context_, &PulseSink::on_state, this);
        // No autospawn: without a running server the player takes the next output instead.
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
            pa_threaded_mainloop_start(mainloop_) < 0) {
            throw AudioError(std::string("No sound server answers: ") +
                             pa_strerror(pa_context_errno(context_)));
        }
        pa_threaded_mainloop_lock(mainloop_);
        const bool ready = wait_until_ready();
        pa_threaded_mainloop_unlock(mainloop_);
        if (!ready) {
            throw AudioError(std::string("No sound server answers: ") +
                             pa_strerror(pa_context_errno(context_)));
        }
    }

    // With the mainloop locked. Connects the context, then the stream; false on failure.
    bool wait_until_ready() {
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context_);
            if (state == PA_CONTEXT_READY) {
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state)) {
                return false;
            }
            pa_threaded_mainloop_wait(mainloop_);
        }
        const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(kOutputRateHz),
                                  static_cast<std::uint8_t>(kOutputChannels)};
        stream_ = pa_stream_new(context_, "Playback", &spec, nullptr);
        if (stream_ == nullptr) {
            return false;
        }
        pa_stream_set_state_callback(stream_, &PulseSink::on_state, this);
        pa_stream_set_write_callback(stream_, &PulseSink::on_writable, this);
        const PulseBufferPlan plan = pulse_buffer_plan();
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = plan.target_bytes;
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = plan.block_bytes;
        attr.fragsize = static_cast<std::uint32_t>(-1);
        constexpr auto kFlags = static_cast<pa_stream_flags_t>(
            PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(stream_, nullptr, &attr, kFlags, nullptr, nullptr) < 0) {
            return false;
        }
        for (;;) {
            const pa_stream_state_t state = pa_stream_get_state(stream_);
            if (state == PA_STREAM_READY) {
                return true;
            }
            if (!PA_STREAM_IS_GOOD(state)) {
                return false;
            }
            pa_threaded_mainloop_wait(mainloop_);
        }
    }

    void teardown() {
        if (mainloop_ == nullptr) {
            return;
        }
        // Stopping the loop waits for a request being served, so the mixer is not used after this.
        pa_threaded_mainloop_stop(mainloop_);
        if (stream_ != nullptr) {
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
        }
        if (context_ != nullptr) {
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
        pa_threaded_mainloop_free(mainloop_);
        mainloop_ = nullptr;
    }

    // the client library's thread: a connection changed its state.
    static void wake_waiter(void* self) {
        pa_threaded_mainloop_signal(static_cast<PulseSink*>(self)->mainloop_, 0);
    }
    static void on_state(pa_context*, void* self) { wake_waiter(self); }
    static void on_state(pa_stream*, void* self) { wake_waiter(self); }

    // audio thread (the client library's): the server has room for `bytes` more.
    static void on_writable(pa_stream* stream, std::size_t bytes, void* self) {
        auto& sink = *static_cast<PulseSink*>(self);
        constexpr std::size_t kFrameBytes = kOutputChannels * sizeof(float);
        const std::size_t frames = bytes / kFrameBytes;
        if (frames == 0 || sink.held_) {
            return;
        }
        sink.block_.resize(frames * kOutputChannels); // grows once to the server's request size
        sink.mixer_.mix(sink.block_, heard_at_ns(stream));
        pa_stream_write(stream, sink.block_.data(), frames * kFrameBytes, nullptr, 0,
                        PA_SEEK_RELATIVE);
    }

    // audio thread (the client library's), after a release: answers what the server asked for
    // while held.
    static void on_released(pa_mainloop_api*, void* self) {
        auto& sink = *static_cast<PulseSink*>(self);
        if (sink.held_) {
            return;
        }
        const std::size_t writable = pa_stream_writable_size(sink.stream_);
        if (writable != static_cast<std::size_t>(-1) && writable > 0) {
            on_writable(sink.stream_, writable, self);
        }
    }

    // audio thread. When what is written now will be heard: after what the server holds and the
    // card's own delay; before the first timing answer, after the queue the server keeps.
    static std::int64_t heard_at_ns(pa_stream* stream) {
        const std::int64_t now_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count();
        pa_usec_t latency_us = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream, &latency_us, &negative) != 0) {
            latency_us = std::uint64_t{kPulseTargetLatencyMs} * 1000;
        } else if (negative != 0) {
            latency_us = 0;
        }
        return now_ns + static_cast<std::int64_t>(latency_us) * 1000;
    }

    Mixer& mixer_;
    pa_threaded_mainloop* mainloop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::vector<float> block_; // used by the client library's thread only
    bool held_ = false;        // under the client library's lock
};

} // namespace

PulseBufferPlan pulse_buffer_plan() {
    constexpr auto kFrameBytes = static_cast<std::uint32_t>(kOutputChannels * sizeof(float));
    constexpr auto kRateHz = static_cast<std::uint32_t>(kOutputRateHz);
    const std::uint32_t block_frames = kRateHz * kPulseBlockMs / 1000;
    const std::uint32_t target_frames = kRateHz * kPulseTargetLatencyMs / 1000;
    return {block_frames * kFrameBytes, target_frames * kFrameBytes};
}

std::unique_ptr<AudioSink> make_pulse_sink(Mixer& mixer) {
    return std::make_unique<PulseSink>(mixer);
}

} // namespace vd
