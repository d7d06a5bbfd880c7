#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vd::modwriter {

// A ProTracker module with 4 channels and the "M.K." signature, as far as a program that makes
// modules needs it: a title, up to 31 samples, patterns of 64 rows and the order list.

inline constexpr int kChannels = 4;
inline constexpr int kRows = 64;
inline constexpr int kMaxSamples = 31;
inline constexpr int kMaxOrders = 128;

// A note as a semitone index from C-1 (0) to B-3 (35), the range of the ProTracker period table.
enum class Note : std::uint8_t {};

// `name` is e.g. "C-1", "C#2", "A-3".  Throws std::invalid_argument outside C-1..B-3.
[[nodiscard]] Note note(const std::string& name);
// The Amiga period of `n` at finetune 0.
[[nodiscard]] std::uint16_t period_of(Note n);

// Effect numbers of the effect column, as the trackers show them.
namespace effect {
inline constexpr std::uint8_t kArpeggio = 0x0;
inline constexpr std::uint8_t kPortaUp = 0x1;
inline constexpr std::uint8_t kPortaDown = 0x2;
inline constexpr std::uint8_t kVibrato = 0x4;
inline constexpr std::uint8_t kVibratoVolumeSlide = 0x6;
inline constexpr std::uint8_t kPanning = 0x8;
inline constexpr std::uint8_t kVolumeSlide = 0xA;
inline constexpr std::uint8_t kPositionJump = 0xB;
inline constexpr std::uint8_t kVolume = 0xC;
inline constexpr std::uint8_t kPatternBreak = 0xD;
inline constexpr std::uint8_t kExtended = 0xE;
inline constexpr std::uint8_t kSpeed = 0xF; // parameter < 0x20: ticks per row; else tempo (BPM)
} // namespace effect

struct Cell {
    std::uint16_t period = 0; // 0: no note
    std::uint8_t sample = 0;  // 1..31; 0: none
    std::uint8_t effect = 0;
    std::uint8_t param = 0;
};

struct Sample {
    std::string name;              // up to 22 characters
    std::vector<std::int8_t> data; // 8-bit signed PCM; an even length (odd is padded); < 128 KiB
    std::int8_t finetune = 0;      // -8..7, eighths of a semitone
    std::uint8_t volume = 64;      // 0..64
    std::size_t loop_start = 0;    // in samples (even); a loop needs loop_length > 2
    std::size_t loop_length = 0;
};

using Row = std::array<Cell, kChannels>;
using Pattern = std::array<Row, kRows>;

struct Module {
    std::string title;                // up to 20 characters
    std::vector<Sample> samples;      // sample number n is samples[n - 1]
    std::vector<Pattern> patterns;    // referenced by the order list
    std::vector<std::uint8_t> orders; // 1..128 pattern numbers
};

// Serializes `module`. Throws std::invalid_argument when it does not fit the format (too many
// samples or orders, an order naming a missing pattern, a sample too long, a bad loop).
[[nodiscard]] std::vector<std::uint8_t> write_mod(const Module& module);
// write_mod into a file. Throws std::runtime_error when the file cannot be written.
void save_mod(const Module& module, const std::filesystem::path& path);

} // namespace vd::modwriter
