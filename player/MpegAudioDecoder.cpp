#include "player/MpegAudioDecoder.h"

#include "player/Mci.h"
#include "player/MciError.h"

#include <mpg123.h>

#include <cstring>
#include <mutex>
#include <string>

namespace vd {
namespace {

constexpr long kSeekPreframes = 16;

mpg123_ssize_t io_read(void* user, void* out, size_t count) {
    return static_cast<mpg123_ssize_t>(
        static_cast<MciByteSource*>(user)->read(std::span(static_cast<std::uint8_t*>(out), count)));
}

off_t io_seek(void* user, off_t offset, int whence) {
    return static_cast<off_t>(static_cast<MciByteSource*>(user)->seek(offset, whence));
}

void initialise_library() {
    static std::once_flag once;
    // Needed by libmpg123 before 1.27 and harmless after.
    std::call_once(once, [] { mpg123_init(); });
}

} // namespace

MpegAudioDecoder::MpegAudioDecoder(std::unique_ptr<MciByteSource> bytes)
    : bytes_(std::move(bytes)) {
    initialise_library();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr)
        throw MciError(MCIERR_CANNOT_LOAD_DRIVER, std::string("cannot start the MPEG decoder: ") +
                                                      mpg123_plain_strerror(error));
    const auto fail = [this](const std::string& why) {
        const std::string detail = why + ": " + mpg123_strerror(handle_);
        mpg123_delete(handle_);
        handle_ = nullptr;
        throw MciError(MCIERR_INVALID_FILE, detail);
    };

    // Quiet: the library would otherwise print its complaints about damaged files to stderr.
    // No Frankenstein streams: a file glued from streams of other rates stops at the seam instead
    // of changing the output format under the resampler.
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_NO_FRANKENSTEIN,
                 0.0);
    // A layer III frame may take its data from up to 511 bytes back (the bit reservoir): with small
    // frames (low-rate VBR) that spans many frames, all of which a seek has to decode again for the
    // first frame after it to come out right. 16 covers every MPEG-1 stream; the library's default
    // covers only frames of ordinary size.
    mpg123_param(handle_, MPG123_PREFRAMES, kSeekPreframes, 0.0);
    mpg123_format_none(handle_);
    if (mpg123_format2(handle_, 0, MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK)
        fail("the MPEG decoder cannot produce float samples");
    if (mpg123_replace_reader_handle(handle_, io_read, io_seek, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_, bytes_.get()) != MPG123_OK)
        fail("cannot open the MPEG stream");

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK)
        fail("no MPEG audio frame found");
    if (channels != 2 || encoding != MPG123_ENC_FLOAT_32 || rate <= 0)
        fail("unexpected MPEG output format");
    // Pin the output format to the first frame's.
    mpg123_format_none(handle_);
    mpg123_format(handle_, rate, MPG123_STEREO, MPG123_ENC_FLOAT_32);

    // A full scan counts every frame: the only exact length for VBR files without a header frame,
    // and it builds the frame index that makes seeks sample-accurate.
    if (mpg123_scan(handle_) != MPG123_OK)
        fail("cannot scan the MPEG stream");
    const off_t length = mpg123_length(handle_);
    if (length <= 0)
        fail("the MPEG stream holds no audio");
    rate_hz_ = static_cast<int>(rate);
    length_frames_ = static_cast<std::uint64_t>(length);
    if (mpg123_seek(handle_, 0, SEEK_SET) < 0)
        fail("cannot rewind the MPEG stream");
}

MpegAudioDecoder::~MpegAudioDecoder() {
    if (handle_ != nullptr)
        mpg123_delete(handle_);
}

std::size_t MpegAudioDecoder::read(std::span<float> out) {
    const std::size_t wanted = out.size() / 2;
    std::size_t filled = 0;
    // A damaged stream can report a new format or an error without producing data; give up after
    // a few such turns rather than spin.
    int idle_turns = 0;
    while (!at_end_ && filled < wanted && idle_turns < 8) {
        size_t done_bytes = 0;
        auto* target = reinterpret_cast<unsigned char*>(out.data() + filled * 2);
        const int result =
            mpg123_read(handle_, target, (wanted - filled) * 2 * sizeof(float), &done_bytes);
        const std::size_t frames = done_bytes / (2 * sizeof(float));
        filled += frames;
        idle_turns = frames == 0 ? idle_turns + 1 : 0;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            at_end_ = true; // MPG123_DONE, or an error that ends what can be played
    }
    return filled;
}

void MpegAudioDecoder::seek(std::uint64_t frame) {
    const auto target = static_cast<off_t>(std::min(frame, length_frames_));
    at_end_ = mpg123_seek(handle_, target, SEEK_SET) != target;
}

} // namespace vd
