#include "framework/Region.h"

#include "framework/QtConvert.h"

#include <QRegion>

#include <cstdint>

namespace vd {

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get32(std::span<const uint8_t> d, std::size_t at) {
    return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
           (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}

constexpr uint32_t kHeaderSize = 32;
constexpr uint32_t kRectangles = 1;

} // namespace

TRegion::TRegion() : region_(std::make_unique<QRegion>()) {}
TRegion::TRegion(const TRect& rect)
    : region_(std::make_unique<QRegion>(rect.IsEmpty() ? QRegion() : QRegion(ToQRect(rect)))) {}
TRegion::TRegion(const TRegion& other) : region_(std::make_unique<QRegion>(*other.region_)) {}
TRegion& TRegion::operator=(const TRegion& other) {
    *region_ = *other.region_;
    return *this;
}
TRegion::~TRegion() = default;

TRegion TRegion::Union(std::span<const TRect> rects) {
    // Sort into rows of equal height and unite row by row: each row's rectangles do not overlap
    // once merged, so the platform can take a whole band at a time.
    std::vector<QRect> sorted;
    sorted.reserve(rects.size());
    for (const TRect& r : rects)
        if (!r.IsEmpty())
            sorted.push_back(ToQRect(r));
    TRegion result;
    std::size_t i = 0;
    QRegion accumulated;
    while (i < sorted.size()) {
        std::size_t j = i;
        QRegion band;
        while (j < sorted.size() && sorted[j].top() == sorted[i].top() &&
               sorted[j].height() == sorted[i].height())
            ++j;
        band.setRects(sorted.data() + i, static_cast<int>(j - i));
        bool valid_band = true;
        for (std::size_t k = i + 1; k < j; ++k)
            if (sorted[k].left() <= sorted[k - 1].right() + 1)
                valid_band = false;
        if (!valid_band) {
            band = QRegion();
            for (std::size_t k = i; k < j; ++k)
                band = band.united(sorted[k]);
        }
        accumulated = accumulated.united(band);
        i = j;
    }
    *result.region_ = accumulated;
    return result;
}

void TRegion::Unite(const TRegion& other) {
    *region_ = region_->united(*other.region_);
}

bool TRegion::Empty() const {
    return region_->isEmpty();
}

bool TRegion::Contains(TPoint p) const {
    return region_->contains(QPoint(p.X, p.Y));
}

TRect TRegion::BoundingRect() const {
    const QRect b = region_->boundingRect();
    if (b.isEmpty())
        return {};
    return {b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}

std::vector<TRect> TRegion::Rects() const {
    std::vector<TRect> out;
    for (const QRect& r : *region_)
        out.push_back({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    return out;
}

std::vector<uint8_t> TRegion::Data() const {
    const std::vector<TRect> rects = Rects();
    const TRect bound = BoundingRect();
    std::vector<uint8_t> out;
    out.reserve(kHeaderSize + 16 * rects.size());
    Put32(out, kHeaderSize);
    Put32(out, kRectangles);
    Put32(out, static_cast<uint32_t>(rects.size()));
    Put32(out, static_cast<uint32_t>(16 * rects.size()));
    for (int v : {bound.Left, bound.Top, bound.Right, bound.Bottom})
        Put32(out, static_cast<uint32_t>(v));
    for (const TRect& r : rects)
        for (int v : {r.Left, r.Top, r.Right, r.Bottom})
            Put32(out, static_cast<uint32_t>(v));
    return out;
}

TRegion TRegion::FromData(std::span<const uint8_t> data) {
    if (data.size() < kHeaderSize || Get32(data, 0) != kHeaderSize || Get32(data, 4) != kRectangles)
        throw Exception("Invalid region data");
    const uint32_t count = Get32(data, 8);
    if ((data.size() - kHeaderSize) / 16 < count)
        throw Exception("Invalid region data");
    std::vector<TRect> rects;
    rects.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderSize + 16 * static_cast<std::size_t>(i);
        const TRect r{
            static_cast<int32_t>(Get32(data, at)), static_cast<int32_t>(Get32(data, at + 4)),
            static_cast<int32_t>(Get32(data, at + 8)), static_cast<int32_t>(Get32(data, at + 12))};
        // Sizes must fit in 32 bits, as every rectangle's do.
        const int64_t width = static_cast<int64_t>(r.Right) - r.Left;
        const int64_t height = static_cast<int64_t>(r.Bottom) - r.Top;
        if (width < 0 || height < 0 || width > INT32_MAX || height > INT32_MAX)
            throw Exception("Invalid region data");
        rects.push_back(r);
    }
    return Union(rects);
}

} // namespace vd
