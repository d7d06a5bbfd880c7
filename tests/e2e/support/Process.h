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

// Runs a program to its end, at most `timeout` (it is killed then and std::runtime_error thrown).
// Returns the exit code; a program killed by a signal throws.
int run_program(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

// Where a captured program's standard error goes.
enum class ErrorOutput {
    Captured,  // into the output, mixed with the standard output
    Discarded, // to /dev/null (complaints of a tool polled while a bus comes up)
    Inherited, // to the test's own
};
// What happens when a captured program has not ended in time.
enum class AtTimeout {
    Throw,  // it is killed and std::runtime_error thrown
    CutOff, // it is killed and what it wrote is returned (monitors that are meant to be cut off)
};

// What a program run to its end wrote and its exit code.
struct ProgramOutput {
    int exit_code = -1; // -1 when it was cut off
    std::string output;
    bool cut_off = false;
};
// Runs a program with `environment` laid over the test's own, at most `timeout`, and keeps what it
// wrote to its standard output (and, as `errors` says, its standard error). A program that ends by
// a signal it was not sent throws std::runtime_error.
[[nodiscard]] ProgramOutput run_capturing(const std::vector<std::string>& argv,
                                          const std::vector<std::string>& environment,
                                          std::chrono::milliseconds timeout,
                                          ErrorOutput errors = ErrorOutput::Captured,
                                          AtTimeout at_timeout = AtTimeout::Throw);

} // namespace vd::e2e
