#pragma once

#include <string>
#include <vector>

namespace vd {

// One thing a drop brings to the playlist.
struct DroppedItem {
    enum class Kind { Sound, Playlist };
    Kind kind = Kind::Sound;
    std::string path;
    friend bool operator==(const DroppedItem&, const DroppedItem&) = default;
};

// What dropped paths add, in the drop's order: a sound file as it is, a playlist file (.pvl) to
// be loaded, and for a folder every file under it the player plays, sorted by path as the
// playlist's Sort does. Other files and paths that do not exist add nothing.
[[nodiscard]] std::vector<DroppedItem> ExpandDroppedPaths(const std::vector<std::string>& paths);

} // namespace vd
