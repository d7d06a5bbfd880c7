#pragma once

#include <string>
#include <string_view>

namespace vd {

// How the desktop's sound mixer (PulseAudio, PipeWire) lists the player's stream: the
// application's name and icon and the stream's role, so that it shows as "VO Dezaru" with its
// icon among music rather than as an unnamed SDL program.
struct AudioStreamName {
    std::string application = "VO Dezaru";
    std::string icon; // an icon theme name; empty: none
    std::string stream = "Playback";
    std::string role = "music";
};

// GUI thread. Names the stream; takes effect when the device opens, so call it before the
// process-wide output is first used. Settings the person made in the environment (SDL's hints,
// PULSE_PROP_*) take precedence.
void name_audio_stream(AudioStreamName name);

// GUI thread. The name the device will open with.
[[nodiscard]] const AudioStreamName& audio_stream_name();

} // namespace vd
