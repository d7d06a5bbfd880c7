#include "app/DroppedFiles.h"

#include "audio/FileTypes.h"
#include "playlist/file/PlaylistFile.h"
#include "playlist/file/PlaylistSort.h"

#include <filesystem>

namespace vd {

namespace {

namespace fs = std::filesystem;

[[nodiscard]] bool IsPlaylist(const std::string& path) {
    return HasExtension(path, kPlaylistExtension);
}

[[nodiscard]] bool Plays(const std::string& path) {
    return KindOfPath(path) != FileKind::None;
}

void AddFolder(const fs::path& folder, std::vector<DroppedItem>& items) {
    std::vector<std::string> found;
    std::error_code error;
    for (fs::recursive_directory_iterator
             it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) && Plays(it->path().string()))
            found.push_back(it->path().string());
    }
    for (std::size_t index : SortedOrder(found))
        items.push_back({DroppedItem::Kind::Sound, found[index]});
}

} // namespace

std::vector<DroppedItem> ExpandDroppedPaths(const std::vector<std::string>& paths) {
    std::vector<DroppedItem> items;
    for (const std::string& path : paths) {
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (error)
            continue;
        if (fs::is_directory(status))
            AddFolder(path, items);
        else if (IsPlaylist(path))
            items.push_back({DroppedItem::Kind::Playlist, path});
        else if (Plays(path))
            items.push_back({DroppedItem::Kind::Sound, path});
    }
    return items;
}

} // namespace vd
