#include "audio/SequencerDecoder.h"

#include "audio/Mci.h"
#include "audio/MciError.h"
#include "audio/SmfReader.h"

#include "audio/FluidSynthLibrary.h"

#include <algorithm>

namespace vd {
namespace {

MidiSequence read_sequence(MciByteSource& bytes) {
    const auto data = bytes.read_all(kSmfMaxFileBytes);
    try {
        return read_smf(data);
    } catch (const SmfError& e) {
        throw MciError(MCIERR_INVALID_FILE, e.what());
    }
}

bool starts_or_ends_a_note(const MidiEvent& event) {
    const auto kind = event.status & 0xF0;
    return kind == 0x80 || kind == 0x90 || kind == 0xA0;
}

} // namespace

// The file is read before a synthesizer is taken (members initialise in declaration order): a
// damaged file fails fast, and is reported as such also on a machine without a soundfont.
SequencerDecoder::SequencerDecoder(std::unique_ptr<MciByteSource> bytes)
    : sequence_(read_sequence(*bytes)), synth_(SequencerSynth::acquire()) {
    index_events();
}

SequencerDecoder::SequencerDecoder(MidiSequence sequence, SequencerSynth::Lease synth)
    : sequence_(std::move(sequence)), synth_(std::move(synth)) {
    index_events();
}

void SequencerDecoder::index_events() {
    event_frames_.reserve(sequence_.events.size());
    for (const MidiEvent& event : sequence_.events)
        event_frames_.push_back(sequence_.to_frame(event.time, kOutputRateHz));
    length_frames_ = sequence_.to_frame(sequence_.length, kOutputRateHz);
    length_ms_ = sequence_.to_ms(sequence_.length);
}

std::size_t SequencerDecoder::read(std::span<float> out) {
    const std::uint64_t wanted = out.size() / 2;
    std::uint64_t done = 0;
    fluid_synth_t* synth = synth_->get();
    while (done < wanted && position_ < length_frames_) {
        while (next_event_ < event_frames_.size() && event_frames_[next_event_] <= position_)
            send(sequence_.events[next_event_++]);
        std::uint64_t until = std::min(position_ + (wanted - done), length_frames_);
        if (next_event_ < event_frames_.size())
            until = std::min(until, event_frames_[next_event_]);
        const auto count = static_cast<int>(until - position_);
        float* first = out.data() + done * 2;
        fluidsynth().fluid_synth_write_float(synth, count, first, 0, 2, first, 1, 2);
        done += static_cast<std::uint64_t>(count);
        position_ = until;
    }
    return static_cast<std::size_t>(done);
}

void SequencerDecoder::seek(std::uint64_t frame) {
    fluid_synth_t* synth = synth_->get();
    // Reset first: a reset after silencing would revive the voices just stopped. The reset also
    // empties the reverb and chorus, so nothing from before the seek rings on.
    fluidsynth().fluid_synth_system_reset(synth);
    fluidsynth().fluid_synth_all_sounds_off(synth, -1);
    position_ = std::min(frame, length_frames_);
    next_event_ = 0;
    while (next_event_ < event_frames_.size() && event_frames_[next_event_] < position_) {
        const MidiEvent& event = sequence_.events[next_event_++];
        if (!starts_or_ends_a_note(event))
            send(event);
    }
}

void SequencerDecoder::halt() {
    fluidsynth().fluid_synth_all_sounds_off(synth_->get(), -1);
}

void SequencerDecoder::send(const MidiEvent& event) {
    fluid_synth_t* synth = synth_->get();
    const int channel = event.status & 0x0F;
    switch (event.status & 0xF0) {
    case 0x80:
        fluidsynth().fluid_synth_noteoff(synth, channel, event.data1);
        break;
    case 0x90:
        if (event.data2 == 0)
            fluidsynth().fluid_synth_noteoff(synth, channel, event.data1);
        else
            fluidsynth().fluid_synth_noteon(synth, channel, event.data1, event.data2);
        break;
    case 0xA0:
        fluidsynth().fluid_synth_key_pressure(synth, channel, event.data1, event.data2);
        break;
    case 0xB0:
        fluidsynth().fluid_synth_cc(synth, channel, event.data1, event.data2);
        break;
    case 0xC0:
        fluidsynth().fluid_synth_program_change(synth, channel, event.data1);
        break;
    case 0xD0:
        fluidsynth().fluid_synth_channel_pressure(synth, channel, event.data1);
        break;
    case 0xE0:
        fluidsynth().fluid_synth_pitch_bend(synth, channel, event.data1 | (event.data2 << 7));
        break;
    case 0xF0: {
        const auto* data =
            reinterpret_cast<const char*>(sequence_.sysex.data() + event.sysex_offset);
        fluidsynth().fluid_synth_sysex(synth, data, static_cast<int>(event.sysex_length), nullptr,
                                       nullptr, nullptr, 0);
        break;
    }
    default:
        break;
    }
}

} // namespace vd
