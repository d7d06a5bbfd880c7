#include "tools/make_skin/MenuThumbs.h"

#include "tools/make_skin/Palette.h"
#include "tools/make_skin/PixelFont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <functional>
#include <vector>

namespace vd::art {

namespace {

constexpr int kSize = 16;
// Menus paint their pictures on the button face; half-covered edge pixels are settled
// against it so that the mask edge stays hard.
constexpr QRgb kMenuFace = qRgb(236, 236, 236);

QImage blankPicture() {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void tile(QPainter& p, QColor top, QColor bottom, QColor border) {
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 1, 0, 15);
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(4, 2.5), QPointF(12, 2.5));
}

QImage blueTile() {
    QImage image = blankPicture();
    QPainter p(&image);
    tile(p, QColor(104, 160, 236), QColor(26, 66, 156), QColor(14, 36, 96));
    return image;
}

QImage blueTileWith(PixelSymbol symbol) {
    QImage image = blueTile();
    const QImage glyph = pixelSymbol(symbol);
    const QPoint at((kSize - glyph.width()) / 2, (kSize - glyph.height()) / 2);
    stamp(image, glyph, at + QPoint(1, 1), qRgba(10, 28, 80, 255));
    stamp(image, glyph, at, qRgba(255, 255, 255, 255));
    return image;
}

QImage minimizePicture() {
    QImage image = blueTile();
    QPainter p(&image);
    p.fillRect(QRect(4, 11, 8, 2), QColor(10, 28, 80));
    p.fillRect(QRect(4, 10, 8, 2), QColor(255, 255, 255));
    return image;
}

QImage closePicture() {
    QImage image = blankPicture();
    QPainter p(&image);
    tile(p, QColor(244, 120, 104), QColor(176, 30, 26), QColor(100, 14, 12));
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 7; ++i) {
        // A two-pixel cross drawn pixel by pixel stays sharp at this size.
        for (int d = 0; d < 2; ++d) {
            p.fillRect(QRect(4 + i + d, 4 + i, 1, 1), QColor(255, 255, 255));
            p.fillRect(QRect(11 - i - d, 4 + i, 1, 1), QColor(255, 255, 255));
        }
    }
    return image;
}

QImage pagePicture() {
    QImage image = blankPicture();
    QPainter p(&image);
    const QPolygon page({QPoint(3, 1), QPoint(9, 1), QPoint(13, 5), QPoint(13, 14), QPoint(3, 14)});
    p.setPen(QColor(96, 108, 122));
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(page);
    p.setBrush(QColor(214, 222, 232));
    p.drawPolygon(QPolygon({QPoint(9, 1), QPoint(9, 5), QPoint(13, 5)}));
    p.fillRect(QRect(4, 13, 9, 1), QColor(226, 232, 240));
    return image;
}

QImage folderPicture() {
    QImage image = blankPicture();
    QPainter p(&image);
    const QColor edge(122, 82, 10);
    p.setPen(edge);
    p.setBrush(QColor(214, 160, 48));
    p.drawPolygon(QPolygon(
        {QPoint(1, 3), QPoint(6, 3), QPoint(7, 4), QPoint(12, 4), QPoint(12, 13), QPoint(1, 13)}));
    p.fillRect(QRect(3, 6, 8, 3), QColor(255, 255, 255));
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient flap(0, 7, 0, 13);
    flap.setColorAt(0, QColor(255, 226, 120));
    flap.setColorAt(1, QColor(236, 178, 52));
    p.setBrush(flap);
    p.drawPolygon(QPolygonF(
        {QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 13.5), QPointF(0.5, 13.5)}));
    return image;
}

QImage diskettePicture() {
    QImage image = blankPicture();
    QPainter p(&image);
    p.setPen(QColor(14, 22, 46));
    p.setBrush(QColor(46, 70, 126));
    p.drawPolygon(
        QPolygon({QPoint(1, 1), QPoint(13, 1), QPoint(14, 2), QPoint(14, 14), QPoint(1, 14)}));
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(4, 2, 8, 5), QColor(204, 212, 222));
    p.fillRect(QRect(9, 3, 2, 3), QColor(46, 70, 126));
    p.fillRect(QRect(3, 9, 10, 5), QColor(250, 250, 250));
    p.fillRect(QRect(4, 10, 8, 1), QColor(150, 160, 176));
    p.fillRect(QRect(4, 12, 6, 1), QColor(150, 160, 176));
    return image;
}

QImage figurePicture() {
    QImage image = blankPicture();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge(30, 38, 46);
    QPainterPath body;
    body.moveTo(2.5, 15.0);
    body.cubicTo(2.5, 10.0, 5.0, 8.5, 8.0, 8.5);
    body.cubicTo(11.0, 8.5, 13.5, 10.0, 13.5, 15.0);
    body.closeSubpath();
    QLinearGradient shirt(0, 8, 0, 15);
    shirt.setColorAt(0, QColor(palette::kAccentBright));
    shirt.setColorAt(1, QColor(palette::kAccentDeep));
    p.setPen(QPen(edge, 1));
    p.setBrush(shirt);
    p.drawPath(body);
    QRadialGradient face(QPointF(7, 4), 4.5);
    face.setColorAt(0, QColor(255, 228, 196));
    face.setColorAt(1, QColor(222, 170, 120));
    p.setBrush(face);
    p.drawEllipse(QPointF(8, 5), 3.4, 3.4);
    return image;
}

// Pixels at least half covered become opaque, settled against the menu face; the rest are
// the mask colour.
void place(QImage& strip, const QImage& picture, int index) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const QRgb c = argb.pixel(x, y);
            QRgb out = palette::kMask;
            if (qAlpha(c) >= 128) {
                out = mix(kMenuFace, qRgb(qRed(c), qGreen(c), qBlue(c)), qAlpha(c) / 255.0);
            }
            strip.setPixel(index * kSize + x, y, out);
        }
    }
}

} // namespace

QImage drawMenuThumbs() {
    const std::vector<std::function<QImage()>> pictures{
        minimizePicture,
        closePicture,
        [] { return blueTileWith(PixelSymbol::Previous); },
        [] { return blueTileWith(PixelSymbol::Play); },
        [] { return blueTileWith(PixelSymbol::Pause); },
        [] { return blueTileWith(PixelSymbol::Stop); },
        [] { return blueTileWith(PixelSymbol::Next); },
        pagePicture,
        folderPicture,
        diskettePicture,
        figurePicture,
    };
    QImage strip(kSize * static_cast<int>(pictures.size()), kSize, QImage::Format_RGB32);
    for (size_t i = 0; i < pictures.size(); ++i) {
        place(strip, pictures[i](), static_cast<int>(i));
    }
    return strip;
}

} // namespace vd::art
