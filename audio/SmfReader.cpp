#include "audio/SmfReader.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace vd {
namespace {

constexpr std::uint32_t kDefaultTempoUsPerQuarter = 500000; // 120 beats per minute
constexpr std::uint8_t kTempoMarker = 0xFF; // status of a tempo change while tracks are merged

// Thrown inside a track when its bytes run out in the middle of an event.
struct OutOfData {};

// Big-endian reads within one span; every read checks the bounds.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    [[nodiscard]] bool at_end() const { return pos_ >= bytes_.size(); }
    [[nodiscard]] std::size_t remaining() const { return bytes_.size() - pos_; }

    std::uint8_t u8() {
        if (at_end())
            throw OutOfData{};
        return bytes_[pos_++];
    }

    // A variable-length quantity: at most four bytes, 28 bits.
    std::uint32_t vlq() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t byte = u8();
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0)
                return value;
        }
        throw SmfError("variable-length number longer than four bytes");
    }

    std::span<const std::uint8_t> take(std::size_t count) {
        if (count > remaining())
            throw OutOfData{};
        const auto out = bytes_.subspan(pos_, count);
        pos_ += count;
        return out;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

std::uint16_t be16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return (std::uint32_t{b[at + 3]} << 24) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 1]} << 8) | b[at];
}

bool has_id(std::span<const std::uint8_t> b, std::size_t at, const char* id) {
    return at + 4 <= b.size() && std::memcmp(b.data() + at, id, 4) == 0;
}

// The SMF inside a RIFF "RMID" file: the payload of its "data" chunk.
std::span<const std::uint8_t> unwrap_rmid(std::span<const std::uint8_t> bytes) {
    if (!has_id(bytes, 8, "RMID"))
        throw SmfError("a RIFF file that is not a RIFF MIDI (RMID) file");
    const std::size_t riff_end = std::min<std::uint64_t>(bytes.size(), 8ULL + le32(bytes, 4));
    std::size_t pos = 12;
    while (pos + 8 <= riff_end) {
        const std::uint64_t size = le32(bytes, pos + 4);
        const std::size_t body = pos + 8;
        if (has_id(bytes, pos, "data"))
            return bytes.subspan(
                body, static_cast<std::size_t>(std::min<std::uint64_t>(size, riff_end - body)));
        const std::uint64_t next = body + size + (size & 1);
        if (next > riff_end)
            break;
        pos = static_cast<std::size_t>(next);
    }
    throw SmfError("RIFF MIDI file without a data chunk");
}

bool is_channel_message(std::uint8_t status) {
    return status >= 0x80 && status < 0xF0;
}

std::size_t data_bytes_of(std::uint8_t status) {
    const auto kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Parses one MTrk body, appending its events with `time` holding the absolute tick. Returns the
// track's end tick; sets `truncated` when the body ends inside an event.
std::uint64_t read_track(std::span<const std::uint8_t> body, MidiSequence& seq,
                         std::vector<MidiEvent>& out, bool& truncated) {
    ByteReader in(body);
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    try {
        while (!in.at_end()) {
            const std::uint64_t event_tick = tick + in.vlq();
            std::uint8_t byte = in.u8();
            if (byte == 0xFF) {
                const std::uint8_t type = in.u8();
                const auto data = in.take(in.vlq());
                tick = event_tick;
                if (type == 0x2F)
                    return tick;
                if (type == 0x51 && data.size() >= 3) {
                    const std::uint32_t tempo =
                        (std::uint32_t{data[0]} << 16) | (data[1] << 8) | data[2];
                    if (tempo > 0)
                        out.push_back(MidiEvent{event_tick, kTempoMarker, 0, 0, tempo, 0});
                }
                continue;
            }
            if (byte == 0xF0 || byte == 0xF7) {
                const auto data = in.take(in.vlq());
                tick = event_tick;
                // A complete message in one packet is sent; continuation and escape packets,
                // which would need the pieces reassembled across events, are left out.
                if (byte == 0xF0 && !data.empty() && data.back() == 0xF7) {
                    if (seq.sysex.size() + data.size() > UINT32_MAX)
                        throw SmfError("too much System Exclusive data");
                    const auto offset = static_cast<std::uint32_t>(seq.sysex.size());
                    seq.sysex.insert(seq.sysex.end(), data.begin(), data.end() - 1);
                    out.push_back(MidiEvent{event_tick, 0xF0, 0, 0, offset,
                                            static_cast<std::uint32_t>(data.size() - 1)});
                }
                continue;
            }
            std::uint8_t status = running;
            if (byte & 0x80) {
                if (!is_channel_message(byte))
                    throw SmfError("system message in a track");
                status = byte;
                running = byte;
                byte = in.u8();
            } else if (status == 0) {
                throw SmfError("data byte without a status byte");
            }
            MidiEvent event{event_tick, status, byte, 0, 0, 0};
            if (data_bytes_of(status) == 2)
                event.data2 = in.u8();
            if ((event.data1 | event.data2) & 0x80)
                throw SmfError("status byte inside a channel message");
            tick = event_tick;
            out.push_back(event);
        }
    } catch (const OutOfData&) {
        truncated = true;
    }
    return tick;
}

struct Header {
    std::uint16_t tracks = 0;
    std::uint32_t units_per_us = 0;           // ticks per quarter, or ticks per second for SMPTE
    std::optional<std::uint32_t> fixed_tempo; // SMPTE: microseconds per "quarter" of those ticks
};

Header read_header(std::span<const std::uint8_t> smf, std::uint32_t length) {
    if (length < 6)
        throw SmfError("MIDI header too short");
    Header header;
    const std::uint16_t format = be16(smf, 8);
    header.tracks = be16(smf, 10);
    const std::uint16_t division = be16(smf, 12);
    if (format > 1)
        throw SmfError("MIDI file format " + std::to_string(format) + " is not supported");
    if (header.tracks == 0)
        throw SmfError("MIDI file without tracks");
    if (division & 0x8000) {
        const int fps = -static_cast<std::int8_t>(division >> 8);
        const int ticks_per_frame = division & 0xFF;
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || ticks_per_frame == 0)
            throw SmfError("invalid SMPTE time division");
        // 29 stands for 29.97 frames per second: 30 frames' worth of ticks take 1.001 s.
        header.units_per_us = static_cast<std::uint32_t>((fps == 29 ? 30 : fps) * ticks_per_frame);
        header.fixed_tempo = fps == 29 ? 1001000U : 1000000U;
    } else {
        if (division == 0)
            throw SmfError("time division of zero");
        header.units_per_us = division;
    }
    return header;
}

// The standard MIDI file inside `bytes`: the file itself, or the data chunk of a RIFF MIDI file.
std::span<const std::uint8_t> smf_of(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kSmfMaxFileBytes)
        throw SmfError("MIDI file too large");
    std::span<const std::uint8_t> smf = bytes;
    if (has_id(bytes, 0, "RIFF"))
        smf = unwrap_rmid(bytes);
    if (smf.size() < 14 || !has_id(smf, 0, "MThd"))
        throw SmfError("not a MIDI file");
    return smf;
}

struct Tracks {
    std::vector<MidiEvent> events; // all tracks' events by tick, ties in track order
    std::uint64_t end_tick = 0;    // the latest end of a track
};

// Reads the header's number of tracks from `pos` on; chunks of other kinds are passed over. A
// track cut short by the file's end marks `seq` truncated.
Tracks read_tracks(std::span<const std::uint8_t> smf, std::uint64_t pos, const Header& header,
                   MidiSequence& seq) {
    Tracks tracks;
    int tracks_read = 0;
    while (tracks_read < header.tracks && pos + 8 <= smf.size()) {
        const std::uint64_t length = be32(smf, static_cast<std::size_t>(pos) + 4);
        const std::uint64_t body = pos + 8;
        const std::uint64_t body_end = std::min<std::uint64_t>(body + length, smf.size());
        if (body + length > smf.size())
            seq.truncated = true;
        if (has_id(smf, static_cast<std::size_t>(pos), "MTrk")) {
            const auto track = smf.subspan(static_cast<std::size_t>(body),
                                           static_cast<std::size_t>(body_end - body));
            tracks.end_tick =
                std::max(tracks.end_tick, read_track(track, seq, tracks.events, seq.truncated));
            ++tracks_read;
        }
        pos = body + length;
    }
    if (tracks_read == 0)
        throw SmfError("MIDI file without a track");

    // Merge: by tick, ties in track order (the tracks were appended in order).
    std::stable_sort(tracks.events.begin(), tracks.events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.time < b.time; });
    return tracks;
}

// Folds the tempo map into exact times: each tick lasts `tempo` units (microseconds times ticks
// per quarter). The running time never exceeds the cap, so no product overflows. The tempo
// markers are taken out; `seq` gets the events and its length.
void fold_tempo_map(Tracks tracks, const Header& header, MidiSequence& seq) {
    const unsigned __int128 cap =
        static_cast<unsigned __int128>(kSmfMaxLengthUs) * seq.units_per_us;
    std::uint64_t tempo = header.fixed_tempo.value_or(kDefaultTempoUsPerQuarter);
    std::uint64_t last_tick = 0;
    std::uint64_t time = 0;
    const auto advance_to = [&](std::uint64_t tick) {
        const unsigned __int128 next =
            time + static_cast<unsigned __int128>(tick - last_tick) * tempo;
        if (next > cap)
            throw SmfError("MIDI sequence longer than a day");
        time = static_cast<std::uint64_t>(next);
        last_tick = tick;
    };
    std::vector<MidiEvent>& merged = tracks.events;
    std::size_t kept = 0;
    for (const MidiEvent& event : merged) {
        advance_to(event.time);
        if (event.status == kTempoMarker) {
            if (!header.fixed_tempo)
                tempo = event.sysex_offset;
            continue;
        }
        MidiEvent& slot = merged[kept++];
        slot = event;
        slot.time = time;
    }
    merged.resize(kept);
    advance_to(std::max(tracks.end_tick, last_tick));
    seq.events = std::move(merged);
    seq.length = time;
}

} // namespace

MidiSequence read_smf(std::span<const std::uint8_t> bytes) {
    const std::span<const std::uint8_t> smf = smf_of(bytes);
    const std::uint32_t header_length = be32(smf, 4);
    const Header header = read_header(smf, header_length);

    MidiSequence seq;
    seq.units_per_us = header.units_per_us;
    fold_tempo_map(read_tracks(smf, 8ULL + header_length, header, seq), header, seq);
    return seq;
}

} // namespace vd
