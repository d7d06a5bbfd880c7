#pragma once

#include <cstdint>

namespace vd {

// How much sound the sound server holds for the player, and in what steps it asks for more.
// Larger means fewer wake-ups of the audio thread and fewer cold starts of the mixing (whose
// tables other programs push out of the cache between blocks); the sound a halt, a seek or a start
// would still wait for is dropped by a flush, and the displays show the position heard, not the
// one rendered. What the queue still delays is a change of the volume, which applies to what is
// rendered next. At 100 ms in 50 ms blocks the server wakes the player about 20 times a second
// (100 at 60 ms in 20 ms blocks), and a request still finds 50 ms queued, more than before.
inline constexpr std::uint32_t kPulseTargetLatencyMs = 100;
inline constexpr std::uint32_t kPulseBlockMs = 50;

struct PulseBufferPlan {
    std::uint32_t block_bytes = 0;  // one write of float stereo at the output rate
    std::uint32_t target_bytes = 0; // what the server keeps queued
};

[[nodiscard]] PulseBufferPlan pulse_buffer_plan();

} // namespace vd
