#include "tests/e2e/support/Player.h"

#include "tests/e2e/support/Wait.h"

#include <cstdlib>
#include <stdexcept>

namespace vd::e2e {

namespace {

[[nodiscard]] std::filesystem::path from_environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        throw std::runtime_error(std::string(name) + " is not set (run the test through CTest)");
    return value;
}

} // namespace

std::filesystem::path build_dir() {
    return from_environment("VD_BUILD_DIR");
}
std::filesystem::path source_dir() {
    return from_environment("VD_SOURCE_DIR");
}
std::filesystem::path player_program() {
    return build_dir() / "vodezaru";
}
std::filesystem::path settings_file() {
    return build_dir() / "vodezaru.ini";
}

std::filesystem::path artifacts_dir() {
    const std::filesystem::path dir = build_dir() / "e2e-artifacts";
    std::filesystem::create_directories(dir);
    return dir;
}

Player::Player(XDisplay& x, const std::vector<std::string>& arguments, const std::string& audio_out,
               const std::vector<std::string>& environment)
    : x_(x) {
    // The bus is the test's: none, or the private one of a test that starts its own (the test
    // programs never see the desktop's, see vd_add_test).
    std::vector<std::string> env{"VODEZARU_AUDIO_OUT=" + audio_out};
    env.insert(env.end(), environment.begin(), environment.end());
    // A player that ends at once may have been turned away by the busy X server (it cannot run
    // without a connection); a second start tells that apart from a player that cannot start.
    for (int attempt = 0; attempt < 2; ++attempt) {
        process_ = std::make_unique<ChildProcess>(player_program().string(), arguments, env);
        bool died = false;
        const bool shown = wait_until(
            [&] {
                if (!process_->running()) {
                    died = true;
                    return true;
                }
                // Its own window: other players may be running.
                for (const WindowInfo& w : x_.find_all_viewable("Velora")) {
                    const long pid = x_.pid_of(w.id);
                    if (pid == 0 || pid == process_->pid()) {
                        window_ = w.id;
                        return true;
                    }
                }
                return false;
            },
            std::chrono::seconds(10), std::chrono::milliseconds(50));
        if (!shown)
            throw std::runtime_error("the player's window did not appear within 10 s");
        if (!died)
            return;
    }
    throw std::runtime_error("the player ended twice before showing its window");
}

WindowInfo Player::window() {
    const std::optional<WindowInfo> w = x_.info(window_);
    if (!w)
        throw std::runtime_error("the player's window is gone");
    return *w;
}

std::pair<int, int> Player::screen_point(int x, int y) {
    const WindowInfo w = window();
    return {w.x + x, w.y + y};
}

} // namespace vd::e2e
