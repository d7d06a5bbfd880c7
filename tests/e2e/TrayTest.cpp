// Minimizing into the notification area and coming back, with each kind of notification area
// Linux desktops have. With a real XEmbed tray docked in the screen's bottom-right corner: the
// icon appears, its menu opens under the pointer there without the opening click choosing
// anything, "Restore" from that menu brings the window back with the player still running, and
// a tray that is ended and started again gets the icon back without the window being lost
// meanwhile. With a StatusNotifierItem watcher and host on a private session bus: the item is
// registered with the title as its tip, and its Activate call restores the window. With no
// notification area at all: the window is never hidden.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/StatusNotifier.h"
#include "tests/e2e/support/TestSongs.h"
#include "tests/e2e/support/TrayPanel.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kIconName = "VO Dezaru";

// The player, its windows and menus, and minimizing it from its main menu.
class TrayFixture : public WindowTest<> {
protected:
    void TearDown() override {
        player_.reset();
        WindowTest<>::TearDown();
    }

    // A session bus of the test's own, so that a notification area of the desktop the tests run
    // on cannot take part; without the bus daemon the player gets no bus at all.
    void private_bus() {
        if (SessionBus::installed())
            bus_ = std::make_unique<SessionBus>();
        else
            ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }

    void start_player(const std::vector<std::string>& arguments = {}) {
        player_ = std::make_unique<Player>(*x_, arguments, "null");
    }

    // The viewable menus: override-redirect windows of the player other than its main window.
    [[nodiscard]] std::vector<WindowInfo> menus() {
        const XWindowId main = player_->window_id();
        std::vector<WindowInfo> result;
        for (const WindowInfo& w : x_->top_levels())
            if (w.viewable && w.override_redirect && w.id != main && w.name == kIconName)
                result.push_back(w);
        return result;
    }

    [[nodiscard]] std::optional<WindowInfo> wait_for_menu() {
        std::optional<WindowInfo> menu;
        (void)wait_until(
            [&] {
                const std::vector<WindowInfo> open = menus();
                if (!open.empty())
                    menu = open.front();
                return menu.has_value();
            },
            2s);
        return menu;
    }

    // False too once the player has ended (its window is gone then).
    [[nodiscard]] bool main_window_viewable() {
        if (!player_->process().running())
            return false;
        const std::optional<WindowInfo> w = x_->info(player_->window_id());
        return w.has_value() && w->viewable;
    }

    // Opens the main menu with a right click on the skin.
    [[nodiscard]] std::optional<WindowInfo> open_main_menu() {
        const auto [sx, sy] = player_->screen_point(kBareSkinX, kBareSkinY);
        xdo::move_to(sx, sy);
        xdo::click(3);
        return wait_for_menu();
    }

    // "Minimize" from the main menu (the item above "Close"); false when the menu did not open.
    [[nodiscard]] bool choose_minimize() {
        const std::optional<WindowInfo> menu = open_main_menu();
        if (!menu) {
            ADD_FAILURE() << "the main menu did not open";
            return false;
        }
        xdo::move_to(menu->x + menu->width / 2,
                     menu->y + menu->height - kMenuFrame - kMenuItemHeight - kMenuItemHeight / 2);
        xdo::click(1);
        return true;
    }

    std::unique_ptr<SessionBus> bus_;
    std::unique_ptr<Player> player_;
};

// With an XEmbed tray.
class Tray : public TrayFixture {
protected:
    void SetUp() override {
        TrayFixture::SetUp();
        if (IsSkipped())
            return;
        if (!TrayPanel::installed())
            GTEST_SKIP() << "trayer (an XEmbed notification area) is not installed; "
                            "`make setup` installs it";
        private_bus();
        panel_ = std::make_unique<TrayPanel>(*x_);
        start_player();
    }
    void TearDown() override {
        TrayFixture::TearDown();
        panel_.reset();
    }

    // Minimize from the main menu and wait for the icon to dock in its place.
    [[nodiscard]] std::optional<WindowInfo> minimize_to_tray() {
        if (!choose_minimize())
            return std::nullopt;
        std::optional<WindowInfo> icon;
        (void)wait_until(
            [&] {
                icon = panel_->placed_icon(kIconName);
                return icon.has_value() && !main_window_viewable();
            },
            3s);
        return icon;
    }

    // Right press on the middle of the icon, the release only once the menu is on the screen,
    // so that the release is the menu's to handle; returns the menu.
    [[nodiscard]] std::optional<WindowInfo> open_tray_menu(const WindowInfo& icon) {
        xdo::move_to(icon.x + icon.width / 2, icon.y + icon.height / 2);
        xdo::press(3);
        const std::optional<WindowInfo> menu = wait_for_menu();
        xdo::release(3);
        return menu;
    }

    std::unique_ptr<TrayPanel> panel_;
};

TEST_F(Tray, MinimizeFromTheMainMenuShowsTheIconAndAClickOnItRestores) {
    const std::optional<WindowInfo> icon = minimize_to_tray();
    ASSERT_TRUE(icon.has_value()) << "no icon docked in the notification area after Minimize";
    EXPECT_FALSE(main_window_viewable()) << "the main window stayed on the screen";
    xdo::move_to(icon->x + icon->width / 2, icon->y + icon->height / 2);
    xdo::click(1);
    EXPECT_TRUE(wait_until([&] { return main_window_viewable(); }, 2s))
        << "a click on the icon did not bring the window back";
    EXPECT_TRUE(wait_until([&] { return !panel_->icon(kIconName).has_value(); }, 2s))
        << "the icon stayed after the window came back";
    EXPECT_TRUE(player_->process().running());
}

TEST_F(Tray, RightClickOnTheIconInTheCornerLeavesThePlayerRunningWithItsMenuOpen) {
    const std::optional<WindowInfo> icon = minimize_to_tray();
    ASSERT_TRUE(icon.has_value()) << "no icon docked in the notification area after Minimize";
    const int px = icon->x + icon->width / 2;
    const int py = icon->y + icon->height / 2;

    // The press held until the menu is up: its release lands on the menu.
    const std::optional<WindowInfo> menu = open_tray_menu(*icon);
    ASSERT_TRUE(menu.has_value()) << "no menu after a right press on the icon";
    ASSERT_TRUE(px >= menu->x && px < menu->x + menu->width && py >= menu->y &&
                py < menu->y + menu->height)
        << "the menu did not open under the pointer, so this does not try what it should";
    // Under the pointer lies the menu's last item, "Close".
    EXPECT_GE(py, menu->y + menu->height - kMenuFrame - kMenuItemHeight);
    std::this_thread::sleep_for(300ms); // time for a wrong choice to show
    ASSERT_TRUE(player_->process().running())
        << "the release of the right button closed the player";
    EXPECT_EQ(menus().size(), 1U) << "the menu closed on the release of the button that opened it";
    xdo::key("Escape");
    EXPECT_TRUE(wait_until([&] { return menus().empty(); }, 2s)) << "Escape left the menu open";

    // A quick click, press and release at once, as most people click. Its press must come later
    // than the double-click time after the first one, or it is a double click, which opens no
    // menu.
    std::this_thread::sleep_for(600ms);
    xdo::move_to(px, py);
    xdo::click(3);
    EXPECT_TRUE(wait_for_menu().has_value()) << "no menu after a right click on the icon";
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(player_->process().running()) << "a right click on the icon closed the player";
    EXPECT_EQ(menus().size(), 1U) << "the menu closed on the click that opened it";
}

TEST_F(Tray, RestoreFromTheTrayMenuRestoresTheWindowAgainAndAgain) {
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::optional<WindowInfo> icon = minimize_to_tray();
        ASSERT_TRUE(icon.has_value()) << "no icon docked in the notification area after Minimize";
        const std::optional<WindowInfo> menu = open_tray_menu(*icon);
        ASSERT_TRUE(menu.has_value()) << "no menu after a right press on the icon";
        // "Restore" is the first item.
        xdo::move_to(menu->x + menu->width / 2, menu->y + kMenuFrame + kMenuItemHeight / 2);
        xdo::click(1);
        const bool restored = wait_until([&] { return main_window_viewable(); }, 2s);
        ASSERT_TRUE(player_->process().running())
            << "the player ended on Restore (wait status "
            << player_->process().wait_for_exit(0ms).value_or(-1) << ")";
        EXPECT_TRUE(restored) << "Restore did not bring the window back";
        EXPECT_TRUE(wait_until([&] { return !panel_->icon(kIconName).has_value(); }, 2s))
            << "the icon stayed after Restore";
        EXPECT_TRUE(wait_until([&] { return menus().empty(); }, 2s)) << "the menu stayed open";
    }
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(player_->process().running()) << "the player ended after Restore";
}

TEST_F(Tray, TheIconComesBackWithARestartedTrayAndTheWindowIsNotLostMeanwhile) {
    // Restarting the tray while the icon is absent shows nothing.
    panel_.reset();
    panel_ = std::make_unique<TrayPanel>(*x_);
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(panel_->icon(kIconName).has_value()) << "an icon that was absent was shown";
    ASSERT_TRUE(main_window_viewable());

    ASSERT_TRUE(minimize_to_tray().has_value())
        << "no icon docked in the notification area after Minimize";
    panel_.reset(); // the tray ends with the window hidden in it
    EXPECT_TRUE(wait_until([&] { return main_window_viewable(); }, 2s))
        << "the window stayed hidden in a notification area that no longer exists";

    panel_ = std::make_unique<TrayPanel>(*x_);
    std::optional<WindowInfo> icon;
    EXPECT_TRUE(wait_until(
        [&] {
            icon = panel_->placed_icon(kIconName);
            return icon.has_value();
        },
        3s))
        << "the icon did not come back when the tray was started again";
    ASSERT_TRUE(icon.has_value());

    // The icon that came back works as before.
    xdo::move_to(icon->x + icon->width / 2, icon->y + icon->height / 2);
    xdo::click(1);
    EXPECT_TRUE(wait_until([&] { return !panel_->icon(kIconName).has_value(); }, 2s))
        << "a click on the icon that came back did not take it away";
    EXPECT_TRUE(main_window_viewable());
    EXPECT_TRUE(player_->process().running());
}

// With no notification area of either kind.
class NoTray : public TrayFixture {
protected:
    void SetUp() override {
        TrayFixture::SetUp();
        if (IsSkipped())
            return;
        private_bus();
        start_player();
    }
};

TEST_F(NoTray, MinimizeLeavesTheWindowReachable) {
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_TRUE(choose_minimize());
        std::this_thread::sleep_for(500ms); // time for a wrong hiding to show
        // Minimized the usual way: with no window manager here that leaves it on the screen,
        // where it still answers; hidden, it could not be brought back from anywhere.
        ASSERT_TRUE(player_->process().running());
        EXPECT_TRUE(main_window_viewable())
            << "the window was hidden with no tray to come back from";
        EXPECT_TRUE(wait_until([&] { return menus().empty(); }, 2s));
        const std::optional<WindowInfo> menu = open_main_menu();
        EXPECT_TRUE(menu.has_value()) << "the window no longer answers";
        xdo::key("Escape");
        EXPECT_TRUE(wait_until([&] { return menus().empty(); }, 2s));
    }
}

// With a StatusNotifierItem watcher and host on the test's own session bus.
class StatusNotifierTrayTest : public TrayFixture {
protected:
    void SetUp() override {
        TrayFixture::SetUp();
        if (IsSkipped())
            return;
        if (!SessionBus::installed())
            GTEST_SKIP()
                << "dbus-daemon and dbus-send are not installed; `make setup` installs them";
        if (!StatusNotifierTray::installed())
            GTEST_SKIP() << "status-notifier-watcher and gtk-sni-tray-standalone (packages "
                            "haskell-status-notifier-item-utils and haskell-gtk-sni-tray-utils) "
                            "are not installed; `make setup` installs them";
        private_bus();
        tray_ = std::make_unique<StatusNotifierTray>(*bus_);
        const std::filesystem::path song = scratch_ / "probe.mod";
        modwriter::save_mod(tone_song("Tray Probe", "C-2", 2, 150), song.string());
        start_player({song.string()});
    }
    void TearDown() override {
        TrayFixture::TearDown();
        tray_.reset();
    }

    // The player's item as the watcher lists it, once it is there (at most 3 s).
    [[nodiscard]] std::optional<std::string> wait_for_item() {
        std::optional<std::string> item;
        (void)wait_until(
            [&] {
                const std::vector<std::string> items = tray_->items();
                if (!items.empty())
                    item = items.front();
                return item.has_value();
            },
            3s, 50ms);
        return item;
    }

    // The service and object path of an item as the watcher names it.
    [[nodiscard]] static std::pair<std::string, std::string> address_of(const std::string& item) {
        const std::size_t slash = item.find('/');
        if (slash == std::string::npos)
            return {item, "/StatusNotifierItem"};
        return {item.substr(0, slash), item.substr(slash)};
    }

    [[nodiscard]] std::string item_property(const std::string& item, const std::string& name) {
        const auto [service, path] = address_of(item);
        return bus_->property(service, path, "org.kde.StatusNotifierItem", name);
    }

    Scratch scratch_;
    std::unique_ptr<StatusNotifierTray> tray_;
};

TEST_F(StatusNotifierTrayTest,
       TheItemIsRegisteredWithTheTitleAsItsTipItsMenuOpensAndActivateRestores) {
    ASSERT_TRUE(tray_->items().empty()) << "an item before the window was minimized";
    ASSERT_TRUE(choose_minimize());
    const std::optional<std::string> item = wait_for_item();
    ASSERT_TRUE(item.has_value()) << "no item registered with the watcher after Minimize";
    EXPECT_TRUE(wait_until([&] { return !main_window_viewable(); }, 2s))
        << "the window stayed on the screen";

    const std::vector<std::string> tip = reply_strings(item_property(*item, "ToolTip"));
    EXPECT_NE(std::find(tip.begin(), tip.end(), "Tray Probe - VO Dezaru"), tip.end())
        << "the tip is not the title; its texts: " << ::testing::PrintToString(tip);

    // The host's ContextMenu call opens the tray menu, which leaves the window where it is.
    const auto [service, path] = address_of(*item);
    (void)bus_->call(service, path, "org.kde.StatusNotifierItem.ContextMenu",
                     {"int32:1200", "int32:1000"});
    EXPECT_TRUE(wait_for_menu().has_value()) << "ContextMenu did not open the tray menu";
    xdo::key("Escape");
    EXPECT_TRUE(wait_until([&] { return menus().empty(); }, 2s)) << "Escape left the menu open";
    EXPECT_FALSE(main_window_viewable());

    (void)bus_->call(service, path, "org.kde.StatusNotifierItem.Activate",
                     {"int32:10", "int32:10"});
    EXPECT_TRUE(wait_until([&] { return main_window_viewable(); }, 2s))
        << "Activate did not bring the window back";
    EXPECT_TRUE(wait_until([&] { return tray_->items().empty(); }, 2s))
        << "the item stayed after the window came back";
    EXPECT_TRUE(player_->process().running());
}

// A host that only draws menus exported over D-Bus finds the tray menu there, and choosing an
// item in it does what choosing it in our own menu does.
TEST_F(StatusNotifierTrayTest, TheItemExportsTheTrayMenuAndItsRestoreBringsTheWindowBack) {
    ASSERT_TRUE(choose_minimize());
    const std::optional<std::string> item = wait_for_item();
    ASSERT_TRUE(item.has_value()) << "no item registered with the watcher after Minimize";
    ASSERT_TRUE(wait_until([&] { return !main_window_viewable(); }, 2s));

    const std::string menu_property = item_property(*item, "Menu");
    const std::size_t quote = menu_property.find("object path \"");
    ASSERT_NE(quote, std::string::npos) << "Menu is no object path: " << menu_property;
    const std::string menu_path =
        menu_property.substr(quote + 13, menu_property.find('"', quote + 13) - quote - 13);
    ASSERT_FALSE(menu_path.empty());
    ASSERT_NE(menu_path, "/NO_DBUSMENU") << "the item exports no menu";

    const auto [service, path] = address_of(*item);
    const std::string layout = bus_->call(service, menu_path, "com.canonical.dbusmenu.GetLayout",
                                          {"int32:0", "int32:-1", "array:string:"});
    std::vector<std::string> labels;
    const std::vector<std::string> strings = reply_strings(layout);
    for (std::size_t i = 0; i + 1 < strings.size(); ++i)
        if (strings[i] == "label")
            labels.push_back(strings[i + 1]);
    const std::vector<std::string> expected = {"Restore", "About", "Previous", "Play",
                                               "Pause",   "Stop",  "Next",     "Close"};
    EXPECT_EQ(labels, expected) << layout;
    // Every item but Restore has a picture from the menu's image list.
    std::size_t pictures = 0;
    for (std::size_t at = 0; (at = layout.find("string \"icon-data\"", at)) != std::string::npos;
         ++at)
        ++pictures;
    EXPECT_EQ(pictures, 7u) << layout;

    // The host clicks Restore: its item id is the int32 that opens its layout entry.
    const std::size_t restore = layout.find("string \"Restore\"");
    ASSERT_NE(restore, std::string::npos) << layout;
    const std::size_t id_at = layout.rfind("int32 ", restore);
    ASSERT_NE(id_at, std::string::npos) << layout;
    const std::string id = std::to_string(std::stoi(layout.substr(id_at + 6)));
    (void)bus_->call(service, menu_path, "com.canonical.dbusmenu.Event",
                     {"int32:" + id, "string:clicked", "variant:int32:0", "uint32:0"});
    EXPECT_TRUE(wait_until([&] { return main_window_viewable(); }, 2s))
        << "Restore from the exported menu did not bring the window back";
    EXPECT_TRUE(wait_until([&] { return tray_->items().empty(); }, 2s))
        << "the item stayed after the window came back";
    EXPECT_TRUE(player_->process().running());
}

TEST_F(StatusNotifierTrayTest, AHostThatGoesBringsTheWindowBackAndTheItemReturnsWithAWatcher) {
    ASSERT_TRUE(choose_minimize());
    ASSERT_TRUE(wait_for_item().has_value()) << "no item registered after Minimize";
    ASSERT_TRUE(wait_until([&] { return !main_window_viewable(); }, 2s));

    tray_->stop_host();
    EXPECT_TRUE(wait_until([&] { return main_window_viewable(); }, 2s))
        << "the window stayed hidden with no host to show its item";

    // A new watcher knows no item: the player registers again once a host is back.
    tray_->stop_watcher();
    tray_->start_watcher();
    tray_->start_host();
    const std::optional<std::string> item = wait_for_item();
    ASSERT_TRUE(item.has_value()) << "the item did not come back with the watcher and host";
    const auto [service, path] = address_of(*item);
    (void)bus_->call(service, path, "org.kde.StatusNotifierItem.Activate",
                     {"int32:10", "int32:10"});
    EXPECT_TRUE(wait_until([&] { return tray_->items().empty(); }, 2s))
        << "Activate on the item that came back did not take it away";
    EXPECT_TRUE(main_window_viewable());
    EXPECT_TRUE(player_->process().running());
}

} // namespace
} // namespace vd::e2e
