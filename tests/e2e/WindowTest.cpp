// The main window as the X server shows it: size, shape cut by the skin's mask colour, button
// frames, the main menu, dragging, and the position kept between runs.
#include "tests/e2e/support/WindowTest.h"
#include "tests/e2e/support/Image.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Wait.h"
#include "tests/e2e/support/WindowPlaces.h"
#include "tests/e2e/support/XDisplay.h"
#include "tests/e2e/support/Xdo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sys/wait.h>

namespace vd::e2e {
namespace {

using namespace std::chrono_literals;

// A transport button of the layout: where it sits in the window and which row of
// "2. buttons.bmp" holds its five state images.
struct ButtonSpot {
    int left;
    int top;
    int width;
    int height;
    int strip_top;
};
constexpr ButtonSpot kPlayBtn{37, 195, 21, 14, 32};

enum class Frame { normal = 0, pressed = 1, disabled = 2, disabled_down = 3, hot = 4 };

[[nodiscard]] Image skin_art() {
    return read_bmp24(source_dir() / "resources/skin/playerSkin.bmp");
}

[[nodiscard]] Image button_frame(const ButtonSpot& b, Frame frame) {
    return read_bmp24(source_dir() / "resources/skin/2. buttons.bmp")
        .crop(static_cast<int>(frame) * b.width, b.strip_top, b.width, b.height);
}

// The [Config] keys of an INI text.
[[nodiscard]] std::optional<std::string> ini_value(const std::filesystem::path& path,
                                                   const std::string& key) {
    std::ifstream in(path);
    std::string line;
    bool in_config = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            in_config = line == "[Config]";
            continue;
        }
        if (in_config && line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

void write_settings(int left, int top) {
    std::ofstream out(settings_file(), std::ios::trunc);
    out << "[Config]\nLeft=" << left << "\nTop=" << top << "\n";
}

class MainWindow : public WindowTest<> {
protected:
    // Waits (at most 2 s) until the button shows `frame`; on failure the screen's version is
    // saved beside the build for a look and the difference is reported.
    [[nodiscard]] ::testing::AssertionResult shows_frame(Player& player, const ButtonSpot& b,
                                                         Frame frame, const std::string& label) {
        const Image want = button_frame(b, frame);
        Image got;
        const bool same = wait_until(
            [&] {
                const auto [sx, sy] = player.screen_point(b.left, b.top);
                got = x_->grab(sx, sy, b.width, b.height);
                return compare(got, want).count == 0;
            },
            2s);
        if (same)
            return ::testing::AssertionSuccess();
        const ImageDifference d = compare(got, want);
        const std::filesystem::path saved = artifacts_dir() / (label + ".ppm");
        write_ppm(got, saved);
        return ::testing::AssertionFailure()
               << label << ": the button does not show frame " << static_cast<int>(frame) << "; "
               << d.count << " of " << want.pixels.size() << " pixels differ, first " << d.first
               << " (screen saved to " << saved << ")";
    }

    // The viewable override-redirect windows other than the player's main window: open menus.
    [[nodiscard]] std::vector<WindowInfo> popups(Player& player) {
        const XWindowId main = player.window().id;
        std::vector<WindowInfo> result;
        for (const WindowInfo& w : x_->top_levels())
            if (w.viewable && w.override_redirect && w.id != main)
                result.push_back(w);
        return result;
    }

    // Right-presses the bare skin and returns the menu window that opened.
    [[nodiscard]] std::optional<WindowInfo> open_main_menu(Player& player) {
        const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
        xdo::move_to(sx, sy);
        xdo::click(3);
        std::optional<WindowInfo> menu;
        (void)wait_until(
            [&] {
                const std::vector<WindowInfo> open = popups(player);
                if (!open.empty())
                    menu = open.front();
                return menu.has_value();
            },
            2s);
        return menu;
    }
};

TEST_F(MainWindow, IsSkinSizedAtDesignedPositionAndShapedByTheMask) {
    Player player(*x_, {}, "null");
    const WindowInfo w = player.window();
    EXPECT_EQ(w.width, kWindowWidth);
    EXPECT_EQ(w.height, kWindowHeight);
    EXPECT_EQ(w.x, kDesignedLeft) << "no settings file: the designed position";
    EXPECT_EQ(w.y, kDesignedTop);

    const Image skin = skin_art();
    ASSERT_EQ(skin.width, kWindowWidth);
    ASSERT_EQ(skin.height, kWindowHeight);
    const auto fuchsia = std::count(skin.pixels.begin(), skin.pixels.end(), kFuchsia);
    ASSERT_EQ(fuchsia, 50849) << "the skin art is not the one the layout was drawn for";

    // The shape may be set just after the window is mapped.
    std::vector<ShapeRect> rects;
    ASSERT_TRUE(wait_until(
        [&] {
            rects = x_->bounding_shape(w.id);
            return rects.size() > 1;
        },
        2s))
        << "the window has no shape (" << rects.size() << " rectangle)";

    std::vector<std::uint8_t> shaped(skin.pixels.size(), 0);
    std::size_t outside = 0;
    for (const ShapeRect& r : rects)
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) {
                if (x < 0 || y < 0 || x >= skin.width || y >= skin.height) {
                    ++outside;
                    continue;
                }
                shaped[static_cast<std::size_t>(y * skin.width + x)] = 1;
            }
    EXPECT_EQ(outside, 0U) << "shape pixels outside the window";

    std::size_t cut_but_opaque = 0;
    std::size_t kept_but_fuchsia = 0;
    std::string first;
    for (int y = 0; y < skin.height; ++y)
        for (int x = 0; x < skin.width; ++x) {
            const bool opaque = skin.at(x, y) != kFuchsia;
            const bool in_shape = shaped[static_cast<std::size_t>(y * skin.width + x)] != 0;
            if (opaque == in_shape)
                continue;
            (opaque ? cut_but_opaque : kept_but_fuchsia)++;
            if (first.empty())
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    EXPECT_EQ(cut_but_opaque, 0U) << "opaque skin pixels cut away, first " << first;
    EXPECT_EQ(kept_but_fuchsia, 0U) << "fuchsia pixels left in the shape, first " << first;
}

TEST_F(MainWindow, PlayButtonShowsHotThenPressedFrameAndCancelsWhenDraggedOff) {
    Player player(*x_, {}, "null");
    xdo::move_to(0, 0);
    EXPECT_TRUE(shows_frame(player, kPlayBtn, Frame::normal, "play-normal"));

    const auto [bx, by] = player.screen_point(kPlayBtn.left + 10, kPlayBtn.top + 7);
    xdo::move_to(bx, by);
    EXPECT_TRUE(shows_frame(player, kPlayBtn, Frame::hot, "play-hot"));

    xdo::press(1);
    EXPECT_TRUE(shows_frame(player, kPlayBtn, Frame::pressed, "play-pressed"));

    // Leaving while pressed keeps the pressed image; the release then clicks nothing, so the
    // empty playlist raises no error.
    const auto [ox, oy] = player.screen_point(kBareSkinX, kBareSkinY);
    xdo::move_to(ox, oy);
    EXPECT_TRUE(shows_frame(player, kPlayBtn, Frame::pressed, "play-pressed-off"));
    xdo::release(1);
    EXPECT_TRUE(shows_frame(player, kPlayBtn, Frame::normal, "play-released-off"));
    EXPECT_FALSE(wait_until(
        [&] { return x_->find_viewable("VO Dezaru", XDisplay::Match::whole).has_value(); }, 500ms))
        << "a press dragged off the button still clicked it";
}

TEST_F(MainWindow, PlayWithEmptyPlaylistShowsErrorBox) {
    Player player(*x_, {}, "null");
    const auto [bx, by] = player.screen_point(kPlayBtn.left + 10, kPlayBtn.top + 7);
    xdo::move_to(bx, by);
    ASSERT_TRUE(shows_frame(player, kPlayBtn, Frame::hot, "play-hot-before-click"));
    xdo::click(1);
    std::optional<WindowInfo> box;
    ASSERT_TRUE(wait_until(
        [&] {
            box = x_->find_viewable("VO Dezaru", XDisplay::Match::whole);
            return box.has_value();
        },
        3s))
        << "no message box titled \"VO Dezaru\" after Play with an empty playlist";
    xdo::key("Return");
    EXPECT_TRUE(wait_until(
        [&] { return !x_->find_viewable("VO Dezaru", XDisplay::Match::whole).has_value(); }, 3s))
        << "Return did not close the message box";
    EXPECT_TRUE(player.process().running()) << "the error ended the program";
}

TEST_F(MainWindow, RightPressOnSkinOpensMainMenuAndEscapeClosesIt) {
    Player player(*x_, {}, "null");
    const Image skin = skin_art();
    ASSERT_NE(skin.at(kBareSkinX, kBareSkinY), kFuchsia);
    ASSERT_TRUE(popups(player).empty());

    const auto [sx, sy] = player.screen_point(kBareSkinX, kBareSkinY);
    const std::optional<WindowInfo> menu = open_main_menu(player);
    ASSERT_TRUE(menu.has_value()) << "no menu window appeared after a right press on the skin";
    EXPECT_EQ(menu->x, sx) << "the menu opens at the pointer";
    EXPECT_EQ(menu->y, sy);
    // Eight items: heading, two separators, two submenus, About, Minimize, Close.
    EXPECT_GT(menu->height, 100) << "the menu is too short for the main menu's eight items";

    xdo::key("Escape");
    EXPECT_TRUE(wait_until([&] { return popups(player).empty(); }, 2s))
        << "Escape did not close the menu";
    EXPECT_TRUE(player.process().running());
}

TEST_F(MainWindow, CloseStoresDraggedPositionAndNextStartRestoresIt) {
    const Image skin = skin_art();
    ASSERT_NE(skin.at(kBareSkinX, kBareSkinY), kFuchsia);
    constexpr int kDx = 40;
    constexpr int kDy = 30;
    {
        Player player(*x_, {}, "null");
        const WindowInfo before = player.window();
        ASSERT_EQ(before.x, kDesignedLeft);
        ASSERT_EQ(before.y, kDesignedTop);

        drag_bare_skin(player, kDx, kDy);
        std::optional<WindowInfo> moved;
        EXPECT_TRUE(wait_until(
            [&] {
                moved = player.window();
                return moved->x == before.x + kDx && moved->y == before.y + kDy;
            },
            2s))
            << "dragging the skin by " << kDx << "," << kDy << " moved the window to " << moved->x
            << "," << moved->y;

        const std::optional<WindowInfo> menu = open_main_menu(player);
        ASSERT_TRUE(menu.has_value()) << "the main menu did not open";
        // "Close" is the last item: aim just above the menu's bottom frame.
        xdo::move_to(menu->x + menu->width / 2, menu->y + menu->height - 8);
        xdo::click(1);
        const std::optional<int> status = player.process().wait_for_exit(5s);
        ASSERT_TRUE(status.has_value()) << "the player did not end after Close";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << "the player ended with status " << *status;
    }
    ASSERT_TRUE(std::filesystem::exists(settings_file())) << "Close wrote no settings file";
    EXPECT_EQ(ini_value(settings_file(), "Left"), std::to_string(kDesignedLeft + kDx));
    EXPECT_EQ(ini_value(settings_file(), "Top"), std::to_string(kDesignedTop + kDy));

    Player again(*x_, {}, "null");
    const WindowInfo w = again.window();
    EXPECT_EQ(w.x, kDesignedLeft + kDx) << "the stored position was not restored";
    EXPECT_EQ(w.y, kDesignedTop + kDy);
}

TEST_F(MainWindow, StoredPositionFarOffScreenFallsBackToDesignedPosition) {
    write_settings(5000, 300);
    Player player(*x_, {}, "null");
    const WindowInfo w = player.window();
    EXPECT_EQ(w.x, kDesignedLeft);
    EXPECT_EQ(w.y, kDesignedTop);
}

} // namespace
} // namespace vd::e2e
