#pragma once

// Opening files that the user named (songs, playlists, settings) for reading. Only regular files
// are opened: a FIFO would block the open until some writer came, a device may act on being
// opened, and a folder reads as nothing. Those are refused as clearly as a missing file.

#include "base/FileDescriptor.h"

#include <string>

namespace vd {

class RegularFile {
public:
    enum class Failure { none, missing, not_regular, unreadable };

    // Opens `path` for reading if it names a regular file (symbolic links are followed). Anything
    // else is refused without being opened, so this never waits. Never throws. Any thread.
    [[nodiscard]] static RegularFile Open(const std::string& path);

    [[nodiscard]] bool IsOpen() const { return fd_.IsOpen(); }
    [[nodiscard]] int Descriptor() const { return fd_.Get(); }
    // Hands the open descriptor (blocking reads, close-on-exec) over to the caller.
    [[nodiscard]] int Release() { return fd_.Release(); }

    [[nodiscard]] Failure Fault() const { return failure_; }
    // The system's error number of the failure; EISDIR for a folder; 0 for another file that is
    // not regular.
    [[nodiscard]] int Error() const { return error_; }
    // Why the file was not opened, for people: the system's words ("No such file or directory",
    // "Is a directory", "Permission denied"), or "Not a regular file" for a FIFO, device or
    // socket. Empty when the file is open.
    [[nodiscard]] std::string Reason() const;

private:
    RegularFile() = default;
    static RegularFile Failed(int error);
    static RegularFile NotRegular(bool folder);

    FileDescriptor fd_;
    Failure failure_ = Failure::none;
    int error_ = 0;
};

} // namespace vd
