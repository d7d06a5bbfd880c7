#include "app/WindowScale.h"

#include "app/Settings.h"

#include <cstdlib>
#include <string>

namespace vd {

std::optional<int> ParseWindowScale(std::string_view text) {
    const std::optional<int> scale = ParseDecimal(text);
    if (!scale || *scale < 1 || *scale > kMaxWindowScale)
        return std::nullopt;
    return scale;
}

void ApplyWindowScale() {
    const char* text = std::getenv("VODEZARU_SCALE");
    if (text == nullptr)
        return;
    const std::optional<int> scale = ParseWindowScale(text);
    if (!scale)
        return;
    // The screen's own factor is set aside, so the multiple is exactly the one asked for.
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    ::setenv("QT_SCALE_FACTOR", std::to_string(*scale).c_str(), 1);
}

} // namespace vd
