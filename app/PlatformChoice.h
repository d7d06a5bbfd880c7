#pragma once

#include <optional>
#include <string>

namespace vd {

// Where the window opens on a desktop that offers both Wayland and X11 (XWayland). A Wayland
// client cannot place its own window, so the saved position would mean nothing there: the player
// starts on XWayland when both are offered, unless the person opts into native Wayland with
// VODEZARU_PLATFORM=wayland or the settings key Platform=wayland. A QT_QPA_PLATFORM of their own
// always wins.
struct PlatformEnvironment {
    std::optional<std::string> qt_qpa_platform;   // QT_QPA_PLATFORM
    std::optional<std::string> vodezaru_platform; // VODEZARU_PLATFORM: "wayland", "x11"
    std::optional<std::string> wayland_display;   // WAYLAND_DISPLAY
    std::optional<std::string> display;           // DISPLAY
    std::string setting;                          // the settings file's Platform key
};

// The Qt platform to start on ("xcb", "wayland"), or nothing to leave Qt's own choice.
[[nodiscard]] std::optional<std::string> ChooseQtPlatform(const PlatformEnvironment& environment);

// Reads the environment and the settings file at `settings_path` and sets QT_QPA_PLATFORM as
// ChooseQtPlatform says. Before the application object exists.
void ApplyPlatformChoice(const std::string& settings_path);

} // namespace vd
