#pragma once

#include "audio/AudioSource.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vd {

// Converts between output frames (44,100 Hz) and milliseconds, the unit of every MCI length and
// position. Milliseconds round down; a millisecond value maps to the first frame at or after it,
// so frames_to_ms(ms_to_frames(ms)) == ms.
[[nodiscard]] constexpr std::uint32_t output_frames_to_ms(std::uint64_t frames) {
    return static_cast<std::uint32_t>(frames * 1000 / kOutputRateHz);
}
[[nodiscard]] constexpr std::uint64_t ms_to_output_frames(std::uint32_t ms) {
    return (static_cast<std::uint64_t>(ms) * kOutputRateHz + 999) / 1000;
}

// What a media device plays: a seekable stream of stereo frames at the output rate. The playback
// source serialises every call (GUI thread commands and audio thread reads never overlap).
class MciDecoder {
public:
    virtual ~MciDecoder() = default;

    // Length in output frames, and in milliseconds (which a device may know more exactly than
    // the frame count says, as a MIDI tempo map does).
    [[nodiscard]] virtual std::uint64_t length_frames() const = 0;
    [[nodiscard]] virtual std::uint32_t length_ms() const {
        return output_frames_to_ms(length_frames());
    }

    // Writes up to out.size() / 2 frames (interleaved L, R) and returns the count; fewer only when
    // the data ends, which for a damaged file may be before length_frames().
    virtual std::size_t read(std::span<float> out) = 0;
    // The next read starts at output frame `frame` (0 ... length_frames()). Never throws: if the
    // data cannot be reached the next read returns 0.
    virtual void seek(std::uint64_t frame) = 0;
    // Playback halted (stop or seek): a synthesizer silences what still sounds.
    virtual void halt() {}
};

// Decoded audio at the file's own rate, before resampling: stereo frames (mono is doubled).
class PcmInput {
public:
    virtual ~PcmInput() = default;

    [[nodiscard]] virtual int rate_hz() const = 0;
    // Length in frames as the file declares it; a damaged file may end sooner.
    [[nodiscard]] virtual std::uint64_t length_frames() const = 0;
    // Writes up to out.size() / 2 frames and returns the count; fewer only at the end of the data.
    virtual std::size_t read(std::span<float> out) = 0;
    // The next read starts at frame `frame`; if it cannot be reached the next read returns 0.
    virtual void seek(std::uint64_t frame) = 0;
};

} // namespace vd
