// Files as people name them: a module whose extension is written in capitals plays from the
// command line, and a playlist that names its songs relative to its own folder plays them when
// the player is started from another folder.
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

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

class FileNames : public WindowTest<> {};

TEST_F(FileNames, AModuleNamedInCapitalsPlaysFromTheCommandLine) {
    for (const char* name : {"TUNE.MOD", "Tune.Mod"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path song = *scratch_ / name;
        modwriter::save_mod(tone_song("Shouted", "C-2", 4, 125), song);
        std::filesystem::remove(recording_);
        Player player(*x_, {song.string()}, "wav:" + recording_.string());
        ASSERT_TRUE(recorded_until(frames_of_ms(1500)));
        const Recording r = read_recording(recording_);
        const std::span<const float> second =
            std::span<const float>(r.mono).subspan(r.frames() - frames_of_ms(1000));
        EXPECT_GT(rms(second), 300.0) << "nothing plays";
        const double hz = frequency_hz(second, kRateHz);
        EXPECT_EQ(entry_of_pitch(hz), 1) << "heard " << hz << " Hz, not the song's C-2";
        std::cout << "[ info ] " << name << ": rms " << rms(second) << ", " << hz << " Hz\n";
    }
}

TEST_F(FileNames, APlaylistsRelativeEntriesPlayWhenStartedFromAnotherFolder) {
    // lists/mix.pvl names a song beside it, one in a folder below and one beside the folder.
    const std::filesystem::path lists = *scratch_ / "lists";
    std::filesystem::create_directories(lists / "deeper");
    const std::array<std::string, 3> entries = {"first.mod", "deeper/second.mod", "../third.mod"};
    {
        std::ofstream out(lists / "mix.pvl", std::ios::binary);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            modwriter::save_mod(tone_song("Entry " + std::to_string(i + 1), kNotes[i], 4, 125),
                                lists / entries[i]);
            out << entries[i] << "\r\n";
        }
    }
    // This program's folder is not the list's: the player starts from here, and is told the
    // list's path relative to it.
    const std::filesystem::path here = std::filesystem::current_path();
    ASSERT_NE(std::filesystem::canonical(here), std::filesystem::canonical(lists));
    const std::filesystem::path named = std::filesystem::relative(lists / "mix.pvl", here);
    ASSERT_TRUE(named.is_relative());
    Player player(*x_, {named.string()}, "wav:" + recording_.string());

    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i]);
        const auto [rx, ry] = player.screen_point(
            kListLeft + 40, kListTop + static_cast<int>(i) * kRowHeight + kRowHeight / 2);
        xdo::move_to(rx, ry);
        xdo::double_click(1);
        const std::size_t clicked_at = recorded_frames(recording_);
        const double hz = pitch_after(clicked_at);
        EXPECT_EQ(entry_of_pitch(hz), static_cast<int>(i))
            << "double-click on row " << i + 1 << ": heard " << hz << " Hz";
    }
    EXPECT_TRUE(player.process().running());
}

} // namespace
} // namespace vd::e2e
