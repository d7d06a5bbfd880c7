#include "framework/core/AtomicFile.h"

#include "base/FileDescriptor.h"
#include "base/RegularFile.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vd {
namespace {

[[noreturn]] void ThrowFileError(std::string_view action, std::string_view path,
                                 std::string_view reason) {
    std::string message;
    message.reserve(path.size() + 64);
    message += "Cannot ";
    message += action;
    message += " file \"";
    message += path;
    message += "\". ";
    message += reason;
    throw EFileError(message);
}

[[noreturn]] void ThrowFileError(std::string_view action, std::string_view path, int error) {
    ThrowFileError(action, path, std::generic_category().message(error));
}

// A file the user made read-only stays as it is, although the folder would let a new file take
// its place. Decided on the mode bits for the superuser too, whom the system lets write anything:
// a file without any write permission was made read-only on purpose.
bool WritableByUs(const std::string& target, const struct stat& info) {
    if (::geteuid() == 0) {
        return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    }
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// The file that is really replaced: a symbolic link is followed so that saving through a link
// updates the file it points to instead of turning the link into a plain file.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string TemporaryNameFor(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const auto slash = target.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    // Keep the name recognisable for anyone who finds a leftover, but short enough that a long
    // target name does not push the temporary name past the file system's limit.
    constexpr std::size_t kMaxStemBytes = 96;
    const std::string stem =
        target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, kMaxStemBytes);
    return folder + "." + stem + ".tmp-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1, std::memory_order_relaxed)) + "-" +
           std::to_string(attempt);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Makes the rename itself durable. File systems that cannot sync a folder refuse with an error
// that changes nothing for the caller: the new file is already in place.
void SyncDirectory(const std::string& directory) {
    FileDescriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsOpen()) {
        ::fsync(fd.Get());
    }
}

// What stands in the file's place now: nothing, or a regular file we may replace (its mode is
// kept); anything else fails with the reason.
std::optional<struct stat> ReplaceableFile(const std::string& path, const std::string& target) {
    struct stat old_info {};
    if (::stat(target.c_str(), &old_info) != 0) {
        return std::nullopt;
    }
    if (S_ISDIR(old_info.st_mode)) {
        ThrowFileError("create", path, EISDIR);
    }
    // A FIFO or a device in the file's place is not ours to replace.
    if (!S_ISREG(old_info.st_mode)) {
        ThrowFileError("create", path, "Not a regular file");
    }
    if (!WritableByUs(target, old_info)) {
        ThrowFileError("write", path, EACCES);
    }
    return old_info;
}

// A new file beside `target` under a name no other file has; `temporary` is set to its name.
FileDescriptor CreateTemporary(const std::string& path, const std::string& target,
                               std::string& temporary) {
    int fd = -1;
    constexpr unsigned kMaxAttempts = 100;
    for (unsigned attempt = 0; attempt < kMaxAttempts && fd < 0; ++attempt) {
        temporary = TemporaryNameFor(target, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR) {
            ThrowFileError("create", path, errno);
        }
    }
    if (fd < 0) {
        ThrowFileError("create", path, EEXIST);
    }
    return FileDescriptor(fd);
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        ThrowFileError("create", path, ENOENT);
    }
    const std::string target = ResolveTarget(path);
    const std::optional<struct stat> old_info = ReplaceableFile(path, target);
    std::string temporary;
    FileDescriptor file = CreateTemporary(path, target, temporary);

    auto fail = [&](std::string_view action, int error) {
        (void)file.Close();
        ::unlink(temporary.c_str());
        ThrowFileError(action, path, error);
    };

    if (old_info && ::fchmod(file.Get(), old_info->st_mode & 07777) != 0) {
        fail("create", errno);
    }
    if (!WriteAll(file.Get(), bytes)) {
        fail("write", errno);
    }
    if (::fsync(file.Get()) != 0) {
        fail("write", errno);
    }
    if (file.Close() != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        ThrowFileError("write", path, error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        ThrowFileError("create", path, error);
    }
    SyncDirectory(DirectoryOf(target));
}

std::string ReadWholeFile(const std::string& path) {
    RegularFile opened = RegularFile::Open(path);
    if (!opened.IsOpen()) {
        ThrowFileError("open", path, opened.Reason());
    }
    FileDescriptor file(opened.Release());
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        ThrowFileError("read", path, errno);
    }

    // The size is only a hint: files in /proc report 0, and a file may grow meanwhile.
    std::string bytes;
    std::size_t capacity = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 4096;
    std::size_t used = 0;
    for (;;) {
        bytes.resize(capacity);
        const ssize_t got = ::read(file.Get(), bytes.data() + used, capacity - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError("read", path, errno);
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
        if (used == capacity) {
            capacity *= 2;
        }
    }
    bytes.resize(used);
    return bytes;
}

} // namespace vd
