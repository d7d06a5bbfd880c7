#pragma once

#include "player/AudioSource.h"

#include <memory>
#include <string>

namespace vd {

// The one sound output of the process: mixes every attached source in its audio thread at
// 44,100 Hz stereo. The sink is chosen once, when the output is first used, by the environment
// variable VODEZARU_AUDIO_OUT:
//   unset or "sdl"  the SDL2 audio device (latency under 50 ms); if no device opens, the null sink
//   "null"          silent; time still advances in real time, so playback behaves as with a device
//   "wav:PATH"      a WAV file written at real-time pace; its header is valid after every write
class AudioOutput {
public:
    // GUI thread. The process-wide output, opened on first use and closed at exit.
    static AudioOutput& instance();

    // GUI thread. Starts mixing `source` from the next audio block on.
    virtual void attach(std::shared_ptr<AudioSource> source) = 0;
    // GUI thread. Stops mixing `source`; when this returns the audio thread is not inside the
    // source's render() and will not call it again. Unknown sources are ignored.
    virtual void detach(const AudioSource* source) = 0;

    // any thread. A short description of the sink in use ("sdl", "null", "wav:/path").
    [[nodiscard]] virtual std::string sink_name() const = 0;

    virtual ~AudioOutput() = default;
};

} // namespace vd
