#include "tests/e2e/support/StatusNotifier.h"

#include "tests/e2e/support/Wait.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace vd::e2e {

namespace {

using namespace std::chrono_literals;

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
constexpr const char* kBusVariable = "DBUS_SESSION_BUS_ADDRESS";

// The host is a GTK program: without this it starts the accessibility bus as well, which would
// outlive the test.
const std::vector<std::string> kQuietGtk{"NO_AT_BRIDGE=1", "GTK_A11Y=none"};

} // namespace

std::vector<std::string> reply_strings(const std::string& reply) {
    std::vector<std::string> result;
    std::size_t at = 0;
    while ((at = reply.find("string \"", at)) != std::string::npos) {
        at += 8;
        std::string value;
        while (at < reply.size() && reply[at] != '"') {
            if (reply[at] == '\\' && at + 1 < reply.size())
                ++at;
            value += reply[at++];
        }
        result.push_back(value);
    }
    return result;
}

bool SessionBus::installed() {
    return program_installed("dbus-daemon") && program_installed("dbus-send");
}

SessionBus::SessionBus() {
    // An abstract socket: no file to clean up, and no path too long for a socket name.
    static int count = 0;
    const std::string address =
        "unix:abstract=vd-e2e-bus-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
    daemon_ = std::make_unique<ChildProcess>(
        "dbus-daemon", std::vector<std::string>{"--session", "--nofork", "--address=" + address},
        std::vector<std::string>{});
    if (const char* old = std::getenv(kBusVariable))
        previous_address_ = old;
    ::setenv(kBusVariable, address.c_str(), 1);
    if (!wait_until([&] { return !names().empty() || !daemon_->running(); }, 5s, 50ms) ||
        !daemon_->running())
        throw std::runtime_error("the private session bus did not start within 5 s");
}

SessionBus::~SessionBus() {
    daemon_.reset();
    if (previous_address_)
        ::setenv(kBusVariable, previous_address_->c_str(), 1);
    else
        ::unsetenv(kBusVariable);
}

std::string SessionBus::call(const std::string& destination, const std::string& path,
                             const std::string& method, const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{
        "dbus-send", "--session", "--print-reply", "--reply-timeout=2000", "--dest=" + destination,
        path,        method};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return run_capturing(argv, {}, 5s, ErrorOutput::Discarded).output;
}

std::string SessionBus::property(const std::string& destination, const std::string& path,
                                 const std::string& interface, const std::string& name) {
    return call(destination, path, "org.freedesktop.DBus.Properties.Get",
                {"string:" + interface, "string:" + name});
}

std::vector<std::string> SessionBus::names() {
    return reply_strings(
        call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"));
}

bool StatusNotifierTray::installed() {
    return program_installed("status-notifier-watcher") &&
           program_installed("gtk-sni-tray-standalone");
}

StatusNotifierTray::StatusNotifierTray(SessionBus& bus) : bus_(bus) {
    start_watcher();
    start_host();
}

void StatusNotifierTray::start_watcher() {
    watcher_ = std::make_unique<ChildProcess>("status-notifier-watcher", std::vector<std::string>{},
                                              kQuietGtk);
    const bool up = wait_until(
        [&] {
            const std::vector<std::string> names = bus_.names();
            return std::find(names.begin(), names.end(), kWatcherService) != names.end();
        },
        5s, 50ms);
    if (!up)
        throw std::runtime_error("the StatusNotifierWatcher did not appear within 5 s");
}

void StatusNotifierTray::stop_watcher() {
    watcher_.reset();
}

void StatusNotifierTray::start_host() {
    host_ = std::make_unique<ChildProcess>(
        "gtk-sni-tray-standalone", std::vector<std::string>{"--bottom", "--end"}, kQuietGtk);
    if (!wait_until([&] { return host_registered(); }, 5s, 50ms))
        throw std::runtime_error("the StatusNotifierItem host did not register within 5 s");
}

void StatusNotifierTray::stop_host() {
    host_.reset();
}

bool StatusNotifierTray::host_registered() {
    const std::string reply = bus_.property(kWatcherService, kWatcherPath, kWatcherService,
                                            "IsStatusNotifierHostRegistered");
    return reply.find("boolean true") != std::string::npos;
}

std::vector<std::string> StatusNotifierTray::items() {
    return reply_strings(bus_.property(kWatcherService, kWatcherPath, kWatcherService,
                                       "RegisteredStatusNotifierItems"));
}

} // namespace vd::e2e
