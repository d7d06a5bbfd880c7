#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace vd::e2e {

// Measures on one channel of sound in 16-bit units (full scale 32767).

// Below this magnitude a sample counts as silence: the player mixes exact zeros when nothing
// plays, and the test modules are thousands of units loud.
inline constexpr float kSilence = 64.0f;

[[nodiscard]] double rms(std::span<const float> samples);

// Index of the first / last sample in `samples` louder than kSilence.
[[nodiscard]] std::optional<std::size_t> first_sound(std::span<const float> samples);
[[nodiscard]] std::optional<std::size_t> last_sound(std::span<const float> samples);

// The longest run of silent samples and where it starts.
struct SilentRun {
    std::size_t start = 0;
    std::size_t length = 0;
};
[[nodiscard]] SilentRun longest_silence(std::span<const float> samples);

// The fundamental of a steady periodic sound from its rising zero crossings (with a hysteresis
// so that small ripples do not count); 0 when fewer than three crossings are found.
[[nodiscard]] double frequency_hz(std::span<const float> samples, int rate_hz);

// Where `probe` best matches inside `reference`: first coarsely by their loudness envelopes
// (10 ms windows, so gain and small waveform differences do not matter), then to the sample by
// the waveforms around that place. Correlations are Pearson coefficients in -1..1.
struct Alignment {
    std::size_t offset = 0; // index in `reference` where `probe` starts
    double envelope_correlation = 0;
    double waveform_correlation = 0;
    double level_ratio = 0; // rms(probe) / rms(matching part of reference)
};
// `reference` must be longer than `probe`.
[[nodiscard]] Alignment align(std::span<const float> probe, std::span<const float> reference);

} // namespace vd::e2e
