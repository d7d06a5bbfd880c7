#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vd {

// The one output format of the mixer: 44,100 Hz, stereo, interleaved float samples in -1..1.
inline constexpr int kOutputRateHz = 44100;
inline constexpr int kOutputChannels = 2;

// Something the mixer pulls sound from (a module, a MIDI sequence, a decoded file).
// A source is attached to the AudioOutput by the GUI thread and rendered by the audio thread.
class AudioSource {
public:
    virtual ~AudioSource() = default;

    // audio thread. Writes up to out.size() / 2 stereo frames into `out` (interleaved L, R) and
    // returns the number of frames written; the mixer treats the rest as silence. A paused or
    // stopped source returns 0. Must not block for long: take locks briefly, never call out
    // while holding them.
    virtual std::size_t render(std::span<float> out) = 0;

    // audio thread. As render(), for a device that plays the block's first frame at
    // `heard_at_ns` on the steady clock, later than now by what it holds: a source that shows
    // where it stands can then tell where it stands in what is heard.
    virtual std::size_t render_timed(std::span<float> out, std::int64_t /*heard_at_ns*/) {
        return render(out);
    }
};

} // namespace vd
