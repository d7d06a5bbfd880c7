// The waveaudio device's decoder opened on arbitrary bytes (see MediaDeviceOpenFuzz.h).

#include "fuzz/media/MediaDeviceOpenFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vd::fuzz::open_and_play(vd::MciDeviceType::WaveAudio, data, size);
    return 0;
}
