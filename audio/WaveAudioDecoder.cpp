#include "audio/WaveAudioDecoder.h"

#include "audio/Mci.h"
#include "audio/MciError.h"

#include <sndfile.h>

#include <algorithm>
#include <string>

namespace vd {
namespace {

// Rates outside this range are damage rather than audio; they would also make the resampler's
// filter absurdly long.
constexpr int kMinRateHz = 1000;
constexpr int kMaxRateHz = 384000;
constexpr int kMaxChannels = 64;

sf_count_t io_length(void* user) {
    return static_cast<MciByteSource*>(user)->size();
}

sf_count_t io_seek(sf_count_t offset, int whence, void* user) {
    return static_cast<MciByteSource*>(user)->seek(offset, whence);
}

sf_count_t io_read(void* out, sf_count_t count, void* user) {
    if (count <= 0)
        return 0;
    return static_cast<sf_count_t>(static_cast<MciByteSource*>(user)->read(
        std::span(static_cast<std::uint8_t*>(out), static_cast<std::size_t>(count))));
}

sf_count_t io_write(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t io_tell(void* user) {
    return static_cast<MciByteSource*>(user)->tell();
}

SF_VIRTUAL_IO virtual_io{io_length, io_seek, io_read, io_write, io_tell};

bool is_wave_container(int format) {
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
    case SF_FORMAT_W64:
        return true;
    default:
        return false;
    }
}

} // namespace

WaveAudioDecoder::WaveAudioDecoder(std::unique_ptr<MciByteSource> bytes)
    : bytes_(std::move(bytes)) {
    SF_INFO info{};
    file_ = sf_open_virtual(&virtual_io, SFM_READ, &info, bytes_.get());
    if (file_ == nullptr)
        throw MciError(MCIERR_INVALID_FILE,
                       std::string("not a readable wave file: ") + sf_strerror(nullptr));
    const auto fail = [this](const std::string& why) {
        sf_close(file_);
        file_ = nullptr;
        throw MciError(MCIERR_INVALID_FILE, why);
    };
    if (!is_wave_container(info.format))
        fail("not a RIFF WAVE file");
    if (info.samplerate < kMinRateHz || info.samplerate > kMaxRateHz)
        fail("unplayable sample rate " + std::to_string(info.samplerate) + " Hz");
    if (info.channels < 1 || info.channels > kMaxChannels)
        fail("unplayable channel count " + std::to_string(info.channels));
    rate_hz_ = info.samplerate;
    channels_ = info.channels;
    length_frames_ = info.frames > 0 ? static_cast<std::uint64_t>(info.frames) : 0;
}

WaveAudioDecoder::~WaveAudioDecoder() {
    if (file_ != nullptr)
        sf_close(file_);
}

std::size_t WaveAudioDecoder::read(std::span<float> out) {
    const std::size_t wanted = out.size() / 2;
    if (at_end_ || wanted == 0)
        return 0;
    if (channels_ == 2)
        return static_cast<std::size_t>(std::max<sf_count_t>(
            0, sf_readf_float(file_, out.data(), static_cast<sf_count_t>(wanted))));
    const auto channels = static_cast<std::size_t>(channels_);
    scratch_.resize(wanted * channels);
    const auto got = static_cast<std::size_t>(std::max<sf_count_t>(
        0, sf_readf_float(file_, scratch_.data(), static_cast<sf_count_t>(wanted))));
    for (std::size_t i = 0; i < got; ++i) {
        const float* frame = scratch_.data() + i * channels;
        out[2 * i] = frame[0];
        out[2 * i + 1] = channels == 1 ? frame[0] : frame[1];
    }
    return got;
}

void WaveAudioDecoder::seek(std::uint64_t frame) {
    const auto target = static_cast<sf_count_t>(std::min(frame, length_frames_));
    at_end_ = sf_seek(file_, target, SEEK_SET) != target;
}

} // namespace vd
