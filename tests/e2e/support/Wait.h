#pragma once

#include <chrono>
#include <thread>

namespace vd::e2e {

// Polls `done` until it returns true or `timeout` has passed; returns its last answer. Every wait
// of the end-to-end tests goes through here, so none can hang.
template <typename Predicate>
[[nodiscard]] bool wait_until(Predicate&& done, std::chrono::milliseconds timeout,
                              std::chrono::milliseconds step = std::chrono::milliseconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}

} // namespace vd::e2e
