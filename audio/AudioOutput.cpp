#include "audio/AudioOutput.h"

#include "audio/AudioError.h"
#include "audio/AudioSink.h"
#include "audio/Mixer.h"

#include "base/Mutex.h"

#include <atomic>

#include <cstdlib>

namespace vd {

namespace {

constexpr std::string_view kWavPrefix = "wav:";

[[nodiscard]] std::unique_ptr<AudioSink> make_sink(std::string_view choice, Mixer& mixer) {
    if (choice.empty() || choice == "pulse") {
        try {
            return make_pulse_sink(mixer);
        } catch (const AudioError&) {
            if (choice == "pulse") {
                return make_null_sink(mixer);
            }
        }
    }
    if (choice.empty() || choice == "sdl") {
        try {
            return make_sdl_sink(mixer);
        } catch (const AudioError&) {
            return make_null_sink(mixer); // no sound card: play silently
        }
    }
    if (choice == "null") {
        return make_null_sink(mixer);
    }
    if (choice.starts_with(kWavPrefix) && choice.size() > kWavPrefix.size()) {
        return make_wav_sink(mixer, std::string(choice.substr(kWavPrefix.size())));
    }
    throw AudioError("Unknown audio output \"" + std::string(choice) + "\"");
}

class MixingOutput final : public AudioOutput {
public:
    explicit MixingOutput(std::string_view sink_choice)
        : sink_(make_sink(sink_choice, mixer_)), sink_name_(sink_->name()) {}

    ~MixingOutput() override { close(); }

    void attach(std::shared_ptr<AudioSource> source) override { mixer_.attach(std::move(source)); }
    void detach(const AudioSource* source) override { mixer_.detach(source); }
    void set_volume(float gain) override { mixer_.set_volume(gain); }
    [[nodiscard]] float volume() const override { return mixer_.volume(); }
    [[nodiscard]] std::string sink_name() const override { return sink_name_; }

    void flush() override {
        MutexLock lock(sink_mutex_);
        if (sink_) {
            sink_->flush(); // only raises a flag for the audio thread
        }
    }

    void hold(bool held) override {
        MutexLock lock(sink_mutex_);
        if (sink_) {
            sink_->hold(held);
        }
    }

    // GUI thread, or the exit handler. Stops the sink; sources stay attached but are not
    // rendered any more.
    void close() {
        std::unique_ptr<AudioSink> sink;
        {
            MutexLock lock(sink_mutex_);
            sink = std::move(sink_);
        }
        // Destroyed here, outside the lock: it joins the audio thread.
    }

private:
    Mixer mixer_; // before the sink: the sink pulls from it until the sink is gone
    Mutex sink_mutex_;
    std::unique_ptr<AudioSink> sink_ GUARDED_BY(sink_mutex_); // from construction on
    const std::string sink_name_;
};

[[nodiscard]] std::unique_ptr<MixingOutput> open_from_environment() {
    const char* value = std::getenv("VODEZARU_AUDIO_OUT");
    const std::string_view choice = value ? value : "";
    try {
        return std::make_unique<MixingOutput>(choice);
    } catch (const std::exception&) {
        return std::make_unique<MixingOutput>("null");
    }
}

MixingOutput* process_output = nullptr; // set once by instance(), read by the exit handler

// The playback volume of the process-wide output, kept while that output is not open yet.
std::atomic<float> process_volume{1.0f};

void close_process_output() {
    process_output->close();
}

} // namespace

AudioOutput& AudioOutput::instance() {
    // Deliberately never destroyed (see the header): sources held by other static objects may
    // still detach while the program exits. The exit handler stops the sink, so no audio thread
    // runs while those objects are torn down.
    static MixingOutput& output = []() -> MixingOutput& {
        process_output = open_from_environment().release();
        process_output->set_volume(process_volume.load());
        std::atexit(close_process_output);
        return *process_output;
    }();
    return output;
}

void AudioOutput::set_process_volume(float gain) {
    process_volume.store(gain);
    if (process_output != nullptr)
        process_output->set_volume(gain);
}

std::unique_ptr<AudioOutput> AudioOutput::open(std::string_view sink_choice) {
    return std::make_unique<MixingOutput>(sink_choice);
}

} // namespace vd
