#include "framework/GifImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstring>
#include <set>

namespace vd {

namespace {

// GIF pictures of this program are small; a header that claims more is not worth the memory.
constexpr int kMaxSide = 4096;

bool IsGif(std::span<const uint8_t> data) {
    return data.size() >= 6 && (std::memcmp(data.data(), "GIF87a", 6) == 0 ||
                                std::memcmp(data.data(), "GIF89a", 6) == 0);
}

} // namespace

TGifPicture DecodeGif(std::span<const uint8_t> data) {
    if (!IsGif(data))
        throw EInvalidGraphic("GIF image is not valid");
    QByteArray bytes(reinterpret_cast<const char*>(data.data()),
                     static_cast<qsizetype>(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide)
        throw EInvalidGraphic("GIF image is not valid");
    QImage image;
    // The size told before reading can be the first image's, but the picture read is as large as
    // the screen the file declares: that is checked again.
    if (!reader.read(&image) || image.isNull() || image.width() > kMaxSide ||
        image.height() > kMaxSide)
        throw EInvalidGraphic("GIF image is not valid");
    image = image.convertToFormat(QImage::Format_ARGB32);

    TGifPicture picture;
    bool any_transparent = false;
    std::set<QRgb> opaque;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 128)
                any_transparent = true;
            else
                opaque.insert(line[x] | 0xFF000000u);
        }
    }
    QRgb key = qRgb(255, 0, 255);
    if (any_transparent) {
        // A GIF has at most 256 colours, so a free one is found within a few steps.
        while (opaque.count(key) != 0)
            key = qRgb(255, 0, (qBlue(key) + 255) % 256);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qAlpha(line[x]) < 128 ? key : (line[x] | 0xFF000000u);
        }
        picture.transparent_color =
            RGB(static_cast<unsigned>(qRed(key)), static_cast<unsigned>(qGreen(key)),
                static_cast<unsigned>(qBlue(key)));
    }
    picture.bitmap.SetImage(image.convertToFormat(QImage::Format_RGB32));
    return picture;
}

} // namespace vd
