#pragma once

#include <cstdint>

namespace vd {

// How much sound the sound server holds for the player, and in what steps it asks for more.
// Larger means fewer wake-ups of the audio thread; the sound a halt still lets through is dropped
// by a flush. Kept this small because the position text and the row bar show what was rendered
// last: they run ahead of the sound by about the queue and move in steps of one block, and both
// stay below what the eye tells apart from the music (a row lasts about 120 ms at the usual
// speed).
inline constexpr std::uint32_t kPulseTargetLatencyMs = 60;
inline constexpr std::uint32_t kPulseBlockMs = 20;

struct PulseBufferPlan {
    std::uint32_t block_bytes = 0;  // one write of float stereo at the output rate
    std::uint32_t target_bytes = 0; // what the server keeps queued
};

[[nodiscard]] PulseBufferPlan pulse_buffer_plan();

} // namespace vd
