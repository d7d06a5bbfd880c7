#include "tests/e2e/support/Click.h"

#include "tests/e2e/support/Wav.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace vd::e2e {

using namespace std::chrono_literals;

std::size_t click_at_frame(XDisplay& x, const std::filesystem::path& recording) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        x.watch_button_releases();
        const std::unique_ptr<ChildProcess> xdotool = xdo::start_click(1);
        if (x.wait_for_button_release(1, 5s)) {
            const std::size_t at = recorded_frames(recording);
            (void)xdotool->wait_for_exit(5s);
            return at;
        }
        const std::optional<int> status = xdotool->wait_for_exit(5s);
        if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) == 0)
            break; // it clicked, or hangs: trying again could click twice
        // The busy server turned xdotool away before it sent anything: try again.
    }
    ADD_FAILURE() << "the click's release was not seen";
    return recorded_frames(recording);
}

} // namespace vd::e2e
