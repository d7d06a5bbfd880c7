#pragma once

#include "tests/e2e/support/XDisplay.h"

#include <cstddef>
#include <filesystem>

namespace vd::e2e {

// Clicks the left button where the pointer is and returns how many frames the capture at
// `recording` held when the X server handled the release (the moment a control acts), so that
// xdotool's own start-up time is left out of a reaction. A click the server turned away before
// anything was sent is tried again; a release never seen fails the test.
[[nodiscard]] std::size_t click_at_frame(XDisplay& x, const std::filesystem::path& recording);

} // namespace vd::e2e
