#include "tests/support/AppFixture.h"

#include "framework/ListBox.h"

#include <QElapsedTimer>

#include <unistd.h>

namespace vd::test {

TApplication& AppHarness::App() {
    static int argc = 1;
    static char name[] = "vodezaru-test";
    static char* argv[] = {name, nullptr};
    static TApplication* app = [] {
        setenv("VODEZARU_AUDIO_OUT", "null", 1);
        auto* a = new TApplication(argc, argv); // lives for the whole test program
        a->SetTitle("VO Dezaru");
        a->SetErrorDisplay(
            [](const std::string&, const std::string& text) { Errors().push_back(text); });
        return a;
    }();
    return *app;
}

std::vector<std::string>& AppHarness::Errors() {
    static std::vector<std::string> errors;
    return errors;
}

void PlayerFixture::SetUp() {
    AppHarness::App();
    SystemColors::SetClassic();
    AppHarness::Errors().clear();
    folder_.emplace(std::filesystem::temp_directory_path(),
                    std::string("vodezaru-app-") +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

void PlayerFixture::TearDown() {
    player_.reset();
    TPopupMenu::SetPopupScript(nullptr);
    TOpenDialog::SetScript(nullptr);
    folder_.reset();
}

TPlayer& PlayerFixture::Start(std::vector<std::string> arguments) {
    TPlayer::Options options;
    options.settings_path = SettingsPath();
    options.arguments = std::move(arguments);
    player_.reset(new TPlayer(nullptr, std::move(options)));
    return *player_;
}

void PlayerFixture::Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        TApplication::ProcessMessages();
}

void PlayerFixture::DoubleClickList(TPlayer& player, int y) {
    TListBox& list = *player.PlaylistShow;
    constexpr int x = 40;
    list.HandleMouseDown(TMouseButton::mbLeft, ssLeft, x, y, false);
    list.HandleMouseUp(TMouseButton::mbLeft, 0, x, y, true);
    list.HandleMouseDown(TMouseButton::mbLeft, ssLeft | ssDouble, x, y, true);
    list.HandleMouseUp(TMouseButton::mbLeft, 0, x, y, true);
}

} // namespace vd::test
