// What is heard lags what was rendered by the device's queue: the stamps answer the position in
// force at a moment and when it next changes.
#include "audio/PositionStamps.h"

#include <gtest/gtest.h>

namespace {

using vd::PositionStamp;
using vd::PositionStamps;

PositionStamp stamp(std::int64_t at, std::uint32_t packed, bool ended = false) {
    return {at, packed, static_cast<std::int64_t>(packed) * 10, ended};
}

TEST(PositionStamps, BeforeTheFirstStampTheResetOneHolds) {
    PositionStamps stamps;
    stamps.reset(stamp(0, 7));
    stamps.add(stamp(100, 8));
    EXPECT_EQ(stamps.at(99).packed, 7U);
    EXPECT_EQ(stamps.at(-5).packed, 7U);
}

TEST(PositionStamps, TheLastStampNotLaterThanTheMomentHolds) {
    PositionStamps stamps;
    stamps.reset(stamp(0, 1));
    stamps.add(stamp(100, 2));
    stamps.add(stamp(200, 3));
    stamps.add(stamp(300, 4));
    EXPECT_EQ(stamps.at(100).packed, 2U);
    EXPECT_EQ(stamps.at(250).packed, 3U);
    EXPECT_EQ(stamps.at(250).position_ms, 30);
    EXPECT_EQ(stamps.at(1000).packed, 4U);
}

TEST(PositionStamps, WhatTheDeviceHeldThroughAPauseIsHeardThatMuchLater) {
    PositionStamps stamps;
    stamps.reset(stamp(0, 1));
    stamps.add(stamp(100, 2));
    stamps.add(stamp(200, 3));
    stamps.add(stamp(300, 4));
    stamps.delay_after(150, 1000); // paused at 150 for 1000
    EXPECT_EQ(stamps.at(160).packed, 2U) << "heard before the pause stays";
    EXPECT_EQ(stamps.at(1199).packed, 2U);
    EXPECT_EQ(stamps.at(1200).packed, 3U);
    EXPECT_EQ(stamps.at(1300).packed, 4U);
    EXPECT_EQ(stamps.next_change_after(160), 1200);
}

TEST(PositionStamps, TheNextChangeSkipsStampsOfTheSameRow) {
    PositionStamps stamps;
    stamps.reset(stamp(0, 1));
    stamps.add(stamp(100, 1));
    stamps.add(stamp(200, 1));
    stamps.add(stamp(300, 2));
    stamps.add(stamp(400, 3));
    EXPECT_EQ(stamps.next_change_after(50), 300);
    EXPECT_EQ(stamps.next_change_after(300), 400);
    EXPECT_EQ(stamps.next_change_after(400), std::nullopt) << "nothing rendered moves on";
}

TEST(PositionStamps, TheEndIsAChangeOfItsOwn) {
    PositionStamps stamps;
    stamps.reset(stamp(0, 5));
    stamps.add(stamp(100, 5, true));
    EXPECT_EQ(stamps.next_change_after(0), 100);
    EXPECT_FALSE(stamps.at(99).ended);
    EXPECT_TRUE(stamps.at(100).ended);
}

TEST(PositionStamps, AResetForgetsWhatWasRenderedAhead) {
    PositionStamps stamps;
    stamps.reset(stamp(0, 1));
    stamps.add(stamp(100, 2));
    stamps.reset(stamp(0, 9));
    EXPECT_EQ(stamps.size(), 0U);
    EXPECT_EQ(stamps.at(1000).packed, 9U);
    EXPECT_EQ(stamps.next_change_after(0), std::nullopt);
}

TEST(PositionStamps, AFullRingFoldsItsOldestStampIntoThePast) {
    PositionStamps stamps;
    stamps.reset(stamp(0, 0));
    const auto n = static_cast<std::int64_t>(PositionStamps::kCapacity) + 3;
    for (std::int64_t i = 1; i <= n; ++i)
        stamps.add(stamp(i * 10, static_cast<std::uint32_t>(i)));
    EXPECT_EQ(stamps.size(), PositionStamps::kCapacity);
    // The three oldest are gone; the newest of them stands for all that came before.
    EXPECT_EQ(stamps.at(5).packed, 3U);
    EXPECT_EQ(stamps.at(40).packed, 4U);
    EXPECT_EQ(stamps.at(n * 10).packed, static_cast<std::uint32_t>(n));
}

} // namespace
