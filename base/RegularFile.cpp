#include "base/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>

namespace vd {

RegularFile RegularFile::Failed(int error) {
    RegularFile file;
    file.failure_ = error == ENOENT || error == ENOTDIR ? Failure::missing : Failure::unreadable;
    file.error_ = error;
    return file;
}

RegularFile RegularFile::NotRegular(bool folder) {
    RegularFile file;
    file.failure_ = Failure::not_regular;
    file.error_ = folder ? EISDIR : 0;
    return file;
}

RegularFile RegularFile::Open(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return Failed(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return NotRegular(S_ISDIR(info.st_mode));
    }
    // The name may be given to a FIFO between the look and the open: the open must not wait even
    // then, and the second look below refuses what it opened.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return Failed(errno);
    }
    RegularFile file;
    file.fd_ = FileDescriptor(fd);
    if (::fstat(fd, &info) != 0) {
        return Failed(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return NotRegular(S_ISDIR(info.st_mode));
    }
    // Regular files never make a reader wait; readers written for blocking descriptors get one.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return file;
}

std::string RegularFile::Reason() const {
    if (failure_ == Failure::none) {
        return {};
    }
    if (error_ == 0) {
        return "Not a regular file";
    }
    return std::generic_category().message(error_);
}

} // namespace vd
