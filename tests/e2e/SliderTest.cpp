// The position slider's thumb dragged with the mouse while a module plays: while it is held it
// stays under the pointer (the position refresh does not pull it back to playback), nothing seeks
// until the release, and the release continues the song at the order where the thumb was let go.
#include "tests/e2e/support/Image.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"
#include "tools/modwriter/ModWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;
namespace fx = modwriter::effect;

// The thumb within the slider (the left half of "3. thumb.bmp") and its travel.
constexpr int kThumbHeight = 6;
constexpr int kThumbTop = 1;
constexpr int kTrackLength = kSliderWidth - kThumbWidth;

// Four orders, each one held note of its own pitch (square wave, 7093789.2 / (2 * period) / 32
// Hz), so the pitch tells which order plays. Speed 4 at tempo 125: 80 ms a row, 5.12 s an order.
constexpr int kOrders = 4;
constexpr std::array<const char*, kOrders> kNotes = {"C-1", "C-2", "C-3", "G-2"};
constexpr std::array<double, kOrders> kPitchesHz = {129.5, 259.0, 518.0, 388.0};

[[nodiscard]] modwriter::Module order_song() {
    modwriter::Module m;
    m.title = "Slider Probe";
    modwriter::Sample square;
    square.name = "square";
    square.data.resize(64);
    for (std::size_t i = 0; i < square.data.size(); ++i)
        square.data[i] = i % 32 < 16 ? 100 : -100;
    square.loop_length = square.data.size();
    m.samples.push_back(square);
    for (int order = 0; order < kOrders; ++order) {
        modwriter::Pattern p{};
        p[0][0] = {modwriter::period_of(modwriter::note(kNotes[order])), 1, 0, 0};
        if (order == 0) {
            p[0][1] = {0, 0, fx::kSpeed, 4};
            p[0][2] = {0, 0, fx::kSpeed, 125};
        }
        m.patterns.push_back(p);
        m.orders.push_back(static_cast<std::uint8_t>(order));
    }
    return m;
}

// Which order's pitch `hz` is, or -1.
[[nodiscard]] int order_of_pitch(double hz) {
    for (std::size_t i = 0; i < kPitchesHz.size(); ++i)
        if (std::fabs(hz - kPitchesHz[i]) < kPitchesHz[i] * 0.05)
            return static_cast<int>(i);
    return -1;
}

// The thumb's left edge for `order` of kOrders (the slider's maximum is the number of orders),
// rounded as the slider rounds.
[[nodiscard]] int thumb_left_of(int order) {
    return static_cast<int>(std::lrint(kTrackLength * order / static_cast<double>(kOrders)));
}

class SliderDrag : public WindowTest<> {
protected:
    void SetUp() override {
        WindowTest<>::SetUp();
        if (IsSkipped())
            return;
        song_ = *scratch_ / "orders.mod";
        modwriter::save_mod(order_song(), song_);
        thumb_ = read_bmp24(source_dir() / "resources/skin/3. thumb.bmp")
                     .crop(0, 0, kThumbWidth, kThumbHeight);
    }

    // The order whose pitch sounds from 250 ms to 550 ms after `from` (a frame of the capture).
    [[nodiscard]] int order_playing_after(std::size_t from, double& hz) {
        if (!recorded_until(from + frames_of_ms(600)))
            return -2;
        hz = pitch_after(from);
        return order_of_pitch(hz);
    }

    // Where the screen shows the thumb's left edge in the slider (its opaque pixels all match),
    // or nothing.
    [[nodiscard]] std::optional<int> shown_thumb_left(Player& player) {
        const auto [sx, sy] = player.screen_point(kSliderLeft, kSliderTop);
        const Image slider = x_->grab(sx, sy, kSliderWidth, kSliderHeight);
        for (int left = 0; left <= kTrackLength; ++left) {
            bool all = true;
            for (int y = 0; y < kThumbHeight && all; ++y)
                for (int x = 0; x < kThumbWidth && all; ++x)
                    all = thumb_.at(x, y) == kFuchsia ||
                          slider.at(left + x, kThumbTop + y) == thumb_.at(x, y);
            if (all)
                return left;
        }
        write_ppm(slider, artifacts_dir() / "slider-no-thumb.ppm");
        return std::nullopt;
    }

    // The screen point over the slider where the pointer holds the thumb at `thumb_left` by its
    // middle.
    [[nodiscard]] std::pair<int, int> grip(Player& player, int thumb_left) {
        return player.screen_point(kSliderLeft + thumb_left + kThumbWidth / 2,
                                   kSliderTop + kThumbTop + kThumbHeight / 2);
    }

    std::filesystem::path song_;
    Image thumb_;
};

TEST_F(SliderDrag, ADraggedThumbStaysWhereItIsHeldAndSeeksWhereItIsReleased) {
    Player player(*x_, {song_.string()}, "wav:" + recording_.string());
    // Past the first position refresh, which gives the slider its maximum (the 4 orders).
    ASSERT_TRUE(recorded_until(frames_of_ms(500)));
    ASSERT_EQ(shown_thumb_left(player), 0) << "the thumb is not at the start of the track";

    const auto [px, py] = grip(player, 0);
    xdo::move_to(px, py);
    xdo::press(1);
    const std::size_t pressed_at = recorded_frames(recording_);
    // Across the track in a few steps to the third order, as a hand moves.
    const int target = thumb_left_of(2);
    for (int step = 1; step <= 4; ++step) {
        const auto [mx, my] = grip(player, target * step / 4);
        xdo::move_to(mx, my);
    }
    // Held there for more than two refreshes of the position (250 ms each): the thumb stays
    // under the pointer and the song goes on in its first order.
    std::this_thread::sleep_for(700ms);
    const std::optional<int> held_left = shown_thumb_left(player);
    EXPECT_EQ(held_left, target) << "the held thumb does not stay under the pointer";
    double hz = 0;
    const std::size_t held_at = recorded_frames(recording_);
    EXPECT_EQ(order_playing_after(held_at - frames_of_ms(250), hz), 0)
        << "while the thumb is held the song should go on where it was: heard " << hz << " Hz";

    x_->watch_button_releases();
    xdo::release(1);
    ASSERT_TRUE(x_->wait_for_button_release(1, 5s)) << "the release was not seen";
    const std::size_t released_at = recorded_frames(recording_);
    ASSERT_LT(ms_of_frames(released_at), 4500.0)
        << "the first order (5.12 s) nearly ended before the release: the test took too long";
    EXPECT_EQ(order_playing_after(released_at, hz), 2)
        << "the release should continue at the third order: heard " << hz << " Hz";
    std::cout << "[ info ] pressed at " << ms_of_frames(pressed_at) << " ms, released at "
              << ms_of_frames(released_at) << " ms; after the release " << hz << " Hz\n";

    // Let go, the thumb follows playback again: it stays at the third order while that plays.
    ASSERT_TRUE(recorded_until(released_at + frames_of_ms(1000)));
    EXPECT_EQ(shown_thumb_left(player), target);
    EXPECT_TRUE(player.process().running());
}

TEST_F(SliderDrag, AThumbHeldStillWhilePlaybackMovesOnSeeksToWhereItStands) {
    Player player(*x_, {song_.string()}, "wav:" + recording_.string());
    // Pressed on the thumb late in the first order, held still while the second begins.
    ASSERT_TRUE(recorded_until(frames_of_ms(4300)));
    const auto [px, py] = grip(player, 0);
    xdo::move_to(px, py);
    xdo::press(1);
    const std::size_t pressed_at = recorded_frames(recording_);
    ASSERT_LT(ms_of_frames(pressed_at), 4900.0) << "pressed too late: the second order began";
    ASSERT_TRUE(recorded_until(frames_of_ms(5900)));
    double hz = 0;
    EXPECT_EQ(order_playing_after(frames_of_ms(5300), hz), 1)
        << "a press held still should not seek: heard " << hz << " Hz";
    EXPECT_EQ(shown_thumb_left(player), 0) << "the held thumb followed playback";

    // The release is a click where the thumb stands: the first order, from its start.
    x_->watch_button_releases();
    xdo::release(1);
    ASSERT_TRUE(x_->wait_for_button_release(1, 5s)) << "the release was not seen";
    const std::size_t released_at = recorded_frames(recording_);
    EXPECT_EQ(order_playing_after(released_at, hz), 0)
        << "the release should continue at the first order: heard " << hz << " Hz";
    std::cout << "[ info ] pressed at " << ms_of_frames(pressed_at) << " ms, released at "
              << ms_of_frames(released_at) << " ms; after the release " << hz << " Hz\n";
    EXPECT_TRUE(player.process().running());
}

} // namespace
} // namespace vd::e2e
