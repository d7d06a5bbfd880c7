#pragma once

#include "framework/Types.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vd {

// Where the window position is kept: the program's path with ".ini" for a program run from a
// folder of its own; for an installed program (one in a "bin" folder, or whose folder cannot be
// written) $XDG_CONFIG_HOME/vodezaru/vodezaru.ini (default ~/.config), so that it never writes
// beside itself, even when run by root.
[[nodiscard]] std::string SettingsPathFor(const std::string& program_path);

// A decimal integer (optional sign, surrounding blanks allowed), or nothing.
[[nodiscard]] std::optional<int> ParseDecimal(std::string_view text);

// The window's position at start: the stored one, unless a value is missing or not a number, or
// the window would lie wholly or mostly (more than half its area) outside every screen, as after
// a monitor was unplugged; then the designed one. A value beyond what any screen's coordinates
// can reach (beyond +-32767) counts as missing.
[[nodiscard]] TPoint StartPosition(std::optional<int> left, std::optional<int> top, TPoint designed,
                                   int width, int height, std::span<const TRect> screens);

} // namespace vd
