#include "app/Settings.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace vd {
namespace {

TEST(Settings, LiveBesideAWritableProgramElseInTheUserConfig) {
    const test::ScratchDir scratch(std::filesystem::temp_directory_path(),
                                   "vodezaru-settings-test");
    const std::filesystem::path dir = scratch.Path();
    EXPECT_EQ(SettingsPathFor((dir / "vodezaru").string()), (dir / "vodezaru.ini").string());
    EXPECT_EQ(SettingsPathFor((dir / "player.bin").string()), (dir / "player.ini").string());

    // An installed program keeps its settings with the user's, even where it could write beside
    // itself (root, a prefix in the home folder).
    std::filesystem::create_directories(dir / "prefix" / "bin");
    setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(SettingsPathFor("/usr/bin/vodezaru"), "/tmp/xdg-test/vodezaru/vodezaru.ini");
    EXPECT_EQ(SettingsPathFor((dir / "prefix" / "bin" / "vodezaru").string()),
              "/tmp/xdg-test/vodezaru/vodezaru.ini");
    unsetenv("XDG_CONFIG_HOME");
}

TEST(Settings, PositionsAreDecimalIntegersOrNothing) {
    EXPECT_EQ(ParseDecimal("202"), 202);
    EXPECT_EQ(ParseDecimal(" -15 "), -15);
    EXPECT_EQ(ParseDecimal("+7"), 7);
    EXPECT_FALSE(ParseDecimal(""));
    EXPECT_FALSE(ParseDecimal("12x"));
    EXPECT_FALSE(ParseDecimal("0x10"));
    EXPECT_FALSE(ParseDecimal("99999999999"));
    EXPECT_FALSE(ParseDecimal("1.5"));
}

TEST(Settings, StartPositionFallsBackToTheDesignedOne) {
    const std::array screens = {TRect{0, 0, 1280, 1024}};
    const TPoint designed{202, 107};
    EXPECT_EQ(StartPosition(300, 200, designed, 518, 425, screens), (TPoint{300, 200}));
    // A missing or unreadable key keeps that edge as designed.
    EXPECT_EQ(StartPosition(std::nullopt, 200, designed, 518, 425, screens), (TPoint{202, 200}));
    EXPECT_EQ(StartPosition(std::nullopt, std::nullopt, designed, 518, 425, screens), designed);
    // Wholly or mostly off every screen (a monitor unplugged): the designed position.
    EXPECT_EQ(StartPosition(5000, 100, designed, 518, 425, screens), designed);
    EXPECT_EQ(StartPosition(1100, 100, designed, 518, 425, screens), designed);
    // Half or more still visible: kept as stored.
    EXPECT_EQ(StartPosition(1021, 100, designed, 518, 425, screens), (TPoint{1021, 100}));
    EXPECT_EQ(StartPosition(-100, -50, designed, 518, 425, screens), (TPoint{-100, -50}));
}

TEST(Settings, AWindowAcrossTwoScreensCountsBothShares) {
    const std::array screens = {TRect{0, 0, 1000, 800}, TRect{1000, 0, 2000, 800}};
    EXPECT_EQ(StartPosition(800, 100, {202, 107}, 518, 425, screens), (TPoint{800, 100}));
    EXPECT_EQ(StartPosition(1700, 100, {202, 107}, 518, 425, screens), (TPoint{1700, 100}));
    EXPECT_EQ(StartPosition(1900, 100, {202, 107}, 518, 425, screens), (TPoint{202, 107}));
}

TEST(Settings, PositionsNoScreenCouldHaveCountAsMissing) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const std::array screens = {TRect{0, 0, 1280, 1024}};
    const TPoint designed{202, 107};
    // Only the damaged edge falls back; the other is kept when the window then shows.
    EXPECT_EQ(StartPosition(kMax, 300, designed, 518, 425, screens), (TPoint{202, 300}));
    EXPECT_EQ(StartPosition(300, kMax, designed, 518, 425, screens), (TPoint{300, 107}));
    EXPECT_EQ(StartPosition(kMin, kMin, designed, 518, 425, screens), designed);
    EXPECT_EQ(StartPosition(kMax - 100, kMin + 5, designed, 518, 425, screens), designed);
    EXPECT_EQ(StartPosition(40000, -40000, designed, 518, 425, screens), designed);
    // Without screen information the same values still count as missing.
    EXPECT_EQ(StartPosition(kMax, kMin, designed, 518, 425, {}), designed);
    EXPECT_EQ(StartPosition(32767, -32767, designed, 518, 425, {}), (TPoint{32767, -32767}));
    // An extreme window size is measured without overflow either.
    EXPECT_EQ(StartPosition(32767, 32767, designed, kMax, kMax, screens), designed);
    EXPECT_EQ(StartPosition(0, 0, designed, kMax, kMax, screens), designed);
    EXPECT_EQ(StartPosition(-100, -50, designed, 518, 425, screens), (TPoint{-100, -50}));
}

} // namespace
} // namespace vd
