#pragma once

#include "tools/modwriter/ModWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vd::testing {

// What a test module looks like. Rows pass at speed/tempo: with speed 1 and tempo 255 a row
// lasts under 10 ms, so tests that wait for playback stay short.
struct SongShape {
    std::string title = "Test Song";
    int orders = 4;
    int speed = 1;     // ticks per row
    int tempo = 255;   // beats per minute
    int last_row = 63; // the last order breaks after this row
};

// A module of `shape.orders` orders, each its own pattern, a square-wave note on every fourth
// row so that playback is never silent.
[[nodiscard]] modwriter::Module make_song(const SongShape& shape);
[[nodiscard]] std::vector<std::uint8_t> make_song_bytes(const SongShape& shape);

} // namespace vd::testing
