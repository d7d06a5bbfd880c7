#include "audio/WavFileWriter.h"

#include "audio/AudioError.h"
#include "audio/AudioSource.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace vd {

namespace {

constexpr int kBitsPerSample = 16;
constexpr int kBytesPerFrame = kOutputChannels * kBitsPerSample / 8;

void put_u16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xff);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put_u32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xff);
    }
}

[[noreturn]] void fail(const std::string& what) {
    throw AudioError(what + ": " + std::strerror(errno));
}

void write_all_at(int fd, const std::uint8_t* data, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("Cannot write the WAV file");
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
}

} // namespace

std::int16_t to_pcm16(float sample) {
    const float clamped = std::clamp(sample, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lrint(clamped * 32767.0f));
}

WavFileWriter::WavFileWriter(const std::filesystem::path& path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        fail("Cannot create the WAV file " + path.string());
    }
    try {
        write_header();
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

WavFileWriter::~WavFileWriter() {
    ::close(fd_);
}

void WavFileWriter::write_header() {
    std::array<std::uint8_t, kHeaderBytes> h{};
    std::memcpy(&h[0], "RIFF", 4);
    put_u32(&h[4], static_cast<std::uint32_t>(kHeaderBytes - 8) + data_bytes_);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    put_u32(&h[16], 16);
    put_u16(&h[20], 1); // PCM
    put_u16(&h[22], kOutputChannels);
    put_u32(&h[24], kOutputRateHz);
    put_u32(&h[28], kOutputRateHz * kBytesPerFrame);
    put_u16(&h[32], kBytesPerFrame);
    put_u16(&h[34], kBitsPerSample);
    std::memcpy(&h[36], "data", 4);
    put_u32(&h[40], data_bytes_);
    write_all_at(fd_, h.data(), h.size(), 0);
}

void WavFileWriter::append(std::span<const float> interleaved) {
    const std::size_t frames = interleaved.size() / kOutputChannels;
    const std::size_t bytes = frames * kBytesPerFrame;
    constexpr std::uint32_t kMaxData = std::numeric_limits<std::uint32_t>::max() - kHeaderBytes;
    if (bytes > kMaxData - data_bytes_) {
        throw AudioError("The WAV file has reached its largest size");
    }
    pcm_.resize(bytes);
    for (std::size_t i = 0; i < frames * kOutputChannels; ++i) {
        put_u16(&pcm_[2 * i], static_cast<std::uint16_t>(to_pcm16(interleaved[i])));
    }
    // Data first, sizes after: a kill in between leaves a header that undercounts, still valid.
    write_all_at(fd_, pcm_.data(), pcm_.size(), static_cast<off_t>(kHeaderBytes + data_bytes_));
    data_bytes_ += static_cast<std::uint32_t>(bytes);
    write_header();
}

} // namespace vd
