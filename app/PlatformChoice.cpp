#include "app/PlatformChoice.h"

#include "framework/core/IniFile.h"

#include <cstdlib>

namespace vd {

namespace {

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

bool Means(const std::optional<std::string>& value, std::string_view word) {
    return value && *value == word;
}

} // namespace

std::optional<std::string> ChooseQtPlatform(const PlatformEnvironment& environment) {
    if (environment.qt_qpa_platform)
        return std::nullopt;
    const bool wayland = environment.wayland_display.has_value();
    const bool x11 = environment.display.has_value();
    std::optional<std::string> wanted = environment.vodezaru_platform;
    if (!Means(wanted, "wayland") && !Means(wanted, "x11")) {
        wanted.reset();
        if (environment.setting == "wayland" || environment.setting == "x11")
            wanted = environment.setting;
    }
    if (Means(wanted, "wayland") && wayland)
        return "wayland";
    if (Means(wanted, "x11") && x11)
        return "xcb";
    if (wayland && x11)
        return "xcb";
    if (wayland)
        return "wayland";
    return std::nullopt;
}

void ApplyPlatformChoice(const std::string& settings_path) {
    PlatformEnvironment environment{Variable("QT_QPA_PLATFORM"),
                                    Variable("VODEZARU_PLATFORM"),
                                    Variable("WAYLAND_DISPLAY"),
                                    Variable("DISPLAY"),
                                    {}};
    if (!environment.qt_qpa_platform) {
        try {
            environment.setting = TIniFile(settings_path).ReadString("Config", "Platform", "");
        } catch (const std::exception&) {
            // An unreadable settings file is noticed when the window reads its position.
        }
    }
    if (const std::optional<std::string> platform = ChooseQtPlatform(environment))
        ::setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
}

} // namespace vd
