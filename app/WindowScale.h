#pragma once

#include <optional>
#include <string_view>

namespace vd {

// The whole window is drawn at a whole multiple of its size, 1x, 2x or 3x, pixel for pixel, so
// that the skin never blurs. The multiple follows the screen (its device pixel ratio rounded
// down: 2x at 200 %, 1x at 150 %); VODEZARU_SCALE sets it outright.
inline constexpr int kMaxWindowScale = 3;

// The multiple VODEZARU_SCALE's text asks for, or nothing for an empty or unusable text.
[[nodiscard]] std::optional<int> ParseWindowScale(std::string_view text);

// Before the application object exists: makes VODEZARU_SCALE the window's scale.
void ApplyWindowScale();

} // namespace vd
