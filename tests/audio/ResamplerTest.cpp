// The sample rate converter: exact lengths, unity gain, a clean passband, rejection of what would
// alias, seamless seeking, and inputs that end early.

#include "audio/Resampler.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vd {
namespace {

std::vector<float> stereo_sine(std::size_t frames, int rate_hz, double frequency_hz,
                               double amplitude) {
    std::vector<float> out(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate_hz;
        out[2 * i] =
            static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * frequency_hz * t));
        out[2 * i + 1] =
            static_cast<float>(amplitude * std::cos(2 * std::numbers::pi * frequency_hz * t));
    }
    return out;
}

Resampler resampler_over(std::vector<float> stereo, int rate_hz, std::uint64_t declared = 0) {
    return Resampler(std::make_unique<test::VectorInput>(std::move(stereo), rate_hz, declared));
}

class ResamplerAtRate : public ::testing::TestWithParam<int> {};

TEST_P(ResamplerAtRate, DeliversExactlyTheLengthAndKeepsAConstantConstant) {
    const int rate = GetParam();
    const std::size_t frames = static_cast<std::size_t>(rate) / 4 + 3;
    std::vector<float> constant(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
        constant[2 * i] = 0.5F;
        constant[2 * i + 1] = -0.25F;
    }
    Resampler resampler = resampler_over(constant, rate);
    const std::uint64_t expected = Resampler::output_length(frames, rate, 44100);
    EXPECT_EQ(resampler.length_frames(), expected);
    const auto out = test::read_all(resampler, SIZE_MAX, 333);
    ASSERT_EQ(out.size() / 2, expected);
    // Away from the edges (where the filter reaches past the input) the level is exact.
    for (std::size_t i = 200; i + 200 < out.size() / 2; ++i) {
        ASSERT_NEAR(out[2 * i], 0.5F, 1e-5F) << "frame " << i;
        ASSERT_NEAR(out[2 * i + 1], -0.25F, 1e-5F) << "frame " << i;
    }
}

TEST_P(ResamplerAtRate, PassesAToneUnchanged) {
    const int rate = GetParam();
    const double frequency = 1234.5;
    Resampler resampler =
        resampler_over(stereo_sine(static_cast<std::size_t>(rate) / 5, rate, frequency, 0.8), rate);
    const auto out = test::read_all(resampler);
    const auto ideal = stereo_sine(out.size() / 2, 44100, frequency, 0.8);
    double worst = 0.0;
    for (std::size_t i = 400; i + 400 < out.size(); ++i)
        worst = std::max(worst, static_cast<double>(std::abs(out[i] - ideal[i])));
    EXPECT_LT(worst, 2e-4);
}

TEST_P(ResamplerAtRate, SeekGivesTheSameFramesAsPlayingThrough) {
    const int rate = GetParam();
    const auto input = stereo_sine(static_cast<std::size_t>(rate) / 5, rate, 440.0, 0.5);
    Resampler through = resampler_over(input, rate);
    const auto all = test::read_all(through);
    Resampler seeking = resampler_over(input, rate);
    for (const std::uint64_t frame : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{4567},
                                      std::uint64_t{all.size() / 2 - 10}}) {
        seeking.seek(frame);
        const auto part = test::read_all(seeking, 100);
        ASSERT_EQ(part.size(), std::min<std::size_t>(200, all.size() - frame * 2));
        for (std::size_t i = 0; i < part.size(); ++i)
            ASSERT_NEAR(part[i], all[frame * 2 + i], 1e-6F)
                << "seek to " << frame << ", sample " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, ResamplerAtRate,
                         ::testing::Values(8000, 11025, 22050, 32000, 44100, 48000, 96000,
                                           44099 /* no small ratio: interpolated phases */));

TEST(Resampler, RejectsWhatWouldAliasWhenDecimating) {
    // 30 kHz at 96 kHz lies above the output's Nyquist frequency: it must vanish, not fold down.
    Resampler high = resampler_over(stereo_sine(48000, 96000, 30000.0, 0.9), 96000);
    const auto out = test::read_all(high);
    EXPECT_LT(test::rms(std::span(out).subspan(2000, out.size() - 4000)), 0.9 * 1e-4); // -80 dB
    // 19 kHz at 48 kHz is in the passband and stays.
    Resampler passband = resampler_over(stereo_sine(24000, 48000, 19000.0, 0.9), 48000);
    const auto kept = test::read_all(passband);
    EXPECT_NEAR(test::rms(std::span(kept).subspan(2000, kept.size() - 4000)), 0.9 / std::sqrt(2.0),
                0.01);
}

TEST(Resampler, InputThatEndsEarlyEndsTheOutputAtTheMatchingFrame) {
    // Declares a second at 22050 Hz but holds only a quarter of it.
    Resampler resampler = resampler_over(stereo_sine(5512, 22050, 100.0, 0.5), 22050, 22050);
    EXPECT_EQ(resampler.length_frames(), 44100U);
    EXPECT_EQ(test::read_all(resampler).size() / 2, 11024U);
    // Seeking past where the data ends gives nothing more.
    resampler.seek(30000);
    EXPECT_LE(test::read_all(resampler).size() / 2, 64U);

    Resampler direct = resampler_over(stereo_sine(1000, 44100, 100.0, 0.5), 44100, 5000);
    EXPECT_EQ(test::read_all(direct).size() / 2, 1000U);
}

} // namespace
} // namespace vd
