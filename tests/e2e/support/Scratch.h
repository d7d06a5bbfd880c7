#pragma once

#include "tests/e2e/support/Player.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <system_error>
#include <unistd.h>

namespace vd::e2e {

// A folder of its own under the build folder for the running test's files (songs, playlists,
// recordings), removed with everything in it when the test ends.
class Scratch {
public:
    Scratch() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = build_dir() / "e2e-scratch" /
                (std::string(test != nullptr ? test->name() : "test") + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

} // namespace vd::e2e
