// A module named on the command line plays at once; what the player sends to its output is what
// libopenmpt renders from the same file, and the transport buttons pause, resume and stop it.
#include "tests/e2e/support/Click.h"
#include "tests/e2e/support/Image.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sys/wait.h>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

// Transport buttons: position in the window and the row of their images in "2. buttons.bmp".
struct Button {
    int left;
    int top;
    int width;
    int height;
    int strip_top;
};
constexpr Button kPauseBtn{58, 195, 23, 14, 48};
constexpr Button kStopBtn{81, 195, 22, 14, 64};

// The player must fall silent within this time of a Pause or Stop click.
constexpr std::size_t kReactionFrames = frames_of_ms(100);

// libopenmpt's own rendering of `file` at the player's rate, the two channels averaged, in 16-bit
// units.
[[nodiscard]] std::vector<float> reference_rendering(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    openmpt::module module(in);
    std::vector<float> stereo(static_cast<std::size_t>(kRateHz) * 2);
    std::vector<float> mono;
    for (;;) {
        const std::size_t frames =
            module.read_interleaved_stereo(kRateHz, stereo.size() / 2, stereo.data());
        if (frames == 0)
            break;
        for (std::size_t i = 0; i < frames; ++i)
            mono.push_back((stereo[2 * i] + stereo[2 * i + 1]) / 2.0f * 32767.0f);
    }
    return mono;
}

class ModulePlayback : public WindowTest<> {
protected:
    void SetUp() override {
        WindowTest<>::SetUp();
        if (IsSkipped())
            return;
        song_ = *scratch_ / "probe.mod";
        modwriter::save_mod(rhythm_song("Playback Probe", 20240611), song_);
    }

    // Points at a transport button and waits until it shows its hot image, so the next click
    // is taken as a click (the button needs the pointer over it before the press).
    void hover(Player& player, const Button& b) {
        const auto [sx, sy] = player.screen_point(b.left + b.width / 2, b.top + b.height / 2);
        xdo::move_to(sx, sy);
        const Image hot = read_bmp24(source_dir() / "resources/skin/2. buttons.bmp")
                              .crop(4 * b.width, b.strip_top, b.width, b.height);
        const bool shown = wait_until(
            [&] {
                return compare(x_->grab(sx - b.width / 2, sy - b.height / 2, b.width, b.height),
                               hot)
                           .count == 0;
            },
            2s);
        ASSERT_TRUE(shown) << "the button at " << b.left << "," << b.top
                           << " did not light up under the pointer";
    }

    [[nodiscard]] std::size_t click_at_frame() { return e2e::click_at_frame(*x_, recording_); }

    // Checks that the capture falls silent within kReactionFrames of `clicked_at` and stays so
    // for the next 500 ms, having played in the 300 ms before.
    void expect_silenced_at(std::size_t clicked_at, const std::string& what) {
        ASSERT_TRUE(recorded_until(clicked_at + frames_of_ms(600)));
        const Recording r = read_recording(recording_);
        const std::span<const float> all(r.mono);
        const std::size_t from = clicked_at - frames_of_ms(300);
        ASSERT_GT(rms(all.subspan(from, frames_of_ms(300))), 300.0)
            << "nothing played before " << what;
        const std::optional<std::size_t> last = last_sound(all.subspan(from, frames_of_ms(900)));
        ASSERT_TRUE(last.has_value());
        const std::size_t last_at = from + *last;
        EXPECT_LE(last_at, clicked_at + kReactionFrames)
            << "sound went on " << ms_of_frames(last_at - clicked_at) << " ms after the " << what
            << " click";
        std::cout << "[ info ] " << what << ": last sound "
                  << (last_at >= clicked_at ? ms_of_frames(last_at - clicked_at)
                                            : -ms_of_frames(clicked_at - last_at))
                  << " ms after the click\n";
    }

    std::filesystem::path song_;
};

TEST_F(ModulePlayback, CommandLineModuleSoundsAsLibopenmptRendersIt) {
    Player player(*x_, {song_.string()}, "wav:" + recording_.string());
    ASSERT_TRUE(recorded_until(frames_of_ms(2200))) << "the capture did not grow to 2.2 s";
    const Recording r = read_recording(recording_);
    const std::span<const float> last_second =
        std::span<const float>(r.mono).subspan(r.frames() - frames_of_ms(1000));
    ASSERT_GT(rms(last_second), 300.0) << "the player is silent 2 s after starting a module";

    const std::vector<float> reference = reference_rendering(song_);
    ASSERT_GT(reference.size(), frames_of_ms(8000));
    const Alignment a = align(last_second, reference);
    EXPECT_GT(a.envelope_correlation, 0.95)
        << "the recording's loudness does not follow libopenmpt's rendering (best at "
        << ms_of_frames(a.offset) << " ms into the song)";
    EXPECT_GT(a.waveform_correlation, 0.95)
        << "the waveform differs from libopenmpt's at " << ms_of_frames(a.offset) << " ms";
    EXPECT_NEAR(a.level_ratio, 1.0, 0.1) << "the player changes the loudness";
    // The last second of a capture 2.2 s long cannot lie further into the song than 1.2 s.
    EXPECT_LE(ms_of_frames(a.offset), 1300.0);
    std::cout << "[ info ] recording matches the song at " << ms_of_frames(a.offset)
              << " ms: envelope r=" << a.envelope_correlation
              << ", waveform r=" << a.waveform_correlation << ", level " << a.level_ratio << "\n";
}

TEST_F(ModulePlayback, PauseSilencesAndResumesWhereItStoppedThenStopSilences) {
    Player player(*x_, {song_.string()}, "wav:" + recording_.string());
    ASSERT_TRUE(recorded_until(frames_of_ms(1500)));
    hover(player, kPauseBtn);

    const std::size_t paused_at = click_at_frame();
    expect_silenced_at(paused_at, "Pause");
    if (HasFatalFailure())
        return;

    // Where the song stood when it paused: the capture follows libopenmpt's rendering sample for
    // sample up to the pause and is silent where the rendering goes on.
    const std::vector<float> reference = reference_rendering(song_);
    std::size_t song_at_pause = 0;
    {
        const Recording r = read_recording(recording_);
        const std::span<const float> all(r.mono);
        const std::size_t probe_start = paused_at - frames_of_ms(500);
        const Alignment before = align(all.subspan(probe_start, frames_of_ms(400)), reference);
        ASSERT_GT(before.waveform_correlation, 0.99)
            << "the sound before Pause is not the song as libopenmpt renders it";
        std::size_t k = probe_start;
        while (k < paused_at + frames_of_ms(500) &&
               std::fabs(all[k] - reference[before.offset + (k - probe_start)]) <= kSilence)
            ++k;
        song_at_pause = before.offset + (k - probe_start);
    }

    // A second click resumes: the song goes on from where it paused, not from its start.
    const std::size_t resumed_at = click_at_frame();
    ASSERT_TRUE(recorded_until(resumed_at + frames_of_ms(700)));
    {
        const Recording r = read_recording(recording_);
        const std::span<const float> all(r.mono);
        const std::optional<std::size_t> back = first_sound(all.subspan(resumed_at));
        ASSERT_TRUE(back.has_value()) << "a second Pause click did not resume playback";
        // The pause may have fallen on one of the song's silent rows (40 ms).
        EXPECT_LE(*back, kReactionFrames + frames_of_ms(40))
            << "sound came back " << ms_of_frames(*back) << " ms after the click";
        const Alignment after =
            align(all.subspan(resumed_at + *back, frames_of_ms(500)), reference);
        EXPECT_GT(after.waveform_correlation, 0.99)
            << "the sound after resuming is not the song as libopenmpt renders it";
        EXPECT_NEAR(ms_of_frames(after.offset), ms_of_frames(song_at_pause), 10.0)
            << "playback did not resume where it paused";
    }

    // Stop.
    hover(player, kStopBtn);
    ASSERT_TRUE(recorded_until(resumed_at + frames_of_ms(1000)));
    const std::size_t stopped_at = click_at_frame();
    expect_silenced_at(stopped_at, "Stop");
}

} // namespace
} // namespace vd::e2e
