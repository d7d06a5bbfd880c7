// Regions: the union of many rectangles is what uniting them one by one gives, whatever their
// order; the data record round-trips; malformed records are refused.

#include "framework/Region.h"
#include "tests/support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

namespace vd {
namespace {

// Whether `p` lies in any of `rects`: the meaning of a union, point by point.
bool InAny(const std::vector<TRect>& rects, TPoint p) {
    for (const TRect& r : rects)
        if (r.Contains(p))
            return true;
    return false;
}

void ExpectSameArea(const TRegion& region, const std::vector<TRect>& rects, TRect window) {
    for (int y = window.Top; y < window.Bottom; ++y)
        for (int x = window.Left; x < window.Right; ++x)
            ASSERT_EQ(region.Contains({x, y}), InAny(rects, {x, y})) << x << "," << y;
}

TEST(RegionTest, UnionOfOverlappingTouchingAndUnsortedRects) {
    const std::vector<TRect> rects = {
        {10, 0, 20, 1}, {0, 0, 5, 1},  // same row, right one first
        {3, 0, 12, 1},                 // overlaps both
        {5, 1, 8, 2},   {8, 1, 9, 2},  // touching
        {0, 3, 4, 6},   {2, 4, 6, 5},  // different heights, overlapping
        {7, 7, 7, 9},   {9, 9, 8, 10}, // empty, ignored
    };
    const TRegion region = TRegion::Union(rects);
    ExpectSameArea(region, rects, {-2, -2, 25, 12});
    EXPECT_EQ(region.BoundingRect(), (TRect{0, 0, 20, 6}));
}

TEST(RegionTest, RandomRectsUniteLikeOneByOne) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> coord(0, 40);
    std::uniform_int_distribution<int> size(0, 12);
    for (int round = 0; round < 20; ++round) {
        std::vector<TRect> rects;
        for (int i = 0; i < 30; ++i) {
            const int x = coord(random);
            const int y = coord(random) / 4; // many rectangles share rows
            rects.push_back(Bounds(x, y, size(random), 1 + size(random) % 3));
        }
        const TRegion region = TRegion::Union(rects);
        ExpectSameArea(region, rects, {-1, -1, 55, 16});
        TRegion one_by_one;
        for (const TRect& r : rects)
            one_by_one.Unite(TRegion(r));
        EXPECT_EQ(region.Rects(), one_by_one.Rects()) << round;
    }
}

TEST(RegionTest, EqualSpansOfNeighbouringRowsMerge) {
    const std::vector<TRect> rows = {{2, 0, 9, 1}, {2, 1, 9, 2}, {2, 2, 9, 3}};
    EXPECT_EQ(TRegion::Union(rows).Rects(), (std::vector<TRect>{{2, 0, 9, 3}}));
}

TEST(RegionTest, NothingGivesAnEmptyRegion) {
    EXPECT_TRUE(TRegion::Union({}).Empty());
    const std::vector<TRect> empties = {{1, 1, 1, 5}, {3, 3, 2, 4}};
    EXPECT_TRUE(TRegion::Union(empties).Empty());
    EXPECT_EQ(TRegion().BoundingRect(), TRect{});
    EXPECT_TRUE(TRegion(TRect{4, 4, 4, 4}).Empty());
}

TEST(RegionTest, DataRecordRoundTrip) {
    const std::vector<TRect> rects = {{0, 0, 10, 2}, {-3, 2, 4, 3}, {6, 2, 8, 3}};
    const TRegion region = TRegion::Union(rects);
    const std::vector<uint8_t> data = region.Data();
    const std::size_t count = region.Rects().size();
    ASSERT_EQ(data.size(), 32 + 16 * count);
    auto get = [&](std::size_t at) {
        return static_cast<int32_t>(data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
                                    (static_cast<uint32_t>(data[at + 3]) << 24));
    };
    EXPECT_EQ(get(0), 32);
    EXPECT_EQ(get(4), 1);
    EXPECT_EQ(get(8), static_cast<int32_t>(count));
    EXPECT_EQ(get(12), static_cast<int32_t>(16 * count));
    EXPECT_EQ(get(16), -3);
    EXPECT_EQ(get(20), 0);
    EXPECT_EQ(get(24), 10);
    EXPECT_EQ(get(28), 3);
    const TRegion back = TRegion::FromData(data);
    EXPECT_EQ(back.Rects(), region.Rects());
    EXPECT_TRUE(TRegion::FromData(TRegion().Data()).Empty());
}

class RegionDataRefusalTest : public ::testing::Test {
protected:
    static std::vector<uint8_t> Record(uint32_t count, std::vector<TRect> rects) {
        std::vector<uint8_t> d(32 + 16 * rects.size(), 0);
        test::Put32(d, 0, 32);
        test::Put32(d, 4, 1);
        test::Put32(d, 8, count);
        test::Put32(d, 12, static_cast<uint32_t>(16 * rects.size()));
        for (std::size_t i = 0; i < rects.size(); ++i) {
            const std::size_t at = 32 + 16 * i;
            test::Put32(d, at, static_cast<uint32_t>(rects[i].Left));
            test::Put32(d, at + 4, static_cast<uint32_t>(rects[i].Top));
            test::Put32(d, at + 8, static_cast<uint32_t>(rects[i].Right));
            test::Put32(d, at + 12, static_cast<uint32_t>(rects[i].Bottom));
        }
        return d;
    }
};

TEST_F(RegionDataRefusalTest, ShortWrongHeaderOrTooFewRectangles) {
    EXPECT_THROW((void)TRegion::FromData({}), Exception);
    std::vector<uint8_t> good = Record(1, {{0, 0, 2, 2}});
    EXPECT_NO_THROW((void)TRegion::FromData(good));
    EXPECT_THROW((void)TRegion::FromData(std::span(good).first(31)), Exception);
    EXPECT_THROW((void)TRegion::FromData(std::span(good).first(47)), Exception);
    std::vector<uint8_t> header = good;
    test::Put32(header, 0, 40);
    EXPECT_THROW((void)TRegion::FromData(header), Exception);
    std::vector<uint8_t> type = good;
    test::Put32(type, 4, 2);
    EXPECT_THROW((void)TRegion::FromData(type), Exception);
    // A count the record cannot hold, up to the largest: refused before anything is reserved.
    for (const uint32_t count : {2u, 0x10000000u, 0xFFFFFFFFu})
        EXPECT_THROW((void)TRegion::FromData(Record(count, {{0, 0, 2, 2}})), Exception) << count;
}

TEST_F(RegionDataRefusalTest, ExtremeCoordinatesAreRefusedOrHandledWithoutOverflow) {
    // Rectangles whose width or height does not fit in 32 bits.
    const std::vector<TRect> extremes = {
        {INT_MIN, 0, INT_MAX, 1}, {0, INT_MIN, 1, INT_MAX}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}};
    for (const TRect& r : extremes) {
        try {
            const TRegion region = TRegion::FromData(Record(1, {r}));
            (void)region.BoundingRect();
        } catch (const Exception&) {
            // refusing is fine
        }
    }
}

} // namespace
} // namespace vd
