#pragma once

// Path-name rules of the player. Playlists and command lines may carry paths written on Windows,
// so besides "/" the Windows delimiters "\" and ":" also end a folder part: the file name of
// "C:\Music\song.mod" is "song.mod" here as well. Paths are bytes and are never re-encoded.

#include <string>
#include <string_view>

namespace vd {

[[nodiscard]] constexpr bool IsPathDelimiter(char c) {
    return c == '/' || c == '\\' || c == ':';
}

// The part after the last delimiter, extension kept; the whole path if it has no delimiter.
// This is also the name the playlist shows for an entry.
[[nodiscard]] std::string_view ExtractFileName(std::string_view path);

// From the last "." that follows the last delimiter, the dot included; empty if there is none.
// "a.b/c" has no extension, ".pvl" is all extension.
[[nodiscard]] std::string_view ExtractFileExt(std::string_view path);

// Replaces the extension (as ExtractFileExt finds it) by `ext`, or appends `ext` if there is none.
// `ext` is used as given, so it normally starts with a dot; an empty `ext` removes the extension.
[[nodiscard]] std::string ChangeFileExt(std::string_view path, std::string_view ext);

} // namespace vd
