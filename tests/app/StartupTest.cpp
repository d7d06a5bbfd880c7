#include "tests/support/AppFixture.h"

#include "framework/ImageList.h"
#include "framework/ListBox.h"
#include "framework/Timer.h"
#include "framework/TrayHost.h"
#include "framework/core/IniFile.h"
#include "playlist/file/PlaylistFile.h"
#include "skin/VsButtons.h"
#include "skin/VsLabel.h"
#include "skin/VsSkin.h"
#include "widgets/FlatMenu.h"
#include "widgets/TrayIcon.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <fstream>
#include <iterator>

namespace vd::test {
namespace {

using Startup = PlayerFixture;

TEST_F(Startup, WithoutArgumentsNothingPlaysAndOnlyTheEndTimerRuns) {
    TPlayer& player = Start();
    EXPECT_EQ(player.Left(), 202);
    EXPECT_EQ(player.Top(), 107);
    EXPECT_EQ(player.Width(), 518);
    EXPECT_EQ(player.Height(), 425);
    EXPECT_EQ(player.TitleLabel->Caption(), "VO Dezaru");
    EXPECT_EQ(player.Playlist->Count(), 0);
    EXPECT_EQ(player.PlaylistShow->Count(), 0);
    EXPECT_TRUE(player.NextTimer->Enabled());
    EXPECT_FALSE(player.PositionTimer->Enabled());
    EXPECT_FALSE(player.ModTimer->Enabled());
    EXPECT_EQ(player.Controller().Kind(), FileKind::None);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Startup, TheLayoutPlacesEveryControlAndTheSkinShapesTheWindow) {
    TPlayer& player = Start();
    EXPECT_EQ(player.Skin->Width(), 518);
    EXPECT_EQ(player.Skin->Height(), 425);
    EXPECT_TRUE(player.Skin->HasRegion());
    // Buttons take their size from their clip rectangles once the skin is there.
    EXPECT_EQ(player.PlayBtn->Width(), 21);
    EXPECT_EQ(player.PlayBtn->Height(), 14);
    EXPECT_EQ(player.NextBtn->Width(), 23);
    EXPECT_EQ(player.MenuBtn->Width(), 9);
    EXPECT_EQ(player.MenuBtn->Height(), 8);
    // "Position:" sizes itself; the title keeps its fixed size.
    EXPECT_EQ(player.Position_Label->Width(), 40);
    EXPECT_EQ(player.Position_Label->Height(), 13);
    EXPECT_EQ(player.TitleLabel->Width(), 265);
    EXPECT_EQ(player.TitleLabel->Height(), 13);
    EXPECT_FALSE(player.Playlist->Visible());
}

TEST_F(Startup, ArgumentsAreJoinedWithBlanksIntoOnePath) {
    TPlayer& player = Start({"/music/my", "song.xyz"});
    EXPECT_EQ(player.CommandLinePath(), "/music/my song.xyz");
    // A file of unknown kind is listed but nothing plays.
    ASSERT_EQ(player.Playlist->Count(), 1);
    EXPECT_EQ(player.Playlist->Items(0), "/music/my song.xyz");
    EXPECT_EQ(player.PlaylistShow->Items(0), "my song.xyz");
    EXPECT_EQ(player.Playlist->ItemIndex(), 0) << "the entry the command line names is chosen";
    EXPECT_EQ(player.Controller().Kind(), FileKind::None);
    EXPECT_TRUE(player.PositionTimer->Enabled());
}

TEST_F(Startup, APlaylistPathListsItsEntriesAndPlaysNothing) {
    const std::string pvl = Scratch("list.pvl").string();
    SavePlaylistFile(pvl, std::vector<std::string>{"/a/one.mod", "C:\\music\\two.xm", "three.it"});
    TPlayer& player = Start({pvl});
    ASSERT_EQ(player.Playlist->Count(), 3);
    EXPECT_EQ(player.PlaylistShow->Items(0), "one.mod");
    EXPECT_EQ(player.PlaylistShow->Items(1), "two.xm");
    EXPECT_EQ(player.PlaylistShow->Items(2), "three.it");
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), -1);
    EXPECT_EQ(player.Controller().Kind(), FileKind::None);
    EXPECT_FALSE(player.PositionTimer->Enabled());
}

TEST_F(Startup, APlaylistExtensionInCapitalsLoadsTheList) {
    for (const char* name : {"LIST.PVL", "Mixed.Pvl"}) {
        const std::string pvl = Scratch(name).string();
        SavePlaylistFile(pvl, std::vector<std::string>{"/a/one.mod", "/a/two.mod"});
        TPlayer& player = Start({pvl});
        ASSERT_EQ(player.Playlist->Count(), 2) << name;
        EXPECT_EQ(player.Playlist->Items(0), "/a/one.mod");
        EXPECT_EQ(player.Controller().Kind(), FileKind::None);
    }
}

TEST_F(Startup, RelativeEntriesOfAPlaylistAreTakenFromItsFolder) {
    std::filesystem::create_directories(Scratch("lists/sub"));
    std::filesystem::create_directories(Scratch("elsewhere"));
    const std::string folder = Scratch("lists").string();
    SavePlaylistFile(folder + "/mix.pvl",
                     std::vector<std::string>{"beside.mod", "sub/below.mod", "../above.mod",
                                              "/abs/olute.mod", ""});
    // Started from another folder, with the list named relative to it.
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(Scratch("elsewhere"));
    TPlayer& player = Start({"../lists/mix.pvl"});
    std::filesystem::current_path(was);
    const std::string base = Scratch("elsewhere").string() + "/../lists/";
    ASSERT_EQ(player.Playlist->Count(), 5);
    EXPECT_EQ(player.Playlist->Items(0), base + "beside.mod");
    EXPECT_EQ(player.Playlist->Items(1), base + "sub/below.mod");
    EXPECT_EQ(player.Playlist->Items(2), base + "../above.mod");
    EXPECT_EQ(player.Playlist->Items(3), "/abs/olute.mod");
    EXPECT_EQ(player.Playlist->Items(4), "");
    EXPECT_EQ(player.PlaylistShow->Items(1), "below.mod");
    EXPECT_EQ(player.PlaylistShow->Items(2), "above.mod");
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Startup, AMissingPlaylistFileIsShownAndLeavesTheListsEmpty) {
    TPlayer& player = Start({Scratch("missing.pvl").string()});
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_NE(AppHarness::Errors()[0].find("missing.pvl"), std::string::npos);
    EXPECT_EQ(player.Playlist->Count(), 0);
    EXPECT_EQ(player.PlaylistShow->Count(), 0);
}

TEST_F(Startup, TheStoredPositionIsRestoredAndABadOneIgnoredQuietly) {
    {
        std::ofstream ini(SettingsPath());
        ini << "[config]\r\nleft=300\r\nTOP=250\r\n";
    }
    EXPECT_EQ(Start().Left(), 300);
    EXPECT_EQ(player_->Top(), 250);
    player_.reset();
    {
        std::ofstream ini(SettingsPath());
        ini << "[Config]\nLeft=abc\nTop=\n";
    }
    EXPECT_EQ(Start().Left(), 202);
    EXPECT_EQ(player_->Top(), 107);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Startup, CloseWritesThePositionAndKeepsOtherSettings) {
    {
        std::ofstream ini(SettingsPath());
        ini << "; mine\n[Other]\nKey=1\n";
    }
    TPlayer& player = Start();
    player.SetBounds(333, 222, player.Width(), player.Height());
    player.MenuCloseClick(&player);
    const TIniFile ini(SettingsPath());
    EXPECT_EQ(ini.ReadString("Config", "Left", ""), "333");
    EXPECT_EQ(ini.ReadString("Config", "Top", ""), "222");
    EXPECT_EQ(ini.ReadString("Other", "Key", ""), "1");
    player_.reset();
    EXPECT_EQ(Start().Left(), 333);
}

TEST_F(Startup, CloseStillClosesWhenTheSettingsCannotBeWritten) {
    TPlayer& player = Start();
    player.Show();
    std::filesystem::create_directories(SettingsPath()); // a folder where the file should be
    player.MenuCloseClick(&player);
    EXPECT_FALSE(player.Visible());
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Startup, TheDesktopsCloseIsTheMenusClose) {
    TPlayer& player = Start();
    player.Show();
    player.SetBounds(333, 222, player.Width(), player.Height());
    player.RequestClose(); // the close box, Alt+F4, a termination signal, the session ending
    EXPECT_FALSE(player.Visible());
    const TIniFile ini(SettingsPath());
    EXPECT_EQ(ini.ReadString("Config", "Left", ""), "333");
    EXPECT_EQ(ini.ReadString("Config", "Top", ""), "222");
}

TEST_F(Startup, AReadOnlySettingsFileIsLeftAsItIsAndTheLossIsSaid) {
    const std::string stored = "[Config]\nLeft=300\nTop=200\n";
    {
        std::ofstream ini(SettingsPath());
        ini << stored;
    }
    std::filesystem::permissions(SettingsPath(), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::group_read |
                                                     std::filesystem::perms::others_read);
    TPlayer& player = Start();
    EXPECT_EQ(player.Left(), 300);
    player.Show();
    player.SetBounds(333, 222, player.Width(), player.Height());
    ::testing::internal::CaptureStderr();
    player.MenuCloseClick(&player);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(player.Visible()) << "the program closes all the same";
    EXPECT_NE(said.find("position was not saved"), std::string::npos) << said;
    EXPECT_NE(said.find("Permission denied"), std::string::npos) << said;
    std::ifstream in(SettingsPath());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), stored);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Startup, MinimizingWithoutANotificationAreaKeepsTheWindowReachable) {
    TPlayer& player = Start();
    player.Show();
    player.MenuMinimizeClick(nullptr);
    // Here (offscreen) there is no notification area: no icon to come back from, so the window
    // is minimized the usual way and stays on the task bar.
    EXPECT_FALSE(player.TrayIcon->IconVisible());
    EXPECT_TRUE(player.Visible());
    EXPECT_TRUE(AppHarness::App().Minimized());
    player.TrayIconClick(nullptr);
    EXPECT_FALSE(AppHarness::App().Minimized());
    EXPECT_TRUE(player.Visible());
}

TEST_F(Startup, TheTrayIconHasThePlayersSettingsAndAnIconForEverySmallSize) {
    TPlayer& player = Start();
    TTrayIcon& tray = *player.TrayIcon;
    EXPECT_EQ(tray.Hint(), "VO Dezaru");
    EXPECT_TRUE(tray.MinimizeToTray());
    EXPECT_EQ(tray.PopupMenu(), player.TrayMenu);
    EXPECT_FALSE(tray.IconVisible());
    EXPECT_TRUE(tray.Enabled());
    EXPECT_TRUE(tray.ShowHint());
    EXPECT_FALSE(tray.LeftPopup());
    EXPECT_FALSE(tray.CycleIcons());
    EXPECT_EQ(tray.CycleInterval(), 0U);
    EXPECT_EQ(tray.IconList(), nullptr);
    EXPECT_EQ(tray.IconIndex(), 0);
    EXPECT_TRUE(static_cast<bool>(tray.OnClick));
    // Drawn for each size a panel asks for, rather than shrunk from the largest.
    EXPECT_EQ(tray.Icon().Sizes(), (std::vector<int>{16, 22, 24, 32, 48, 64, 128}));
}

TEST_F(Startup, MinimizingIntoANotificationAreaHidesTheWindowUntilTheIconOrTheAreaGoes) {
    TPlayer& player = Start();
    player.Show();
    AppHarness::App().SetMainForm(&player); // as the program's entry makes it
    TTrayHostChange change;
    change.status_notifier_now = true;
    TTrayHost::Instance().Simulate(change); // a StatusNotifierItem host appears
    player.MenuMinimizeClick(nullptr);
    EXPECT_FALSE(player.Visible());
    EXPECT_TRUE(player.TrayIcon->IconVisible());
    player.TrayIconClick(nullptr);
    EXPECT_TRUE(player.Visible());
    EXPECT_FALSE(player.TrayIcon->IconVisible());

    player.MenuMinimizeClick(nullptr);
    ASSERT_FALSE(player.Visible());
    change.status_notifier_before = true;
    change.status_notifier_now = false;
    TTrayHost::Instance().Simulate(change); // and goes away with the window in it
    EXPECT_TRUE(player.Visible()) << "the window was lost with the notification area";
    EXPECT_FALSE(AppHarness::App().Minimized());
    player.TrayIconClick(nullptr); // what a click on the icon does once the area is back
    EXPECT_TRUE(player.Visible());
    EXPECT_FALSE(player.TrayIcon->IconVisible());
    TTrayHost::Instance().ClearSimulation();
    AppHarness::App().SetMainForm(nullptr);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Startup, TheMainMenuPopsUpBelowTheMenuButton) {
    TPlayer& player = Start();
    player.SetBounds(100, 50, player.Width(), player.Height());
    TPoint at{};
    TPopupMenu* shown = nullptr;
    TPopupMenu::SetPopupScript([&](TPopupMenu& menu, TPoint screen) -> TMenuItem* {
        shown = &menu;
        at = screen;
        return nullptr;
    });
    player.ShowMenu(player.MenuBtn);
    EXPECT_EQ(shown, player.MainMenu);
    EXPECT_EQ(at, (TPoint{104, 146}));
}

TEST_F(Startup, MenusCarryTheirItemsImagesAndHandlers) {
    TPlayer& player = Start();
    TMenuItem* tray = player.TrayMenu->Items();
    ASSERT_EQ(tray->Count(), 10);
    EXPECT_EQ(tray->Items(0)->Caption(), "Restore");
    EXPECT_TRUE(tray->Items(0)->Default());
    EXPECT_TRUE(tray->Items(2)->IsLine());
    EXPECT_EQ(tray->Items(9)->Caption(), "Close");
    EXPECT_EQ(tray->Items(9)->ImageIndex(), 1);
    TMenuItem* main = player.MainMenu->Items();
    ASSERT_EQ(main->Count(), 8);
    EXPECT_FALSE(main->Items(0)->Enabled());
    EXPECT_EQ(main->Items(2)->Caption(), "Playback  ");
    EXPECT_EQ(main->Items(2)->Count(), 5);
    EXPECT_EQ(main->Items(3)->Items(2)->Caption(), "Save Playlist");
    EXPECT_EQ(player.MenuThumbs->Count(), 11);
    EXPECT_EQ(player.PlaylistMenu->Items()->Count(), 3);
    // "Play" in the tray menu is Play: on an empty list it reports the missing entry.
    tray->Items(4)->Click();
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_EQ(AppHarness::Errors()[0], "Playlist error: -1 files in playlist");
}

TEST_F(Startup, TheMenuPainterComesLastAndTakesOverTheThreeMenus) {
    TPlayer& player = Start();
    auto* painter = dynamic_cast<TFlatMenu*>(player.FindComponent("CLFormFX"));
    ASSERT_NE(painter, nullptr);
    EXPECT_TRUE(painter->Active());
    EXPECT_TRUE(painter->AutoDetect());
    EXPECT_EQ(painter->Font().Name(), "Tahoma");
    EXPECT_EQ(painter->Font().Height(), -11);
    EXPECT_EQ(painter->Font().Color(), clMenuText);
    int last_layout_component = -1;
    for (int i = 0; i < player.ComponentCount(); ++i)
        if (dynamic_cast<TMenuItem*>(player.Components(i)) != nullptr ||
            dynamic_cast<TPopupMenu*>(player.Components(i)) != nullptr)
            last_layout_component = i;
    EXPECT_EQ(player.Components(player.ComponentCount() - 1), painter);
    EXPECT_LT(last_layout_component, player.ComponentCount() - 1);
    auto all_drawn = [&](auto& self, TMenuItem* level) -> int {
        int n = 0;
        for (int i = 0; i < level->Count(); ++i) {
            EXPECT_TRUE(painter->DrawsItem(level->Items(i))) << level->Items(i)->Caption();
            EXPECT_TRUE(painter->MeasuresItem(level->Items(i))) << level->Items(i)->Caption();
            n += 1 + self(self, level->Items(i));
        }
        return n;
    };
    for (TPopupMenu* menu : {player.MainMenu, player.PlaylistMenu, player.TrayMenu}) {
        EXPECT_TRUE(menu->OwnerDraw());
        EXPECT_GT(all_drawn(all_drawn, menu->Items()), 0);
    }
    // A separator is measured 4 high.
    TBitmap scratch(4, 4);
    int w = 0;
    int h = 0;
    player.MainMenu->Items()->Items(1)->Measure(scratch.Canvas(), w, h);
    EXPECT_EQ(h, 4);
}

TEST_F(Startup, ARightPressOnTheSkinOrALabelOpensTheMainMenu) {
    TPlayer& player = Start();
    std::vector<TPopupMenu*> shown;
    TPopupMenu::SetPopupScript([&](TPopupMenu& menu, TPoint) -> TMenuItem* {
        shown.push_back(&menu);
        return nullptr;
    });
    auto right_press = [&](QWidget* widget, QPointF at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &release);
    };
    right_press(player.Skin->Widget(), {400, 60});        // the decoration
    right_press(player.Skin->Widget(), {53, 112});        // PosLabel
    right_press(player.PlaylistShow->Widget(), {10, 10}); // the playlist has its own menu
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], player.MainMenu);
    EXPECT_EQ(shown[1], player.MainMenu);
    EXPECT_EQ(shown[2], player.PlaylistMenu);
}

} // namespace
} // namespace vd::test
