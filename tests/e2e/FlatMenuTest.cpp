// The player's menus as the X server shows them, painted flat: an icon column, a selection box
// in the selection colour with a one-pixel border, the icon under the pointer lifted over its
// shadow, the disabled heading without a selection box, and the tray menu's default item drawn
// heavier with shaded copies.
#include "tests/e2e/support/Image.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/TrayPanel.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

constexpr int kFrame = 2;
constexpr int kIconWidth = 24;
constexpr int kSeparatorHeight = 4;

// The classic button face, lightened as the painter does for the menu and the icon column.
constexpr std::uint32_t kMenuColor = 0xF9F8F7;       // button face lightened 86 %
constexpr std::uint32_t kIconColumnColor = 0xDBD8D1; // button face lightened 16 %
constexpr std::uint32_t kDisabledColor = 0x8D8D8D;   // button shadow lightened 10 %
constexpr std::uint32_t kSeparatorColor = 0xA0A0A0;  // button shadow lightened 25 %

[[nodiscard]] int channel(std::uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}

// x + Round((255 - x) * p / 100) on each channel of an 0xRRGGBB value.
[[nodiscard]] std::uint32_t lighten(std::uint32_t rgb, int p) {
    std::uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const int x = channel(rgb, shift);
        const int v = x + static_cast<int>(std::nearbyint((255 - x) * p / 100.0));
        out |= static_cast<std::uint32_t>(v) << shift;
    }
    return out;
}

[[nodiscard]] std::uint32_t darken(std::uint32_t rgb, int v) {
    auto clamp = [](int c) { return static_cast<std::uint32_t>(std::clamp(c, 0, 255)); };
    return clamp(channel(rgb, 16) - v) << 16 | clamp(channel(rgb, 8) - v + 2) << 8 |
           clamp(channel(rgb, 0) - v);
}

// The picture of image `index` of the menu images, 16 x 16, its mask colour fuchsia.
[[nodiscard]] Image menu_image(int index) {
    return read_bmp24(source_dir() / "resources/menu/menu_thumbs.bmp").crop(index * 16, 0, 16, 16);
}

[[nodiscard]] int count(const Image& image, std::uint32_t color, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (image.at(x, y) == color)
                ++n;
    return n;
}

class FlatMenus : public WindowTest<> {
protected:
    [[nodiscard]] std::optional<WindowInfo> wait_for_menu(XWindowId main, std::size_t how_many) {
        std::optional<WindowInfo> menu;
        (void)wait_until(
            [&] {
                std::vector<WindowInfo> open;
                for (const WindowInfo& w : x_->top_levels())
                    if (w.viewable && w.override_redirect && w.id != main)
                        open.push_back(w);
                if (open.size() >= how_many)
                    menu = open.back();
                return menu.has_value();
            },
            2s);
        return menu;
    }

    // Grabs the menu until two grabs in a row agree (the menu has finished painting).
    [[nodiscard]] Image settled(const WindowInfo& menu) {
        Image last = x_->grab(menu.x, menu.y, menu.width, menu.height);
        (void)wait_until(
            [&] {
                Image now = x_->grab(menu.x, menu.y, menu.width, menu.height);
                const bool same = compare(now, last).count == 0;
                last = std::move(now);
                return same;
            },
            1s, 100ms);
        return last;
    }
};

TEST_F(FlatMenus, MainMenuShowsTheIconColumnTheDisabledHeadingAndTheLiftedIconUnderThePointer) {
    Player player(*x_, {}, "null");
    const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
    xdo::move_to(sx, sy);
    xdo::click(3);
    const std::optional<WindowInfo> menu = wait_for_menu(player.window_id(), 1);
    ASSERT_TRUE(menu.has_value()) << "no menu after a right press on the skin";

    // The two separators are lines two rows below their tops, IconWidth + 7 from the left.
    Image shot = settled(*menu);
    std::vector<int> lines;
    for (int y = 0; y < menu->height; ++y)
        if (shot.at(kFrame + kIconWidth + 7, y) == kSeparatorColor &&
            shot.at(kFrame + kIconWidth + 6, y) != kSeparatorColor)
            lines.push_back(y);
    ASSERT_EQ(lines.size(), 2U) << "the main menu has two separators";
    const int heading_top = kFrame;
    const int heading_height = lines[0] - 2 - kFrame;
    // The items with images, "Playback  " and "Playlist  ", lie between the separators.
    const int h = (lines[1] - lines[0] - kSeparatorHeight) / 2;
    ASSERT_EQ(lines[1] - lines[0], kSeparatorHeight + 2 * h);
    const int about_top = lines[1] - 2 + kSeparatorHeight;
    const int minimize_top = about_top + h;
    ASSERT_EQ(menu->height, minimize_top + 2 * h + kFrame) << "About, Minimize, Close follow";

    // The heading under the pointer: drawn in the disabled colour, no selection box.
    xdo::move_to(menu->x + menu->width / 2, menu->y + heading_top + heading_height / 2);
    std::this_thread::sleep_for(200ms);
    shot = settled(*menu);
    EXPECT_GT(count(shot, kDisabledColor, kFrame + kIconWidth, heading_top, menu->width - kFrame,
                    heading_top + heading_height),
              10)
        << "the heading is not drawn in the disabled colour";
    EXPECT_EQ(shot.at(menu->width - 8, heading_top + heading_height / 2), kMenuColor)
        << "the disabled heading shows a selection box";

    // The icon column: IconWidth pixels of its own colour, then the menu's.
    for (int x = kFrame; x < kFrame + kIconWidth; ++x)
        EXPECT_EQ(shot.at(x, minimize_top + 1), kIconColumnColor) << "x " << x;
    EXPECT_EQ(shot.at(kFrame + kIconWidth, minimize_top + 1), kMenuColor);

    // A resting icon ("Minimize", image 0) is drawn 30 % lighter at its resting place.
    const Image minimize_icon = menu_image(0);
    const int rest_x = kFrame + (kIconWidth - 16) / 2 - 1;
    int dimmed = 0;
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (minimize_icon.at(x, y) != kFuchsia) {
                ++opaque;
                dimmed += shot.at(rest_x + x, minimize_top + 3 + y) ==
                          lighten(minimize_icon.at(x, y), 30);
            }
    EXPECT_EQ(dimmed, opaque) << "the resting icon is not 30 % lighter";

    // "About" under the pointer: the selection box and the lifted icon over its shadow.
    xdo::move_to(menu->x + menu->width / 2, menu->y + about_top + h / 2);
    std::this_thread::sleep_for(200ms);
    shot = settled(*menu);
    const std::uint32_t border = shot.at(kFrame, about_top + 1);
    const std::uint32_t fill = lighten(border, 68);
    EXPECT_EQ(shot.at(menu->width - kFrame - 1, about_top + 1), border);
    EXPECT_EQ(shot.at(kFrame, about_top + h - 1), border);
    EXPECT_EQ(shot.at(menu->width - 8, about_top + 2), fill)
        << "the selection box is not filled with the lightened selection colour";
    EXPECT_EQ(shot.at(menu->width - 8, about_top + h / 2), fill);
    EXPECT_NE(border, fill);
    const Image about_icon = menu_image(10);
    int full = 0;
    int icon_pixels = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (about_icon.at(x, y) != kFuchsia) {
                ++icon_pixels;
                full += shot.at(rest_x - 1 + x, about_top + 2 + y) == about_icon.at(x, y);
            }
    EXPECT_EQ(full, icon_pixels) << "the icon under the pointer is not at full colour, lifted";
    // The shadow shows below and right of the lifted icon, where the icon does not cover it.
    EXPECT_GT(count(shot, darken(fill, 50), kFrame, about_top, kFrame + kIconWidth, about_top + h),
              3)
        << "no shadow under the lifted icon";

    // The window with its menu open, for a look afterwards.
    const WindowInfo w = player.window();
    const int right = std::max(w.x + w.width, menu->x + menu->width);
    const int bottom = std::max(w.y + w.height, menu->y + menu->height);
    write_ppm(x_->grab(w.x, w.y, right - w.x, bottom - w.y),
              artifacts_dir() / "flat-main-menu.ppm");
    xdo::key("Escape");
}

TEST_F(FlatMenus, TrayMenuDrawsRestoreHeavierWithShadedCopies) {
    if (!TrayPanel::installed())
        GTEST_SKIP() << "trayer (an XEmbed notification area) is not installed";
    TrayPanel panel(*x_);
    Player player(*x_, {}, "null");
    // Minimize from the main menu (the item above "Close").
    const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
    xdo::move_to(sx, sy);
    xdo::click(3);
    const std::optional<WindowInfo> main_menu = wait_for_menu(player.window_id(), 1);
    ASSERT_TRUE(main_menu.has_value());
    // Items with images are as high as an image and 6 pixels: "Minimize" is above "Close".
    const int h = 16 + 6;
    xdo::move_to(main_menu->x + main_menu->width / 2,
                 main_menu->y + main_menu->height - kFrame - h - h / 2);
    xdo::click(1);
    std::optional<WindowInfo> icon;
    ASSERT_TRUE(wait_until(
        [&] {
            icon = panel.icon("VO Dezaru");
            return icon.has_value();
        },
        3s))
        << "no icon in the notification area";
    xdo::move_to(icon->x + icon->width / 2, icon->y + icon->height / 2);
    xdo::press(3);
    const std::optional<WindowInfo> menu = wait_for_menu(player.window_id(), 1);
    xdo::release(3);
    ASSERT_TRUE(menu.has_value()) << "no tray menu";
    // Away from the menu, so that no item is selected.
    xdo::move_to(menu->x - 30, menu->y - 30);
    std::this_thread::sleep_for(200ms);
    const Image shot = settled(*menu);
    write_ppm(shot, artifacts_dir() / "flat-tray-menu.ppm");
    // "Restore" is black text over four copies, each a darker shade of the menu colour.
    const int top = kFrame;
    const int x0 = kFrame + kIconWidth;
    const int x1 = menu->width - kFrame;
    EXPECT_GT(count(shot, 0x000000, x0, top, x1, top + h), 10) << "no label";
    int shaded = 0;
    for (int v : {30, 40, 60})
        shaded += count(shot, darken(kMenuColor, v), x0, top, x1, top + h);
    EXPECT_GT(shaded, 10) << "the default item has no shaded copies";
    // "About" below is a plain item: no shades.
    int plain = 0;
    for (int v : {30, 40, 60})
        plain += count(shot, darken(kMenuColor, v), x0, top + h, x1, top + 2 * h);
    EXPECT_EQ(plain, 0);
    xdo::key("Escape");
}

} // namespace
} // namespace vd::e2e
