#pragma once

#include "tests/e2e/support/Process.h"
#include "tests/e2e/support/XDisplay.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vd::e2e {

// A notification area of the XEmbed kind (the "trayer" panel), docked at the bottom-right corner
// of the screen so that an icon in it sits in the corner. Ended by its PID when the object goes.
class TrayPanel {
public:
    // Whether the panel program is installed: tests without it are skipped.
    [[nodiscard]] static bool installed();

    // Starts the panel and waits (at most 5 s) for its window; throws std::runtime_error if it
    // does not appear.
    explicit TrayPanel(XDisplay& x);

    // The viewable icon named `name` docked in the panel, if there is one now.
    [[nodiscard]] std::optional<WindowInfo> icon(std::string_view name);
    // The same icon once the panel has laid it out: wholly inside the panel, with the panel wholly
    // on the screen. The panel maps a new icon first and only then grows and moves to make room
    // for it, so a click at an icon that is merely viewable can land beside it.
    [[nodiscard]] std::optional<WindowInfo> placed_icon(std::string_view name);
    [[nodiscard]] ChildProcess& process() { return *process_; }

private:
    XDisplay& x_;
    std::unique_ptr<ChildProcess> process_;
    XWindowId panel_ = 0;
};

} // namespace vd::e2e
