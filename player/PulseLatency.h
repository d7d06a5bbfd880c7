#pragma once

#include <cstdint>

namespace vd {

// How much sound the sound server holds for the player, and in what steps it asks for more.
// Larger means fewer wake-ups of the audio thread; the sound a halt still lets through is dropped
// by a flush, so only the start of a track and a seek wait for the whole of it.
inline constexpr std::uint32_t kPulseTargetLatencyMs = 100;
inline constexpr std::uint32_t kPulseBlockMs = 40;

struct PulseBufferPlan {
    std::uint32_t block_bytes = 0;  // one write of float stereo at the output rate
    std::uint32_t target_bytes = 0; // what the server keeps queued
};

[[nodiscard]] PulseBufferPlan pulse_buffer_plan();

} // namespace vd
