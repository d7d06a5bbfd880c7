#pragma once

#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>
#include <system_error>

namespace vd::e2e {

// What a test of the player's window begins with: the X display (the test is skipped without
// one), no settings left by an earlier test, a scratch folder and where the sound is recorded;
// and ends with: no settings left for the next test. A fixture's own SetUp calls this one first
// and returns when the test was skipped; its own TearDown calls this one last.
template <typename Base = ::testing::Test>
class WindowTest : public Base {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display";
        std::filesystem::remove(settings_file());
        x_ = std::make_unique<XDisplay>();
        scratch_ = std::make_unique<Scratch>();
        recording_ = *scratch_ / "capture.wav";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(settings_file(), ignored);
    }

    // Drags the window by a spot of its skin where no control lies, by `dx`, `dy` in two moves.
    static void drag_bare_skin(Player& player, int dx, int dy) {
        const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
        xdo::move_to(sx, sy);
        xdo::press(1);
        xdo::move_by(dx / 2, dy / 2);
        xdo::move_by(dx / 2, dy / 2);
        xdo::release(1);
    }

    // Waits (at most 10 s) until the capture holds at least `frames` frames; it grows in real time.
    [[nodiscard]] bool recorded_until(std::size_t frames) {
        return wait_until([&] { return recorded_frames(recording_) >= frames; },
                          std::chrono::seconds(10));
    }

    // The pitch that sounds from 250 ms to 550 ms after `from` (a frame of the capture); 0 when
    // the capture does not get that far.
    [[nodiscard]] double pitch_after(std::size_t from) {
        if (!recorded_until(from + frames_of_ms(600)))
            return 0;
        const Recording r = read_recording(recording_);
        return frequency_hz(
            std::span<const float>(r.mono).subspan(from + frames_of_ms(250), frames_of_ms(300)),
            kRateHz);
    }

    std::unique_ptr<XDisplay> x_;
    std::unique_ptr<Scratch> scratch_;
    std::filesystem::path recording_;
};

} // namespace vd::e2e
