// The player ends cleanly however it is asked to: the window manager's close, SIGTERM, SIGINT and
// SIGHUP each end it at once with the window's position saved, as the menu's Close does. Files
// that are not regular (a FIFO named like a song, playlist or the settings file) hold nothing up,
// and a settings file the user made read-only is left as it is.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Process.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

// How far a drag moves the window.
constexpr int kDx = 40;
constexpr int kDy = 30;

[[nodiscard]] std::string file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

[[nodiscard]] bool still_a_fifo(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// What Close writes: the window's place and the volume, untouched here (full).
[[nodiscard]] std::string settings_for(int left, int top) {
    return "[Config]\nLeft=" + std::to_string(left) + "\nTop=" + std::to_string(top) +
           "\nVolume=100\n";
}

class Exit : public WindowTest<> {
protected:
    // Whether the window leaves where it was `before` within a second.
    [[nodiscard]] static bool moves_within_a_second(Player& player, const WindowInfo& before) {
        return wait_until(
            [&] {
                const WindowInfo w = player.window();
                return w.x != before.x || w.y != before.y;
            },
            1s);
    }

    // Drags the window by its bare skin so that the position to save is not the designed one.
    void move_window(Player& player) {
        const WindowInfo before = player.window();
        drag_bare_skin(player, kDx, kDy);
        ASSERT_TRUE(wait_until(
            [&] {
                const WindowInfo w = player.window();
                return w.x == before.x + kDx && w.y == before.y + kDy;
            },
            2s))
            << "dragging the skin did not move the window";
    }

    // The player ends by itself within 2 s, with status 0.
    static void expect_clean_exit(Player& player, const std::string& how) {
        const std::optional<int> status = player.process().wait_for_exit(2s);
        ASSERT_TRUE(status.has_value()) << "the player still runs 2 s after " << how;
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << "after " << how << " the player ended with status " << *status;
    }
};

TEST_F(Exit, TheWindowManagersCloseIsTheMenusClose) {
    Player player(*x_, {}, "null");
    move_window(player);
    x_->send_delete_window(player.window().id);
    expect_clean_exit(player, "the window manager's close");
    EXPECT_EQ(file_text(settings_file()), settings_for(kDesignedLeft + kDx, kDesignedTop + kDy));
}

TEST_F(Exit, TerminationSignalsCloseAsTheMenusCloseDoes) {
    for (const auto& [signal, name] : {std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGINT, "SIGINT"},
                                       std::pair{SIGHUP, "SIGHUP"}}) {
        SCOPED_TRACE(name);
        std::filesystem::remove(settings_file());
        Player player(*x_, {}, "null");
        move_window(player);
        player.process().send_signal(signal);
        expect_clean_exit(player, name);
        EXPECT_EQ(file_text(settings_file()),
                  settings_for(kDesignedLeft + kDx, kDesignedTop + kDy));
    }
}

TEST_F(Exit, TheAboutBoxsCloseBoxClosesItAndTheWindowGoesOn) {
    Player player(*x_, {}, "null");
    const XWindowId main = player.window().id;
    auto open_menu = [&]() -> bool {
        const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
        xdo::move_to(sx, sy);
        xdo::click(3);
        return wait_until(
            [&] {
                for (const WindowInfo& w : x_->top_levels())
                    if (w.viewable && w.override_redirect && w.id != main)
                        return true;
                return false;
            },
            2s);
    };
    ASSERT_TRUE(open_menu()) << "the main menu did not open";
    // From the bottom: Close, Minimize, About.
    xdo::key("Up");
    xdo::key("Up");
    xdo::key("Up");
    xdo::key("Return");
    std::optional<WindowInfo> about;
    ASSERT_TRUE(wait_until(
        [&] {
            about = x_->find_viewable("About VO Dezaru");
            return about.has_value();
        },
        3s))
        << "the About box did not open";
    x_->send_delete_window(about->id);
    EXPECT_TRUE(wait_until([&] { return !x_->find_viewable("About VO Dezaru").has_value(); }, 2s))
        << "the About box stayed open";
    // The main window takes input again: its modal show is over.
    EXPECT_TRUE(open_menu()) << "the main window still waits for the About box";
    xdo::key("Escape");
    player.process().send_signal(SIGTERM);
    expect_clean_exit(player, "SIGTERM");
}

TEST_F(Exit, ASignalWhileAModuleIsPlayingEndsThePlayer) {
    // The real sound output starts with the song (SDL, on its silent driver where the machine has
    // no sound card); the sound library must not take the signal for itself.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    Scratch scratch;
    const std::filesystem::path module = scratch / "tone.mod";
    modwriter::save_mod(tone_song("Exit Probe", "C-2"), module);
    Player player(*x_, {module.string()}, "");
    std::this_thread::sleep_for(500ms);
    player.process().send_signal(SIGINT);
    expect_clean_exit(player, "SIGINT during playback");
    EXPECT_EQ(file_text(settings_file()), settings_for(kDesignedLeft, kDesignedTop));
}

// The start-up opens the file before the window shows: a box that reports it comes first, the
// window after. Nobody writes to the FIFOs: a reader that opened one would wait for good.
TEST_F(Exit, AFifoNamedLikeASongOrAPlaylistHoldsNothingUp) {
    Scratch scratch;
    for (const std::string name : {"song.mod", "song.mid", "list.pvl"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path fifo = scratch / name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        ChildProcess player(player_program().string(), {fifo.string()},
                            {"VODEZARU_AUDIO_OUT=null"});
        bool box = false;
        ASSERT_TRUE(wait_until(
            [&] {
                box = x_->find_viewable("VO Dezaru", XDisplay::Match::whole).has_value();
                return box || x_->find_viewable("Velora").has_value();
            },
            5s))
            << "neither a message box nor the window within 5 s";
        // A module that cannot be loaded may be reported too; media files and playlists are.
        if (name != "song.mod") {
            EXPECT_TRUE(box) << "no message box";
        }
        if (box)
            xdo::key("Return");
        EXPECT_TRUE(wait_until([&] { return x_->find_viewable("Velora").has_value(); }, 5s))
            << "the window did not open";
        player.send_signal(SIGTERM);
        const std::optional<int> status = player.wait_for_exit(2s);
        ASSERT_TRUE(status.has_value()) << "the player still runs 2 s after SIGTERM";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "status " << *status;
        EXPECT_TRUE(still_a_fifo(fifo));
    }
}

TEST_F(Exit, ASignalWhileTheStartUpsErrorBoxIsOpenEndsThePlayer) {
    ChildProcess player(player_program().string(), {"/no/such/folder/list.pvl"},
                        {"VODEZARU_AUDIO_OUT=null"});
    ASSERT_TRUE(wait_until(
        [&] { return x_->find_viewable("VO Dezaru", XDisplay::Match::whole).has_value(); }, 10s))
        << "no message box for a playlist that is not there";
    player.send_signal(SIGTERM);
    const std::optional<int> status = player.wait_for_exit(2s);
    ASSERT_TRUE(status.has_value()) << "the player still runs 2 s after SIGTERM";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "status " << *status;
}

TEST_F(Exit, AFifoInPlaceOfTheSettingsFileIsNeitherReadNorReplaced) {
    ASSERT_EQ(::mkfifo(settings_file().c_str(), 0600), 0);
    const auto started = std::chrono::steady_clock::now();
    Player player(*x_, {}, "null");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    const WindowInfo w = player.window();
    EXPECT_EQ(w.x, kDesignedLeft);
    EXPECT_EQ(w.y, kDesignedTop);
    player.process().send_signal(SIGTERM);
    expect_clean_exit(player, "SIGTERM");
    EXPECT_TRUE(still_a_fifo(settings_file())) << "the FIFO was replaced";
}

TEST_F(Exit, AReadOnlySettingsFileIsLeftAsItIs) {
    const std::string stored = settings_for(300, 200);
    {
        std::ofstream out(settings_file(), std::ios::binary);
        out << stored;
    }
    ASSERT_EQ(::chmod(settings_file().c_str(), 0444), 0);
    Player player(*x_, {}, "null");
    EXPECT_EQ(player.window().x, 300);
    move_window(player);
    player.process().send_signal(SIGTERM);
    expect_clean_exit(player, "SIGTERM");
    EXPECT_EQ(file_text(settings_file()), stored);
    struct stat info {};
    ASSERT_EQ(::stat(settings_file().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
}

TEST_F(Exit, AShortClickOnTheFaceLeavesTheWindowWhereItIs) {
    Player player(*x_, {}, "null");
    const WindowInfo before = player.window();
    const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
    xdo::move_to(sx, sy);
    xdo::click(1);
    xdo::move_by(60, 45);
    xdo::move_by(30, 20);
    EXPECT_FALSE(moves_within_a_second(player, before))
        << "the window followed the pointer after a click";
}

// The same under a window manager (Openbox), which moves the window when asked to and puts a
// close key on it. One runs for all these tests: starting one is the slow part.
class ExitUnderWindowManager : public Exit {
protected:
    static void SetUpTestSuite() {
        if (std::getenv("DISPLAY") == nullptr || !std::filesystem::exists("/usr/bin/openbox"))
            return;
        window_manager_ = std::make_unique<ChildProcess>("/usr/bin/openbox",
                                                         std::vector<std::string>{"--sm-disable"},
                                                         std::vector<std::string>{});
    }
    static void TearDownTestSuite() {
        window_manager_.reset(); // ends it by its PID
    }
    void SetUp() override {
        Exit::SetUp();
        if (IsSkipped())
            return;
        if (window_manager_ == nullptr)
            GTEST_SKIP() << "no window manager to test with (openbox)";
        ASSERT_TRUE(wait_until([&] { return x_->window_manager_running(); }, 5s))
            << "the window manager did not start";
        ASSERT_TRUE(window_manager_->running());
    }

    static inline std::unique_ptr<ChildProcess> window_manager_; // the suite's
};

TEST_F(ExitUnderWindowManager, AShortClickOnTheFaceDoesNotStickTheWindowToThePointer) {
    Player player(*x_, {}, "null");
    const WindowInfo before = player.window();
    const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
    xdo::move_to(sx, sy);
    xdo::click(1);
    std::this_thread::sleep_for(200ms);
    xdo::move_by(60, 45);
    xdo::move_by(30, 20);
    EXPECT_FALSE(moves_within_a_second(player, before))
        << "the window followed the pointer after a click";
}

TEST_F(ExitUnderWindowManager, DraggingTheFaceStillMovesTheWindow) {
    Player player(*x_, {}, "null");
    const WindowInfo before = player.window();
    const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
    xdo::move_to(sx, sy);
    xdo::press(1);
    for (int step = 0; step < 8; ++step) {
        xdo::move_by(5, 4);
        std::this_thread::sleep_for(30ms);
    }
    xdo::release(1);
    // The window manager takes over from the first moves on: it may miss one of them.
    EXPECT_TRUE(wait_until(
        [&] {
            const WindowInfo w = player.window();
            return w.x >= before.x + 30 && w.x <= before.x + 40 && w.y >= before.y + 24 &&
                   w.y <= before.y + 32;
        },
        2s))
        << "the window did not follow a drag of 40,32 (now at " << player.window().x << ","
        << player.window().y << ")";
    const WindowInfo dropped = player.window();
    xdo::move_by(50, 50);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(player.window().x, dropped.x) << "the window went on following after the release";
}

TEST_F(ExitUnderWindowManager, AltF4ClosesAsTheMenusCloseDoes) {
    Player player(*x_, {}, "null");
    const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
    xdo::move_to(sx, sy); // the window manager gives the focus to the window under the pointer
    xdo::click(1);
    std::this_thread::sleep_for(200ms);
    const WindowInfo at = player.window();
    xdo::key("alt+F4");
    expect_clean_exit(player, "Alt+F4");
    EXPECT_EQ(file_text(settings_file()), settings_for(at.x, at.y));
}

} // namespace
} // namespace vd::e2e
