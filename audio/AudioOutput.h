#pragma once

#include "audio/AudioSource.h"

#include <memory>
#include <string>
#include <string_view>

namespace vd {

// The one sound output of the process: mixes every attached source in its audio thread at
// 44,100 Hz stereo. The sink is chosen once, when the output is first used, by the environment
// variable VODEZARU_AUDIO_OUT:
//   unset           the sound server (PulseAudio or PipeWire) if one answers, else as "sdl"
//   "pulse"         the sound server; if none answers, the null sink
//   "sdl"           the SDL2 audio device (latency under 50 ms); if no device opens, the null sink
//   "null"          silent; time still advances in real time, so playback behaves as with a device
//   "wav:PATH"      a WAV file written at real-time pace; its header is valid after every write
// Any other value, or a WAV file that cannot be created, also ends at the null sink: the player
// plays silently rather than not at all.
class AudioOutput {
public:
    // GUI thread. The process-wide output, opened on first use. Its sink stops at exit; the object
    // itself is never destroyed, so attach() and detach() stay valid during static destruction
    // (after the sink has stopped they only edit the list).
    static AudioOutput& instance();

    // GUI thread. The volume of the process-wide output (see set_volume), without opening it:
    // an output opened later starts at this volume.
    static void set_process_volume(float gain);

    // GUI thread. A separate output on the sink `sink_choice` names (the values of
    // VODEZARU_AUDIO_OUT; "" is "pulse", then "sdl"), for tests and tools. "sdl" falls back to
    // "null" as the process-wide output does; an unknown name or a WAV file that cannot be created
    // throws AudioError. The sink stops when the object is destroyed.
    [[nodiscard]] static std::unique_ptr<AudioOutput> open(std::string_view sink_choice);

    // GUI thread. Starts mixing `source` from the next audio block on.
    virtual void attach(std::shared_ptr<AudioSource> source) = 0;
    // GUI thread. Stops mixing `source`; when this returns the audio thread is not inside the
    // source's render() and will not call it again. Unknown sources are ignored. Must not be
    // called from a render(), nor while holding a lock that a render() takes.
    virtual void detach(const AudioSource* source) = 0;

    // any thread. The playback volume, a gain from 0 to 1 applied to the mixed sound before it
    // reaches the sink (not the system's mixer); see Mixer::set_volume.
    virtual void set_volume(float gain) = 0;
    [[nodiscard]] virtual float volume() const = 0;

    // GUI thread. Drops what the device holds but has not played yet; called right after a source
    // stops rendering (pause, stop), so that the halt is heard at once.
    virtual void flush() {}

    // GUI thread. Holds the sound the device has not played yet, silent, or releases it (see
    // AudioSink::hold): a pause holds, a start or a resume releases, a stop flushes and releases.
    virtual void hold(bool /*held*/) {}

    // any thread. A short description of the sink in use ("pulse", "sdl", "null", "wav:/path").
    [[nodiscard]] virtual std::string sink_name() const = 0;

    virtual ~AudioOutput() = default;
};

} // namespace vd
