// On a Wayland desktop the player opens on XWayland by default, where its saved position and
// exact shape work, and natively on Wayland when asked: under a headless Weston beside Xvfb.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Process.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>
#include <unistd.h>

#include <cstdlib>
#include <future>
#include <optional>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

class Wayland : public WindowTest<> {
protected:
    void SetUp() override {
        WindowTest<>::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(::access("/usr/bin/weston", X_OK), 0) << "weston is not installed (make setup)";
        // A socket's path must fit in 108 bytes: the scratch folder is too deep for that.
        runtime_.emplace(std::filesystem::temp_directory_path(), "vodezaru-wayland");
        socket_ = "wl-vodezaru-" + std::to_string(::getpid());
        weston_ = std::make_unique<ChildProcess>(
            "/usr/bin/weston",
            std::vector<std::string>{"--backend=headless-backend.so", "--socket=" + socket_,
                                     "--idle-time=0", "--width=1280", "--height=1024"},
            std::vector<std::string>{"XDG_RUNTIME_DIR=" + runtime_->Path()});
        ASSERT_TRUE(wait_until([&] { return std::filesystem::exists(*runtime_ / socket_); }, 10s))
            << "weston did not open its socket";
        song_ = *scratch_ / "tone.wav";
        test::write_wave(song_, SF_FORMAT_PCM_16, 44100, 2,
                         test::tones(44100 * 10, 2, 44100, 440.0));
    }

    void TearDown() override {
        if (weston_)
            weston_->terminate();
        WindowTest<>::TearDown();
    }

    std::optional<test::ScratchDir> runtime_;
    std::unique_ptr<ChildProcess> weston_;
    std::string socket_;
    std::filesystem::path song_;
};

TEST_F(Wayland, OnRequestThePlayerRunsNativelyShowsItsWindowAndPlays) {
    // The player runs for four seconds with Qt's Wayland messages on; what the compositor did
    // with its window shows in them. DISPLAY stays set: the choice of Wayland is the request's.
    auto run = std::async(std::launch::async, [&] {
        return run_capturing({"env", "-u", "QT_QPA_PLATFORM", "VODEZARU_PLATFORM=wayland",
                              "WAYLAND_DISPLAY=" + socket_, "XDG_RUNTIME_DIR=" + runtime_->Path(),
                              "VODEZARU_AUDIO_OUT=wav:" + recording_.string(),
                              "QT_LOGGING_RULES=qt.qpa.wayland*=true", player_program().string(),
                              song_.string()},
                             {}, 4s, ErrorOutput::Captured, AtTimeout::CutOff)
            .output;
    });
    bool on_x = false;
    const auto until = std::chrono::steady_clock::now() + 3500ms;
    while (std::chrono::steady_clock::now() < until) {
        on_x = on_x || x_->find_viewable("Velora").has_value();
        std::this_thread::sleep_for(100ms);
    }
    const std::string log = run.get();
    EXPECT_FALSE(on_x) << "the window opened on X11";
    EXPECT_NE(log.find("xdg-shell"), std::string::npos) << log.substr(0, 2000);
    EXPECT_NE(log.find("xdg_toplevel.configure"), std::string::npos)
        << "the compositor never configured the window\n"
        << log.substr(0, 2000);
    const Recording r = read_recording(recording_);
    ASSERT_GE(r.frames(), frames_of_ms(2500)) << "the player did not play for long";
    const std::span<const float> all(r.mono);
    EXPECT_GT(test::rms(all.subspan(frames_of_ms(1000), frames_of_ms(800))), 300.0);
}

TEST_F(Wayland, WithBothDisplaysThePlayerChoosesXWayland) {
    // The player inherits the test's environment: a Wayland session with XWayland beside it.
    const std::string qt_platform =
        std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    ::unsetenv("QT_QPA_PLATFORM");
    ::setenv("WAYLAND_DISPLAY", socket_.c_str(), 1);
    ::setenv("XDG_SESSION_TYPE", "wayland", 1); // Qt itself would pick Wayland on such a session
    const std::string runtime_before =
        std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    ::setenv("XDG_RUNTIME_DIR", runtime_->Path().c_str(), 1);
    bool shown = false;
    try {
        Player player(*x_, {song_.string()}, "wav:" + recording_.string());
        shown = true;
        EXPECT_EQ(player.window().width, kWindowWidth);
        EXPECT_TRUE(
            wait_until([&] { return recorded_frames(recording_) >= frames_of_ms(1500); }, 10s));
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
    }
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("XDG_SESSION_TYPE");
    if (!qt_platform.empty())
        ::setenv("QT_QPA_PLATFORM", qt_platform.c_str(), 1);
    if (!runtime_before.empty())
        ::setenv("XDG_RUNTIME_DIR", runtime_before.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(shown) << "no window on X11 with both displays offered";
}

} // namespace
} // namespace vd::e2e
