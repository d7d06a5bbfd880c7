#include "tests/e2e/support/TrayPanel.h"

#include "tests/e2e/support/Wait.h"

#include <stdexcept>
#include <vector>

namespace vd::e2e {

namespace {

constexpr const char* kProgram = "trayer";

[[nodiscard]] bool inside(const WindowInfo& inner, const WindowInfo& outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

} // namespace

bool TrayPanel::installed() {
    return program_installed(kProgram);
}

TrayPanel::TrayPanel(XDisplay& x) : x_(x) {
    process_ = std::make_unique<ChildProcess>(
        kProgram,
        std::vector<std::string>{"--edge", "bottom", "--align", "right", "--widthtype", "request",
                                 "--heighttype", "pixel", "--height", "24", "--expand", "false",
                                 "--SetDockType", "true"},
        std::vector<std::string>{});
    const bool shown = wait_until(
        [&] {
            if (const std::optional<WindowInfo> w =
                    x_.find_viewable("panel", XDisplay::Match::whole))
                panel_ = w->id;
            return panel_ != 0 || !process_->running();
        },
        std::chrono::seconds(5), std::chrono::milliseconds(50));
    if (!shown || panel_ == 0)
        throw std::runtime_error(std::string(kProgram) + "'s panel did not appear within 5 s");
}

std::optional<WindowInfo> TrayPanel::icon(std::string_view name) {
    return x_.find_viewable_in(panel_, name, XDisplay::Match::whole);
}

std::optional<WindowInfo> TrayPanel::placed_icon(std::string_view name) {
    const std::optional<WindowInfo> found = icon(name);
    const std::optional<WindowInfo> panel = x_.info(panel_);
    if (!found || !panel || !inside(*found, *panel) || !inside(*panel, x_.screen()))
        return std::nullopt;
    return found;
}

} // namespace vd::e2e
