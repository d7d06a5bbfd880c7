#include "app/Launch.h"

#include "app/AppId.h"
#include "app/MainWindow.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QIcon>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifndef VD_VERSION
#define VD_VERSION "unknown"
#endif

namespace vd {

std::optional<int> ReadCommandLine(int argc, char** argv, CommandLine& line) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::error_code ignored;
    const std::filesystem::path here = std::filesystem::current_path(ignored);
    try {
        line = ParseCommandLine(arguments, here);
    } catch (const CommandLineError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
    if (line.action == CommandLine::Action::Help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (line.action == CommandLine::Action::Version) {
        std::printf("vodezaru %s\n", VD_VERSION);
        return 0;
    }
    return std::nullopt;
}

void SetDesktopIdentity() {
    QGuiApplication::setDesktopFileName(
        QString::fromUtf8(kAppId.data(), static_cast<qsizetype>(kAppId.size())));
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("vodezaru-*.png")});
    while (sizes.hasNext())
        icon.addFile(sizes.next());
    QGuiApplication::setWindowIcon(icon);
}

std::optional<int> HandToRunningPlayer(const CommandLine& line,
                                       std::unique_ptr<InstanceServer>& server) {
    const InstanceRequest request = RequestFor(line);
    if (request.kind == InstanceRequest::Kind::Action) {
        if (SendToRunningInstance(request))
            return 0;
        std::fprintf(stderr, "vodezaru: no player is running\n");
        return 1;
    }
    if (line.new_instance)
        return std::nullopt;
    server = ClaimInstance();
    if (server)
        return std::nullopt;
    if (SendToRunningInstance(request))
        return 0;
    // A player that holds the name but does not answer must not keep this one from starting.
    std::fprintf(stderr, "vodezaru: the running player does not answer; starting another\n");
    return std::nullopt;
}

void ServePlayer(InstanceServer& server, TPlayer& player) {
    server.SetHandler([&player](const InstanceRequest& request) {
        switch (request.kind) {
        case InstanceRequest::Kind::Activate:
            player.BringToFront();
            break;
        case InstanceRequest::Kind::Open:
            player.OpenFiles(request.files, !request.enqueue);
            break;
        case InstanceRequest::Kind::Action:
            player.PerformAction(request.action);
            break;
        }
    });
}

} // namespace vd
