#include "tools/make_skin/AppIcon.h"

#include "tools/make_skin/Palette.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace vd::art {

QImage drawAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 48-unit grid and scaled; the smallest size drops the fine detail.
    p.scale(size / 48.0, size / 48.0);
    const bool detailed = size >= 32;

    QLinearGradient metal(0, 2, 0, 46);
    metal.setColorAt(0, QColor(palette::kMetalTop).lighter(125));
    metal.setColorAt(1, QColor(palette::kMetalBottom));
    p.setPen(QPen(QColor(palette::kOutline), 1.6));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(1.5, 1.5, 45, 45), 10, 10);
    if (detailed) {
        p.setPen(QPen(QColor(255, 255, 255, 60), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3.2, 3.2, 41.6, 41.6), 8.5, 8.5);
    }

    const QPointF centre(24, 24);
    const double radius = detailed ? 17.5 : 19.0;
    p.setPen(QPen(QColor(palette::kOutline), 1.2));
    p.setBrush(QColor(18, 20, 25));
    p.drawEllipse(centre, radius, radius);
    if (detailed) {
        p.setBrush(Qt::NoBrush);
        for (double r = 10.5; r < radius - 1; r += 2.2) {
            p.setPen(QPen(QColor(44, 50, 58), 0.7));
            p.drawEllipse(centre, r, r);
        }
    }
    QConicalGradient sheen(centre, 45);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.10, QColor(255, 255, 255, 70));
    sheen.setColorAt(0.20, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.50, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.60, QColor(255, 255, 255, 70));
    sheen.setColorAt(0.70, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(centre, radius - 0.6, radius - 0.6);

    QRadialGradient label(centre - QPointF(2, 2), 9);
    label.setColorAt(0, QColor(palette::kAccentBright));
    label.setColorAt(0.7, QColor(palette::kAccent));
    label.setColorAt(1, QColor(palette::kAccentDeep));
    p.setBrush(label);
    p.drawEllipse(centre, 7.5, 7.5);
    p.setBrush(QColor(palette::kOutline));
    p.drawEllipse(centre, 1.8, 1.8);
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

} // namespace vd::art
