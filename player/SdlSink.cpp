#include "player/AudioError.h"
#include "player/AudioSink.h"
#include "player/Mixer.h"

#include <SDL.h>

namespace vd {

namespace {

// 512 frames is 11.6 ms a buffer; with SDL's own double buffering the latency stays far below
// 50 ms while the callback still has room on a busy machine.
constexpr Uint16 kBufferFrames = 512;

class SdlSink final : public AudioSink {
public:
    explicit SdlSink(Mixer& mixer) : mixer_(mixer) {
        // SDL would take SIGINT and SIGTERM for its event queue, which nobody here reads: the
        // program handles them itself.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            throw AudioError(std::string("SDL audio cannot start: ") + SDL_GetError());
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
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (device_ == 0) {
            const std::string reason = SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            throw AudioError("No sound device opens: " + reason);
        }
        SDL_PauseAudioDevice(device_, 0);
    }

    ~SdlSink() override {
        // Closing waits for a running callback, so the mixer is not used after this.
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
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

std::unique_ptr<AudioSink> make_sdl_sink(Mixer& mixer) {
    return std::make_unique<SdlSink>(mixer);
}

} // namespace vd
