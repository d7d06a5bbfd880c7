// VO Dezaru: a skinned music player for tracker modules, MIDI, wave and MPEG audio.
#include "app/Main.h"
#include "app/AboutBox.h"
#include "framework/Application.h"
#include "framework/Component.h"
#include "player/Mci.h"

#include <clocale>
#include <memory>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    vd::TApplication application(argc, argv);
    application.SetTitle("VO Dezaru");
    // Media devices tell of their end from the audio thread: bring the notices to this one.
    vd::mciSetNotifyDispatcher(
        [](std::function<void()> notice) { vd::TApplication::Post(std::move(notice)); });

    // `kill` and Ctrl+C close the player as its Close command does (before the window is there:
    // they end the start-up).
    application.CloseOnTerminationSignals();

    vd::TPlayer::Options options;
    options.arguments = application.Arguments();
    const std::unique_ptr<vd::TPlayer, void (*)(vd::TPlayer*)> player(
        new vd::TPlayer(nullptr, std::move(options)), [](vd::TPlayer* p) { vd::FreeComponent(p); });
    application.SetMainForm(player.get());
    player->SetAboutDialog(vd::TComponent::Create<vd::TAboutDialog>(player.get()));

    application.Run();
    return 0;
}
