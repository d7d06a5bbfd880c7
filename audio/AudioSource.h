#pragma once

#include <cstddef>
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
};

} // namespace vd
