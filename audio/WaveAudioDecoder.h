#pragma once

#include "audio/MciByteSource.h"
#include "audio/MciDecoder.h"

#include <memory>
#include <vector>

struct sf_private_tag;

namespace vd {

// The waveaudio device's reader: a RIFF WAVE file (also WAVE_FORMAT_EXTENSIBLE, RF64 and Wave64)
// through libsndfile, so every encoding it knows plays: 8/16/24/32-bit PCM, float, IMA and MS
// ADPCM, u-law, A-law, GSM. Decoded lazily, a chunk at a time in the audio thread, so memory stays
// small however long the file; mono is doubled, channels beyond the first two are left out.
class WaveAudioDecoder final : public PcmInput {
public:
    // Throws MciError(MCIERR_INVALID_FILE) when the content is not a playable wave file.
    explicit WaveAudioDecoder(std::unique_ptr<MciByteSource> bytes);
    ~WaveAudioDecoder() override;
    WaveAudioDecoder(const WaveAudioDecoder&) = delete;
    WaveAudioDecoder& operator=(const WaveAudioDecoder&) = delete;

    [[nodiscard]] int rate_hz() const override { return rate_hz_; }
    [[nodiscard]] std::uint64_t length_frames() const override { return length_frames_; }
    std::size_t read(std::span<float> out) override;
    void seek(std::uint64_t frame) override;

private:
    std::unique_ptr<MciByteSource> bytes_;
    sf_private_tag* file_ = nullptr;
    int rate_hz_ = 0;
    int channels_ = 0;
    std::uint64_t length_frames_ = 0;
    bool at_end_ = false;        // a seek failed: nothing more to read until the next seek
    std::vector<float> scratch_; // file-layout frames when the file is not stereo
};

} // namespace vd
