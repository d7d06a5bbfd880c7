#include "framework/BmpCodec.h"

#include "framework/Graphics.h"

#include <array>
#include <bit>

namespace vd {

namespace {

constexpr int kMaxDimension = 32768;
constexpr std::size_t kFileHeaderSize = 14;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

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

// What the file header and the info header say about the picture.
struct BmpInfo {
    uint32_t pixel_offset = 0;
    uint32_t info_size = 0;
    int64_t width = 0;
    int64_t height = 0; // positive; `top_down` tells the row order
    bool top_down = false;
    uint32_t bit_count = 0;
    uint32_t compression = kRgb;
    uint32_t colors_used = 0;
    std::size_t palette_entry = 4; // bytes a colour-table entry takes
    [[nodiscard]] bool BitFields() const {
        return compression == kBitFields || compression == kAlphaBitFields;
    }
};

// The red, green and blue masks of 16- and 32-bit pixels, and where the colour table starts.
struct BmpMasks {
    std::array<uint32_t, 3> rgb{0, 0, 0};
    std::size_t after_header = 0;
};

// Reads the file header and the info header (the old core header or a newer one).
BmpInfo ReadInfo(std::span<const uint8_t> file) {
    if (file.size() < kFileHeaderSize + 12 || file[0] != 'B' || file[1] != 'M')
        Invalid();
    BmpInfo info;
    info.pixel_offset = U32(file, 10);
    info.info_size = U32(file, 14);
    if (info.info_size < 12 || info.info_size > file.size() - kFileHeaderSize)
        Invalid();
    if (info.info_size == 12) { // the old core header
        info.width = U16(file, 18);
        info.height = static_cast<int16_t>(U16(file, 20));
        info.bit_count = U16(file, 24);
        info.palette_entry = 3;
    } else {
        if (info.info_size < 40)
            Invalid();
        info.width = static_cast<int32_t>(U32(file, 18));
        info.height = static_cast<int32_t>(U32(file, 22));
        if (U16(file, 26) != 1)
            Invalid();
        info.bit_count = U16(file, 28);
        info.compression = U32(file, 30);
        info.colors_used = U32(file, 46);
    }
    info.top_down = info.height < 0;
    if (info.top_down)
        info.height = -info.height;
    return info;
}

// Refuses sizes, compressions and depths this decoder does not read.
void CheckSupported(const BmpInfo& info) {
    if (info.width <= 0 || info.height <= 0 || info.width > kMaxDimension ||
        info.height > kMaxDimension)
        Invalid();
    if (info.compression != kRgb && !info.BitFields())
        Invalid();
    switch (info.bit_count) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (info.compression != kRgb)
            Invalid();
        break;
    case 16:
    case 32:
        break;
    default:
        Invalid();
    }
}

// Masks: after a 40-byte header they follow it; in larger headers they are part of it. Without
// bit fields, 16-bit pixels are 5-5-5 and 32-bit ones 8-8-8.
BmpMasks ReadMasks(std::span<const uint8_t> file, const BmpInfo& info) {
    BmpMasks masks;
    masks.after_header = kFileHeaderSize + info.info_size;
    if (info.BitFields()) {
        if (info.info_size == 40) {
            if (file.size() < masks.after_header + 12)
                Invalid();
            for (std::size_t i = 0; i < 3; ++i)
                masks.rgb[i] = U32(file, masks.after_header + 4 * i);
            masks.after_header += 12;
        } else {
            if (info.info_size < 52)
                Invalid();
            for (std::size_t i = 0; i < 3; ++i)
                masks.rgb[i] = U32(file, kFileHeaderSize + 40 + 4 * i);
        }
    } else if (info.bit_count == 16) {
        masks.rgb = {0x7C00, 0x03E0, 0x001F};
    } else if (info.bit_count == 32) {
        masks.rgb = {0x00FF0000, 0x0000FF00, 0x000000FF};
    }
    return masks;
}

// The colour table of a picture of 8 bits per pixel or fewer, starting at `at`.
std::array<QRgb, 256> ReadPalette(std::span<const uint8_t> file, const BmpInfo& info,
                                  std::size_t at) {
    std::array<QRgb, 256> palette{};
    if (info.bit_count > 8)
        return palette;
    const uint32_t max_colors = 1u << info.bit_count;
    const uint32_t count =
        info.colors_used == 0 || info.colors_used > max_colors ? max_colors : info.colors_used;
    if (file.size() < at || (file.size() - at) / info.palette_entry < count)
        Invalid();
    for (uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = at + i * info.palette_entry;
        palette[i] = qRgb(file[entry + 2], file[entry + 1], file[entry]);
    }
    return palette;
}

// How a row of pixels is turned into colours.
struct PixelFormat {
    uint32_t bit_count;
    const std::array<QRgb, 256>& palette;
    Channel red;
    Channel green;
    Channel blue;
    [[nodiscard]] QRgb FromMasked(uint32_t v) const {
        return qRgb(static_cast<int>(red.Value(v)), static_cast<int>(green.Value(v)),
                    static_cast<int>(blue.Value(v)));
    }
};

void DecodeRow(const uint8_t* src, QRgb* dst, int64_t width, const PixelFormat& format) {
    for (int64_t x = 0; x < width; ++x) {
        QRgb pixel = 0;
        switch (format.bit_count) {
        case 1:
            pixel = format.palette[(src[x / 8] >> (7 - x % 8)) & 1];
            break;
        case 4:
            pixel = format.palette[(src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
            break;
        case 8:
            pixel = format.palette[src[x]];
            break;
        case 24:
            pixel = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        case 16:
            pixel = format.FromMasked(src[2 * x] | (static_cast<uint32_t>(src[2 * x + 1]) << 8));
            break;
        case 32:
            pixel = format.FromMasked(static_cast<uint32_t>(src[4 * x]) |
                                      (static_cast<uint32_t>(src[4 * x + 1]) << 8) |
                                      (static_cast<uint32_t>(src[4 * x + 2]) << 16) |
                                      (static_cast<uint32_t>(src[4 * x + 3]) << 24));
            break;
        }
        dst[x] = pixel;
    }
}

// The pixel rows, each padded to four bytes, bottom-up unless the header says top-down.
QImage DecodePixels(std::span<const uint8_t> file, const BmpInfo& info, const BmpMasks& masks,
                    const std::array<QRgb, 256>& palette) {
    const uint64_t stride = ((static_cast<uint64_t>(info.width) * info.bit_count + 31) / 32) * 4;
    const uint64_t needed = stride * static_cast<uint64_t>(info.height);
    if (info.pixel_offset > file.size() || file.size() - info.pixel_offset < needed)
        Invalid();

    QImage image(static_cast<int>(info.width), static_cast<int>(info.height), QImage::Format_RGB32);
    if (image.isNull())
        Invalid();
    const PixelFormat format{info.bit_count, palette, Channel(masks.rgb[0]), Channel(masks.rgb[1]),
                             Channel(masks.rgb[2])};
    for (int64_t row = 0; row < info.height; ++row) {
        const uint8_t* src = file.data() + info.pixel_offset + stride * static_cast<uint64_t>(row);
        const int y = static_cast<int>(info.top_down ? row : info.height - 1 - row);
        DecodeRow(src, reinterpret_cast<QRgb*>(image.scanLine(y)), info.width, format);
    }
    return image;
}

} // namespace

uint32_t BmpDeclaredSize(std::span<const uint8_t> header) {
    if (header.size() < kFileHeaderSize || header[0] != 'B' || header[1] != 'M')
        return 0;
    return U32(header, 2);
}

QImage DecodeBmp(std::span<const uint8_t> file) {
    const BmpInfo info = ReadInfo(file);
    CheckSupported(info);
    const BmpMasks masks = ReadMasks(file, info);
    const std::array<QRgb, 256> palette = ReadPalette(file, info, masks.after_header);
    return DecodePixels(file, info, masks, palette);
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
