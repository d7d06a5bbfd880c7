#pragma once

// The one case rule for names the player matches itself (file extensions, device type names,
// device aliases): only ASCII letters fold. The names it knows are ASCII, and the other bytes of a
// path (of any encoding) must not match them by accident of a locale.

#include <algorithm>
#include <string_view>

namespace vd {

[[nodiscard]] constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

[[nodiscard]] constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace vd
