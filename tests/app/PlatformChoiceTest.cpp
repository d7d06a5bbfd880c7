#include "app/PlatformChoice.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

PlatformEnvironment Session(bool wayland, bool x11) {
    PlatformEnvironment environment;
    if (wayland)
        environment.wayland_display = "wayland-0";
    if (x11)
        environment.display = ":0";
    return environment;
}

TEST(PlatformChoice, BothDisplaysStartOnXWaylandWhereTheWindowCanBePlaced) {
    EXPECT_EQ(ChooseQtPlatform(Session(true, true)), "xcb");
}

TEST(PlatformChoice, NativeWaylandOnlyOnRequestOrWithoutX11) {
    PlatformEnvironment asked = Session(true, true);
    asked.vodezaru_platform = "wayland";
    EXPECT_EQ(ChooseQtPlatform(asked), "wayland");

    PlatformEnvironment set = Session(true, true);
    set.setting = "wayland";
    EXPECT_EQ(ChooseQtPlatform(set), "wayland");

    // The environment outranks the settings file.
    set.vodezaru_platform = "x11";
    EXPECT_EQ(ChooseQtPlatform(set), "xcb");

    EXPECT_EQ(ChooseQtPlatform(Session(true, false)), "wayland");
}

TEST(PlatformChoice, AWishThatCannotBeMetIsLeftToQt) {
    PlatformEnvironment no_wayland = Session(false, true);
    no_wayland.vodezaru_platform = "wayland";
    EXPECT_EQ(ChooseQtPlatform(no_wayland), std::nullopt);
    EXPECT_EQ(ChooseQtPlatform(Session(false, false)), std::nullopt);

    PlatformEnvironment unknown = Session(true, true);
    unknown.vodezaru_platform = "mir";
    EXPECT_EQ(ChooseQtPlatform(unknown), "xcb");
}

TEST(PlatformChoice, APlatformThePersonNamedForQtAlwaysWins) {
    PlatformEnvironment own = Session(true, true);
    own.qt_qpa_platform = "wayland";
    own.vodezaru_platform = "x11";
    EXPECT_EQ(ChooseQtPlatform(own), std::nullopt);
}

} // namespace
} // namespace vd
