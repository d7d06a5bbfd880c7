#pragma once

#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/XDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

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

    std::unique_ptr<XDisplay> x_;
    std::unique_ptr<Scratch> scratch_;
    std::filesystem::path recording_;
};

} // namespace vd::e2e
