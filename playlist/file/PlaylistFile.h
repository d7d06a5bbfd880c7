#pragma once

// The "*.pvl" playlist file: one full path per line, each line ended by CR LF, nothing else.
// Paths are stored as the bytes they are (the system's 8-bit encoding), never re-encoded; an
// empty playlist is an empty file. Reading also accepts files written by other programs: lines
// may end with CR, LF or CR LF, the last line may lack its break, and a NUL byte ends the text.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vd {

inline constexpr std::string_view kPlaylistExtension = ".pvl";

// Every line is an entry, also an empty one between others; a break at the very end adds none.
[[nodiscard]] std::vector<std::string> ParsePlaylist(std::string_view bytes);

// Each path followed by CR LF.
[[nodiscard]] std::string FormatPlaylist(std::span<const std::string> paths);

// Reads and parses the whole file. Throws EFileError if it cannot be read, before the caller
// has changed anything.
[[nodiscard]] std::vector<std::string> LoadPlaylistFile(const std::string& path);

// True for a path that names its file without regard to any folder: one from the root ("/" or
// "\"), or one with a drive ("C:"), as lists written on Windows hold.
[[nodiscard]] bool IsAbsolutePlaylistPath(std::string_view path);

// The entries of the list file `list_path` as the player opens them: a relative path is taken
// from the list's own folder, wherever the program was started (a list kept beside its songs
// names them by their names alone); absolute paths and empty lines stay as they are. Paths are
// joined as bytes, "." and ".." left for the system to follow.
[[nodiscard]] std::vector<std::string> ResolvePlaylistEntries(std::vector<std::string> entries,
                                                              const std::string& list_path);

// Replaces the file atomically: a failed save (EFileError) leaves an existing file whole.
void SavePlaylistFile(const std::string& path, std::span<const std::string> paths);

} // namespace vd
