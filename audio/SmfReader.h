#pragma once

#include "audio/SmfSequence.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace vd {

// A MIDI file the reader refuses, with the reason.
class SmfError : public std::runtime_error {
public:
    explicit SmfError(const std::string& what) : std::runtime_error(what) {}
};

// Largest MIDI file read at all; real ones are far smaller.
inline constexpr std::size_t kSmfMaxFileBytes = 16 * 1024 * 1024;
// Longest sequence accepted; longer means damaged delta times, not music.
inline constexpr std::uint64_t kSmfMaxLengthUs = 24ULL * 3600 * 1000000;

// Reads a Standard MIDI File of format 0 or 1, bare or wrapped in a RIFF "RMID" file (its "data"
// chunk). Running status, SysEx (F0 and F7 packets), tempo changes and every meta event are
// understood; unknown meta events and unknown chunks are skipped. A track cut short by the end of
// the file keeps the events read so far (the sequence is marked truncated). Throws SmfError for
// anything else that is wrong: not a MIDI file, an unsupported format, a malformed event, a
// sequence longer than a day. Every read is bounds-checked, and the work is linear in the input.
[[nodiscard]] MidiSequence read_smf(std::span<const std::uint8_t> bytes);

} // namespace vd
