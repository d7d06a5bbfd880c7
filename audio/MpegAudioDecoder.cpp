#include "audio/MpegAudioDecoder.h"

#include "audio/Mci.h"
#include "audio/MciError.h"

#include <mpg123.h>

#include <array>
#include <cstring>
#include <mutex>
#include <string>

namespace vd {
namespace {

constexpr long kSeekPreframes = 16;
// An ID3v1 tag at the end of a file.
constexpr std::int64_t kId3v1Bytes = 128;

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
    if (mpg123_replace_reader_handle(handle_, io_read, io_seek, nullptr) != MPG123_OK)
        fail("cannot open the MPEG stream");

    long rate = 0;
    if (!open_stream(rate)) {
        // The library takes a frame as found only once the next frame's header confirms it, and a
        // stream of a single frame has no next header. Without that confirmation any stray sync
        // word would pass, so the single frame must span the audio data exactly.
        mpg123_close(handle_);
        mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_NO_READAHEAD, 0.0);
        if (!open_stream(rate) || !single_frame_fills_stream())
            fail("no MPEG audio frame found");
    }
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

bool MpegAudioDecoder::open_stream(long& rate) {
    if (bytes_->seek(0, SEEK_SET) != 0 || mpg123_open_handle(handle_, bytes_.get()) != MPG123_OK)
        return false;
    int channels = 0;
    int encoding = 0;
    return mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK && channels == 2 &&
           encoding == MPG123_ENC_FLOAT_32 && rate > 0;
}

bool MpegAudioDecoder::single_frame_fills_stream() {
    mpg123_frameinfo2 info{};
    if (mpg123_info2(handle_, &info) != MPG123_OK || info.framesize <= 0)
        return false;
    // Having read the format, the library stands right after the first frame (header included).
    const std::int64_t frame_end = mpg123_tell_stream(handle_);
    const std::int64_t frame_start = frame_end - info.framesize;
    std::int64_t audio_start = 0;
    std::array<std::uint8_t, 10> id3{};
    // An ID3v2 tag may come first: "ID3", version, flags, then its size in 7-bit bytes.
    if (bytes_->seek(0, SEEK_SET) == 0 && bytes_->read(id3) == id3.size() && id3[0] == 'I' &&
        id3[1] == 'D' && id3[2] == '3') {
        audio_start = 10 + (std::int64_t{id3[6] & 0x7F} << 21) +
                      (std::int64_t{id3[7] & 0x7F} << 14) + (std::int64_t{id3[8] & 0x7F} << 7) +
                      std::int64_t{id3[9] & 0x7F};
        if (id3[5] & 0x10)
            audio_start += 10; // a footer
    }
    const std::int64_t after = bytes_->size() - frame_end;
    // The library reads on from where it stopped, not from a position of its own.
    if (bytes_->seek(frame_end, SEEK_SET) != frame_end)
        return false;
    return frame_start == audio_start && after >= 0 && after <= kId3v1Bytes;
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
