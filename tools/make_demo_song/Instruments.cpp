#include "tools/make_demo_song/Instruments.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace vd::demo {

namespace {

using std::numbers::pi;

// Amiga PAL clock over 2: a sample played with period p advances kPaulaHz / p samples a second.
constexpr double kPaulaHz = 3546894.6;
constexpr double kRateAtC3 = kPaulaHz / 214; // 16,574 Hz
constexpr double kRateAtB3 = kPaulaHz / 113; // 31,389 Hz

// A deterministic noise source, the same on every machine.
class Noise {
public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state_ = 0x2545F491;
};

// Scales to the 8-bit range with a little headroom and rounds.
std::vector<std::int8_t> to_pcm8(const std::vector<double>& wave, double peak_fraction = 0.96) {
    double peak = 0;
    for (double v : wave) {
        peak = std::max(peak, std::abs(v));
    }
    const double scale = peak > 0 ? 127.0 * peak_fraction / peak : 0.0;
    std::vector<std::int8_t> out(wave.size());
    std::ranges::transform(wave, out.begin(), [scale](double v) {
        return static_cast<std::int8_t>(std::clamp(std::lround(v * scale), -127L, 127L));
    });
    return out;
}

// A one-shot sample: the first word silent (the trackers' convention) and a short fade at the
// end so that the cut does not click.
modwriter::Sample one_shot(std::string name, std::vector<double> wave, std::uint8_t volume) {
    const std::size_t fade = std::min<std::size_t>(64, wave.size());
    for (std::size_t i = 0; i < fade; ++i) {
        wave[wave.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
    }
    wave[0] = 0;
    wave[1] = 0;
    modwriter::Sample s;
    s.name = std::move(name);
    s.data = to_pcm8(wave);
    s.volume = volume;
    return s;
}

modwriter::Sample looped(std::string name, const std::vector<double>& wave, std::uint8_t volume) {
    modwriter::Sample s;
    s.name = std::move(name);
    s.data = to_pcm8(wave);
    s.volume = volume;
    s.finetune = 1; // the shared tuning is 18 cents flat of A = 440 Hz; this takes 12.5 back
    s.loop_start = 0;
    s.loop_length = s.data.size();
    return s;
}

// One band-limited pulse wave of `cycles` whole cycles over `length` samples.
double pulse_at(std::size_t i, std::size_t length, int cycles, double duty) {
    const double period = static_cast<double>(length) / cycles;
    const int harmonics = static_cast<int>(period / 2.0) - 1;
    double v = 0;
    for (int k = 1; k <= harmonics; ++k) {
        const double rolloff = 1.0 / (1.0 + 0.02 * k * k); // softens the buzz a little
        v += rolloff * std::sin(pi * k * duty) / k *
             std::cos(2 * pi * k * cycles * static_cast<double>(i) / static_cast<double>(length));
    }
    return v;
}

} // namespace

modwriter::Sample make_pulse_lead() {
    // 4096 samples hold 128 cycles of period 32 (C at the tuning) and 129 slightly shorter ones.
    constexpr std::size_t kLength = 4096;
    std::vector<double> wave(kLength);
    for (std::size_t i = 0; i < kLength; ++i) {
        wave[i] = pulse_at(i, kLength, 128, 0.25) + 0.8 * pulse_at(i, kLength, 129, 0.30);
    }
    return looped("dawn lead", wave, 40);
}

modwriter::Sample make_pluck() {
    // Loop delay 64 samples = 63 whole + 0.5 from the averaging filter + 0.5 from the allpass.
    constexpr std::size_t kDelay = 63;
    constexpr double kAllpass = (1.0 - 0.5) / (1.0 + 0.5);
    constexpr double kDamping = 0.9965;
    const auto length = static_cast<std::size_t>(kRateAtC3 * 1.3);

    Noise noise;
    std::vector<double> line(kDelay);
    double smooth = 0;
    for (double& v : line) { // a softened noise burst: a pick rather than a scrape
        smooth = 0.5 * smooth + 0.5 * noise.next();
        v = smooth;
    }
    std::vector<double> wave(length);
    std::size_t pos = 0;
    double previous = line.back();
    double ap_in = 0;
    double ap_out = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double current = line[pos];
        const double averaged = kDamping * 0.5 * (current + previous);
        previous = current;
        const double delayed = kAllpass * averaged + ap_in - kAllpass * ap_out;
        ap_in = averaged;
        ap_out = delayed;
        line[pos] = delayed;
        pos = (pos + 1) % line.size();
        wave[i] = current;
    }
    auto sample = one_shot("dawn pluck", wave, 58);
    sample.finetune = 1;
    return sample;
}

modwriter::Sample make_bass() {
    constexpr std::size_t kCycle = 128;
    std::vector<double> wave(kCycle * 2);
    for (std::size_t i = 0; i < wave.size(); ++i) {
        const double p = 2 * pi * static_cast<double>(i) / kCycle;
        const double v =
            std::sin(p) + 0.35 * std::sin(2 * p) + 0.18 * std::sin(3 * p) + 0.08 * std::sin(4 * p);
        wave[i] = std::tanh(1.4 * v);
    }
    return looped("dawn bass", wave, 34);
}

modwriter::Sample make_kick() {
    const auto length = static_cast<std::size_t>(kRateAtC3 * 0.45);
    Noise noise;
    std::vector<double> wave(length);
    double phase = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRateAtC3;
        const double hz = 45.0 + 110.0 * std::exp(-t / 0.035);
        phase += 2 * pi * hz / kRateAtC3;
        const double body = std::sin(phase) * std::exp(-t / 0.22);
        const double click = t < 0.003 ? 0.4 * noise.next() * (1 - t / 0.003) : 0.0;
        wave[i] = std::tanh(1.8 * body + click);
    }
    return one_shot("dawn kick", wave, 64);
}

modwriter::Sample make_snare() {
    const auto length = static_cast<std::size_t>(kRateAtC3 * 0.3);
    Noise noise;
    std::vector<double> wave(length);
    double last_noise = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRateAtC3;
        const double tone =
            (std::sin(2 * pi * 185 * t) + 0.5 * std::sin(2 * pi * 330 * t)) * std::exp(-t / 0.05);
        const double n = noise.next();
        const double bright = n - 0.6 * last_noise; // tilt the noise up
        last_noise = n;
        wave[i] = 0.7 * tone + 0.8 * bright * std::exp(-t / 0.11);
    }
    return one_shot("dawn snare", wave, 64);
}

modwriter::Sample make_hihat() {
    const auto length = static_cast<std::size_t>(kRateAtB3 * 0.11);
    Noise noise;
    std::vector<double> wave(length);
    double x1 = 0;
    double x2 = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRateAtB3;
        const double x = noise.next();
        const double high = x - 2 * x1 + x2; // second difference: only the top octaves remain
        x2 = x1;
        x1 = x;
        wave[i] = high * std::exp(-t / 0.028);
    }
    return one_shot("dawn hat", wave, 64);
}

} // namespace vd::demo
