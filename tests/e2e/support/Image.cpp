#include "tests/e2e/support/Image.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vd::e2e {

namespace {

[[nodiscard]] std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    if (at + 4 > b.size())
        throw std::runtime_error("BMP header cut short");
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

[[nodiscard]] std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    if (at + 2 > b.size())
        throw std::runtime_error("BMP header cut short");
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

[[nodiscard]] std::string hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFFU);
    return text;
}

} // namespace

Image Image::crop(int x, int y, int w, int h) const {
    if (x < 0 || y < 0 || w < 0 || h < 0 || x + w > width || y + h > height)
        throw std::out_of_range("crop outside the image");
    Image part{w, h, {}};
    part.pixels.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col)
            part.pixels.push_back(at(col, row));
    return part;
}

Image read_bmp24(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        throw std::runtime_error(path.string() + " is not a BMP");
    const std::uint32_t data_offset = le32(b, 10);
    const auto width = static_cast<std::int32_t>(le32(b, 18));
    const auto height = static_cast<std::int32_t>(le32(b, 22));
    if (le16(b, 28) != 24 || le32(b, 30) != 0 || width <= 0 || height == 0)
        throw std::runtime_error(path.string() + " is not an uncompressed 24-bit BMP");
    const bool bottom_up = height > 0;
    const int rows = bottom_up ? height : -height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (data_offset + stride * static_cast<std::size_t>(rows) > b.size())
        throw std::runtime_error(path.string() + " is cut short");
    Image image{width, rows, {}};
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
    for (int y = 0; y < rows; ++y) {
        const std::size_t line =
            data_offset + stride * static_cast<std::size_t>(bottom_up ? rows - 1 - y : y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = line + static_cast<std::size_t>(x) * 3;
            image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)] = static_cast<std::uint32_t>(b[p + 2]) << 16 |
                                                        static_cast<std::uint32_t>(b[p + 1]) << 8 |
                                                        b[p];
        }
    }
    return image;
}

void write_ppm(const Image& image, const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    for (const std::uint32_t p : image.pixels) {
        const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                             static_cast<char>(p)};
        out.write(rgb, 3);
    }
}

ImageDifference compare(const Image& got, const Image& want) {
    ImageDifference d;
    if (got.width != want.width || got.height != want.height) {
        d.count = want.pixels.size();
        d.first = "size " + std::to_string(got.width) + "x" + std::to_string(got.height) +
                  " instead of " + std::to_string(want.width) + "x" + std::to_string(want.height);
        return d;
    }
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x)
            if (got.at(x, y) != want.at(x, y)) {
                if (d.count == 0)
                    d.first = "(" + std::to_string(x) + "," + std::to_string(y) + ") got " +
                              hex(got.at(x, y)) + " want " + hex(want.at(x, y));
                ++d.count;
            }
    return d;
}

} // namespace vd::e2e
