#pragma once

#include "tests/e2e/support/Player.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vd::e2e {

// A folder of its own under the build folder for the running test's files (songs, playlists,
// recordings), named for the test and removed with everything in it when the test ends.
class Scratch : public test::ScratchDir {
public:
    Scratch() : test::ScratchDir(build_dir() / "e2e-scratch", TestName()) {}

private:
    [[nodiscard]] static std::string TestName() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = test != nullptr ? test->name() : "test";
        // A parameterised test's name ends in "/<parameter>".
        std::replace(name.begin(), name.end(), '/', '-');
        return name;
    }
};

} // namespace vd::e2e
