// The sound-server output: its buffer plan, its way back to the next output when no server
// answers, and, when PulseAudio is installed, a private server with a null sink to play into.
#include "audio/AudioOutput.h"
#include "audio/AudioSource.h"
#include "audio/PulseLatency.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

class CountingSource final : public vd::AudioSource {
public:
    std::size_t render(std::span<float> out) override { // audio thread
        std::fill(out.begin(), out.end(), 0.25f);
        renders_.fetch_add(1);
        return out.size() / vd::kOutputChannels;
    }
    std::atomic<int> renders_{0};
};

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_.empty())
            ::unsetenv(name_);
        else
            ::setenv(name_, old_.c_str(), 1);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::string old_;
};

bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    return done();
}

TEST(PulseBufferPlan, QueuesTensOfMillisecondsInWholeFramesAndWholeBlocks) {
    constexpr std::uint32_t kFrameBytes = vd::kOutputChannels * sizeof(float);
    const vd::PulseBufferPlan plan = vd::pulse_buffer_plan();
    EXPECT_EQ(plan.block_bytes % kFrameBytes, 0u);
    EXPECT_EQ(plan.target_bytes % kFrameBytes, 0u);
    EXPECT_GT(plan.target_bytes, plan.block_bytes) << "the server must hold more than one block";
    const auto ms = [&](std::uint32_t bytes) {
        return bytes / kFrameBytes * 1000 / vd::kOutputRateHz;
    };
    EXPECT_EQ(ms(plan.block_bytes), vd::kPulseBlockMs);
    EXPECT_EQ(ms(plan.target_bytes), vd::kPulseTargetLatencyMs);
    // What a halt would let through without the flush stays short; the flush makes it shorter.
    EXPECT_LE(vd::kPulseTargetLatencyMs, 100u);
}

TEST(PulseOutput, WithoutAServerThePlayerStillPlaysSilently) {
    const ScopedEnv server("PULSE_SERVER", "unix:/nonexistent/vd-no-server");
    const auto output = vd::AudioOutput::open("pulse");
    EXPECT_EQ(output->sink_name(), "null");
    auto source = std::make_shared<CountingSource>();
    output->attach(source);
    EXPECT_TRUE(WaitFor([&] { return source->renders_ > 0; })) << "time must still advance";
    output->flush(); // nothing held: nothing to do, and no harm
    output->detach(source.get());
}

// A PulseAudio server of this test's own, with a null sink as its card. Skips when PulseAudio
// is not installed (only `make bench-live` installs it).
class PrivatePulseServer {
public:
    PrivatePulseServer() {
        std::filesystem::create_directories(folder_ / "runtime");
        std::filesystem::permissions(folder_ / "runtime", std::filesystem::perms::owner_all);
        socket_ = folder_ / "native";
        std::ofstream(folder_ / "server.pa")
            << "load-module module-null-sink sink_name=test rate=44100\n"
            << "set-default-sink test\n"
            << "load-module module-native-protocol-unix socket=" << socket_.string()
            << " auth-anonymous=1\n";
        const std::string config = (folder_ / "server.pa").string();
        const std::string runtime = "XDG_RUNTIME_DIR=" + (folder_ / "runtime").string();
        const std::string home = "HOME=" + folder_.Path();
        std::vector<std::string> args = {"pulseaudio",
                                         "-n",
                                         "-F",
                                         config,
                                         "--daemonize=no",
                                         "--exit-idle-time=-1",
                                         "--use-pid-file=no",
                                         "--log-target=stderr",
                                         "--log-level=0"};
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env_strings = {runtime, home, "PATH=/usr/bin:/bin"};
        std::vector<char*> envp;
        for (auto& e : env_strings)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        if (::posix_spawnp(&pid_, "pulseaudio", nullptr, nullptr, argv.data(), envp.data()) != 0)
            pid_ = 0;
        if (pid_ != 0)
            ready_ = WaitFor([&] { return std::filesystem::exists(socket_); });
    }
    ~PrivatePulseServer() {
        if (pid_ != 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    PrivatePulseServer(const PrivatePulseServer&) = delete;
    PrivatePulseServer& operator=(const PrivatePulseServer&) = delete;

    [[nodiscard]] bool Ready() const { return ready_; }
    [[nodiscard]] std::string Address() const { return "unix:" + socket_.string(); }

private:
    vd::test::ScratchDir folder_{std::filesystem::temp_directory_path(), "vd-pulse-test"};
    std::filesystem::path socket_;
    pid_t pid_ = 0;
    bool ready_ = false;
};

TEST(PulseOutput, PlaysIntoTheServerAndFlushesWhileSourcesRender) {
    if (std::system("command -v pulseaudio > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "PulseAudio is not installed";
    PrivatePulseServer server;
    ASSERT_TRUE(server.Ready()) << "the private PulseAudio server did not start";
    const ScopedEnv address("PULSE_SERVER", server.Address());
    const auto output = vd::AudioOutput::open("");
    ASSERT_EQ(output->sink_name(), "pulse") << "the server is the first choice when it answers";
    for (int round = 0; round < 3; ++round) {
        auto source = std::make_shared<CountingSource>();
        output->attach(source);
        ASSERT_TRUE(WaitFor([&] { return source->renders_ > 1; })) << "the server asks for sound";
        // A halt drops the queue, as often as a person can press Pause, and never hangs.
        for (int i = 0; i < 50; ++i)
            output->flush();
        const int before = source->renders_;
        EXPECT_TRUE(WaitFor([&] { return source->renders_ > before; }))
            << "after a flush the server asks for sound again";
        output->detach(source.get());
        const int after_detach = source->renders_;
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(source->renders_, after_detach) << "rendered after detach";
    }
}

TEST(PulseOutput, AHeldServerAsksForNothingUntilReleased) {
    if (std::system("command -v pulseaudio > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "PulseAudio is not installed";
    PrivatePulseServer server;
    ASSERT_TRUE(server.Ready()) << "the private PulseAudio server did not start";
    const ScopedEnv address("PULSE_SERVER", server.Address());
    const auto output = vd::AudioOutput::open("");
    ASSERT_EQ(output->sink_name(), "pulse");
    auto source = std::make_shared<CountingSource>();
    output->attach(source);
    ASSERT_TRUE(WaitFor([&] { return source->renders_ > 1; })) << "the server asks for sound";
    for (int round = 0; round < 3; ++round) {
        // A pause holds what the server has: nothing more is rendered behind it, however long.
        output->hold(true);
        // A seek or stop while paused flushes while held: the server asks for a whole new queue,
        // which must wait for the release too.
        if (round == 2)
            output->flush();
        std::this_thread::sleep_for(100ms); // a request already on its way is not answered
        const int held = source->renders_;
        std::this_thread::sleep_for(400ms); // four times what the server holds
        EXPECT_EQ(source->renders_, held) << "rendered while held, round " << round;
        // A resume releases it and the server asks again.
        output->hold(false);
        EXPECT_TRUE(WaitFor([&] { return source->renders_ > held; }))
            << "released, the server asks for sound again, round " << round;
    }
    output->detach(source.get());
}

} // namespace
