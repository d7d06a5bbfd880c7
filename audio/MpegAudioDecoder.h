#pragma once

#include "audio/MciByteSource.h"
#include "audio/MciDecoder.h"

#include <memory>

struct mpg123_handle_struct;

namespace vd {

// The mpegvideo device's reader: MPEG-1/2/2.5 audio layers I, II and III through libmpg123,
// decoded to float stereo (mono doubled) at the stream's own rate, a chunk at a time in the audio
// thread. At open the whole stream is scanned once, so the length is exact also for VBR files
// without a Xing/Info header, and seeks land on the exact sample.
class MpegAudioDecoder final : public PcmInput {
public:
    // Throws MciError(MCIERR_INVALID_FILE) when no MPEG audio stream can be found.
    explicit MpegAudioDecoder(std::unique_ptr<MciByteSource> bytes);
    ~MpegAudioDecoder() override;
    MpegAudioDecoder(const MpegAudioDecoder&) = delete;
    MpegAudioDecoder& operator=(const MpegAudioDecoder&) = delete;

    [[nodiscard]] int rate_hz() const override { return rate_hz_; }
    [[nodiscard]] std::uint64_t length_frames() const override { return length_frames_; }
    std::size_t read(std::span<float> out) override;
    void seek(std::uint64_t frame) override;

private:
    // Opens the stream from its first byte and reads the first frame's format into `rate`;
    // false when no frame is found or its format is not the one asked for.
    bool open_stream(long& rate);
    // True when the frame just read is the stream's only one: it starts where the audio data
    // starts (after an ID3v2 tag) and ends at the end (before an ID3v1 tag).
    bool single_frame_fills_stream();

    std::unique_ptr<MciByteSource> bytes_;
    mpg123_handle_struct* handle_ = nullptr;
    int rate_hz_ = 0;
    std::uint64_t length_frames_ = 0;
    bool at_end_ = false; // the stream ended, failed or could not be sought
};

} // namespace vd
