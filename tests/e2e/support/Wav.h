#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vd::e2e {

inline constexpr int kRateHz = 44100;

[[nodiscard]] constexpr std::size_t frames_of_ms(int ms) {
    return static_cast<std::size_t>(ms) * kRateHz / 1000;
}
[[nodiscard]] constexpr double ms_of_frames(std::size_t frames) {
    return static_cast<double>(frames) * 1000.0 / kRateHz;
}

// The player's WAV capture as far as it has been written: 16-bit stereo at 44.1 kHz, reduced to
// one channel (the mean of left and right) in 16-bit units.
struct Recording {
    std::vector<float> mono;
    [[nodiscard]] std::size_t frames() const { return mono.size(); }
};

// Reads the capture while the player still writes it. A file that does not exist yet is an empty
// recording; a file of any other format throws std::runtime_error.
[[nodiscard]] Recording read_recording(const std::filesystem::path& path);

// How many frames the capture holds now, from the file's size alone (cheap enough to poll); 0
// while the file or its header is not there.
[[nodiscard]] std::size_t recorded_frames(const std::filesystem::path& path);

} // namespace vd::e2e
