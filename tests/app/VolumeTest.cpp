#include "app/MprisService.h"
#include "app/PlayerVolume.h"
#include "audio/AudioOutput.h"
#include "framework/Controls.h"
#include "framework/ListBox.h"
#include "framework/core/IniFile.h"
#include "skin/VsSkin.h"
#include "tests/support/AppFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace vd {
namespace {

TEST(PlayerVolume, WholePercentsWithinRangeAppliedToTheOutput) {
    const auto output = AudioOutput::open("null");
    PlayerVolume volume([&](float gain) { output->set_volume(gain); });
    int told = 0;
    volume.OnChange = [&] { ++told; };
    EXPECT_EQ(volume.Percent(), 100);
    volume.SetPercent(40);
    EXPECT_EQ(volume.Percent(), 40);
    EXPECT_FLOAT_EQ(output->volume(), 0.4f);
    volume.SetPercent(40);
    EXPECT_EQ(told, 1) << "an unchanged volume is not news";
    volume.SetPercent(250);
    EXPECT_EQ(volume.Percent(), 100);
    volume.SetPercent(-3);
    EXPECT_EQ(volume.Percent(), 0);
    EXPECT_EQ(output->volume(), 0.0f);
}

TEST(PlayerVolume, TheWheelTurnsItByNotches) {
    const auto output = AudioOutput::open("null");
    PlayerVolume volume([&](float gain) { output->set_volume(gain); });
    volume.SetPercent(50);
    volume.Wheel(kWheelDelta);
    EXPECT_EQ(volume.Percent(), 55);
    volume.Wheel(-2 * kWheelDelta);
    EXPECT_EQ(volume.Percent(), 45);
    // A fine wheel's small turns add up to a notch.
    volume.Wheel(kWheelDelta / 2);
    EXPECT_EQ(volume.Percent(), 45);
    volume.Wheel(kWheelDelta / 2);
    EXPECT_EQ(volume.Percent(), 50);
}

TEST(PlayerVolume, SettingTextsAndOlderFiles) {
    EXPECT_EQ(PlayerVolume::FromSetting("35"), 35);
    EXPECT_EQ(PlayerVolume::FromSetting("140"), 100);
    EXPECT_EQ(PlayerVolume::FromSetting("-5"), 0);
    EXPECT_FALSE(PlayerVolume::FromSetting(""));
    EXPECT_FALSE(PlayerVolume::FromSetting("loud"));
}

class PlayerVolumeInWindow : public test::PlayerFixture {};

TEST_F(PlayerVolumeInWindow, StartsAtTheSavedVolumeAndFullWithoutOne) {
    {
        TPlayer& player = Start();
        EXPECT_EQ(player.Volume().Percent(), 100);
        EXPECT_FLOAT_EQ(AudioOutput::instance().volume(), 1.0f);
    }
    player_.reset();
    std::ofstream(SettingsPath()) << "[Config]\r\nLeft=10\r\nTop=20\r\nVolume=35\r\n";
    TPlayer& player = Start();
    EXPECT_EQ(player.Volume().Percent(), 35);
    EXPECT_FLOAT_EQ(AudioOutput::instance().volume(), 0.35f);
    player.Volume().SetPercent(100);
}

TEST_F(PlayerVolumeInWindow, TheWheelOverTheFaceTurnsItButNotOverThePlaylist) {
    TPlayer& player = Start();
    player.Volume().SetPercent(50);
    EXPECT_TRUE(player.Skin->HandleMouseWheel({}, kWheelDelta, {100, 100}));
    EXPECT_EQ(player.Volume().Percent(), 55);
    EXPECT_TRUE(player.PlaylistShow->HandleMouseWheel({}, -kWheelDelta, {10, 10}));
    EXPECT_EQ(player.Volume().Percent(), 55) << "the playlist scrolls instead";
    player.Volume().SetPercent(100);
}

TEST_F(PlayerVolumeInWindow, IsSavedOnClose) {
    TPlayer& player = Start();
    player.Volume().SetPercent(65);
    player.MenuCloseClick(nullptr);
    const TIniFile settings(SettingsPath());
    EXPECT_EQ(settings.ReadString("Config", "Volume", ""), "65");
    player.Volume().SetPercent(100);
}

TEST_F(PlayerVolumeInWindow, WithoutASessionBusThereIsNoMprisAndNoComplaint) {
    TPlayer& player = Start();
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const std::string saved_address = address != nullptr ? address : "";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved_runtime = runtime != nullptr ? runtime : "";
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ::setenv("XDG_RUNTIME_DIR", folder_->Path().c_str(), 1);
    EXPECT_EQ(MprisService::Start(player), nullptr);
    EXPECT_TRUE(test::AppHarness::Errors().empty());
    if (address != nullptr)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", saved_address.c_str(), 1);
    if (runtime != nullptr)
        ::setenv("XDG_RUNTIME_DIR", saved_runtime.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace vd
