#pragma once

#include "audio/MciByteSource.h"
#include "audio/MciDecoder.h"
#include "audio/SequencerSynth.h"
#include "audio/SmfSequence.h"

#include <memory>
#include <vector>

namespace vd {

// The sequencer device: plays a MIDI sequence on a FluidSynth synthesizer, rendered in the audio
// thread. Each event is handed to the synthesizer at its exact frame (the synthesizer itself acts
// on it at the start of its next 64-frame block). Seeking silences every voice, resets the
// synthesizer and replays the program changes, controllers, pitch bends, pressures and SysEx
// messages before the target, so the music goes on with the right instruments and settings.
class SequencerDecoder final : public MciDecoder {
public:
    // Reads a MIDI or RMI file, then takes a synthesizer. Throws MciError: MCIERR_INVALID_FILE for
    // a file the reader refuses, MCIERR_SEQ_NOMIDIPRESENT when there is no soundfont.
    explicit SequencerDecoder(std::unique_ptr<MciByteSource> bytes);
    SequencerDecoder(MidiSequence sequence, SequencerSynth::Lease synth);

    [[nodiscard]] std::uint64_t length_frames() const override { return length_frames_; }
    [[nodiscard]] std::uint32_t length_ms() const override { return length_ms_; }
    std::size_t read(std::span<float> out) override;
    void seek(std::uint64_t frame) override;
    void halt() override;

    // The synthesizer, for reading its channel state (same thread rules as the calls above).
    [[nodiscard]] _fluid_synth_t* synth() const { return synth_->get(); }

private:
    void index_events();
    void send(const MidiEvent& event);

    MidiSequence sequence_; // initialised before synth_ (see the constructor)
    SequencerSynth::Lease synth_;
    std::vector<std::uint64_t> event_frames_; // output frame of each event
    std::uint64_t length_frames_ = 0;
    std::uint32_t length_ms_ = 0;
    std::uint64_t position_ = 0; // next output frame
    std::size_t next_event_ = 0;
};

} // namespace vd
