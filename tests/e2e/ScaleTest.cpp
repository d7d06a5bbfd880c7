// On a large screen the whole window is drawn at a whole multiple, pixel for pixel: at
// VODEZARU_SCALE=2 the window, its shape and its buttons are all twice the size, and the skin's
// pixels are doubled, never smoothed.
#include "tests/e2e/support/Image.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Process.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <cstdlib>
#include <fstream>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kFuchsia = 0xFF00FF;
constexpr int kScale = 2;

class Scaled : public WindowTest<> {
protected:
    void SetUp() override {
        WindowTest<>::SetUp();
        if (IsSkipped())
            return;
        // At the screen's corner the doubled window fits on the virtual screen whole.
        std::ofstream(settings_file()) << "[Config]\r\nLeft=0\r\nTop=0\r\n";
        ::setenv("VODEZARU_SCALE", std::to_string(kScale).c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VODEZARU_SCALE");
        WindowTest<>::TearDown();
    }

    // Loudness of the last half second recorded.
    double recent_loudness() {
        const Recording r = read_recording(recording_);
        const std::size_t span = frames_of_ms(500);
        if (r.frames() < span)
            return 0.0;
        return test::rms(std::span<const float>(r.mono).subspan(r.frames() - span, span));
    }
};

TEST_F(Scaled, TheWindowItsShapeAndItsPixelsAreDoubled) {
    Player player(*x_, {}, "null");
    const WindowInfo w = player.window();
    EXPECT_EQ(w.width, kWindowWidth * kScale);
    EXPECT_EQ(w.height, kWindowHeight * kScale);
    ASSERT_EQ(w.width, 1036);
    ASSERT_EQ(w.height, 850);

    const Image skin = read_bmp24(source_dir() / "resources/skin/playerSkin.bmp");
    std::vector<ShapeRect> rects;
    ASSERT_TRUE(wait_until(
        [&] {
            rects = x_->bounding_shape(w.id);
            return rects.size() > 1;
        },
        2s));
    std::vector<std::uint8_t> shaped(static_cast<std::size_t>(w.width * w.height), 0);
    for (const ShapeRect& r : rects)
        for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, w.height); ++y)
            for (int x = std::max(r.x, 0); x < std::min(r.x + r.width, w.width); ++x)
                shaped[static_cast<std::size_t>(y * w.width + x)] = 1;
    std::size_t wrong = 0;
    for (int y = 0; y < w.height; ++y)
        for (int x = 0; x < w.width; ++x) {
            const bool opaque = skin.at(x / kScale, y / kScale) != kFuchsia;
            wrong += opaque != (shaped[static_cast<std::size_t>(y * w.width + x)] != 0);
        }
    EXPECT_EQ(wrong, 0U) << "pixels where the shape is not the skin's shape doubled";

    // Every skin pixel shows as a 2 x 2 block of one colour: nothing is smoothed.
    const Image face = x_->grab(w.x, w.y, w.width, w.height);
    std::size_t blended = 0;
    std::size_t blocks = 0;
    for (int y = 0; y + 1 < w.height; y += kScale)
        for (int x = 0; x + 1 < w.width; x += kScale) {
            if (skin.at(x / kScale, y / kScale) == kFuchsia)
                continue;
            ++blocks;
            const std::uint32_t c = face.at(x, y);
            blended +=
                face.at(x + 1, y) != c || face.at(x, y + 1) != c || face.at(x + 1, y + 1) != c;
        }
    EXPECT_GT(blocks, 100000U);
    EXPECT_EQ(blended, 0U) << "of " << blocks << " skin pixels were not drawn as whole blocks";
}

TEST_F(Scaled, TheButtonsAnswerAtTheirDoubledPlaces) {
    const std::filesystem::path song = *scratch_ / "tone.wav";
    test::write_wave(song, SF_FORMAT_PCM_16, 44100, 2, test::tones(44100 * 20, 2, 44100, 440.0));
    Player player(*x_, {song.string()}, "wav:" + recording_.string());
    ASSERT_TRUE(wait_until([&] { return recent_loudness() > 1000.0; }, 10s)) << "it did not play";

    const auto [stop_x, stop_y] = player.screen_point((81 + 11) * kScale, (195 + 7) * kScale);
    xdo::move_to(stop_x, stop_y);
    xdo::click(1);
    ASSERT_TRUE(wait_until([&] { return recent_loudness() < 10.0; }, 5s))
        << "a click on the doubled StopBtn did not stop";

    const auto [play_x, play_y] = player.screen_point((37 + 10) * kScale, (195 + 7) * kScale);
    xdo::move_to(play_x, play_y);
    xdo::click(1);
    EXPECT_TRUE(wait_until([&] { return recent_loudness() > 1000.0; }, 5s))
        << "a click on the doubled PlayBtn did not play";
}

// The desktop tells its scale through Xft.dpi (96 is 100 %); the window takes it rounded down.
TEST_F(Scaled, WithoutTheVariableTheScreensFactorRoundedDown) {
    ::unsetenv("VODEZARU_SCALE");
    std::filesystem::remove(settings_file());
    struct Case {
        int dpi;
        int scale;
    };
    for (const Case c : {Case{144, 1}, Case{192, 2}, Case{240, 2}}) {
        ASSERT_EQ(run_program({"xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                               "RESOURCE_MANAGER", "Xft.dpi:\t" + std::to_string(c.dpi) + "\n"},
                              5s),
                  0);
        Player player(*x_, {}, "null");
        EXPECT_EQ(player.window().width, kWindowWidth * c.scale) << "at " << c.dpi << " dpi";
        EXPECT_EQ(player.window().height, kWindowHeight * c.scale) << "at " << c.dpi << " dpi";
    }
    (void)run_program({"xprop", "-root", "-remove", "RESOURCE_MANAGER"}, 5s);
}

} // namespace
} // namespace vd::e2e
