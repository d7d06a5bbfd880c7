#include "tools/make_skin/Bevel.h"

#include "tools/make_skin/Palette.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vd::art {

QImage rasterRegion(const QPainterPath& path, QSize size) {
    QImage region(size, QImage::Format_Grayscale8);
    region.fill(0);
    QPainter painter(&region);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(path, QColor(255, 255, 255));
    return region;
}

void emboss(QImage& image, const QImage& region, int radius, double strength, Relief relief) {
    const int w = region.width();
    const int h = region.height();
    // Height of the slab: distance to the nearest outside pixel, capped at the radius.
    std::vector<double> height(static_cast<size_t>(w) * static_cast<size_t>(h), 0.0);
    const auto at = [&](int x, int y) -> double& {
        return height[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(region, x, y)) {
                continue;
            }
            double best = radius;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (!inside(region, x + dx, y + dy)) {
                        best = std::min(best, std::hypot(dx, dy));
                    }
                }
            }
            const double t = best / radius;
            at(x, y) = t * t * (3 - 2 * t);
        }
    }
    // A light blur keeps the slope of curved edges from breaking into pixel steps.
    std::vector<double> smooth(height.size(), 0.0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(region, x, y)) {
                continue;
            }
            double sum = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    sum += inside(region, x + dx, y + dy) ? at(x + dx, y + dy) : 0.0;
                }
            }
            smooth[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                std::min(at(x, y), sum / 9);
        }
    }
    height.swap(smooth);
    const double sign = relief == Relief::Raised ? 1.0 : -1.0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(region, x, y) || at(x, y) >= 1.0) {
                continue;
            }
            const auto sample = [&](int sx, int sy) {
                return inside(region, sx, sy) ? at(sx, sy) : 0.0;
            };
            const double gx = sample(x + 1, y) - sample(x - 1, y);
            const double gy = sample(x, y + 1) - sample(x, y - 1);
            // Slopes rising toward the lower right face the light.
            const double light = sign * (gx + gy) * 0.7071;
            const double amount = std::clamp(light * strength, -0.85, 0.85);
            image.setPixel(x, y, shade(image.pixel(x, y), amount));
        }
    }
}

void bevelFrame(QImage& image, QRect rect, int depth, Relief relief, double strength) {
    for (int ring = 0; ring < depth; ++ring) {
        const QRect r = rect.adjusted(ring, ring, -ring, -ring);
        const double k = strength * (depth - ring) / depth;
        const double lit = relief == Relief::Raised ? k * 0.6 : -k;
        const double dark = relief == Relief::Raised ? -k : k * 0.6;
        for (int x = r.left(); x <= r.right(); ++x) {
            image.setPixel(x, r.top(), shade(image.pixel(x, r.top()), lit));
            image.setPixel(x, r.bottom(), shade(image.pixel(x, r.bottom()), dark));
        }
        for (int y = r.top() + 1; y < r.bottom(); ++y) {
            image.setPixel(r.left(), y, shade(image.pixel(r.left(), y), lit));
            image.setPixel(r.right(), y, shade(image.pixel(r.right(), y), dark));
        }
    }
}

} // namespace vd::art
