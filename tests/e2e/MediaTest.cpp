// MIDI, wave and MPEG audio files named on the command line play audibly through the media
// devices; a file that cannot be opened is reported in a message box titled "VO Dezaru".
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Process.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <cstdlib>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

class MediaPlayback : public WindowTest<> {
protected:
    // Plays `file` from the command line and expects sound in the recording's second second.
    void ExpectAudible(const std::filesystem::path& file) {
        Player player(*x_, {file.string()}, "wav:" + recording_.string());
        ASSERT_TRUE(
            wait_until([&] { return recorded_frames(recording_) >= frames_of_ms(2000); }, 10s))
            << "the recording did not grow while " << file.filename() << " played";
        const Recording r = read_recording(recording_);
        const std::span<const float> all(r.mono);
        EXPECT_GT(rms(all.subspan(frames_of_ms(1000), frames_of_ms(800))), 300.0)
            << file.filename() << " played silently";
        EXPECT_TRUE(player.process().running());
    }
};

TEST_F(MediaPlayback, AMidiSequencePlays) {
    test::SmfBuilder smf(0, 480);
    auto& track = smf.track();
    track.tempo(0, 500000);
    track.event(0, {0xC0, 80}); // a square lead: loud and steady
    for (int i = 0; i < 8; ++i) {
        track.event(0, {0x90, static_cast<uint8_t>(60 + i), 120});
        track.event(480, {0x80, static_cast<uint8_t>(60 + i), 0});
    }
    track.end(0);
    const auto file = *scratch_ / "tune.mid";
    test::write_file(file, smf.bytes());
    ExpectAudible(file);
}

TEST_F(MediaPlayback, AWaveFilePlays) {
    const auto file = *scratch_ / "tone.wav";
    test::write_wave(file, SF_FORMAT_PCM_16, 22050, 1, test::tones(22050 * 4, 1, 22050, 330.0));
    ExpectAudible(file);
}

TEST_F(MediaPlayback, AnMp3FilePlays) {
    const auto file = *scratch_ / "tone.mp3";
    test::write_file(
        file,
        test::encode_mp3(test::tones(44100 * 4, 2, 44100, 440.0), 2, 44100, false, true).bytes);
    ExpectAudible(file);
}

TEST_F(MediaPlayback, AnMpegFileOfASingleFramePlaysIt) {
    // 24 ms of a 250 Hz tone in one layer II frame: it opens without a box (the window would
    // show only after one) and its tone comes out as long as the frame lasts (and again each
    // time the list of this one entry starts over).
    const auto file = *scratch_ / "blip.mp2";
    test::write_file(file, test::layer2_tone(1));
    Player player(*x_, {file.string()}, "wav:" + recording_.string());
    ASSERT_TRUE(wait_until([&] { return recorded_frames(recording_) >= frames_of_ms(1000); }, 10s));
    const Recording r = read_recording(recording_);
    const std::span<const float> all(r.mono);
    const auto first = first_sound(all);
    ASSERT_TRUE(first.has_value()) << "the frame played silently";
    EXPECT_GT(rms(all.subspan(*first, frames_of_ms(20))), 2000.0);
    EXPECT_FALSE(last_sound(all.subspan(*first + frames_of_ms(30), frames_of_ms(50))).has_value())
        << "more than one frame's time of sound";
    EXPECT_TRUE(player.process().running());
}

TEST_F(MediaPlayback, AFileThatCannotBeOpenedShowsItsErrorInABox) {
    // The start-up plays the file before the window shows: the box comes first, the window after.
    ChildProcess player(player_program().string(), {(*scratch_ / "absent.wav").string()},
                        {"VODEZARU_AUDIO_OUT=null"});
    EXPECT_TRUE(wait_until(
        [&] { return x_->find_viewable("VO Dezaru", XDisplay::Match::whole).has_value(); }, 10s))
        << "no message box titled \"VO Dezaru\" for a file that is not there";
    xdo::key("Return");
    EXPECT_TRUE(wait_until(
        [&] { return x_->find_viewable("Velora", XDisplay::Match::part).has_value(); }, 10s))
        << "the window did not open after the error";
    EXPECT_TRUE(player.running());
}

} // namespace
} // namespace vd::e2e
