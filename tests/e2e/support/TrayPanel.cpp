#include "tests/e2e/support/TrayPanel.h"

#include "tests/e2e/support/Wait.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace vd::e2e {

namespace {

constexpr const char* kProgram = "trayer";

} // namespace

bool TrayPanel::installed() {
    const char* path = std::getenv("PATH");
    std::string rest = path != nullptr ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string dir = rest.substr(0, colon);
        rest = colon == std::string::npos ? "" : rest.substr(colon + 1);
        std::error_code ignored;
        if (!dir.empty() &&
            std::filesystem::is_regular_file(std::filesystem::path(dir) / kProgram, ignored))
            return true;
    }
    return false;
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

} // namespace vd::e2e
