#include "framework/Stream.h"

#include <cerrno>
#include <cstring>

namespace vd {

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

int32_t TStream::ReadInt32() {
    return static_cast<int32_t>(ReadUInt32());
}

uint32_t TStream::ReadUInt32() {
    uint8_t b[4];
    ReadBuffer(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

uint8_t TStream::ReadByte() {
    uint8_t b = 0;
    ReadBuffer(&b, 1);
    return b;
}

void TStream::WriteInt32(int32_t value) {
    WriteUInt32(static_cast<uint32_t>(value));
}

void TStream::WriteUInt32(uint32_t value) {
    const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    WriteBuffer(b, 4);
}

void TStream::WriteByte(uint8_t value) {
    WriteBuffer(&value, 1);
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    const int64_t available = std::max<int64_t>(0, Size() - position_);
    const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(available));
    if (n > 0)
        std::memcpy(buffer, data_.data() + position_, n);
    position_ += static_cast<int64_t>(n);
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    const auto end = static_cast<std::size_t>(position_) + count;
    if (end > data_.size())
        data_.resize(end);
    if (count > 0)
        std::memcpy(data_.data() + position_, buffer, count);
    position_ = static_cast<int64_t>(end);
    return count;
}

void TMemoryStream::SetPosition(int64_t position) {
    position_ = std::max<int64_t>(0, position);
}

TFileStream::TFileStream(const std::string& path, Mode mode) {
    file_ = std::fopen(path.c_str(), mode == Mode::OpenRead ? "rb" : "wb");
    if (file_ == nullptr) {
        const char* what = mode == Mode::OpenRead ? "Cannot open file \"" : "Cannot create file \"";
        throw EFOpenError(what + path + "\". " + std::strerror(errno));
    }
}

TFileStream::~TFileStream() {
    if (file_ != nullptr)
        std::fclose(file_);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    return std::fread(buffer, 1, count, file_);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    return std::fwrite(buffer, 1, count, file_);
}

int64_t TFileStream::Position() const {
    return std::ftell(file_);
}

void TFileStream::SetPosition(int64_t position) {
    std::fseek(file_, static_cast<long>(position), SEEK_SET);
}

int64_t TFileStream::Size() const {
    const long here = std::ftell(file_);
    std::fseek(file_, 0, SEEK_END);
    const long size = std::ftell(file_);
    std::fseek(file_, here, SEEK_SET);
    return size;
}

} // namespace vd
