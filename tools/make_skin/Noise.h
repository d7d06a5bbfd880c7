#pragma once

#include <cmath>
#include <cstdint>

// Repeatable pseudo-random texture: the same inputs give the same pixels on every run.
namespace vd::art {

[[nodiscard]] inline uint32_t hash2(uint32_t x, uint32_t y) {
    uint32_t h = x * 374761393u + y * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

// Uniform in [0, 1].
[[nodiscard]] inline double hashUnit(uint32_t x, uint32_t y) {
    return (hash2(x, y) & 0xFFFF) / 65535.0;
}

// Smooth noise along one axis; `row` picks an independent curve.
[[nodiscard]] inline double valueNoise(uint32_t row, double s) {
    const double cell = std::floor(s);
    const double f = s - cell;
    const double smooth = f * f * (3 - 2 * f);
    const auto i = static_cast<uint32_t>(static_cast<int64_t>(cell) + 100000);
    return hashUnit(i, row) * (1 - smooth) + hashUnit(i + 1, row) * smooth;
}

} // namespace vd::art
