#pragma once

#include <QImage>

#include <cstdint>
#include <span>
#include <vector>

namespace vd {

// Decodes a complete BMP file image (file header, info header, colour table, pixel rows) of
// 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed or with bit fields, bottom-up or top-down,
// into an RGB32 image. Fails with EInvalidGraphic on anything it cannot read safely.
[[nodiscard]] QImage DecodeBmp(std::span<const uint8_t> file);

// Encodes an image as a 24-bit uncompressed BMP file: 54-byte headers, rows bottom-up, each
// padded to four bytes.
[[nodiscard]] std::vector<uint8_t> EncodeBmp24(const QImage& image);

// The total size a BMP file image declares in its file header, or 0 if `header` (at least 14
// bytes) is not one.
[[nodiscard]] uint32_t BmpDeclaredSize(std::span<const uint8_t> header);

} // namespace vd
