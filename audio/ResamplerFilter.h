#pragma once

#include <cstdint>
#include <vector>

namespace vd {

// The interpolation filter of the sample rate converter: a Kaiser-windowed sinc, cut off at the
// Nyquist frequency of the lower of the two rates, with about 95 dB of stopband attenuation and a
// passband flat to 45 % of the lower rate (20 kHz at 44.1 kHz). It is tabulated per phase: one row
// for each of the `step_den()` fractional positions when there are few (every ratio between common
// rates), else 1,024 rows with linear interpolation between neighbours.
class ResamplerFilter {
public:
    ResamplerFilter(int in_rate_hz, int out_rate_hz);

    // Input frames the filter spans; even. The frame at output time t = i + frac / step_den()
    // reads input frames i - taps() / 2 + 1 ... i + taps() / 2.
    [[nodiscard]] int taps() const { return taps_; }
    // Each output frame advances the input by step_num() / step_den() frames (the reduced ratio).
    [[nodiscard]] std::uint64_t step_num() const { return step_num_; }
    [[nodiscard]] std::uint64_t step_den() const { return step_den_; }

    // Filters `taps()` stereo frames starting at `frames` at fractional position frac / step_den()
    // (frac < step_den()) and writes one stereo frame to `out`.
    void apply(const float* frames, std::uint64_t frac, float* out) const;

private:
    [[nodiscard]] const float* row(std::size_t phase) const {
        return coefficients_.data() + phase * static_cast<std::size_t>(taps_);
    }

    int taps_ = 0;
    std::uint64_t step_num_ = 1;
    std::uint64_t step_den_ = 1;
    std::size_t phases_ = 0;    // rows in the table, not counting the closing row
    bool exact_phases_ = false; // one row per fractional position; no interpolation
    std::vector<float> coefficients_;
};

} // namespace vd
