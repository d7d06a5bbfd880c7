#include "playlist/file/PlaylistFile.h"

#include "framework/core/AtomicFile.h"

#include <algorithm>
#include <filesystem>

namespace vd {

std::vector<std::string> ParsePlaylist(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        paths.emplace_back(bytes.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crlf ? 2 : 1));
    }
    return paths;
}

std::string FormatPlaylist(std::span<const std::string> paths) {
    std::size_t size = 0;
    for (const auto& path : paths) {
        size += path.size() + 2;
    }
    std::string bytes;
    bytes.reserve(size);
    for (const auto& path : paths) {
        bytes += path;
        bytes += "\r\n";
    }
    return bytes;
}

std::vector<std::string> LoadPlaylistFile(const std::string& path) {
    return ParsePlaylist(ReadWholeFile(path));
}

bool IsAbsolutePlaylistPath(std::string_view path) {
    if (path.empty())
        return false;
    if (path.front() == '/' || path.front() == '\\')
        return true;
    const char letter = static_cast<char>(path.front() | 0x20);
    return path.size() >= 2 && letter >= 'a' && letter <= 'z' && path[1] == ':';
}

std::vector<std::string> ResolvePlaylistEntries(std::vector<std::string> entries,
                                                const std::string& list_path) {
    std::string folder = std::filesystem::absolute(list_path).parent_path().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    for (std::string& entry : entries)
        if (!entry.empty() && !IsAbsolutePlaylistPath(entry))
            entry.insert(0, folder);
    return entries;
}

void SavePlaylistFile(const std::string& path, std::span<const std::string> paths) {
    WriteFileAtomically(path, FormatPlaylist(paths));
}

} // namespace vd
