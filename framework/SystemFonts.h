#pragma once

#include "framework/Graphics.h"

#include <string_view>

namespace vd {

// The font the desktop draws menus in: the classic "Tahoma" 8 point (height -11) unless the
// application was told another. GUI thread.
[[nodiscard]] TFont SystemMenuFont();
void SetSystemMenuFont(std::string_view name, int height);

} // namespace vd
