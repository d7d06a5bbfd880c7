#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vd {

struct CommandLine;

// What a later start asks of the running player.
struct InstanceRequest {
    enum class Kind { Activate, Open, Action };
    Kind kind = Kind::Activate;
    std::vector<std::string> files; // absolute paths, for Open
    bool enqueue = false;           // Open: append only
    std::string action;             // Action: "play-pause", "next", "previous" or "stop"

    friend bool operator==(const InstanceRequest&, const InstanceRequest&) = default;
};

// The request a start with this command line sends to a running player.
[[nodiscard]] InstanceRequest RequestFor(const CommandLine& line);

// The running player's end: it owns the application id on the session bus
// (org.freedesktop.Application) or, where there is no session bus, listens on a local socket in
// $XDG_RUNTIME_DIR. Requests are handed to the handler on the GUI thread.
class InstanceServer {
public:
    using Handler = std::function<void(const InstanceRequest&)>;
    virtual ~InstanceServer() = default;
    // GUI thread. Requests that come before a handler is set are dropped.
    virtual void SetHandler(Handler handler) = 0;
    // "session bus" or the socket's path, for messages.
    [[nodiscard]] virtual std::string Where() const = 0;
};

// GUI thread, with the application object made. Becomes the one running player, or returns
// nullptr when another player already is one. A socket left by a player that died is removed.
[[nodiscard]] std::unique_ptr<InstanceServer> ClaimInstance();

// GUI thread, with the application object made. Hands `request` to the running player; false
// when none answers within a few seconds.
[[nodiscard]] bool SendToRunningInstance(const InstanceRequest& request);

// The local socket's path for this user and display.
[[nodiscard]] std::string InstanceSocketPath();

} // namespace vd
