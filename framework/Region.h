#pragma once

#include "framework/Types.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QRegion;

namespace vd {

// An area of the plane made of rectangles: a window's shape.
class TRegion {
public:
    TRegion();
    explicit TRegion(const TRect& rect);
    TRegion(const TRegion& other);
    TRegion& operator=(const TRegion& other);
    ~TRegion();

    // The union of many rectangles at once (what uniting them one by one gives, faster).
    [[nodiscard]] static TRegion Union(std::span<const TRect> rects);

    void Unite(const TRegion& other);
    [[nodiscard]] bool Empty() const;
    [[nodiscard]] bool Contains(TPoint p) const;
    [[nodiscard]] TRect BoundingRect() const;
    // The rectangles, top to bottom and left to right, rows with equal spans merged.
    [[nodiscard]] std::vector<TRect> Rects() const;

    // The region data record: a 32-byte header (its own size 32, type 1, rectangle count,
    // bytes of rectangles, bounding rectangle) followed by the rectangles, four 32-bit edges
    // each, all little-endian.
    [[nodiscard]] std::vector<uint8_t> Data() const;
    // A region from such a record; fails with Exception on a malformed one.
    [[nodiscard]] static TRegion FromData(std::span<const uint8_t> data);

    // framework: the platform region.
    [[nodiscard]] const QRegion& Platform() const { return *region_; }

private:
    std::unique_ptr<QRegion> region_;
};

} // namespace vd
