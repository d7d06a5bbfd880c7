// The format lamps beside the position display, read back from the window: the lamp of the kind
// that plays is lit (a module, a MIDI sequence, wave audio, MPEG audio), all are dark at start and
// after Stop.
#include "tests/e2e/support/Image.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
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

// Where the lamps lie in the window, and the lit pictures: one under another, MOD, MIDI, MPEG,
// WAVE, each as large as the lamps.
constexpr int kLampsLeft = 186;
constexpr int kLampsTop = 109;
constexpr int kLampsWidth = 92;
constexpr int kLampsHeight = 11;
enum class Lamp { mod = 0, midi = 1, mpeg = 2, wave = 3 };

// The middle of the Stop button.
constexpr int kStopX = 81 + 11;
constexpr int kStopY = 195 + 7;

[[nodiscard]] Image lit_picture(Lamp lamp) {
    return read_bmp24(source_dir() / "resources/skin/lamps.bmp")
        .crop(0, static_cast<int>(lamp) * kLampsHeight, kLampsWidth, kLampsHeight);
}

[[nodiscard]] Image dark_picture() {
    return read_bmp24(source_dir() / "resources/skin/playerSkin.bmp")
        .crop(kLampsLeft, kLampsTop, kLampsWidth, kLampsHeight);
}

class Lamps : public WindowTest<> {
protected:
    [[nodiscard]] Image lamps(Player& player) {
        const auto [x, y] = player.screen_point(kLampsLeft, kLampsTop);
        return x_->grab(x, y, kLampsWidth, kLampsHeight);
    }

    // Waits for the lamps to show `want`; on failure keeps a picture of the window.
    void ExpectLamps(Player& player, const Image& want, const std::string& what) {
        ImageDifference diff;
        const bool shown = wait_until(
            [&] {
                diff = compare(lamps(player), want);
                return diff.count == 0;
            },
            5s);
        EXPECT_TRUE(shown) << what << ": " << diff.count << " pixels differ, first " << diff.first;
        if (!shown)
            KeepWindow(player,
                       "lamps-failed-" +
                           std::to_string(
                               ::testing::UnitTest::GetInstance()->current_test_info()->line()));
    }

    void KeepWindow(Player& player, const std::string& name) {
        const WindowInfo w = player.window();
        write_ppm(x_->grab(w.x, w.y, w.width, w.height), artifacts_dir() / (name + ".ppm"));
    }

    // Plays `file` from the command line: its lamp alone lights, and Stop puts it out.
    void ExpectLampWhilePlaying(const std::filesystem::path& file, Lamp lamp,
                                const std::string& picture_name) {
        Player player(*x_, {file.string()}, "null");
        ExpectLamps(player, lit_picture(lamp), file.filename().string() + " playing");
        KeepWindow(player, picture_name);
        const auto [sx, sy] = player.screen_point(kStopX, kStopY);
        xdo::move_to(sx, sy);
        xdo::click(1);
        ExpectLamps(player, dark_picture(), file.filename().string() + " after Stop");
        EXPECT_TRUE(player.process().running());
    }
};

TEST_F(Lamps, AllAreDarkWhenNothingPlays) {
    Player player(*x_, {}, "null");
    ExpectLamps(player, dark_picture(), "at start");
}

TEST_F(Lamps, AModuleLightsMod) {
    const auto file = *scratch_ / "lamp song.mod";
    modwriter::save_mod(rhythm_song("Lamp Song", 7), file.string());
    ExpectLampWhilePlaying(file, Lamp::mod, "lamps-module");
}

TEST_F(Lamps, AMidiSequenceLightsMidi) {
    test::SmfBuilder smf(0, 480);
    auto& track = smf.track();
    track.tempo(0, 500000);
    track.event(0, {0xC0, 0});
    for (int i = 0; i < 10; ++i) {
        track.event(0, {0x90, static_cast<uint8_t>(60 + i), 100});
        track.event(480, {0x80, static_cast<uint8_t>(60 + i), 0});
    }
    track.end(0);
    const auto file = *scratch_ / "lamp tune.mid";
    test::write_file(file, smf.bytes());
    ExpectLampWhilePlaying(file, Lamp::midi, "lamps-midi");
}

TEST_F(Lamps, WaveAudioLightsWave) {
    const auto file = *scratch_ / "lamp tone.wav";
    test::write_wave(file, SF_FORMAT_PCM_16, 22050, 1, test::tones(22050 * 5, 1, 22050, 330.0));
    ExpectLampWhilePlaying(file, Lamp::wave, "lamps-wave");
}

TEST_F(Lamps, MpegAudioLightsMpeg) {
    const auto file = *scratch_ / "lamp tone.mp3";
    test::write_file(
        file,
        test::encode_mp3(test::tones(44100 * 5, 2, 44100, 440.0), 2, 44100, false, true).bytes);
    ExpectLampWhilePlaying(file, Lamp::mpeg, "lamps-mpeg");
}

} // namespace
} // namespace vd::e2e
