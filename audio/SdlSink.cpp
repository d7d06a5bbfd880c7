#include "audio/AudioError.h"
#include "audio/AudioSink.h"
#include "audio/AudioStreamName.h"
#include "audio/Mixer.h"

#include "audio/SdlLibrary.h"

#include <cstdlib>

namespace vd {

namespace {

// 512 frames is 11.6 ms a buffer; with SDL's own double buffering the latency stays far below
// 50 ms while the callback still has room on a busy machine.
constexpr Uint16 kBufferFrames = 512;

// SDL reads these hints when the audio back end opens its stream; the PulseAudio back end has no
// hint for the icon, but the PulseAudio client library (and PipeWire's PulseAudio server) take
// any stream property from the environment.
void apply_stream_name() {
    const AudioStreamName& name = audio_stream_name();
    sdl().SDL_SetHint(SDL_HINT_APP_NAME, name.application.c_str());
    sdl().SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, name.application.c_str());
    sdl().SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, name.stream.c_str());
    sdl().SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, name.role.c_str());
    if (!name.icon.empty()) {
        ::setenv("PULSE_PROP_application.icon_name", name.icon.c_str(), 0);
    }
}

class SdlSink final : public AudioSink {
public:
    explicit SdlSink(Mixer& mixer) : mixer_(mixer) {
        // SDL would take SIGINT and SIGTERM for its event queue, which nobody here reads: the
        // program handles them itself.
        sdl().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        apply_stream_name();
        if (sdl().SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            throw AudioError(std::string("SDL audio cannot start: ") + sdl().SDL_GetError());
        }
        SDL_AudioSpec wanted{};
        wanted.freq = kOutputRateHz;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = kOutputChannels;
        wanted.samples = kBufferFrames;
        wanted.callback = &SdlSink::callback;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        // No changes allowed: SDL converts to whatever the device really takes.
        device_ = sdl().SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (device_ == 0) {
            const std::string reason = sdl().SDL_GetError();
            sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
            throw AudioError("No sound device opens: " + reason);
        }
        sdl().SDL_PauseAudioDevice(device_, 0);
    }

    ~SdlSink() override {
        // Closing waits for a running callback, so the mixer is not used after this.
        sdl().SDL_CloseAudioDevice(device_);
        sdl().SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    SdlSink(const SdlSink&) = delete;
    SdlSink& operator=(const SdlSink&) = delete;

    [[nodiscard]] std::string name() const override { return "sdl"; }

private:
    // audio thread (SDL's)
    static void callback(void* self, Uint8* stream, int length_bytes) {
        auto* samples = reinterpret_cast<float*>(stream);
        const auto count = static_cast<std::size_t>(length_bytes) / sizeof(float);
        static_cast<SdlSink*>(self)->mixer_.mix(std::span<float>(samples, count));
    }

    Mixer& mixer_;
    SDL_AudioDeviceID device_ = 0;
};

} // namespace

namespace {
AudioStreamName& stream_name() {
    static AudioStreamName name;
    return name;
}
} // namespace

void name_audio_stream(AudioStreamName name) {
    stream_name() = std::move(name);
}

const AudioStreamName& audio_stream_name() {
    return stream_name();
}

std::unique_ptr<AudioSink> make_sdl_sink(Mixer& mixer) {
    return std::make_unique<SdlSink>(mixer);
}

} // namespace vd
