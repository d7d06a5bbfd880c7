#include "audio/ResamplerFilter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <stdexcept>

namespace vd {
namespace {

// Zero crossings on each side of the centre when not decimating; decimation widens the filter in
// proportion so that the transition band keeps its width at the lower rate.
constexpr double kHalfWidthZeroCrossings = 32.0;
// Kaiser beta for roughly 95 dB stopband attenuation.
constexpr double kKaiserBeta = 9.5;
// Above this many fractional positions the table is sampled and interpolated instead.
constexpr std::uint64_t kMaxExactPhases = 2048;
constexpr std::size_t kInterpolatedPhases = 1024;

// Modified Bessel function of the first kind, order 0, by its power series.
double bessel_i0(double x) {
    double sum = 1.0;
    double term = 1.0;
    const double quarter_x_squared = x * x / 4.0;
    for (int k = 1; k < 64 && term > sum * 1e-17; ++k) {
        term *= quarter_x_squared / (static_cast<double>(k) * k);
        sum += term;
    }
    return sum;
}

double sinc(double x) {
    if (std::abs(x) < 1e-12)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

} // namespace

ResamplerFilter::ResamplerFilter(int in_rate_hz, int out_rate_hz) {
    if (in_rate_hz <= 0 || out_rate_hz <= 0)
        throw std::invalid_argument("resampler rates must be positive");
    const auto g = std::gcd(in_rate_hz, out_rate_hz);
    step_num_ = static_cast<std::uint64_t>(in_rate_hz / g);
    step_den_ = static_cast<std::uint64_t>(out_rate_hz / g);

    // Cut-off in cycles per input frame: half the lower rate.
    const double ratio = std::min(1.0, static_cast<double>(out_rate_hz) / in_rate_hz);
    const double cutoff = 0.5 * ratio;
    const int half = static_cast<int>(std::ceil(kHalfWidthZeroCrossings / ratio));
    taps_ = 2 * half;

    exact_phases_ = step_den_ <= kMaxExactPhases;
    phases_ = exact_phases_ ? static_cast<std::size_t>(step_den_) : kInterpolatedPhases;
    const std::size_t rows = phases_ + 1;
    coefficients_.resize(rows * static_cast<std::size_t>(taps_));

    const double window_norm = bessel_i0(kKaiserBeta);
    for (std::size_t p = 0; p < rows; ++p) {
        const double phase = static_cast<double>(p) / static_cast<double>(phases_);
        float* out = coefficients_.data() + p * static_cast<std::size_t>(taps_);
        double sum = 0.0;
        for (int k = 0; k < taps_; ++k) {
            // Distance from the output instant to input frame (i - half + 1 + k).
            const double tau = static_cast<double>(k - half + 1) - phase;
            const double x = tau / half;
            const double window =
                std::abs(x) >= 1.0 ? 0.0
                                   : bessel_i0(kKaiserBeta * std::sqrt(1.0 - x * x)) / window_norm;
            const double value = 2.0 * cutoff * sinc(2.0 * cutoff * tau) * window;
            out[k] = static_cast<float>(value);
            sum += value;
        }
        // Unity gain at DC for every phase, so a constant input stays exactly constant.
        for (int k = 0; k < taps_; ++k)
            out[k] = static_cast<float>(out[k] / sum);
    }
}

void ResamplerFilter::apply(const float* frames, std::uint64_t frac, float* out) const {
    float left = 0.0F;
    float right = 0.0F;
    if (exact_phases_) {
        const float* c = row(static_cast<std::size_t>(frac));
        for (int k = 0; k < taps_; ++k) {
            left += c[k] * frames[2 * k];
            right += c[k] * frames[2 * k + 1];
        }
    } else {
        const double position = static_cast<double>(frac) * static_cast<double>(phases_) /
                                static_cast<double>(step_den_);
        const auto index = std::min(static_cast<std::size_t>(position), phases_ - 1);
        const auto blend = static_cast<float>(position - static_cast<double>(index));
        const float* c0 = row(index);
        const float* c1 = row(index + 1);
        for (int k = 0; k < taps_; ++k) {
            const float c = c0[k] + blend * (c1[k] - c0[k]);
            left += c * frames[2 * k];
            right += c * frames[2 * k + 1];
        }
    }
    out[0] = left;
    out[1] = right;
}

} // namespace vd
