#pragma once

#include <unistd.h>

namespace vd {

// Owns one open file descriptor; closing in the destructor covers every early exit.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            if (fd_ >= 0) {
                ::close(fd_);
            }
            fd_ = other.Release();
        }
        return *this;
    }
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    [[nodiscard]] int Get() const { return fd_; }
    [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }

    // Hands the descriptor over; the caller closes it from now on.
    [[nodiscard]] int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

    // Closes now so that a failing close (possible on network file systems) can be reported.
    [[nodiscard]] int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_ = -1;
};

} // namespace vd
