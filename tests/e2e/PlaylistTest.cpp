// A playlist file named on the command line: it loads without playing, a double-click plays the
// entry under the pointer, Next wraps from the last entry to the first, and each song's end
// starts the next one without a gap.
#include "tests/e2e/support/Image.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kListWidth = 251;
constexpr int kListHeight = 116;

// NextBtn and its row of images in "2. buttons.bmp".
constexpr int kNextLeft = 103;
constexpr int kNextTop = 195;
constexpr int kNextWidth = 23;
constexpr int kNextHeight = 14;
constexpr int kNextStripTop = 0;

// What one row of the shown playlist holds: pixels of the normal items' lime text, and how much of
// the row is covered by something other than the black background (a selected row is filled).
struct RowLook {
    int text_pixels = 0;
    double covered = 0;
};

[[nodiscard]] std::vector<RowLook> list_rows(XDisplay& x, Player& player) {
    const auto [lx, ly] = player.screen_point(kListLeft, kListTop);
    const Image list = x.grab(lx, ly, kListWidth, kListHeight);
    std::vector<RowLook> rows;
    for (int top = 0; top + kRowHeight <= kListHeight; top += kRowHeight) {
        RowLook row;
        int covered = 0;
        for (int y = top; y < top + kRowHeight; ++y)
            for (int col = 0; col < kListWidth; ++col) {
                const std::uint32_t p = list.at(col, y);
                const std::uint32_t r = p >> 16 & 0xFF;
                const std::uint32_t g = p >> 8 & 0xFF;
                const std::uint32_t b = p & 0xFF;
                if (g > 160 && r < 100 && b < 100)
                    ++row.text_pixels;
                else if (p != 0)
                    ++covered;
            }
        row.covered = covered / static_cast<double>(kListWidth * kRowHeight);
        rows.push_back(row);
    }
    return rows;
}

class PlaylistPlayback : public WindowTest<> {
protected:
    // Three songs and a playlist of them in the format the player writes (CR LF after each).
    // `speed` and `tempo` set each song's length (61 rows).
    [[nodiscard]] std::filesystem::path make_playlist(int speed, int tempo) {
        const std::filesystem::path list = *scratch_ / "three.pvl";
        std::ofstream out(list, std::ios::binary);
        for (std::size_t i = 0; i < kNotes.size(); ++i) {
            const std::filesystem::path song =
                *scratch_ / ("song" + std::to_string(i + 1) + ".mod");
            modwriter::save_mod(
                tone_song("Entry " + std::to_string(i + 1), kNotes[i], speed, tempo), song);
            out << song.string() << "\r\n";
        }
        return list;
    }

    // The entry whose pitch sounds from 250 ms to 550 ms after `from` (a frame of the capture).
    [[nodiscard]] int entry_playing_after(std::size_t from, double& hz) {
        if (!recorded_until(from + frames_of_ms(600)))
            return -2;
        hz = pitch_after(from);
        return entry_of_pitch(hz);
    }
};

TEST_F(PlaylistPlayback, PlaylistFileOnCommandLineLoadsWithoutPlaying) {
    const std::filesystem::path list = make_playlist(4, 125);
    Player player(*x_, {list.string()}, "wav:" + recording_.string());
    // Three rows of names from the list's top edge (it has no border), none of them selected (a
    // selected row is filled with its colour).
    std::vector<RowLook> rows;
    const bool listed = wait_until(
        [&] {
            rows = list_rows(*x_, player);
            return rows[0].text_pixels > 0 && rows[1].text_pixels > 0 && rows[2].text_pixels > 0;
        },
        2s);
    EXPECT_TRUE(listed) << "the three entries are not shown";
    const auto [lx, ly] = player.screen_point(kListLeft, kListTop);
    const Image shown = x_->grab(lx, ly, kListWidth, kListHeight);
    int edge = 0;
    for (int y = 0; y < kListHeight; ++y)
        edge += (shown.at(0, y) != 0) + (shown.at(kListWidth - 1, y) != 0);
    for (int x = 0; x < kListWidth; ++x)
        edge += (shown.at(x, 0) != 0) + (shown.at(x, kListHeight - 1) != 0);
    EXPECT_EQ(edge, 0) << "the list (BorderStyle none, colour black) draws a border: " << edge
                       << " edge pixels are not black, e.g. left edge #" << std::hex
                       << shown.at(0, kListHeight / 2) << std::dec;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_LT(rows[i].covered, 0.25) << "row " << i + 1 << " looks selected";
        if (i >= 3) {
            EXPECT_EQ(rows[i].text_pixels, 0)
                << "text reaches into row " << i + 1 << ": the rows do not start at the top";
        }
    }
    if (HasFailure())
        write_ppm(shown, artifacts_dir() / "playlist-loaded.ppm");
    // The capture starts with the first module; if one started, a second is plenty to hear it.
    std::this_thread::sleep_for(1200ms);
    const Recording r = read_recording(recording_);
    const std::optional<std::size_t> sound = first_sound(r.mono);
    EXPECT_FALSE(sound.has_value()) << "something plays " << ms_of_frames(*sound)
                                    << " ms into the capture after loading a playlist";
    EXPECT_TRUE(player.process().running());
}

TEST_F(PlaylistPlayback, DoubleClickPlaysEntryAndNextWrapsFromLastToFirst) {
    const std::filesystem::path list = make_playlist(4, 125); // 4.9 s a song: no advance meanwhile
    Player player(*x_, {list.string()}, "wav:" + recording_.string());

    const auto [rx, ry] =
        player.screen_point(kListLeft + 40, kListTop + kRowHeight + kRowHeight / 2);
    xdo::move_to(rx, ry);
    xdo::double_click(1);
    double hz = 0;
    const std::size_t clicked_at = recorded_frames(recording_);
    EXPECT_EQ(entry_playing_after(clicked_at, hz), 1)
        << "double-click on the second row: heard " << hz << " Hz";

    // The entry is selected: its row shows the selected style, a gradient from yellow.
    int yellow = 0;
    const bool marked = wait_until(
        [&] {
            const auto [lx, ly] = player.screen_point(kListLeft, kListTop + kRowHeight);
            const Image row = x_->grab(lx, ly, kListWidth, kRowHeight);
            yellow = 0;
            for (const std::uint32_t p : row.pixels)
                yellow += (p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) > 200 && (p & 0xFF) < 100;
            return yellow > kListWidth;
        },
        2s);
    EXPECT_TRUE(marked) << "the selected second row shows no yellow (" << yellow
                        << " yellow pixels): not drawn in the selected style";
    if (!marked) {
        const auto [lx, ly] = player.screen_point(kListLeft, kListTop);
        write_ppm(x_->grab(lx, ly, kListWidth, kListHeight),
                  artifacts_dir() / "playlist-selected.ppm");
    }

    const auto [nx, ny] =
        player.screen_point(kNextLeft + kNextWidth / 2, kNextTop + kNextHeight / 2);
    xdo::move_to(nx, ny);
    const Image hot = read_bmp24(source_dir() / "resources/skin/2. buttons.bmp")
                          .crop(4 * kNextWidth, kNextStripTop, kNextWidth, kNextHeight);
    ASSERT_TRUE(wait_until(
        [&] {
            const auto [sx, sy] = player.screen_point(kNextLeft, kNextTop);
            return compare(x_->grab(sx, sy, kNextWidth, kNextHeight), hot).count == 0;
        },
        2s))
        << "Next did not light up under the pointer";

    xdo::click(1);
    const std::size_t next_at = recorded_frames(recording_);
    EXPECT_EQ(entry_playing_after(next_at, hz), 2)
        << "Next from the second entry: heard " << hz << " Hz";
    xdo::click(1);
    const std::size_t wrap_at = recorded_frames(recording_);
    EXPECT_EQ(entry_playing_after(wrap_at, hz), 0)
        << "Next on the last entry should play the first: heard " << hz << " Hz";
}

TEST_F(PlaylistPlayback, EachSongsEndStartsTheNextWithoutGap) {
    const std::filesystem::path list = make_playlist(2, 150); // 2 s a song
    Player player(*x_, {list.string()}, "wav:" + recording_.string());
    const auto [rx, ry] = player.screen_point(kListLeft + 40, kListTop + kRowHeight / 2);
    xdo::move_to(rx, ry);
    xdo::double_click(1);
    const std::size_t clicked_at = recorded_frames(recording_);
    // Three songs and the first again.
    ASSERT_TRUE(recorded_until(clicked_at + frames_of_ms(7000)))
        << "the capture did not grow for 7 s";
    const Recording r = read_recording(recording_);
    const std::span<const float> all(r.mono);
    const std::optional<std::size_t> start = first_sound(all.subspan(clicked_at));
    ASSERT_TRUE(start.has_value()) << "the double-click on the first row played nothing";
    const std::span<const float> played =
        all.subspan(clicked_at + *start, frames_of_ms(7000) - *start);

    // Which song sounds, in 100 ms steps; runs of the same song collapse into one. A step in
    // which the song changes gives a mixed pitch: both its halves must agree, or it is unknown.
    std::vector<int> order;
    std::ostringstream heard;
    const std::size_t half = frames_of_ms(50);
    for (std::size_t at = 0; at + 2 * half <= played.size(); at += 2 * half) {
        const int first = entry_of_pitch(frequency_hz(played.subspan(at, half), kRateHz));
        const int second = entry_of_pitch(frequency_hz(played.subspan(at + half, half), kRateHz));
        const int entry = first == second ? first : -1;
        heard << (entry < 0 ? std::string("?") : std::to_string(entry + 1));
        if (entry >= 0 && (order.empty() || order.back() != entry))
            order.push_back(entry);
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0}))
        << "songs heard per 100 ms (entry numbers): " << heard.str();

    const SilentRun gap = longest_silence(played);
    EXPECT_LE(gap.length, frames_of_ms(100))
        << "a silence of " << ms_of_frames(gap.length) << " ms at " << ms_of_frames(gap.start)
        << " ms into playback; songs heard per 100 ms: " << heard.str();
    std::cout << "[ info ] longest silence between songs: " << ms_of_frames(gap.length)
              << " ms; songs per 100 ms: " << heard.str() << "\n";
}

} // namespace
} // namespace vd::e2e
