#pragma once

#include "app/CommandLine.h"
#include "app/SingleInstance.h"

#include <memory>
#include <optional>

namespace vd {

class TPlayer;

// The start of the program around the window, in the order main calls them.

// Before the application object: reads the command line; --help, --version and a command line
// that cannot be understood end the program here (the returned exit status).
[[nodiscard]] std::optional<int> ReadCommandLine(int argc, char** argv, CommandLine& line);

// With the application object: gives the application its desktop name and icon.
void SetDesktopIdentity();

// Hands the start to a running player, or makes this one the running player (`server`). Returns
// the exit status when this start is done.
[[nodiscard]] std::optional<int> HandToRunningPlayer(const CommandLine& line,
                                                     std::unique_ptr<InstanceServer>& server);

// Lets `server` carry later starts' requests to `player`. GUI thread.
void ServePlayer(InstanceServer& server, TPlayer& player);

} // namespace vd
