#include "audio/AudioSink.h"
#include "audio/PacedSink.h"
#include "audio/WavFileWriter.h"

namespace vd {

std::unique_ptr<AudioSink> make_wav_sink(Mixer& mixer, const std::filesystem::path& path) {
    // Shared with the audio thread's consumer, which alone touches it once the sink runs.
    auto writer = std::make_shared<WavFileWriter>(path);
    auto consumer = [writer, failed = false](std::span<const float> block) mutable {
        if (failed) {
            return;
        }
        try {
            writer->append(block);
        } catch (const std::exception&) {
            // A full disk ends the capture; the file keeps what was written, and time goes on.
            failed = true;
        }
    };
    return std::make_unique<PacedSink>(mixer, "wav:" + path.string(), std::move(consumer));
}

} // namespace vd
