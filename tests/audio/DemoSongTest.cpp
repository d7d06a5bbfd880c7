// The committed demo song: what the player shows for it and what it sounds like in numbers.

#include "tests/support/SourceFiles.h"

#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

namespace {

std::vector<std::uint8_t> read_demo_song() {
    return vd::test::ReadSourceFile("resources/demo/dezaru-dawn.mod");
}

TEST(DemoSong, IsARealSongOfAboutAMinute) {
    const auto bytes = read_demo_song();
    ASSERT_FALSE(bytes.empty());
    openmpt::module mod(bytes);
    EXPECT_EQ(mod.get_metadata("title"), "Dezaru Dawn");
    EXPECT_EQ(mod.get_num_channels(), 4);
    const int orders = mod.get_num_orders();
    EXPECT_GE(orders, 6);
    std::set<int> patterns;
    for (int i = 0; i < orders; ++i) {
        patterns.insert(mod.get_order_pattern(i));
    }
    EXPECT_LT(static_cast<int>(patterns.size()), orders) << "no order repeats";
    EXPECT_GE(mod.get_duration_seconds(), 45.0);
    EXPECT_LE(mod.get_duration_seconds(), 75.0);
    // The player advances when the last order shows row 60.
    EXPECT_GT(mod.get_pattern_num_rows(mod.get_order_pattern(orders - 1)), 60);
}

TEST(DemoSong, IsNeitherSilentNorClipping) {
    const auto bytes = read_demo_song();
    ASSERT_FALSE(bytes.empty());
    openmpt::module mod(bytes);
    std::vector<float> block(2 * 4096);
    double sum_squares = 0;
    double peak = 0;
    std::size_t samples = 0;
    std::size_t quiet_blocks = 0; // so far
    std::size_t quiet_inside = 0; // quiet blocks followed by sound: gaps inside the song
    std::size_t blocks = 0;
    for (;;) {
        const std::size_t frames = mod.read_interleaved_stereo(44100, 4096, block.data());
        if (frames == 0) {
            break;
        }
        double block_squares = 0;
        for (std::size_t i = 0; i < 2 * frames; ++i) {
            block_squares += block[i] * block[i];
            peak = std::max(peak, static_cast<double>(std::abs(block[i])));
        }
        sum_squares += block_squares;
        samples += 2 * frames;
        ++blocks;
        if (10 * std::log10(block_squares / (2.0 * frames) + 1e-12) < -50) {
            ++quiet_blocks;
        } else {
            quiet_inside = quiet_blocks;
        }
    }
    const double rms_db = 10 * std::log10(sum_squares / static_cast<double>(samples));
    EXPECT_LT(peak, 0.99);
    EXPECT_GT(peak, 0.3);
    EXPECT_GT(rms_db, -24.0);
    EXPECT_LT(rms_db, -8.0);
    EXPECT_EQ(quiet_inside, 0U) << "gaps of silence in the song"; // the end may fade to nothing
    EXPECT_GT(blocks, 0U);
}

} // namespace
