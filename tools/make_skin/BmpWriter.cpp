#include "tools/make_skin/BmpWriter.h"

#include <QFile>

#include <cstdint>
#include <stdexcept>

namespace vd::art {

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;

void putU16(QByteArray& out, uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void putU32(QByteArray& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.append(static_cast<char>((v >> shift) & 0xFF));
    }
}

} // namespace

QByteArray encodeBmp24(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const int height = rgb.height();
    const int stride = (width * 3 + 3) & ~3;
    const uint32_t pixelBytes = static_cast<uint32_t>(stride) * static_cast<uint32_t>(height);
    const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes;

    QByteArray out;
    out.reserve(static_cast<qsizetype>(offset + pixelBytes));
    out.append("BM", 2);
    putU32(out, offset + pixelBytes);
    putU32(out, 0); // two reserved words
    putU32(out, offset);

    putU32(out, kInfoHeaderBytes);
    putU32(out, static_cast<uint32_t>(width));
    putU32(out, static_cast<uint32_t>(height)); // positive: rows stored bottom-up
    putU16(out, 1);                             // planes
    putU16(out, 24);                            // bits per pixel
    putU32(out, 0);                             // no compression
    putU32(out, pixelBytes);
    putU32(out, 0); // horizontal resolution unknown
    putU32(out, 0); // vertical resolution unknown
    putU32(out, 0); // no colour table
    putU32(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.append(static_cast<char>(qBlue(line[x])));
            out.append(static_cast<char>(qGreen(line[x])));
            out.append(static_cast<char>(qRed(line[x])));
        }
        for (int pad = width * 3; pad < stride; ++pad) {
            out.append('\0');
        }
    }
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw std::runtime_error("cannot create " + path.toStdString());
    }
    if (file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

} // namespace vd::art
