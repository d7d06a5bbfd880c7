#include "framework/BmpCodec.h"

#include "framework/Graphics.h"

#include <array>
#include <bit>

namespace vd {

namespace {

constexpr int kMaxDimension = 32768;

uint32_t U16(std::span<const uint8_t> b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8);
}
uint32_t U32(std::span<const uint8_t> b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}

[[noreturn]] void Invalid() {
    throw EInvalidGraphic("Bitmap image is not valid");
}

// Spreads the bits of `mask` so that a masked value becomes 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m >> shift);
        }
    }
    [[nodiscard]] uint32_t Value(uint32_t pixel) const {
        if (bits == 0)
            return 0;
        const uint32_t v = (pixel & mask) >> shift;
        const uint32_t max = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
        return static_cast<uint32_t>((static_cast<uint64_t>(v) * 255 + max / 2) / max);
    }
};

} // namespace

uint32_t BmpDeclaredSize(std::span<const uint8_t> header) {
    if (header.size() < 14 || header[0] != 'B' || header[1] != 'M')
        return 0;
    return U32(header, 2);
}

QImage DecodeBmp(std::span<const uint8_t> file) {
    if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M')
        Invalid();
    const uint32_t pixel_offset = U32(file, 10);
    const uint32_t info_size = U32(file, 14);
    if (info_size < 12 || info_size > file.size() - 14)
        Invalid();

    int64_t width = 0;
    int64_t height = 0;
    uint32_t bit_count = 0;
    uint32_t compression = 0;
    uint32_t colors_used = 0;
    std::size_t palette_entry = 4;
    if (info_size == 12) { // the old core header
        width = U16(file, 18);
        height = static_cast<int16_t>(U16(file, 20));
        bit_count = U16(file, 24);
        palette_entry = 3;
    } else {
        if (info_size < 40)
            Invalid();
        width = static_cast<int32_t>(U32(file, 18));
        height = static_cast<int32_t>(U32(file, 22));
        if (U16(file, 26) != 1)
            Invalid();
        bit_count = U16(file, 28);
        compression = U32(file, 30);
        colors_used = U32(file, 46);
    }
    const bool top_down = height < 0;
    if (top_down)
        height = -height;
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension)
        Invalid();

    constexpr uint32_t kRgb = 0;
    constexpr uint32_t kBitFields = 3;
    constexpr uint32_t kAlphaBitFields = 6;
    const bool bit_fields = compression == kBitFields || compression == kAlphaBitFields;
    if (compression != kRgb && !bit_fields)
        Invalid();
    switch (bit_count) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (compression != kRgb)
            Invalid();
        break;
    case 16:
    case 32:
        break;
    default:
        Invalid();
    }

    // Masks: after a 40-byte header they follow it; in larger headers they are part of it.
    uint32_t masks[3] = {0, 0, 0};
    std::size_t after_header = 14 + info_size;
    if (bit_fields) {
        if (info_size == 40) {
            if (file.size() < after_header + 12)
                Invalid();
            for (std::size_t i = 0; i < 3; ++i)
                masks[i] = U32(file, after_header + 4 * i);
            after_header += 12;
        } else {
            if (info_size < 52)
                Invalid();
            for (std::size_t i = 0; i < 3; ++i)
                masks[i] = U32(file, 14 + 40 + 4 * i);
        }
    } else if (bit_count == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (bit_count == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }

    std::array<QRgb, 256> palette{};
    if (bit_count <= 8) {
        const uint32_t max_colors = 1u << bit_count;
        const uint32_t count =
            colors_used == 0 || colors_used > max_colors ? max_colors : colors_used;
        if (file.size() < after_header || (file.size() - after_header) / palette_entry < count)
            Invalid();
        for (uint32_t i = 0; i < count; ++i) {
            const std::size_t at = after_header + i * palette_entry;
            palette[i] = qRgb(file[at + 2], file[at + 1], file[at]);
        }
    }

    const uint64_t stride = ((static_cast<uint64_t>(width) * bit_count + 31) / 32) * 4;
    const uint64_t needed = stride * static_cast<uint64_t>(height);
    if (pixel_offset > file.size() || file.size() - pixel_offset < needed)
        Invalid();

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull())
        Invalid();
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = file.data() + pixel_offset + stride * static_cast<uint64_t>(row);
        const int y = static_cast<int>(top_down ? row : height - 1 - row);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int64_t x = 0; x < width; ++x) {
            QRgb pixel = 0;
            switch (bit_count) {
            case 1:
                pixel = palette[(src[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                pixel = palette[(src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
                break;
            case 8:
                pixel = palette[src[x]];
                break;
            case 24:
                pixel = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            case 16: {
                const uint32_t v = src[2 * x] | (static_cast<uint32_t>(src[2 * x + 1]) << 8);
                pixel = qRgb(static_cast<int>(red.Value(v)), static_cast<int>(green.Value(v)),
                             static_cast<int>(blue.Value(v)));
                break;
            }
            case 32: {
                const uint32_t v = static_cast<uint32_t>(src[4 * x]) |
                                   (static_cast<uint32_t>(src[4 * x + 1]) << 8) |
                                   (static_cast<uint32_t>(src[4 * x + 2]) << 16) |
                                   (static_cast<uint32_t>(src[4 * x + 3]) << 24);
                pixel = qRgb(static_cast<int>(red.Value(v)), static_cast<int>(green.Value(v)),
                             static_cast<int>(blue.Value(v)));
                break;
            }
            }
            dst[x] = pixel;
        }
    }
    return image;
}

std::vector<uint8_t> EncodeBmp24(const QImage& source) {
    const QImage image = source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<uint32_t>(image.width());
    const auto height = static_cast<uint32_t>(image.height());
    const uint32_t stride = (width * 3 + 3) & ~3u;
    const uint32_t pixel_bytes = stride * height;
    const uint32_t total = 54 + pixel_bytes;
    std::vector<uint8_t> out(total, 0);
    auto put16 = [&](std::size_t at, uint32_t v) {
        out[at] = static_cast<uint8_t>(v);
        out[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, total);
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    put16(26, 1);
    put16(28, 24);
    put32(34, pixel_bytes);
    put32(38, 3780); // 96 pixels per inch
    put32(42, 3780);
    for (uint32_t row = 0; row < height; ++row) {
        const auto* src =
            reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(height - 1 - row)));
        uint8_t* dst = out.data() + 54 + static_cast<std::size_t>(stride) * row;
        for (uint32_t x = 0; x < width; ++x) {
            dst[3 * x] = static_cast<uint8_t>(qBlue(src[x]));
            dst[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
            dst[3 * x + 2] = static_cast<uint8_t>(qRed(src[x]));
        }
    }
    return out;
}

} // namespace vd
