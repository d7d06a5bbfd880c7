#pragma once

#include "audio/MciDecoder.h"
#include "audio/ResamplerFilter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vd {

// Plays a PcmInput at the output rate. Equal rates pass straight through; others go through the
// windowed-sinc filter, streamed: only the filter's span of input is kept, read in small chunks.
// Seeking is sample-accurate and seamless: the input is re-read from the filter's first tap, so
// the frames after a seek are exactly those an uninterrupted run would have produced.
class Resampler final : public MciDecoder {
public:
    explicit Resampler(std::unique_ptr<PcmInput> input);

    // Output frames for `in_frames` input frames: ceil(in_frames * out / in).
    [[nodiscard]] static std::uint64_t output_length(std::uint64_t in_frames, int in_rate_hz,
                                                     int out_rate_hz);

    [[nodiscard]] std::uint64_t length_frames() const override { return length_frames_; }
    std::size_t read(std::span<float> out) override;
    void seek(std::uint64_t frame) override;

private:
    std::size_t read_filtered(std::span<float> out);
    // Makes input frame `last` available in the history (zeros after the input's end).
    void fill_through(std::int64_t last);
    void note_input_end(std::int64_t end_frame);

    std::unique_ptr<PcmInput> input_;
    std::optional<ResamplerFilter> filter_; // none when the rates are equal
    std::uint64_t length_frames_ = 0;
    std::uint64_t position_ = 0; // next output frame
    std::uint64_t end_ = 0; // output frames there are: the length, less if the input ends early

    // Filter state: the input time of the next output frame is ipos_ + frac_ / step_den.
    std::int64_t ipos_ = 0;
    std::uint64_t frac_ = 0;
    std::vector<float> history_;     // stereo input frames from history_first_ on
    std::int64_t history_first_ = 0; // input frame index of history_[0]; negative = lead-in zeros
    bool input_ended_ = false;
};

} // namespace vd
