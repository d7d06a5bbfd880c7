// Files that cannot be played do not leave the player stuck: each failure is one message box,
// after which Next plays the next entry and the end of a song moves on past the bad entry; Pause
// pauses after a track change; a double-click below the last entry does nothing.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <thread>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

// The transport buttons' row, and the left edges of Pause and Next (each about 23 wide).
constexpr int kButtonsMiddle = 195 + 7;
constexpr int kPauseMiddle = 58 + 11;
constexpr int kNextMiddle = 103 + 11;

// Pitches of the good entries, far enough apart to tell which one sounds.
constexpr double kModuleHz = 259.0; // "C-2" of the test songs
constexpr double kHighModuleHz = 518.0;
constexpr double kWaveHz = 700.0;
constexpr double kLaterHz = 400.0;

[[nodiscard]] bool near_hz(double measured, double expected) {
    return std::fabs(measured - expected) < expected * 0.08;
}

class Recovery : public WindowTest<> {
protected:
    // A MIDI file whose header chunk breaks off after its length.
    [[nodiscard]] std::filesystem::path corrupt_midi(const std::string& name) {
        const auto path = *scratch_ / name;
        test::write_file(path, test::Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0});
        return path;
    }
    // Random bytes named like a module.
    [[nodiscard]] std::filesystem::path noise(const std::string& name) {
        std::mt19937 random(11);
        test::Bytes bytes(4096);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        const auto path = *scratch_ / name;
        test::write_file(path, bytes);
        return path;
    }
    // One held note; speed 4 at tempo 125 makes the song 4.9 s long, speed 2 at 150 2 s.
    [[nodiscard]] std::filesystem::path module(const std::string& name, const std::string& note,
                                               int speed = 4, int tempo = 125) {
        const auto path = *scratch_ / name;
        modwriter::save_mod(tone_song(name, note, speed, tempo), path);
        return path;
    }
    [[nodiscard]] std::filesystem::path wave(const std::string& name, int ms) {
        const auto path = *scratch_ / name;
        test::write_wave(
            path, SF_FORMAT_PCM_16, 44100, 1,
            test::tones(static_cast<std::size_t>(44100) * ms / 1000, 1, 44100, kWaveHz));
        return path;
    }
    [[nodiscard]] std::filesystem::path playlist(const std::vector<std::filesystem::path>& files) {
        const auto list = *scratch_ / "list.pvl";
        std::ofstream out(list, std::ios::binary);
        for (const auto& file : files)
            out << file.string() << "\r\n";
        return list;
    }

    void click_at(Player& player, int x, int y) {
        const auto [sx, sy] = player.screen_point(x, y);
        xdo::move_to(sx, sy);
        xdo::click(1);
    }
    void double_click_row(Player& player, int row) {
        const auto [sx, sy] = player.screen_point(kListLeft + 40, kListTop + row * kRowHeight + 7);
        xdo::move_to(sx, sy);
        xdo::double_click(1);
    }

    [[nodiscard]] bool box_shown() {
        return x_->find_viewable("VO Dezaru", XDisplay::Match::whole).has_value();
    }
    // Waits for the player's message box and answers it with the Return key.
    [[nodiscard]] bool answer_box() {
        if (!wait_until([&] { return box_shown(); }, 5s))
            return false;
        std::this_thread::sleep_for(200ms); // let it take the keyboard
        xdo::key("Return");
        return wait_until([&] { return !box_shown(); }, 5s);
    }

    // The pitch and loudness of the sound from 300 ms to 800 ms after the capture frame `from`.
    struct Heard {
        double hz = 0;
        double level = 0;
    };
    [[nodiscard]] Heard heard_after(std::size_t from) {
        if (!wait_until([&] { return recorded_frames(recording_) >= from + frames_of_ms(800); },
                        10s))
            return {};
        const Recording r = read_recording(recording_);
        const auto part =
            std::span<const float>(r.mono).subspan(from + frames_of_ms(300), frames_of_ms(500));
        return {frequency_hz(part, kRateHz), rms(part)};
    }
};

TEST_F(Recovery, AfterEachFailureNextPlaysTheNextEntry) {
    const auto list = playlist({corrupt_midi("broken.mid"), module("good.mod", "C-2"),
                                noise("noise.mod"), wave("good.wav", 5000)});
    Player player(*x_, {list.string()}, "wav:" + recording_.string());

    click_at(player, kNextMiddle, kButtonsMiddle); // the damaged MIDI file
    ASSERT_TRUE(answer_box()) << "no message box (or it did not close) for the damaged MIDI file";
    click_at(player, kNextMiddle, kButtonsMiddle);
    Heard heard = heard_after(recorded_frames(recording_));
    EXPECT_TRUE(near_hz(heard.hz, kModuleHz) && heard.level > 300)
        << "after the MIDI file's error, Next played " << heard.hz << " Hz at " << heard.level;
    EXPECT_FALSE(box_shown());

    click_at(player, kNextMiddle, kButtonsMiddle); // random bytes named .mod
    ASSERT_TRUE(answer_box()) << "no message box for a module that cannot be loaded";
    click_at(player, kNextMiddle, kButtonsMiddle);
    heard = heard_after(recorded_frames(recording_));
    EXPECT_TRUE(near_hz(heard.hz, kWaveHz) && heard.level > 300)
        << "after the module's error, Next played " << heard.hz << " Hz at " << heard.level;
    EXPECT_FALSE(box_shown());
    EXPECT_TRUE(player.process().running());
}

TEST_F(Recovery, TheEndOfASongMovesPastAnEntryThatFails) {
    const auto list = playlist(
        {module("short.mod", "C-2", 2, 150), noise("noise.mod"), module("after.mod", "C-3")});
    Player player(*x_, {list.string()}, "wav:" + recording_.string());
    double_click_row(player, 0);
    const std::size_t started = recorded_frames(recording_);
    const Heard first = heard_after(started);
    EXPECT_TRUE(near_hz(first.hz, kModuleHz)) << "the first entry sounds at " << first.hz << " Hz";
    // The 2 s song ends: one box for the bad entry.
    ASSERT_TRUE(answer_box()) << "no message box for the entry after the song's end";
    const Heard next = heard_after(recorded_frames(recording_));
    EXPECT_TRUE(near_hz(next.hz, kHighModuleHz) && next.level > 300)
        << "after the message the third entry should play: heard " << next.hz << " Hz at "
        << next.level;
    // One box only: none follows while the third entry plays.
    EXPECT_FALSE(wait_until([&] { return box_shown(); }, 1500ms)) << "a second message box";
    EXPECT_TRUE(player.process().running());
}

TEST_F(Recovery, PauseAfterATrackChangePausesAtOnce) {
    const auto list = playlist({wave("one.wav", 8000), module("two.mod", "C-2")});
    Player player(*x_, {list.string()}, "wav:" + recording_.string());
    double_click_row(player, 0);
    Heard heard = heard_after(recorded_frames(recording_));
    ASSERT_TRUE(near_hz(heard.hz, kWaveHz)) << "the wave file did not play: " << heard.hz;
    click_at(player, kPauseMiddle, kButtonsMiddle);
    heard = heard_after(recorded_frames(recording_));
    EXPECT_LT(heard.level, 50) << "Pause did not pause the wave file";
    // Paused, then Next, then back: each time the first press of Pause pauses.
    click_at(player, kNextMiddle, kButtonsMiddle);
    heard = heard_after(recorded_frames(recording_));
    EXPECT_TRUE(near_hz(heard.hz, kModuleHz)) << "Next played " << heard.hz << " Hz";
    click_at(player, kNextMiddle, kButtonsMiddle); // wraps to the wave file
    heard = heard_after(recorded_frames(recording_));
    EXPECT_TRUE(near_hz(heard.hz, kWaveHz)) << "Next played " << heard.hz << " Hz";
    click_at(player, kPauseMiddle, kButtonsMiddle);
    heard = heard_after(recorded_frames(recording_));
    EXPECT_LT(heard.level, 50) << "the first Pause after the track change did not pause";
    click_at(player, kPauseMiddle, kButtonsMiddle);
    heard = heard_after(recorded_frames(recording_));
    EXPECT_TRUE(near_hz(heard.hz, kWaveHz) && heard.level > 300)
        << "the second Pause did not resume: " << heard.hz << " Hz at " << heard.level;
}

TEST_F(Recovery, ADoubleClickBelowTheLastEntryDoesNothing) {
    // One second at one pitch, then another: a restart would bring the first pitch back.
    std::vector<float> samples = test::tones(frames_of_ms(1000), 1, kRateHz, kWaveHz);
    const std::vector<float> later = test::tones(frames_of_ms(8000), 1, kRateHz, kLaterHz);
    samples.insert(samples.end(), later.begin(), later.end());
    const auto steps = *scratch_ / "steps.wav";
    test::write_wave(steps, SF_FORMAT_PCM_16, kRateHz, 1, samples);
    const auto list = playlist({steps});
    Player player(*x_, {list.string()}, "wav:" + recording_.string());
    double_click_row(player, 0);
    const std::size_t started = recorded_frames(recording_);
    Heard heard = heard_after(started);
    ASSERT_TRUE(near_hz(heard.hz, kWaveHz)) << "the entry did not play: " << heard.hz;
    ASSERT_TRUE(wait_until(
        [&] { return recorded_frames(recording_) >= started + frames_of_ms(1800); }, 10s));
    double_click_row(player, 3);
    EXPECT_FALSE(wait_until([&] { return box_shown(); }, 1s))
        << "a double-click where no entry is showed a message";
    heard = heard_after(started + frames_of_ms(1800));
    EXPECT_TRUE(near_hz(heard.hz, kLaterHz) && heard.level > 300)
        << "the file was stopped or started again: " << heard.hz << " Hz at " << heard.level;
    EXPECT_TRUE(player.process().running());
}

} // namespace
} // namespace vd::e2e
