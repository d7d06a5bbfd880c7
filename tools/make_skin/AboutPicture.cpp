#include "tools/make_skin/AboutPicture.h"

#include "tools/make_skin/Palette.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vd::art {

namespace {

constexpr int kWidth = 130;
constexpr int kHeight = 99;
constexpr double kCentreX = 50.5;
constexpr double kCentreY = 50.5;
constexpr double kRadius = 46.0;
constexpr double kLabelRadius = 15.0;
constexpr double kHoleRadius = 2.6;

// The light on the vinyl: two bright sectors across from each other, in four steps.
double sheen(double dx, double dy) {
    const double angle = std::atan2(dy, dx);
    const double c = std::abs(std::cos(2.0 * (angle + std::numbers::pi / 4.0)));
    return std::floor(std::pow(c, 6.0) * 4.0) / 4.0;
}

void drawRecord(QImage& image) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double dx = x + 0.5 - kCentreX;
            const double dy = y + 0.5 - kCentreY;
            const double d = std::hypot(dx, dy);
            if (d > kRadius || d < kHoleRadius)
                continue;
            QRgb c = 0;
            if (d > kRadius - 1.2) {
                c = palette::kOutline;
            } else if (d > kLabelRadius + 1.0) {
                const bool groove = static_cast<int>(d) % 3 == 0;
                const QRgb base = groove ? palette::kMetalMid : palette::kMetalBottom;
                c = mix(base, palette::kHighlight, 0.45 * sheen(dx, dy));
            } else if (d > kLabelRadius) {
                c = palette::kAccentDeep;
            } else if (d > kHoleRadius + 1.0) {
                // The label lit from the upper left, in six steps.
                const double t = std::clamp((dx + dy) / (2.0 * kLabelRadius) + 0.5, 0.0, 1.0);
                c = mix(palette::kAccentBright, palette::kAccentDeep, std::floor(t * 6.0) / 6.0);
            } else {
                c = palette::kOutline;
            }
            image.setPixel(x, y, c);
        }
    }
}

void drawNotes(QImage& image) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(palette::kOutline), 1));
    p.setBrush(QColor(palette::kAccent));
    // Two heads, the second higher; stems up to a slanted double beam.
    p.drawEllipse(QRect(94, 76, 11, 8));
    p.drawEllipse(QRect(113, 70, 11, 8));
    p.fillRect(QRect(103, 26, 3, 55), QColor(palette::kOutline));
    p.fillRect(QRect(122, 20, 3, 55), QColor(palette::kOutline));
    for (int beam = 0; beam < 2; ++beam) {
        QPainterPath path;
        const int top = 26 + beam * 9;
        path.moveTo(103, top);
        path.lineTo(125, top - 6);
        path.lineTo(125, top - 1);
        path.lineTo(103, top + 5);
        path.closeSubpath();
        p.fillPath(path, QColor(palette::kOutline));
    }
    // A glint on each head.
    p.setPen(QColor(palette::kAccentBright));
    p.drawPoint(97, 78);
    p.drawPoint(116, 72);
}

} // namespace

QImage drawAboutPicture() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(0u);
    drawRecord(image);
    drawNotes(image);
    return image;
}

} // namespace vd::art
