#include "tests/e2e/support/Signal.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace vd::e2e {

namespace {

constexpr std::size_t kEnvelopeWindow = 441; // 10 ms at 44.1 kHz
constexpr std::size_t kCoarseStep = 44;      // 1 ms

[[nodiscard]] double pearson(std::span<const double> a, std::span<const double> b) {
    const auto n = static_cast<double>(a.size());
    double mean_a = 0;
    double mean_b = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        mean_a += a[i];
        mean_b += b[i];
    }
    mean_a /= n;
    mean_b /= n;
    double ab = 0;
    double aa = 0;
    double bb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ab += (a[i] - mean_a) * (b[i] - mean_b);
        aa += (a[i] - mean_a) * (a[i] - mean_a);
        bb += (b[i] - mean_b) * (b[i] - mean_b);
    }
    if (aa <= 0 || bb <= 0)
        return 0;
    return ab / std::sqrt(aa * bb);
}

[[nodiscard]] double waveform_correlation(std::span<const float> a, std::span<const float> b) {
    double ab = 0;
    double aa = 0;
    double bb = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ab += static_cast<double>(a[i]) * b[i];
        aa += static_cast<double>(a[i]) * a[i];
        bb += static_cast<double>(b[i]) * b[i];
    }
    if (aa <= 0 || bb <= 0)
        return 0;
    return ab / std::sqrt(aa * bb);
}

} // namespace

double rms(std::span<const float> samples) {
    if (samples.empty())
        return 0;
    double sum = 0;
    for (const float s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

std::optional<std::size_t> first_sound(std::span<const float> samples) {
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (std::fabs(samples[i]) > kSilence)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> last_sound(std::span<const float> samples) {
    for (std::size_t i = samples.size(); i > 0; --i)
        if (std::fabs(samples[i - 1]) > kSilence)
            return i - 1;
    return std::nullopt;
}

SilentRun longest_silence(std::span<const float> samples) {
    SilentRun best;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= samples.size(); ++i) {
        if (i == samples.size() || std::fabs(samples[i]) > kSilence) {
            if (i - start > best.length)
                best = {start, i - start};
            start = i + 1;
        }
    }
    return best;
}

double frequency_hz(std::span<const float> samples, int rate_hz) {
    const double level = rms(samples);
    const double hysteresis = level / 4;
    bool below = false;
    std::optional<std::size_t> first;
    std::size_t last = 0;
    int periods = -1;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] < -hysteresis) {
            below = true;
        } else if (below && samples[i] > hysteresis) {
            below = false;
            if (!first)
                first = i;
            last = i;
            ++periods;
        }
    }
    if (!first || periods < 2)
        return 0;
    return periods * static_cast<double>(rate_hz) / static_cast<double>(last - *first);
}

Alignment align(std::span<const float> probe, std::span<const float> reference) {
    if (probe.size() < kEnvelopeWindow || reference.size() <= probe.size())
        throw std::invalid_argument("align needs a probe shorter than the reference");
    // Energy prefix sums of the reference give the loudness of any window in constant time.
    std::vector<double> energy(reference.size() + 1, 0.0);
    for (std::size_t i = 0; i < reference.size(); ++i)
        energy[i + 1] = energy[i] + static_cast<double>(reference[i]) * reference[i];
    auto ref_window = [&](std::size_t start) {
        return std::sqrt((energy[start + kEnvelopeWindow] - energy[start]) / kEnvelopeWindow);
    };
    const std::size_t windows = probe.size() / kEnvelopeWindow;
    std::vector<double> probe_env(windows);
    for (std::size_t w = 0; w < windows; ++w)
        probe_env[w] = rms(probe.subspan(w * kEnvelopeWindow, kEnvelopeWindow));

    Alignment best;
    best.envelope_correlation = -2;
    std::vector<double> ref_env(windows);
    const std::size_t last_start = reference.size() - windows * kEnvelopeWindow;
    for (std::size_t start = 0; start <= last_start; start += kCoarseStep) {
        for (std::size_t w = 0; w < windows; ++w)
            ref_env[w] = ref_window(start + w * kEnvelopeWindow);
        const double c = pearson(probe_env, ref_env);
        if (c > best.envelope_correlation) {
            best.envelope_correlation = c;
            best.offset = start;
        }
    }
    // Refine to the sample around the envelope's best place.
    const std::size_t from = best.offset > kCoarseStep ? best.offset - kCoarseStep : 0;
    const std::size_t to = std::min(best.offset + kCoarseStep, reference.size() - probe.size());
    best.waveform_correlation = -2;
    std::size_t coarse = best.offset;
    for (std::size_t start = from; start <= to; ++start) {
        const double c = waveform_correlation(probe, reference.subspan(start, probe.size()));
        if (c > best.waveform_correlation) {
            best.waveform_correlation = c;
            coarse = start;
        }
    }
    best.offset = coarse;
    const double ref_level = rms(reference.subspan(best.offset, probe.size()));
    best.level_ratio = ref_level > 0 ? rms(probe) / ref_level : 0;
    return best;
}

} // namespace vd::e2e
