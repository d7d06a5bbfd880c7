#include "widgets/slMulDiv.h"

#include <cstdint>
#include <cstdlib>

namespace vd {

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const auto magnitude = static_cast<uint64_t>(std::llabs(product));
    const auto divisor = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(c)));
    const auto quotient = static_cast<int64_t>((2 * magnitude + divisor) / (2 * divisor));
    return static_cast<int>(negative ? -quotient : quotient);
}

} // namespace vd
