#include "app/SingleInstance.h"

#include "app/AppId.h"
#include "app/CommandLine.h"
#include "app/InstanceChannels.h"

#include <QDir>
#include <QString>

#include <cstdlib>
#include <unistd.h>

namespace vd {

InstanceRequest RequestFor(const CommandLine& line) {
    InstanceRequest request;
    if (line.action != CommandLine::Action::Start) {
        request.kind = InstanceRequest::Kind::Action;
        request.action = std::string(ActionName(line.action));
    } else if (!line.files.empty()) {
        request.kind = InstanceRequest::Kind::Open;
        request.files = line.files;
        request.enqueue = line.enqueue;
    }
    return request;
}

std::string InstanceSocketPath() {
    // One player per user and display: players on other displays (other seats, test servers)
    // are players of their own.
    std::string display;
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            display = value;
            break;
        }
    }
    for (char& c : display)
        if (c == '/' || c == ':' || c == ' ')
            c = '_';
    std::string file = std::string(kAppId);
    if (!display.empty())
        file += "." + display;
    file += ".socket";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0')
        return std::string(runtime) + "/" + file;
    return (QDir::tempPath() + "/").toStdString() + std::to_string(::getuid()) + "-" + file;
}

std::unique_ptr<InstanceServer> ClaimInstance() {
    if (instance::SessionBusAvailable())
        return instance::ClaimOnBus();
    return instance::ClaimSocket(InstanceSocketPath());
}

bool SendToRunningInstance(const InstanceRequest& request) {
    if (instance::SessionBusAvailable())
        return instance::SendOnBus(request).value_or(false);
    return instance::SendOnSocket(InstanceSocketPath(), request).value_or(false);
}

} // namespace vd
