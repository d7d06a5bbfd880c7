// The About dialog of the running player under Xvfb: opened from the main menu it is a window
// titled "About VO Dezaru" with a 246 x 306 client area in the dialog's grey, centred on the
// screen, its labels raised by a light copy up and left; Update hands the home page to the
// browser (a recording stand-in for xdg-open) and leaves the dialog open; Close returns. Opened
// and closed five times by the window manager's close request, Escape and Close, it leaves the
// player working; and it opens from the tray menu while the main window is hidden.
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Scratch.h"
#include "tests/e2e/support/TrayPanel.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

constexpr const char* kMenuName = "VO Dezaru";
constexpr const char* kAboutTitle = "About VO Dezaru";
constexpr const char* kHomePage = "https://vodezaru.github.io";
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr std::uint32_t kGrey = 0xDDDDDD;

class About : public WindowTest<> {
protected:
    void SetUp() override {
        WindowTest<>::SetUp();
        if (IsSkipped())
            return;
        // The desktop's opener is found on the PATH: a stand-in that writes down what it was
        // asked to open.
        browser_log_ = *scratch_ / "opened.txt";
        const std::filesystem::path opener = *scratch_ / "xdg-open";
        std::ofstream(opener) << "#!/bin/sh\necho \"$@\" >> '" << browser_log_.string() << "'\n";
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        const char* path = std::getenv("PATH");
        saved_path_ = path != nullptr ? path : "";
        setenv("PATH", (*scratch_ / "").string().append(":").append(saved_path_).c_str(), 1);
    }
    void TearDown() override {
        player_.reset();
        panel_.reset();
        setenv("PATH", saved_path_.c_str(), 1);
        WindowTest<>::TearDown();
    }
    void StartPlayer() {
        player_ = std::make_unique<Player>(*x_, std::vector<std::string>{}, "null");
    }

    [[nodiscard]] std::optional<WindowInfo> wait_for_menu() {
        std::optional<WindowInfo> menu;
        (void)wait_until(
            [&] {
                for (const WindowInfo& w : x_->top_levels())
                    if (w.viewable && w.override_redirect && w.id != player_->window_id() &&
                        w.name == kMenuName)
                        menu = w;
                return menu.has_value();
            },
            2s);
        return menu;
    }
    [[nodiscard]] std::optional<WindowInfo> open_main_menu() {
        const auto [sx, sy] = player_->screen_point(kBareSkinX, kBareSkinY);
        xdo::move_to(sx, sy);
        xdo::click(3);
        return wait_for_menu();
    }
    // "About" is the third item from the bottom of the main menu.
    [[nodiscard]] std::optional<WindowInfo> about_from_main_menu() {
        const std::optional<WindowInfo> menu = open_main_menu();
        if (!menu) {
            ADD_FAILURE() << "the main menu did not open";
            return std::nullopt;
        }
        xdo::move_to(menu->x + menu->width / 2, menu->y + menu->height - kMenuFrame -
                                                    2 * kMenuItemHeight - kMenuItemHeight / 2);
        xdo::click(1);
        return wait_for_about();
    }
    [[nodiscard]] std::optional<WindowInfo> wait_for_about() {
        std::optional<WindowInfo> about;
        (void)wait_until(
            [&] {
                about = x_->find_viewable(kAboutTitle);
                return about.has_value();
            },
            3s);
        return about;
    }
    [[nodiscard]] bool about_gone(XWindowId id) {
        return wait_until(
            [&] {
                const std::optional<WindowInfo> w = x_->info(id);
                return !w || !w->viewable;
            },
            3s);
    }
    void click_in(const WindowInfo& w, int x, int y) {
        xdo::move_to(w.x + x, w.y + y);
        xdo::click(1);
    }
    [[nodiscard]] std::string opened() {
        std::ifstream in(browser_log_);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void expect_centred(const WindowInfo& about) {
        // Without a window manager the client area is the window.
        EXPECT_EQ(about.width, 246);
        EXPECT_EQ(about.height, 306);
        EXPECT_NEAR(about.x, (kScreenWidth - 246) / 2, 40);
        EXPECT_NEAR(about.y, (kScreenHeight - 306) / 2, 40);
    }

    std::filesystem::path browser_log_;
    std::string saved_path_;
    std::unique_ptr<TrayPanel> panel_;
    std::unique_ptr<Player> player_;
};

TEST_F(About, FromTheMainMenuItShowsRaisedTextUpdatesAndCloses) {
    StartPlayer();
    const std::optional<WindowInfo> about = about_from_main_menu();
    ASSERT_TRUE(about) << "no window titled \"" << kAboutTitle << "\"";
    expect_centred(*about);
    std::this_thread::sleep_for(300ms); // painted
    const Image shot = x_->grab(about->x, about->y, about->width, about->height);
    write_ppm(shot, artifacts_dir() / "about.ppm");
    EXPECT_EQ(shot.at(240, 140), kGrey);
    EXPECT_EQ(shot.at(3, 60), kGrey);
    // "VO Dezaru version: 1.0": black caption with light pixels up and left of it.
    int black = 0;
    int light = 0;
    for (int y = 142; y < 160; ++y)
        for (int x = 6; x < 140; ++x) {
            const std::uint32_t p = shot.at(x, y);
            black += p == 0 ? 1 : 0;
            light +=
                ((p >> 16) & 0xFF) > 0xDD && ((p >> 8) & 0xFF) > 0xDD && (p & 0xFF) > 0xDD ? 1 : 0;
        }
    EXPECT_GT(black, 50);
    EXPECT_GT(light, 30);

    click_in(*about, 132 + 56, 283 + 11); // Update
    EXPECT_TRUE(wait_until([&] { return opened().find(kHomePage) != std::string::npos; }, 5s))
        << "the browser was asked for: " << opened();
    const std::optional<WindowInfo> still = x_->info(about->id);
    ASSERT_TRUE(still);
    EXPECT_TRUE(still->viewable);

    click_in(*about, 2 + 58, 283 + 11); // Close
    EXPECT_TRUE(about_gone(about->id));
    EXPECT_TRUE(open_main_menu().has_value()) << "the player does not answer";
    xdo::key("Escape");
    EXPECT_TRUE(player_->process().running());
}

TEST_F(About, FiveTimesByCloseBoxEscapeAndCloseLeaveThePlayerWorking) {
    StartPlayer();
    for (int round = 0; round < 5; ++round) {
        for (int how = 0; how < 3; ++how) {
            SCOPED_TRACE("round " + std::to_string(round) + ", way " + std::to_string(how));
            const std::optional<WindowInfo> about = about_from_main_menu();
            ASSERT_TRUE(about);
            switch (how) {
            case 0:
                x_->send_delete_window(about->id);
                break;
            case 1:
                xdo::move_to(about->x + 200, about->y + 60);
                xdo::key("Escape");
                break;
            default:
                click_in(*about, 2 + 58, 283 + 11);
                break;
            }
            ASSERT_TRUE(about_gone(about->id));
            ASSERT_TRUE(player_->process().running());
        }
    }
    const std::optional<WindowInfo> menu = open_main_menu();
    EXPECT_TRUE(menu.has_value()) << "the player does not answer";
    xdo::key("Escape");
    EXPECT_TRUE(player_->process().running());
}

TEST_F(About, FromTheTrayMenuWhileTheWindowIsHidden) {
    if (!TrayPanel::installed())
        GTEST_SKIP() << "trayer (an XEmbed notification area) is not installed";
    panel_ = std::make_unique<TrayPanel>(*x_);
    StartPlayer();
    // Minimize: the item above "Close" in the main menu.
    const std::optional<WindowInfo> menu = open_main_menu();
    ASSERT_TRUE(menu);
    xdo::move_to(menu->x + menu->width / 2,
                 menu->y + menu->height - kMenuFrame - kMenuItemHeight - kMenuItemHeight / 2);
    xdo::click(1);
    std::optional<WindowInfo> icon;
    ASSERT_TRUE(wait_until(
        [&] {
            icon = panel_->icon(kMenuName);
            const std::optional<WindowInfo> main = x_->info(player_->window_id());
            return icon.has_value() && (!main || !main->viewable);
        },
        3s));
    // The tray menu: "About" is its second item.
    xdo::move_to(icon->x + icon->width / 2, icon->y + icon->height / 2);
    xdo::press(3);
    const std::optional<WindowInfo> tray_menu = wait_for_menu();
    xdo::release(3);
    ASSERT_TRUE(tray_menu);
    xdo::move_to(tray_menu->x + tray_menu->width / 2,
                 tray_menu->y + kMenuFrame + kMenuItemHeight + kMenuItemHeight / 2);
    xdo::click(1);
    const std::optional<WindowInfo> about = wait_for_about();
    ASSERT_TRUE(about);
    expect_centred(*about);
    click_in(*about, 2 + 58, 283 + 11);
    EXPECT_TRUE(about_gone(about->id));
    EXPECT_TRUE(player_->process().running());
}

} // namespace
} // namespace vd::e2e
