// VO Dezaru: a skinned music player for tracker modules, MIDI, wave and MPEG audio.
#include "app/Main.h"
#include "app/AboutBox.h"
#include "app/Launch.h"
#include "framework/Application.h"
#include "framework/Component.h"
#include "player/Mci.h"

#include <clocale>
#include <memory>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    vd::CommandLine command_line;
    if (const std::optional<int> status = vd::ReadCommandLine(argc, argv, command_line))
        return *status;
    vd::TApplication application(argc, argv);
    application.SetTitle("VO Dezaru");
    vd::SetDesktopIdentity();
    std::unique_ptr<vd::InstanceServer> instance;
    if (const std::optional<int> status = vd::HandToRunningPlayer(command_line, instance))
        return *status;
    // Media devices tell of their end from the audio thread: bring the notices to this one.
    vd::mciSetNotifyDispatcher(
        [](std::function<void()> notice) { vd::TApplication::Post(std::move(notice)); });

    // `kill` and Ctrl+C close the player as its Close command does (before the window is there:
    // they end the start-up).
    application.CloseOnTerminationSignals();

    vd::TPlayer::Options options;
    options.files = command_line.files;
    const std::unique_ptr<vd::TPlayer, void (*)(vd::TPlayer*)> player(
        new vd::TPlayer(nullptr, std::move(options)), [](vd::TPlayer* p) { vd::FreeComponent(p); });
    application.SetMainForm(player.get());
    player->SetAboutDialog(vd::TComponent::Create<vd::TAboutDialog>(player.get()));
    if (instance)
        vd::ServePlayer(*instance, *player);

    application.Run();
    return 0;
}
