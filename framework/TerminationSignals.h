#pragma once

#include <functional>
#include <memory>

namespace vd {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread: the signal handler only writes
// the signal's number into a pipe, which the event loop watches. A second signal of the same kind
// ends the program at once, as if no handler were there, should the orderly close not get
// anywhere. One per process; the previous handlers come back when it goes.
class TerminationSignals {
public:
    // GUI thread. `on_signal` runs on the GUI thread, from its event loop, once per signal.
    explicit TerminationSignals(std::function<void(int signal)> on_signal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    struct Platform;
    std::unique_ptr<Platform> platform_;
};

} // namespace vd
