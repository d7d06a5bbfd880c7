#pragma once

#include "tests/e2e/support/Process.h"

#include <memory>
#include <string>
#include <vector>

namespace vd::e2e {

// Real input through the X server's XTEST extension, sent by xdotool. Each call returns once
// xdotool has handed the events to the server; whether the program has seen them yet is for the
// caller to find out from what the program does.
namespace xdo {

void move_to(int x, int y);
void move_by(int dx, int dy);
void press(int button);   // 1 left, 3 right
void release(int button); //
void click(int button);
void double_click(int button);
void key(const std::string& keysym); // "Escape", "Up", "Return"

// Starts a click and returns without waiting for xdotool to end, so that the caller can watch
// for the moment the click arrives (XDisplay::wait_for_button_release).
[[nodiscard]] std::unique_ptr<ChildProcess> start_click(int button);

} // namespace xdo

} // namespace vd::e2e
