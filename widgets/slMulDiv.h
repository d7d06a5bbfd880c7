#pragma once

namespace vd {

// a × b ÷ c in 64 bits, rounded to the nearest integer (halves away from zero); -1 when c is 0.
// The gradients divide their bands and colour steps with it.
[[nodiscard]] int MulDiv(int a, int b, int c);

} // namespace vd
