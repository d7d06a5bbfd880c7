#include "tests/e2e/support/Process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
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
    result.insert(result.end(), extra.begin(), extra.end());
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

int run_program(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
    ChildProcess child(argv.at(0), {argv.begin() + 1, argv.end()}, {});
    const std::optional<int> status = child.wait_for_exit(timeout);
    if (!status)
        throw std::runtime_error(argv.at(0) + " did not finish in time");
    if (!WIFEXITED(*status))
        throw std::runtime_error(argv.at(0) + " ended by a signal");
    return WEXITSTATUS(*status);
}

std::string program_output(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                           bool and_errors) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe for " + argv.at(0));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (and_errors)
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned =
        posix_spawnp(&pid, argv.at(0).c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        throw std::runtime_error(argv.at(0) + " cannot start: " + std::strerror(spawned));
    }
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return output;
}

} // namespace vd::e2e
