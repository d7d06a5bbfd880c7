// A click on the position slider while an MP3 plays: the sound goes on at the clicked share of
// the length, exactly as the MPEG decoder renders the file from there, at 44.1 and 22.05 kHz; a
// click near the end plays the rest before the list starts over.
#include "audio/MciDecoder.h"
#include "audio/MciDeviceType.h"
#include "tests/e2e/support/Click.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

// A click at x on the position slider puts the thumb's middle there, so the value is
// (x - left - thumb / 2) / (width - thumb) of the length.
constexpr int kTrackPixels = kSliderWidth - kThumbWidth;

constexpr int kSongSeconds = 20;

// A sweep from 200 Hz to 2 kHz whose loudness steps every quarter second to a level of its own:
// each stretch of the song, by its loudness and its pitch, says where in the song it lies.
std::vector<float> song(int rate_hz) {
    const auto frames = static_cast<std::size_t>(rate_hz) * kSongSeconds;
    std::vector<float> samples = test::sweep(frames, 2, rate_hz, 200.0, 2000.0);
    const std::size_t step = static_cast<std::size_t>(rate_hz) / 4;
    std::uint32_t state = 2024;
    float level = 1.0F;
    for (std::size_t i = 0; i < frames; ++i) {
        if (i % step == 0) {
            state = state * 1664525U + 1013904223U;
            level = 0.25F + 0.75F * static_cast<float>(state >> 8) / 16777216.0F;
        }
        samples[2 * i] *= level;
        samples[2 * i + 1] *= level;
    }
    return samples;
}

class SliderSeek : public WindowTest<::testing::TestWithParam<int>> {
protected:
    void SetUp() override {
        WindowTest<::testing::TestWithParam<int>>::SetUp();
        if (IsSkipped())
            return;
        file_ = *scratch_ / "sweep.mp3";
        const test::Mp3 mp3 = test::encode_mp3(song(GetParam()), 2, GetParam(), false, true);
        test::write_file(file_, mp3.bytes);
        // What the MPEG device makes of the file, in the recording's units.
        const auto decoder =
            open_mci_decoder(MciDeviceType::MpegVideo, MciByteSource::from_memory(mp3.bytes));
        length_ms_ = decoder->length_ms();
        const std::vector<float> stereo = test::read_all(*decoder);
        for (std::size_t i = 0; i + 1 < stereo.size(); i += 2)
            reference_.push_back((stereo[i] + stereo[i + 1]) / 2.0F * 32767.0F);
    }

    [[nodiscard]] bool recorded_until(std::size_t frames) {
        return wait_until([&] { return recorded_frames(recording_) >= frames; }, 10s);
    }

    // Clicks the slider `pixel` pixels into its track; returns the frame of the capture at the
    // click and, in `target_frame`, the frame of the song the slider's value stands for.
    std::size_t click_slider(Player& player, int pixel, std::size_t& target_frame) {
        const auto [sx, sy] = player.screen_point(kSliderLeft + pixel + kThumbWidth / 2,
                                                  kSliderTop + kSliderHeight / 2);
        xdo::move_to(sx, sy);
        const auto value_ms = static_cast<std::uint32_t>(
            std::llrint(static_cast<double>(pixel) * length_ms_ / kTrackPixels));
        target_frame = ms_to_output_frames(value_ms);
        return click_at_frame(*x_, recording_);
    }

    // Where the song goes on after the click: the capture frame from which it plays the song
    // from `song_frame` on (the first 10 ms that match it sample by sample after the click).
    // Fails the test when the sound after the click is not the song as the decoder renders it.
    struct Resumed {
        std::size_t capture_frame = 0;
        std::size_t song_frame = 0;
    };
    std::optional<Resumed> resumed_after(std::span<const float> all, std::size_t clicked_at) {
        const std::size_t probe_start = clicked_at + frames_of_ms(400);
        const std::optional<std::size_t> song_at_probe =
            song_frame_of(all.subspan(probe_start, frames_of_ms(10)));
        if (!song_at_probe) {
            ADD_FAILURE() << "the sound 400 ms after the click is nowhere in the song as the MPEG "
                             "decoder renders it";
            return std::nullopt;
        }
        const auto shift = static_cast<std::ptrdiff_t>(*song_at_probe) -
                           static_cast<std::ptrdiff_t>(probe_start); // song frame - capture frame
        const std::size_t run = frames_of_ms(10);
        std::size_t matched = 0;
        for (std::size_t k = clicked_at - frames_of_ms(200); k < probe_start; ++k) {
            const std::ptrdiff_t s = static_cast<std::ptrdiff_t>(k) + shift;
            const bool same =
                s >= 0 && std::fabs(all[k] - reference_[static_cast<std::size_t>(s)]) <= 4.0F;
            matched = same ? matched + 1 : 0;
            if (matched == run) {
                const std::size_t first = k + 1 - run;
                return Resumed{
                    first, static_cast<std::size_t>(static_cast<std::ptrdiff_t>(first) + shift)};
            }
        }
        ADD_FAILURE() << "no place where the song takes up again was found";
        return std::nullopt;
    }

    // The song frame from which the song holds `stretch` sample for sample (the sweep makes that
    // place unique).
    std::optional<std::size_t> song_frame_of(std::span<const float> stretch) const {
        for (std::size_t s = 0; s + stretch.size() <= reference_.size(); ++s) {
            std::size_t i = 0;
            while (i < stretch.size() && std::fabs(stretch[i] - reference_[s + i]) <= 4.0F)
                ++i;
            if (i == stretch.size())
                return s;
        }
        return std::nullopt;
    }

    // The first capture frame in [from, to) from which the capture holds the song's frames
    // [song_frame, song_frame + count) sample for sample.
    std::optional<std::size_t> find_stretch(std::span<const float> all, std::size_t from,
                                            std::size_t to, std::size_t song_frame,
                                            std::size_t count) const {
        for (std::size_t k = from; k < to && k + count <= all.size(); ++k) {
            std::size_t i = 0;
            while (i < count && std::fabs(all[k + i] - reference_[song_frame + i]) <= 4.0F)
                ++i;
            if (i == count)
                return k;
        }
        return std::nullopt;
    }

    std::filesystem::path file_;
    std::uint32_t length_ms_ = 0;
    std::vector<float> reference_;
};

TEST_P(SliderSeek, AClickAtHalfGoesOnAtHalfTheLength) {
    Player player(*x_, {file_.string()}, "wav:" + recording_.string());
    ASSERT_TRUE(recorded_until(frames_of_ms(1500))) << "the capture did not grow";
    std::size_t target = 0;
    const std::size_t clicked_at = click_slider(player, kTrackPixels / 2, target);
    EXPECT_NEAR(ms_of_frames(target), length_ms_ / 2.0, 1000.0 * kSongSeconds / kTrackPixels);
    ASSERT_TRUE(recorded_until(clicked_at + frames_of_ms(1200)));
    const Recording r = read_recording(recording_);
    const auto resumed = resumed_after(r.mono, clicked_at);
    ASSERT_TRUE(resumed.has_value());
    EXPECT_EQ(resumed->song_frame, target)
        << "went on at " << ms_of_frames(resumed->song_frame) << " ms, the slider said "
        << ms_of_frames(target) << " ms";
    std::cout << "[ info ] the click reached the capture "
              << ms_of_frames(resumed->capture_frame) - ms_of_frames(clicked_at)
              << " ms after the release; the song went on at " << ms_of_frames(resumed->song_frame)
              << " ms of " << length_ms_ << "\n";
}

TEST_P(SliderSeek, AClickNearTheEndPlaysTheRestBeforeStartingOver) {
    Player player(*x_, {file_.string()}, "wav:" + recording_.string());
    ASSERT_TRUE(recorded_until(frames_of_ms(1500))) << "the capture did not grow";
    std::size_t target = 0;
    const int pixel = kTrackPixels - 14; // about a second before the end
    const std::size_t clicked_at = click_slider(player, pixel, target);
    const std::size_t rest = reference_.size() - target;
    ASSERT_TRUE(recorded_until(clicked_at + rest + frames_of_ms(1500)));
    const Recording r = read_recording(recording_);
    const auto resumed = resumed_after(r.mono, clicked_at);
    ASSERT_TRUE(resumed.has_value());
    EXPECT_EQ(resumed->song_frame, target);
    // The rest plays to its end, sample for sample; then the list (of this one song) starts
    // over from the top.
    const std::span<const float> all(r.mono);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < rest; ++i)
        if (std::fabs(all[resumed->capture_frame + i] - reference_[target + i]) > 4.0F)
            ++differing;
    EXPECT_EQ(differing, 0U) << "the rest of the song did not play as the decoder renders it";
    const std::size_t end_at = resumed->capture_frame + rest;
    const std::optional<std::size_t> again =
        find_stretch(all, end_at, end_at + frames_of_ms(1000), 0, frames_of_ms(20));
    ASSERT_TRUE(again.has_value()) << "the song did not start over within a second of its end";
    std::cout << "[ info ] the song started over " << ms_of_frames(*again - end_at)
              << " ms after its end\n";
}

INSTANTIATE_TEST_SUITE_P(Rates, SliderSeek, ::testing::Values(44100, 22050),
                         [](const auto& info) { return std::to_string(info.param) + "Hz"; });

} // namespace
} // namespace vd::e2e
