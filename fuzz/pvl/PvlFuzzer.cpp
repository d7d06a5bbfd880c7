// Any bytes must parse, and what the writer makes of the result must parse to the same entries:
// the entries the reader gives never contain a line break or a NUL. Taken from the list's folder,
// the relative entries gain exactly that folder and the others stay as they are.

#include "playlist/file/PlaylistFile.h"
#include "playlist/file/PlaylistSort.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto paths = vd::ParsePlaylist(bytes);

    std::size_t total = 0;
    for (const auto& path : paths) {
        if (path.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
            std::abort();
        }
        total += path.size();
    }
    if (total > bytes.size()) {
        std::abort();
    }
    if (vd::ParsePlaylist(vd::FormatPlaylist(paths)) != paths) {
        std::abort();
    }

    const std::string folder = "/music/lists/";
    const auto resolved = vd::ResolvePlaylistEntries(paths, folder + "list.pvl");
    if (resolved.size() != paths.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const bool relative = !paths[i].empty() && !vd::IsAbsolutePlaylistPath(paths[i]);
        const std::string expected = relative ? folder + paths[i] : paths[i];
        if (resolved[i] != expected) {
            std::abort();
        }
    }

    const auto order = vd::SortedOrder(paths);
    std::vector<bool> seen(paths.size());
    for (const std::size_t index : order) {
        if (index >= paths.size() || seen[index]) {
            std::abort();
        }
        seen[index] = true;
    }
    return 0;
}
