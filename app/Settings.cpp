#include "app/Settings.h"

#include "framework/core/FilePaths.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
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

namespace {

// Window systems place windows with 16-bit signed coordinates (the X protocol, the classic
// desktop's GDI), so no screen lies beyond these; a stored value outside is damaged or made up.
constexpr int kMaxScreenCoordinate = 32767;

[[nodiscard]] std::optional<int> OnSomeScreen(std::optional<int> value) {
    if (value && (*value < -kMaxScreenCoordinate || *value > kMaxScreenCoordinate))
        return std::nullopt;
    return value;
}

// The area the two rectangles share; in 64 bits, as a window's size may be anything.
[[nodiscard]] int64_t SharedArea(int64_t left, int64_t top, int64_t width, int64_t height,
                                 const TRect& screen) {
    const int64_t w =
        std::min(left + width, int64_t{screen.Right}) - std::max(left, int64_t{screen.Left});
    const int64_t h =
        std::min(top + height, int64_t{screen.Bottom}) - std::max(top, int64_t{screen.Top});
    return w > 0 && h > 0 ? w * h : 0;
}

} // namespace

TPoint StartPosition(std::optional<int> left, std::optional<int> top, TPoint designed, int width,
                     int height, std::span<const TRect> screens) {
    TPoint at = designed;
    if (const std::optional<int> x = OnSomeScreen(left))
        at.X = *x;
    if (const std::optional<int> y = OnSomeScreen(top))
        at.Y = *y;
    if (screens.empty())
        return at;
    // Screens do not overlap, so their shares of the window add up (never past the whole window,
    // so the sum stays in range whatever screens are reported).
    const int64_t w = std::max(width, 0);
    const int64_t h = std::max(height, 0);
    int64_t visible = 0;
    for (const TRect& screen : screens)
        visible = std::min(visible + SharedArea(at.X, at.Y, w, h, screen), w * h);
    if (visible * 2 < w * h)
        return designed;
    return at;
}

} // namespace vd
