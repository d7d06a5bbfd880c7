// Minimizing into the notification area and coming back, with a real XEmbed notification area
// docked in the screen's bottom-right corner: the icon appears, its menu opens under the pointer
// there without the opening click choosing anything, and "Restore" from that menu brings the
// window back with the player still running.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/TrayPanel.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

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

// The menus' own measures: a frame of 2 pixels, items 19 high, separators 9.
constexpr int kMenuFrame = 2;
constexpr int kMenuItemHeight = 19;

// A point of the skin that is neither a control nor cut away.
constexpr int kBareSkinX = 400;
constexpr int kBareSkinY = 60;

constexpr const char* kIconName = "VO Dezaru";

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display";
        if (!TrayPanel::installed())
            GTEST_SKIP() << "trayer (an XEmbed notification area) is not installed; "
                            "`make setup` installs it";
        std::filesystem::remove(settings_file());
        x_ = std::make_unique<XDisplay>();
        panel_ = std::make_unique<TrayPanel>(*x_);
        player_ = std::make_unique<Player>(*x_, std::vector<std::string>{}, "null");
    }
    void TearDown() override {
        player_.reset();
        panel_.reset();
        std::filesystem::remove(settings_file());
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

    // Minimize from the main menu (the item above "Close") and wait for the icon to dock.
    [[nodiscard]] std::optional<WindowInfo> minimize_to_tray() {
        const auto [sx, sy] = player_->screen_point(kBareSkinX, kBareSkinY);
        xdo::move_to(sx, sy);
        xdo::click(3);
        const std::optional<WindowInfo> menu = wait_for_menu();
        if (!menu) {
            ADD_FAILURE() << "the main menu did not open";
            return std::nullopt;
        }
        xdo::move_to(menu->x + menu->width / 2,
                     menu->y + menu->height - kMenuFrame - kMenuItemHeight - kMenuItemHeight / 2);
        xdo::click(1);
        std::optional<WindowInfo> icon;
        (void)wait_until(
            [&] {
                icon = panel_->icon(kIconName);
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

    std::unique_ptr<XDisplay> x_;
    std::unique_ptr<TrayPanel> panel_;
    std::unique_ptr<Player> player_;
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

} // namespace
} // namespace vd::e2e
