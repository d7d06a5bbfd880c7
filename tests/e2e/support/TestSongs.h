#pragma once

// The modules of the end-to-end tests (made by tests/support), and the three notes an octave
// apart that tests with one song per playlist entry use, so that the pitch tells which plays.

#include "tests/support/TestModules.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace vd::e2e {

using test::rhythm_song;
using test::tone_song;

inline constexpr std::array<const char*, 3> kNotes = {"C-1", "C-2", "C-3"};
inline constexpr std::array<double, 3> kPitchesHz = {129.5, 259.0, 518.0};

// Which of kNotes sounds at `hz` (within 8 %), or -1.
[[nodiscard]] inline int entry_of_pitch(double hz) {
    for (std::size_t i = 0; i < kPitchesHz.size(); ++i)
        if (std::fabs(hz - kPitchesHz[i]) < kPitchesHz[i] * 0.08)
            return static_cast<int>(i);
    return -1;
}

} // namespace vd::e2e
