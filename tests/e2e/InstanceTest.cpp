// One running player: a later start hands its files to it and ends at once, --enqueue only
// appends, a start without files brings the running window to the front, the control options act
// on it, and a player killed outright never keeps the next one from starting. Every case runs over
// a private session bus (dbus-run-session) and again over the local socket used without a bus.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/Signal.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Channel { SessionBus, Socket };

class Instance : public WindowTest<::testing::TestWithParam<Channel>> {
protected:
    void SetUp() override {
        WindowTest<::testing::TestWithParam<Channel>>::SetUp();
        if (IsSkipped())
            return;
        const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        if (GetParam() == Channel::SessionBus) {
            if (bus == nullptr || *bus == '\0')
                GTEST_SKIP() << "no private session bus (run through CTest: dbus-run-session)";
            environment_ = {std::string("DBUS_SESSION_BUS_ADDRESS=") + bus};
        } else {
            environment_ = {std::string("DBUS_SESSION_BUS_ADDRESS=") + kNoSessionBus};
        }
        // A runtime folder of the test's own, with a short path: a socket's path has a small limit.
        runtime_.emplace("/tmp", "vdrt");
        environment_.push_back("XDG_RUNTIME_DIR=" + runtime_->Path());
        for (std::size_t i = 0; i < kNotes.size(); ++i) {
            songs_[i] = *scratch_ / ("song " + std::to_string(i + 1) + ".mod");
            // Long songs: each plays on for the whole test.
            modwriter::save_mod(tone_song("Song " + std::to_string(i + 1), kNotes[i], 6, 32),
                                songs_[i]);
        }
    }

    [[nodiscard]] std::unique_ptr<Player> start_first(const std::vector<std::string>& args) {
        return std::make_unique<Player>(*x_, args, "wav:" + recording_.string(), environment_);
    }

    // A later start, run to its end: exit code and how long it took.
    struct Outcome {
        int exit_code = -1;
        std::chrono::milliseconds took{};
        std::string output;
    };
    [[nodiscard]] Outcome start_again(const std::vector<std::string>& args) {
        std::vector<std::string> argv{player_program().string()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> env = environment_;
        env.push_back("VODEZARU_AUDIO_OUT=null");
        const auto began = Clock::now();
        const ProgramOutput result = run_capturing(argv, env, 15s);
        return {result.exit_code,
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - began),
                result.output};
    }

    // Which song sounds in the last 300 ms recorded, -1 for none of them.
    [[nodiscard]] int song_sounding() {
        const Recording r = read_recording(recording_);
        if (r.mono.size() < frames_of_ms(300))
            return -1;
        const std::span<const float> tail = std::span<const float>(r.mono).last(frames_of_ms(300));
        if (rms(tail) < 0.01)
            return -1;
        return entry_of_pitch(frequency_hz(tail, kRateHz));
    }
    // Waits until song `index` has sounded for a while, at most `timeout`.
    [[nodiscard]] bool comes_to_play(int index, std::chrono::milliseconds timeout = 5s) {
        return wait_until([&] { return song_sounding() == index; }, timeout, 100ms);
    }
    // Song `index` goes on sounding for `span` (nothing else starts).
    [[nodiscard]] bool keeps_playing(int index, std::chrono::milliseconds span) {
        const auto until = Clock::now() + span;
        while (Clock::now() < until) {
            if (song_sounding() != index)
                return false;
            std::this_thread::sleep_for(100ms);
        }
        return true;
    }

    std::array<std::filesystem::path, 3> songs_;
    std::vector<std::string> environment_;
    std::optional<test::ScratchDir> runtime_;
};

TEST_P(Instance, ASecondStartWithAFilePlaysItInTheFirstAndEndsAtOnce) {
    const std::unique_ptr<Player> first = start_first({songs_[0].string()});
    ASSERT_TRUE(comes_to_play(0)) << "the first player did not play its own song";

    const Outcome second = start_again({songs_[1].string()});
    EXPECT_EQ(second.exit_code, 0) << second.output;
    EXPECT_LT(second.took, 3s) << "the second start lingered";
    EXPECT_TRUE(comes_to_play(1)) << "the first player did not play the handed-over file";
    EXPECT_TRUE(first->process().running());
}

TEST_P(Instance, SeveralFilesAreListedInOrderAndTheFirstPlays) {
    const std::unique_ptr<Player> first = start_first({songs_[2].string(), songs_[0].string()});
    EXPECT_TRUE(comes_to_play(2));
    EXPECT_EQ(start_again({"--next"}).exit_code, 0);
    EXPECT_TRUE(comes_to_play(0));
    EXPECT_EQ(start_again({"--previous"}).exit_code, 0);
    EXPECT_TRUE(comes_to_play(2));
}

TEST_P(Instance, EnqueueAppendsWithoutPlayingAndNextMovesOnToIt) {
    const std::unique_ptr<Player> first = start_first({songs_[0].string()});
    ASSERT_TRUE(comes_to_play(0));

    const Outcome enqueued = start_again({"--enqueue", songs_[2].string()});
    EXPECT_EQ(enqueued.exit_code, 0) << enqueued.output;
    EXPECT_TRUE(keeps_playing(0, 1500ms)) << "--enqueue changed what plays";

    // The appended entry is the next one.
    const Outcome next = start_again({"--next"});
    EXPECT_EQ(next.exit_code, 0) << next.output;
    EXPECT_TRUE(comes_to_play(2)) << "--next did not move on to the appended entry";

    const Outcome stop = start_again({"--stop"});
    EXPECT_EQ(stop.exit_code, 0) << stop.output;
    EXPECT_TRUE(comes_to_play(-1)) << "--stop left the song sounding";
}

TEST_P(Instance, AStartWithoutFilesRaisesTheRunningWindow) {
    const std::unique_ptr<Player> first = start_first({});
    // An independent player on top of it (it takes no part in the one-player rule).
    const std::unique_ptr<Player> other = std::make_unique<Player>(
        *x_, std::vector<std::string>{"--new-instance"}, "null", environment_);
    auto stacking_index = [&](XWindowId id) {
        const std::vector<WindowInfo> windows = x_->top_levels();
        for (std::size_t i = 0; i < windows.size(); ++i)
            if (windows[i].id == id)
                return static_cast<int>(i);
        return -1;
    };
    ASSERT_GT(stacking_index(other->window_id()), stacking_index(first->window_id()));

    const Outcome again = start_again({});
    EXPECT_EQ(again.exit_code, 0) << again.output;
    EXPECT_TRUE(wait_until(
        [&] { return stacking_index(first->window_id()) > stacking_index(other->window_id()); },
        3s))
        << "the running player's window did not come to the front";
    EXPECT_TRUE(other->process().running()) << "the independent player was not independent";
}

TEST_P(Instance, APlayerKilledOutrightDoesNotKeepTheNextFromStarting) {
    {
        const std::unique_ptr<Player> first = start_first({});
        ::kill(first->process().pid(), SIGKILL);
        ASSERT_TRUE(first->process().wait_for_exit(5s).has_value());
    }
    const auto began = Clock::now();
    const std::unique_ptr<Player> next = start_first({songs_[1].string()});
    EXPECT_LT(Clock::now() - began, 8s);
    EXPECT_TRUE(comes_to_play(1));
    // And it is the running player now.
    const Outcome handed = start_again({songs_[2].string()});
    EXPECT_EQ(handed.exit_code, 0) << handed.output;
    EXPECT_TRUE(comes_to_play(2));
}

TEST_P(Instance, ControlOptionsWithoutARunningPlayerSaySoAndFail) {
    const Outcome next = start_again({"--play-pause"});
    EXPECT_EQ(next.exit_code, 1);
    EXPECT_NE(next.output.find("no player is running"), std::string::npos) << next.output;
}

INSTANTIATE_TEST_SUITE_P(Channels, Instance,
                         ::testing::Values(Channel::SessionBus, Channel::Socket),
                         [](const ::testing::TestParamInfo<Channel>& info) {
                             return info.param == Channel::SessionBus ? "SessionBus" : "Socket";
                         });

} // namespace
} // namespace vd::e2e
