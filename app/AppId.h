#pragma once

#include <string_view>

namespace vd {

// The player's one reverse-DNS name. The desktop entry, the metainfo, the MIME package, the icons
// and the session-bus name all carry it; CMake reads it from this line when it installs them.
inline constexpr std::string_view kAppId = "io.github.vodezaru.VODezaru";

// The object path of the running player on the session bus (the name with dots as slashes).
inline constexpr std::string_view kAppObjectPath = "/io/github/vodezaru/VODezaru";

} // namespace vd
