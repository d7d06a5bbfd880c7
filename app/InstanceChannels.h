#pragma once

#include "app/SingleInstance.h"

#include <optional>

// The two ways a start reaches the running player: the session bus and the local socket.
namespace vd::instance {

// Whether a session bus can be reached.
[[nodiscard]] bool SessionBusAvailable();
// nullptr when the name is owned by another player.
[[nodiscard]] std::unique_ptr<InstanceServer> ClaimOnBus();
// nullopt when no player owns the name; otherwise whether it took the request.
[[nodiscard]] std::optional<bool> SendOnBus(const InstanceRequest& request);

[[nodiscard]] std::unique_ptr<InstanceServer> ClaimSocket(const std::string& path);
[[nodiscard]] std::optional<bool> SendOnSocket(const std::string& path,
                                               const InstanceRequest& request);

} // namespace vd::instance
