#include "tests/e2e/support/Xdo.h"

#include "tests/e2e/support/Process.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace vd::e2e::xdo {

namespace {

void run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    // xdotool fails before it sends anything when the busy server turns its connection away for
    // a moment; such a run is tried again.
    int code = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        code = run_program(arguments, std::chrono::seconds(5));
        if (code == 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error("xdotool " + arguments.at(1) + " failed with " + std::to_string(code));
}

} // namespace

void move_to(int x, int y) {
    run({"mousemove", std::to_string(x), std::to_string(y)});
}

void move_by(int dx, int dy) {
    // "--" so that a negative step is not read as an option.
    run({"mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
}

void press(int button) {
    run({"mousedown", std::to_string(button)});
}

void release(int button) {
    run({"mouseup", std::to_string(button)});
}

void click(int button) {
    run({"click", std::to_string(button)});
}

void double_click(int button) {
    // Well inside any double-click interval, and slow enough for two separate presses.
    run({"click", "--repeat", "2", "--delay", "60", std::to_string(button)});
}

void key(const std::string& keysym) {
    run({"key", keysym});
}

std::unique_ptr<ChildProcess> start_click(int button) {
    return std::make_unique<ChildProcess>("xdotool",
                                          std::vector<std::string>{"click", std::to_string(button)},
                                          std::vector<std::string>{});
}

} // namespace vd::e2e::xdo
