#pragma once

#include <QByteArray>
#include <QImage>

namespace vd::art {

// A GIF89a file of one image with a 256-colour table, LZW compressed. Pixels with alpha below
// 128 become the one transparent colour; the opaque pixels may have at most 255 colours.
// Throws std::runtime_error when they have more.
[[nodiscard]] QByteArray encodeGif(const QImage& image);

} // namespace vd::art
