#include "tests/support/AppFixture.h"

#include "framework/ListBox.h"
#include "tests/support/GuiTestSupport.h"

#include <QElapsedTimer>

namespace vd::test {

TApplication& AppHarness::App() {
    static TApplication& app = []() -> TApplication& {
        setenv("VODEZARU_AUDIO_OUT", "null", 1);
        TApplication& a = test::App();
        a.SetTitle("VO Dezaru");
        a.SetErrorDisplay(
            [](const std::string&, const std::string& text) { Errors().push_back(text); });
        return a;
    }();
    return app;
}

std::vector<std::string>& AppHarness::Errors() {
    return ShownErrors();
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
