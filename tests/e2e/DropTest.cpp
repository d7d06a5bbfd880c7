// A file dragged from another program (XDND, as from a file manager) and dropped on the playlist
// of a player that plays nothing is added and starts; Space pauses it; the window carries the
// application's icons and the class its desktop entry names.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

// A point inside the shown playlist.
constexpr int kListX = 120;
constexpr int kListY = 280;

class Drop : public WindowTest<> {
protected:
    [[nodiscard]] bool sounding() {
        const Recording r = read_recording(recording_);
        return r.mono.size() >= frames_of_ms(300) &&
               rms(std::span<const float>(r.mono).last(frames_of_ms(300))) > 0.01;
    }
};

TEST_F(Drop, AFileDraggedFromAnotherProgramIsAddedAndStarts) {
    const std::filesystem::path song = *scratch_ / "dropped song.mod";
    modwriter::save_mod(tone_song("Dropped", "C-2", 6, 32), song);
    Player player(*x_, {}, "wav:" + recording_.string());
    ASSERT_FALSE(wait_until([&] { return sounding(); }, 500ms)) << "it played before the drop";

    ChildProcess source((build_dir() / "tests/e2e/drag_source").string(), {song.string()}, {});
    std::optional<WindowInfo> window;
    ASSERT_TRUE(wait_until(
        [&] {
            window = x_->find_viewable("vd drag source", XDisplay::Match::whole);
            return window.has_value();
        },
        10s))
        << "the drag source did not show";
    // Out of the source's way first: the player's designed place may lie under it.
    xdo::move_to(window->x + 60, window->y + 60);
    xdo::press(1);
    const auto [tx, ty] = player.screen_point(kListX, kListY);
    // XDND follows the pointer: move there in steps, as a hand does.
    for (int step = 1; step <= 10; ++step) {
        xdo::move_to(window->x + 60 + (tx - window->x - 60) * step / 10,
                     window->y + 60 + (ty - window->y - 60) * step / 10);
        std::this_thread::sleep_for(30ms);
    }
    std::this_thread::sleep_for(200ms);
    xdo::release(1);
    const std::optional<int> status = source.wait_for_exit(5s);
    ASSERT_TRUE(status.has_value()) << "the drag did not end";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "the player refused the drop";
    EXPECT_TRUE(wait_until([&] { return sounding(); }, 5s))
        << "the dropped file did not start (" << recorded_frames(recording_) << " frames, "
        << recording_ << ")";
}

} // namespace
} // namespace vd::e2e
