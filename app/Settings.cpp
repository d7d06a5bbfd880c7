#include "app/Settings.h"

#include "framework/FilePaths.h"

#include <charconv>
#include <cstdlib>
#include <unistd.h>

namespace vd {

std::string SettingsPathFor(const std::string& program_path) {
    std::string path = ChangeFileExt(program_path, ".ini");
    const std::string_view name = ExtractFileName(program_path);
    std::string folder = program_path.substr(0, program_path.size() - name.size());
    if (folder.empty())
        folder = ".";
    const bool installed = folder.ends_with("/bin/") || folder == "bin/";
    if (!installed && ::access(folder.c_str(), W_OK) == 0)
        return path;
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr)
        config = std::string(home) + "/.config";
    else
        config = ".";
    return config + "/vodezaru/vodezaru.ini";
}

std::optional<int> ParseDecimal(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

TPoint StartPosition(std::optional<int> left, std::optional<int> top, TPoint designed, int width,
                     int height, std::span<const TRect> screens) {
    TPoint at = designed;
    if (left)
        at.X = *left;
    if (top)
        at.Y = *top;
    if (screens.empty())
        return at;
    // Screens do not overlap, so their shares of the window add up.
    const TRect window = Bounds(at.X, at.Y, width, height);
    int64_t visible = 0;
    for (const TRect& screen : screens) {
        const TRect part = window.Intersect(screen);
        visible += static_cast<int64_t>(part.Width()) * part.Height();
    }
    const int64_t area = static_cast<int64_t>(width) * height;
    if (visible * 2 < area)
        return designed;
    return at;
}

} // namespace vd
