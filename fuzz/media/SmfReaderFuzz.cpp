// The MIDI file reader on arbitrary bytes, bare or inside a RIFF RMID wrapper (chosen by the first
// byte, so that the fuzzer reaches the SMF parser behind the wrapper too). It must return a
// sequence or throw SmfError; any crash, hang or sanitizer report is a bug. A sequence it returns
// must be consistent: events in time order, none after the end, SysEx inside its buffer.

#include "audio/SmfReader.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<std::uint8_t> in_rmid(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out(20 + size);
    const auto riff_size = static_cast<std::uint32_t>(12 + size);
    std::memcpy(out.data(), "RIFF", 4);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<std::uint8_t>(riff_size >> (8 * i));
    std::memcpy(out.data() + 8, "RMIDdata", 8);
    for (int i = 0; i < 4; ++i)
        out[16 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    std::memcpy(out.data() + 20, data, size);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool wrap = (data[0] & 1) != 0;
    std::vector<std::uint8_t> bytes =
        wrap ? in_rmid(data + 1, size - 1) : std::vector<std::uint8_t>(data + 1, data + size);
    try {
        const vd::MidiSequence seq = vd::read_smf(bytes);
        std::uint64_t last = 0;
        for (const auto& event : seq.events) {
            if (event.time < last || event.time > seq.length)
                std::abort();
            if (static_cast<std::uint64_t>(event.sysex_offset) + event.sysex_length >
                seq.sysex.size())
                std::abort();
            last = event.time;
        }
    } catch (const vd::SmfError&) {
    }
    return 0;
}
