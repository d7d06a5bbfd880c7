#pragma once

#include <cstdint>
#include <vector>

namespace vd {

// One event a synthesizer acts on: a channel message, or a complete System Exclusive message.
struct MidiEvent {
    // When, in time units of the sequence (see MidiSequence::units_per_us).
    std::uint64_t time = 0;
    std::uint8_t status = 0; // 0x80-0xEF channel message, or 0xF0 for System Exclusive
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    // System Exclusive only: the bytes between F0 and the closing F7, in MidiSequence::sysex.
    std::uint32_t sysex_offset = 0;
    std::uint32_t sysex_length = 0;
};

// A whole MIDI sequence, its tracks merged into one list in time order (events at the same time
// keep their track order, then their order within the track), with the tempo map folded into the
// event times. Times are exact integers: microseconds multiplied by units_per_us, which is the
// file's ticks per quarter note (each tick then lasts the current tempo's microseconds per quarter
// units), or the ticks per second of a SMPTE time base.
struct MidiSequence {
    std::vector<MidiEvent> events;
    std::vector<std::uint8_t> sysex;
    std::uint64_t length = 0; // end of the longest track (its end-of-track event), same units
    std::uint32_t units_per_us = 1;
    bool truncated = false; // a track ran past the end of the file; what was read is kept

    [[nodiscard]] std::uint64_t to_us(std::uint64_t time) const { return time / units_per_us; }
    [[nodiscard]] std::uint32_t to_ms(std::uint64_t time) const {
        return static_cast<std::uint32_t>(time / (std::uint64_t{units_per_us} * 1000));
    }
    // The first frame at `rate_hz` at or after `time`.
    [[nodiscard]] std::uint64_t to_frame(std::uint64_t time, int rate_hz) const {
        const auto divisor = static_cast<unsigned __int128>(units_per_us) * 1000000U;
        const auto product = static_cast<unsigned __int128>(time) * static_cast<unsigned>(rate_hz);
        return static_cast<std::uint64_t>((product + divisor - 1) / divisor);
    }
};

} // namespace vd
