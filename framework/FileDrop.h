#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace vd {

// The local files a drag carries, in its order: the URIs of a text/uri-list, or else the lines of
// plain text that are file URIs or absolute paths. Comment lines (#) and other URIs are skipped.
[[nodiscard]] std::vector<std::string> DroppedFiles(const QMimeData& data);

} // namespace vd
