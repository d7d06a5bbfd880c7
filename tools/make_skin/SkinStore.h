#pragma once

#include <QByteArray>
#include <QString>

#include <span>

namespace vd::art {

struct NamedBitmap {
    QString name;   // stored as Latin-1 bytes, the names are plain ASCII
    QByteArray bmp; // complete BMP file image
};

// The skin store block: magic 0x04B2FDB6, the count, then per graphic its name length, name,
// a zero "bitmap follows" flag and the BMP file image; little-endian, no padding.
[[nodiscard]] QByteArray encodeSkinStore(std::span<const NamedBitmap> graphics);

} // namespace vd::art
