// VO Dezaru: a skinned music player for tracker modules, MIDI, wave and MPEG audio.
#include "app/AboutBox.h"
#include "app/AppId.h"
#include "app/Launch.h"
#include "app/MainWindow.h"
#include "app/MprisService.h"
#include "app/PlatformChoice.h"
#include "app/Settings.h"
#include "app/WindowScale.h"
#include "audio/AudioStreamName.h"
#include "audio/Mci.h"
#include "framework/Application.h"
#include "framework/Component.h"
#include "framework/Timer.h"

#include <clocale>
#include <filesystem>
#include <malloc.h>
#include <memory>

namespace {

// Start-up frees much of what it allocated (the skin's decoding, the layout, the first song's
// file): those pages go back to the system once the window is up and the song plays.
constexpr int kTrimAfterStartMs = 3000;

} // namespace

int main(int argc, char** argv) {
    // The threads share one heap: an arena of their own for each (the sound server's client, the
    // X connection, the session bus) would keep pages of its own for a few small allocations.
    ::mallopt(M_ARENA_MAX, 1);
    std::setlocale(LC_ALL, "");
    vd::CommandLine command_line;
    if (const std::optional<int> status = vd::ReadCommandLine(argc, argv, command_line))
        return *status;
    std::error_code no_program;
    vd::ApplyPlatformChoice(
        vd::SettingsPathFor(std::filesystem::read_symlink("/proc/self/exe", no_program).string()));
    vd::ApplyWindowScale();
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

    vd::AudioStreamName stream_name;
    stream_name.icon = vd::kAppId;
    vd::name_audio_stream(std::move(stream_name));

    vd::TPlayer::Options options;
    options.files = command_line.files;
    const std::unique_ptr<vd::TPlayer, void (*)(vd::TPlayer*)> player(
        new vd::TPlayer(nullptr, std::move(options)), [](vd::TPlayer* p) { vd::FreeComponent(p); });
    application.SetMainForm(player.get());
    player->SetAboutDialog(vd::TComponent::Create<vd::TAboutDialog>(player.get()));
    if (instance)
        vd::ServePlayer(*instance, *player);

    // The desktop's media controls and media keys reach the player through MPRIS.
    const std::unique_ptr<vd::MprisService> mpris = vd::MprisService::Start(*player);

    auto* trim = vd::TComponent::Create<vd::TTimer>(player.get());
    trim->SetInterval(kTrimAfterStartMs);
    trim->SetOnTimer([trim](vd::TComponent*) {
        trim->SetEnabled(false);
        ::malloc_trim(0);
    });

    application.Run();
    return 0;
}
