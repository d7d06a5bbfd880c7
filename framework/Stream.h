#pragma once

#include "framework/Types.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace vd {

class EReadError : public Exception {
public:
    using Exception::Exception;
};
class EWriteError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};

// A sequence of bytes read and written at a position.
class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to `count` bytes; returns how many were read.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    [[nodiscard]] virtual int64_t Position() const = 0;
    virtual void SetPosition(int64_t position) = 0;
    [[nodiscard]] virtual int64_t Size() const = 0;

    [[nodiscard]] int64_t Remaining() const { return Size() - Position(); }
    // Reads exactly `count` bytes or fails with "Stream read error".
    void ReadBuffer(void* buffer, std::size_t count);
    // Writes exactly `count` bytes or fails with "Stream write error".
    void WriteBuffer(const void* buffer, std::size_t count);

    [[nodiscard]] int32_t ReadInt32();
    [[nodiscard]] uint32_t ReadUInt32();
    [[nodiscard]] uint8_t ReadByte();
    void WriteInt32(int32_t value);
    void WriteUInt32(uint32_t value);
    void WriteByte(uint8_t value);
};

// A stream over bytes in memory; it grows as it is written.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::span<const uint8_t> bytes) : data_(bytes.begin(), bytes.end()) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    [[nodiscard]] int64_t Position() const override { return position_; }
    void SetPosition(int64_t position) override;
    [[nodiscard]] int64_t Size() const override { return static_cast<int64_t>(data_.size()); }

    [[nodiscard]] const std::vector<uint8_t>& Bytes() const { return data_; }

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

// A stream over a file.
class TFileStream : public TStream {
public:
    enum class Mode { OpenRead, Create };
    // Fails with EFOpenError ("Cannot open file ...") when the file cannot be opened or created.
    TFileStream(const std::string& path, Mode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    [[nodiscard]] int64_t Position() const override;
    void SetPosition(int64_t position) override;
    [[nodiscard]] int64_t Size() const override;

private:
    std::FILE* file_ = nullptr;
};

} // namespace vd
