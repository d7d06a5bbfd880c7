#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vd::e2e {

// An RGB picture, one 0x00RRGGBB value per pixel, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    [[nodiscard]] std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    // The part at (x, y) of size w x h, which must lie inside.
    [[nodiscard]] Image crop(int x, int y, int w, int h) const;
};

inline constexpr std::uint32_t kFuchsia = 0xFF00FF;

// Reads an uncompressed 24-bit BMP (bottom-up or top-down). Throws std::runtime_error otherwise.
[[nodiscard]] Image read_bmp24(const std::filesystem::path& path);

// Writes `image` as a binary PPM, for looking at a failure afterwards.
void write_ppm(const Image& image, const std::filesystem::path& path);

// How many pixels differ, and the first of them as "(x,y) got #RRGGBB want #RRGGBB"; the sizes
// must match (a size mismatch is reported as every pixel differing).
struct ImageDifference {
    std::size_t count = 0;
    std::string first;
};
[[nodiscard]] ImageDifference compare(const Image& got, const Image& want);

} // namespace vd::e2e
