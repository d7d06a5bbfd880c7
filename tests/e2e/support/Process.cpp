#include "tests/e2e/support/Process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vd::e2e {

namespace {

using Clock = std::chrono::steady_clock;

[[nodiscard]] std::string name_of(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// The test's environment with `extra` laid over it.
[[nodiscard]] std::vector<std::string> merged_environment(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& x : extra)
            replaced = replaced || name_of(x) == name_of(entry);
        if (!replaced)
            result.push_back(entry);
    }
    // Within `extra` the later of two entries with one name wins.
    for (const std::string& x : extra) {
        std::erase_if(result, [&](const std::string& e) { return name_of(e) == name_of(x); });
        result.push_back(x);
    }
    return result;
}

[[nodiscard]] std::vector<char*> pointers_to(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

[[nodiscard]] pid_t spawn(const std::string& program, std::vector<std::string> argv,
                          std::vector<std::string> env) {
    std::vector<char*> argv_ptrs = pointers_to(argv);
    std::vector<char*> env_ptrs = pointers_to(env);
    pid_t pid = -1;
    const int error =
        ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv_ptrs.data(), env_ptrs.data());
    if (error != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
    return pid;
}

// Polls for the end of `pid`; its wait status, or nothing when it still runs after `timeout`.
[[nodiscard]] std::optional<int> reap_within(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return status;
        if (r < 0 && errno != EINTR)
            return 0; // already reaped elsewhere: nothing left to wait for
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    pid_ = spawn(program, std::move(argv), merged_environment(environment));
}

ChildProcess::~ChildProcess() {
    terminate();
}

bool ChildProcess::running() {
    if (status_)
        return false;
    status_ = reap_within(pid_, std::chrono::milliseconds(0));
    return !status_;
}

std::optional<int> ChildProcess::wait_for_exit(std::chrono::milliseconds timeout) {
    if (!status_)
        status_ = reap_within(pid_, timeout);
    return status_;
}

void ChildProcess::send_signal(int signal) {
    if (pid_ > 0 && !status_)
        ::kill(pid_, signal);
}

void ChildProcess::terminate() {
    if (pid_ <= 0 || status_)
        return;
    ::kill(pid_, SIGTERM);
    status_ = reap_within(pid_, std::chrono::milliseconds(2000));
    if (!status_) {
        ::kill(pid_, SIGKILL);
        status_ = reap_within(pid_, std::chrono::milliseconds(5000));
    }
}

bool program_installed(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string rest = path != nullptr ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string dir = rest.substr(0, colon);
        rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
        std::error_code ignored;
        if (!dir.empty() &&
            std::filesystem::is_regular_file(std::filesystem::path(dir) / program, ignored))
            return true;
    }
    return false;
}

int run_program(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
    ChildProcess child(argv.at(0), {argv.begin() + 1, argv.end()}, {});
    const std::optional<int> status = child.wait_for_exit(timeout);
    if (!status)
        throw std::runtime_error(argv.at(0) + " did not finish in time");
    if (!WIFEXITED(*status))
        throw std::runtime_error(argv.at(0) + " ended by a signal");
    return WEXITSTATUS(*status);
}

ProgramOutput run_capturing(const std::vector<std::string>& argv,
                            const std::vector<std::string>& environment,
                            std::chrono::milliseconds timeout, ErrorOutput errors,
                            AtTimeout at_timeout) {
    int fds[2];
    // Close-on-exec: only the program's own standard output holds the writing end, so its end
    // shows as the end of the pipe even while the test starts other programs.
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe for " + argv.at(0));
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (errors == ErrorOutput::Captured)
        ::posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    else if (errors == ErrorOutput::Discarded)
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = argv;
    std::vector<std::string> env = merged_environment(environment);
    std::vector<char*> argv_ptrs = pointers_to(args);
    std::vector<char*> env_ptrs = pointers_to(env);
    pid_t pid = -1;
    const int error = ::posix_spawnp(&pid, argv.at(0).c_str(), &actions, nullptr, argv_ptrs.data(),
                                     env_ptrs.data());
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (error != 0) {
        ::close(fds[0]);
        throw std::runtime_error("cannot start " + argv.at(0) + ": " + std::strerror(error));
    }
    ProgramOutput result;
    const auto deadline = Clock::now() + timeout;
    const auto left = [&] {
        return std::max(
            std::chrono::milliseconds(0),
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
    };
    char buffer[4096];
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        const auto wait = left();
        if (wait.count() <= 0)
            break;
        const int ready = ::poll(&p, 1, static_cast<int>(wait.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    // The reading end stays open until the program is reaped: a monitor cut off while it writes
    // ends by the kill, not by a broken pipe.
    std::optional<int> status = reap_within(pid, left());
    if (!status) {
        ::kill(pid, SIGKILL);
        (void)reap_within(pid, std::chrono::milliseconds(5000));
        ::close(fds[0]);
        if (at_timeout == AtTimeout::Throw)
            throw std::runtime_error(argv.at(0) + " did not finish in time");
        result.cut_off = true;
        return result;
    }
    ::close(fds[0]);
    if (!WIFEXITED(*status))
        throw std::runtime_error(argv.at(0) + " ended by a signal");
    result.exit_code = WEXITSTATUS(*status);
    return result;
}

} // namespace vd::e2e
