#pragma once

#include <QByteArray>
#include <QImage>

namespace vd::art {

// The complete file image of a 24-bit uncompressed Windows bitmap: 14-byte file header,
// 40-byte info header, no colour table, rows bottom-up padded to four bytes.
[[nodiscard]] QByteArray encodeBmp24(const QImage& image);

// Writes `bytes` to `path`, replacing the file; throws std::runtime_error on failure.
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace vd::art
