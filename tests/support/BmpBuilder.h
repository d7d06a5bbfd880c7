#pragma once

// BMP file images made in tests, of any depth and header the reader claims to read, with every
// field open to being made wrong.

#include <cstdint>
#include <functional>
#include <vector>

namespace vd::test {

struct BmpSpec {
    int32_t width = 1;
    int32_t height = 1; // negative: rows top-down
    uint16_t bit_count = 24;
    uint32_t compression = 0; // 0 plain, 3 bit fields
    uint32_t info_size = 40;  // 12 (core), 40, 108 or 124
    uint16_t planes = 1;
    std::vector<uint32_t> palette = {}; // 0x00RRGGBB entries
    uint32_t colors_used = 0;           // written as biClrUsed
    std::vector<uint32_t> masks = {};   // red, green, blue (bit fields)
    // The stored value of pixel (x, y), y counted from the top of the picture: a palette index,
    // or the raw 16/24/32-bit value.
    std::function<uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
};

inline void Put16(std::vector<uint8_t>& out, std::size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(std::vector<uint8_t>& out, std::size_t at, uint32_t v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

// The pixel data starts right after the headers, masks and colour table.
inline std::vector<uint8_t> MakeBmp(const BmpSpec& s) {
    const bool core = s.info_size == 12;
    const int rows = s.height < 0 ? -s.height : s.height;
    const std::size_t stride = ((static_cast<std::size_t>(s.width) * s.bit_count + 31) / 32) * 4;
    const bool masks_after = s.compression == 3 && s.info_size == 40;
    const std::size_t entry = core ? 3 : 4;
    const std::size_t offset = 14 + s.info_size + (masks_after ? 12 : 0) + entry * s.palette.size();
    std::vector<uint8_t> out(offset + stride * static_cast<std::size_t>(rows), 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<uint32_t>(out.size()));
    Put32(out, 10, static_cast<uint32_t>(offset));
    Put32(out, 14, s.info_size);
    if (core) {
        Put16(out, 18, static_cast<uint32_t>(s.width));
        Put16(out, 20, static_cast<uint32_t>(s.height));
        Put16(out, 22, s.planes);
        Put16(out, 24, s.bit_count);
    } else {
        Put32(out, 18, static_cast<uint32_t>(s.width));
        Put32(out, 22, static_cast<uint32_t>(s.height));
        Put16(out, 26, s.planes);
        Put16(out, 28, s.bit_count);
        Put32(out, 30, s.compression);
        Put32(out, 34, static_cast<uint32_t>(stride * static_cast<std::size_t>(rows)));
        Put32(out, 46, s.colors_used);
        if (s.compression == 3)
            for (std::size_t i = 0; i < 3 && i < s.masks.size(); ++i)
                Put32(out, 54 + 4 * i, s.masks[i]); // after a 40-byte header or inside a larger one
    }
    std::size_t at = 14 + s.info_size + (masks_after ? 12 : 0);
    for (uint32_t c : s.palette) {
        out[at] = static_cast<uint8_t>(c);
        out[at + 1] = static_cast<uint8_t>(c >> 8);
        out[at + 2] = static_cast<uint8_t>(c >> 16);
        at += entry;
    }
    for (int row = 0; row < rows; ++row) {
        const int y = s.height < 0 ? row : rows - 1 - row;
        uint8_t* line = out.data() + offset + stride * static_cast<std::size_t>(row);
        for (int x = 0; x < s.width; ++x) {
            const uint32_t v = s.pixel(x, y);
            switch (s.bit_count) {
            case 1:
                line[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
                break;
            case 4:
                line[x / 2] |= static_cast<uint8_t>((v & 0xF) << (x % 2 == 0 ? 4 : 0));
                break;
            case 8:
                line[x] = static_cast<uint8_t>(v);
                break;
            case 16:
                line[2 * x] = static_cast<uint8_t>(v);
                line[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                break;
            case 24:
                for (int i = 0; i < 3; ++i)
                    line[3 * x + i] = static_cast<uint8_t>(v >> (8 * i));
                break;
            case 32:
                for (int i = 0; i < 4; ++i)
                    line[4 * x + i] = static_cast<uint8_t>(v >> (8 * i));
                break;
            default:
                break;
            }
        }
    }
    return out;
}

} // namespace vd::test
