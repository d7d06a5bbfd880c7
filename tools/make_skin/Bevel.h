#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QRgb>

// Relief shading shared by the pictures: embossed outlines, sunken and raised frames.
namespace vd::art {

// A hard-edged (not smoothed) coverage image of `path`: 255 inside, 0 outside.
[[nodiscard]] QImage rasterRegion(const QPainterPath& path, QSize size);

[[nodiscard]] inline bool inside(const QImage& region, int x, int y) {
    return region.rect().contains(x, y) && region.constScanLine(y)[x] != 0;
}

enum class Relief { Raised, Sunken };

// Shades the pixels of `region` within `radius` of its edge as if the region were a slab lit
// from the upper left; a sunken region is a dish instead. Pixels outside stay untouched.
void emboss(QImage& image, const QImage& region, int radius, double strength, Relief relief);

// Classic two-tone frame `depth` pixels thick just inside `rect`.
void bevelFrame(QImage& image, QRect rect, int depth, Relief relief, double strength);

} // namespace vd::art
