#pragma once

#include <functional>
#include <string>

namespace vd {

// Asks the desktop to open `url` in the user's browser, without waiting for it; false when no
// browser could be started. GUI thread.
[[nodiscard]] bool OpenUrl(const std::string& url);

// Tests put a recorder in place of the desktop's browser (an empty function puts the desktop
// back).
using UrlOpener = std::function<bool(const std::string& url)>;
void SetUrlOpener(UrlOpener opener);

} // namespace vd
