#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace vd {

class Mixer;

// Where mixed sound goes. A sink starts pulling blocks from its mixer when it is made and has
// stopped pulling, for good, when its destructor returns. The mixer must outlive the sink.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // any thread. "pulse", "sdl", "null" or "wav:PATH".
    [[nodiscard]] virtual std::string name() const = 0;
    // any thread. Drops the sound the device holds but has not played yet, so that a halt is
    // heard at once. Sinks that hold little do nothing.
    virtual void flush() {}
    // any thread but the audio one. While held, the device plays nothing and keeps what it has
    // not played yet, so that a pause goes on, once released, exactly where it was heard; a flush
    // while held drops it. Sinks that hold little do nothing.
    virtual void hold(bool /*held*/) {}
};

// GUI thread. The sound server (PulseAudio, or PipeWire's PulseAudio service) with a buffer of
// about 100 ms (PulseLatency.h); it mixes each block timed, with the moment it will be heard.
// Throws AudioError when no server answers.
[[nodiscard]] std::unique_ptr<AudioSink> make_pulse_sink(Mixer& mixer);

// GUI thread. The default sound device through SDL2. Throws AudioError when SDL's audio cannot
// start or no device opens.
[[nodiscard]] std::unique_ptr<AudioSink> make_sdl_sink(Mixer& mixer);
// GUI thread. Renders in real time and discards the sound.
[[nodiscard]] std::unique_ptr<AudioSink> make_null_sink(Mixer& mixer);
// GUI thread. Renders in real time into a 16-bit stereo WAV file. Throws AudioError when the
// file cannot be created.
[[nodiscard]] std::unique_ptr<AudioSink> make_wav_sink(Mixer& mixer,
                                                       const std::filesystem::path& path);

} // namespace vd
