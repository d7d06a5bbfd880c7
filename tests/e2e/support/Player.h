#pragma once

#include "tests/e2e/support/Process.h"
#include "tests/e2e/support/XDisplay.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vd::e2e {

// Where the build put the player and where the sources are (CTest passes both).
[[nodiscard]] std::filesystem::path build_dir();
[[nodiscard]] std::filesystem::path source_dir();
[[nodiscard]] std::filesystem::path player_program();
[[nodiscard]] std::filesystem::path settings_file(); // the player's INI file beside it
// A folder for pictures of failed checks, under the build folder.
[[nodiscard]] std::filesystem::path artifacts_dir();

// Window geometry of the player's layout that the tests aim at.
inline constexpr int kWindowWidth = 518;
inline constexpr int kWindowHeight = 425;
inline constexpr int kDesignedLeft = 202;
inline constexpr int kDesignedTop = 107;

// A session-bus address that leads nowhere: a player given it finds no bus.
inline constexpr const char* kNoSessionBus = "unix:path=/nonexistent/vodezaru-test-bus";

// A running player with its main window shown. Ends the player when it goes.
class Player {
public:
    // Starts the player with `arguments` and VODEZARU_AUDIO_OUT=`audio_out` and waits (at most
    // 10 s) for its window "Velora Player" to be viewable; throws std::runtime_error if it is not.
    // The player meets the session bus the test has: none (so later starts find it by a socket
    // named after the test's X display), or the test's private one; `environment` ("NAME=value",
    // laid over the rest) may say otherwise.
    Player(XDisplay& x, const std::vector<std::string>& arguments, const std::string& audio_out,
           const std::vector<std::string>& environment = {});

    // The main window as it is now.
    [[nodiscard]] WindowInfo window();
    // The main window's id, which stays known after the window is gone.
    [[nodiscard]] XWindowId window_id() const { return window_; }
    // The screen point of window point (x, y), from the window's current position.
    [[nodiscard]] std::pair<int, int> screen_point(int x, int y);
    [[nodiscard]] ChildProcess& process() { return *process_; }

private:
    XDisplay& x_;
    std::unique_ptr<ChildProcess> process_;
    XWindowId window_ = 0;
};

} // namespace vd::e2e
