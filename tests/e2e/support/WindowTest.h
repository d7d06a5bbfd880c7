#pragma once

#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/XDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <span>

namespace vd::e2e {

// What a test of the player's window begins with: the X display (the test is skipped without
// one), no settings left by an earlier test, a scratch folder and where the sound is recorded.
// A fixture's own SetUp calls this one first and returns when the test was skipped.
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
