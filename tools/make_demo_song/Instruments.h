#pragma once

#include "tools/modwriter/ModWriter.h"

namespace vd::demo {

// The demo song's instruments, synthesized from nothing so that the song owes no one a sample.
// Tonal instruments share one tuning: a C sounds at tracker note C-3 scaled by the octave offset
// each one documents, so that the score can be written in ordinary pitch names.

// Two band-limited 25 % pulse waves, one an eighth of a semitone above the other, looped over a
// length in which both complete whole cycles: a slowly beating chip lead. C-2 sounds as C4.
[[nodiscard]] modwriter::Sample make_pulse_lead();
// A Karplus-Strong plucked string, tuned with a fractional-delay allpass. C-2 sounds as C3.
[[nodiscard]] modwriter::Sample make_pluck();
// A sine with a few soft harmonics, looped. C-2 sounds as C2.
[[nodiscard]] modwriter::Sample make_bass();
// A sine swept down from 155 Hz to 45 Hz with a click; played at C-3.
[[nodiscard]] modwriter::Sample make_kick();
// A noise burst over a two-tone body; played at C-3.
[[nodiscard]] modwriter::Sample make_snare();
// High-passed noise with a fast decay; played at B-3 for the brightest rate.
[[nodiscard]] modwriter::Sample make_hihat();

} // namespace vd::demo
