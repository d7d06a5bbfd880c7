#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vd::e2e {

// A program started for a test. It is ended (SIGTERM, then SIGKILL after a short grace) and
// reaped when the object goes, so a failing test never leaves a player running under Xvfb.
class ChildProcess {
public:
    // `environment` entries ("NAME=value") replace or add to the test's own environment (the last
    // of two with one name wins).
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    [[nodiscard]] pid_t pid() const { return pid_; }
    // True while the process has not ended.
    [[nodiscard]] bool running();
    // Waits at most `timeout` for the process to end by itself; its wait status when it did.
    [[nodiscard]] std::optional<int> wait_for_exit(std::chrono::milliseconds timeout);
    // Ends the process now and reaps it.
    void terminate();
    // Sends `signal` (SIGTERM, SIGINT, ...) and returns at once.
    void send_signal(int signal);

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// Whether `program` is found on the PATH (tests of optional programs skip without them).
[[nodiscard]] bool program_installed(const std::string& program);

// Runs a program to its end, at most `timeout`, and returns what it wrote to its standard output
// (its exit status and error output are not looked at). Throws std::runtime_error when it does not
// end in time.
[[nodiscard]] std::string capture_program(const std::vector<std::string>& argv,
                                          std::chrono::milliseconds timeout);

// Runs a program to its end, at most `timeout` (it is killed then and std::runtime_error thrown).
// Returns the exit code; a program killed by a signal throws.
int run_program(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

// What a program run to its end wrote (standard output and error together) and its exit code.
struct ProgramOutput {
    int exit_code = 0;
    std::string output;
};
// Like run_program, with `environment` laid over the test's own and the output kept.
[[nodiscard]] ProgramOutput run_capturing(const std::vector<std::string>& argv,
                                          const std::vector<std::string>& environment,
                                          std::chrono::milliseconds timeout);
// Runs a program to its end, at most `timeout` (it is killed then), and returns what it wrote to
// its standard output, also when it was killed: for tools that answer in text (playerctl,
// busctl) and monitors that are meant to be cut off.
// With `and_errors`, what it wrote to its standard error is mixed in.
[[nodiscard]] std::string program_output(const std::vector<std::string>& argv,
                                         std::chrono::milliseconds timeout,
                                         bool and_errors = false);

} // namespace vd::e2e
