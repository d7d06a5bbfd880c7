#pragma once

// Whole-file reading and crash-safe replacement of files. Paths are byte strings handed to the
// operating system unchanged.

#include <stdexcept>
#include <string>
#include <string_view>

namespace vd {

// A file could not be read or written. The message names the file and the system's reason,
// worded for the person who sees it, e.g. `Cannot create file "/x/y.pvl". Permission denied`.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces the file at `path` by `bytes` so that a reader, or the disk after a crash, sees either
// the old file whole or the new one whole. The bytes go to a fresh file beside the target, which
// is flushed to disk and then renamed over the target. An existing target keeps its permission
// bits; a symbolic link is followed so the link itself survives. A target that is not a regular
// file, or that has no write permission for us (for the superuser: none for anybody), is left
// alone. On failure the temporary file is removed, the old target is left as it was and
// EFileError is thrown.
// Any thread: concurrent calls, also for the same target, each get their own temporary file.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads the whole regular file at `path`. Throws EFileError if it cannot be opened or read, also
// without waiting for a FIFO, device or folder of that name. Any thread.
[[nodiscard]] std::string ReadWholeFile(const std::string& path);

} // namespace vd
