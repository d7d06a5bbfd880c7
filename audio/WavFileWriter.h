#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace vd {

// Writes interleaved stereo float sound as a 16-bit, 44,100 Hz PCM WAV file. The RIFF and data
// sizes in the header are rewritten after every append, and every append goes straight to the
// operating system, so a process killed at any moment leaves a complete, readable file.
class WavFileWriter {
public:
    static constexpr std::size_t kHeaderBytes = 44;

    // Creates or truncates `path` and writes the header of an empty file. Throws AudioError.
    explicit WavFileWriter(const std::filesystem::path& path);
    ~WavFileWriter();
    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    // Appends `interleaved` (L, R, ...; values outside -1..1 are clamped) and updates the header.
    // Throws AudioError when the file cannot take it.
    void append(std::span<const float> interleaved);

    [[nodiscard]] std::uint64_t frames_written() const { return data_bytes_ / 4; }

private:
    void write_header();

    int fd_ = -1;
    std::uint32_t data_bytes_ = 0;
    std::vector<std::uint8_t> pcm_; // reused between appends
};

// Converts one sample to 16 bits, rounding to nearest and clamping to the valid range.
[[nodiscard]] std::int16_t to_pcm16(float sample);

} // namespace vd
