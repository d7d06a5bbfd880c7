#pragma once

#include "tests/e2e/support/Process.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vd::e2e {

// A private session bus for one test: a bus daemon of its own, whose address the test's environment
// names while the object lives, so that every program the test starts meanwhile (the player, the
// tray) talks on it. Ended by its PID when the object goes.
class SessionBus {
public:
    // Whether the bus daemon and the command-line client are installed.
    [[nodiscard]] static bool installed();

    // Starts the daemon and waits (at most 5 s) until it answers; throws std::runtime_error if
    // it does not.
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // Calls `method` ("interface.Member") of `path` at `destination` with dbus-send arguments
    // ("string:...", "int32:..."); the printed reply, empty when the call failed.
    [[nodiscard]] std::string call(const std::string& destination, const std::string& path,
                                   const std::string& method,
                                   const std::vector<std::string>& arguments = {});
    // A property's value as printed by the client.
    [[nodiscard]] std::string property(const std::string& destination, const std::string& path,
                                       const std::string& interface, const std::string& name);
    // The names on the bus now.
    [[nodiscard]] std::vector<std::string> names();

private:
    std::unique_ptr<ChildProcess> daemon_;
    std::optional<std::string> previous_address_;
};

// A StatusNotifierItem notification area on the test's session bus: a StatusNotifierWatcher
// and a standalone host (a panel at the bottom-right of the screen), each its own program so
// that a test can end and restart either.
class StatusNotifierTray {
public:
    // Whether the watcher and the host programs are installed.
    [[nodiscard]] static bool installed();

    // Starts the watcher and the host and waits (at most 5 s each) until the watcher has the
    // host registered; throws std::runtime_error when that does not happen.
    explicit StatusNotifierTray(SessionBus& bus);

    void stop_host();
    void start_host(); // waits as the constructor does
    void stop_watcher();
    void start_watcher(); // waits for the watcher's name on the bus

    // Whether the watcher says a host is registered.
    [[nodiscard]] bool host_registered();
    // The items the watcher has registered ("service/path" or "service").
    [[nodiscard]] std::vector<std::string> items();

private:
    SessionBus& bus_;
    std::unique_ptr<ChildProcess> watcher_;
    std::unique_ptr<ChildProcess> host_;
};

// The strings of a printed reply, in order (`string "..."` items).
[[nodiscard]] std::vector<std::string> reply_strings(const std::string& reply);

} // namespace vd::e2e
