#pragma once

#include "app/MainWindow.h"
#include "framework/Application.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Dialogs.h"
#include "framework/Menus.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vd::test {

// The process's application object (test::App()) as the player has it: named, with the null
// audio output; errors it shows are recorded in test::ShownErrors().
struct AppHarness {
    static TApplication& App();
    static std::vector<std::string>& Errors();
};

// A main window built for a test, freed at the end; settings in a scratch folder.
class PlayerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window with `arguments` as its command line.
    TPlayer& Start(std::vector<std::string> arguments = {});
    [[nodiscard]] std::filesystem::path Scratch(const std::string& name) const {
        return *folder_ / name;
    }
    [[nodiscard]] std::string SettingsPath() const { return (*folder_ / "vodezaru.ini").string(); }
    // Handles events for about `ms` milliseconds.
    static void Pump(int ms);
    // A double click of the left button on the shown playlist, `y` pixels from its top, as the
    // window system delivers it: a click, then a second press that is the double click.
    static void DoubleClickList(TPlayer& player, int y);

    std::optional<test::ScratchDir> folder_;
    std::unique_ptr<TPlayer, void (*)(TPlayer*)> player_{nullptr,
                                                         [](TPlayer* p) { FreeComponent(p); }};
};

} // namespace vd::test
