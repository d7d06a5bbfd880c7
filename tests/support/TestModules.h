#pragma once

#include "tools/modwriter/ModWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vd::test {

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

// The end-to-end tests' modules. Both use one looped square-wave sample on the first channel; the
// pitch of a note is 7093789.2 / (2 * period) / 32 Hz (C-1 129.5, C-2 259, C-3 518).

// Four orders of notes that change pitch and loudness on every row (speed 2, tempo 125: 40 ms a
// row, about 10 s in all), with single silent rows between some of them. No two stretches of a
// few hundred milliseconds sound alike, so a piece of a recording can be placed in the song by
// its loudness envelope. `seed` picks the melody.
[[nodiscard]] modwriter::Module rhythm_song(const std::string& title, std::uint32_t seed);

// One held note of `note` ("C-2"), from row 0 until the pattern breaks after row 60 of its only
// order. At speed 2 and tempo 150 a row lasts 33 ms: the song is 2 s long.
[[nodiscard]] modwriter::Module tone_song(const std::string& title, const std::string& note,
                                          int speed = 2, int tempo = 150);

} // namespace vd::test
