#pragma once

#include <fluidsynth.h>

namespace vd {

// FluidSynth's functions the MIDI synthesizer calls, from the library loaded when a MIDI file
// first opens: FluidSynth pulls in SDL2, JACK, readline and more, about 2.7 MB of pages that a
// player of modules and wave audio never touches.
struct FluidSynthLibrary {
#define VD_FLUIDSYNTH_FUNCTIONS(X)                                                                 \
    X(delete_fluid_settings)                                                                       \
    X(delete_fluid_synth)                                                                          \
    X(fluid_set_log_function)                                                                      \
    X(fluid_settings_setint)                                                                       \
    X(fluid_settings_setnum)                                                                       \
    X(fluid_synth_all_sounds_off)                                                                  \
    X(fluid_synth_cc)                                                                              \
    X(fluid_synth_channel_pressure)                                                                \
    X(fluid_synth_key_pressure)                                                                    \
    X(fluid_synth_noteoff)                                                                         \
    X(fluid_synth_noteon)                                                                          \
    X(fluid_synth_pitch_bend)                                                                      \
    X(fluid_synth_program_change)                                                                  \
    X(fluid_synth_sfload)                                                                          \
    X(fluid_synth_sysex)                                                                           \
    X(fluid_synth_system_reset)                                                                    \
    X(fluid_synth_write_float)                                                                     \
    X(new_fluid_settings)                                                                          \
    X(new_fluid_synth)
#define VD_DECLARE(name) decltype(&::name) name = nullptr;
    VD_FLUIDSYNTH_FUNCTIONS(VD_DECLARE)
#undef VD_DECLARE
};

// any thread, once a synthesizer exists; the first call (made by the GUI thread when a MIDI file
// opens) loads the library. Throws AudioError when it cannot be loaded.
[[nodiscard]] const FluidSynthLibrary& fluidsynth();

} // namespace vd
