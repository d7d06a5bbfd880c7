#pragma once

// Inputs and stand-ins for the media device tests: MIDI, WAV and MP3 files made in code, an audio
// output that the test renders by hand, and a notice queue in place of the GUI thread's event loop.

#include "audio/AudioOutput.h"
#include "audio/MciDecoder.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace vd::test {

using Bytes = std::vector<std::uint8_t>;

// A Standard MIDI File assembled event by event.
class SmfBuilder {
public:
    class Track {
    public:
        // Any event: delta time in ticks, then its bytes as they stand in the file.
        Track& event(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes);
        Track& tempo(std::uint32_t delta, std::uint32_t us_per_quarter);
        Track& end(std::uint32_t delta);
        Track& raw(std::initializer_list<std::uint8_t> bytes);
        Bytes data;
    };

    SmfBuilder(std::uint16_t format, std::uint16_t division)
        : format_(format), division_(division) {}
    Track& track();
    [[nodiscard]] Bytes bytes() const;

private:
    std::uint16_t format_;
    std::uint16_t division_;
    std::vector<Track> tracks_;
};

[[nodiscard]] Bytes vlq(std::uint32_t value);
// The SMF wrapped in a RIFF "RMID" file, with an INFO list chunk before the data chunk.
[[nodiscard]] Bytes wrap_rmid(const Bytes& smf);

void write_file(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
[[nodiscard]] Bytes read_file(const std::filesystem::path& path);

// Interleaved test tones: channel c is a sine of frequency_hz * (c + 1) at amplitude 0.5, rounded
// to 16-bit values so that 16-bit and wider encodings hold it exactly.
[[nodiscard]] std::vector<float> tones(std::size_t frames, int channels, int rate_hz,
                                       double frequency_hz);
// A rising sweep from start_hz to end_hz at amplitude 0.5, the same on every channel: no two
// stretches of it alike, so a stretch of it tells where in the sweep it was taken.
[[nodiscard]] std::vector<float> sweep(std::size_t frames, int channels, int rate_hz,
                                       double start_hz, double end_hz);
// A WAV file through libsndfile; `format` is an SF_FORMAT_* subtype (e.g. SF_FORMAT_PCM_16).
void write_wave(const std::filesystem::path& path, int format, int rate_hz, int channels,
                std::span<const float> interleaved);
[[nodiscard]] Bytes wave_bytes(int format, int rate_hz, int channels,
                               std::span<const float> interleaved);

struct Mp3 {
    Bytes bytes;
    int mpeg_frames = 0;
};
// MPEG-1/2 layer III through LAME. `vbr` picks VBR over 128 kbit/s CBR; `info_frame` writes the
// Xing/Info header frame (with the gapless delay and padding).
[[nodiscard]] Mp3 encode_mp3(std::span<const float> interleaved, int channels, int rate_hz,
                             bool vbr, bool info_frame);

// The whole of an MPEG audio stream decoded by libmpg123 alone, at the stream's own rate, as
// stereo floats (mono doubled), with the encoder's delay and padding trimmed as the Info frame
// says: what the stream holds, to compare the player's output with.
[[nodiscard]] std::vector<float> mpg123_decode(std::span<const std::uint8_t> bytes, int& rate_hz);

// MPEG-1 layer II, 48 kHz mono at 128 kbit/s (384-byte frames): `mpeg_frames` frames that each
// hold a 250 Hz tone of amplitude about 0.4 in the lowest subband and silence elsewhere, so every
// frame decodes to sound. Made bit by bit here: no encoder for layer II is at hand.
[[nodiscard]] Bytes layer2_tone(int mpeg_frames);

// A PcmInput over samples in memory; it may stop early, as a damaged file does.
class VectorInput final : public PcmInput {
public:
    VectorInput(std::vector<float> stereo, int rate_hz, std::uint64_t declared_frames = 0);
    [[nodiscard]] int rate_hz() const override { return rate_hz_; }
    [[nodiscard]] std::uint64_t length_frames() const override { return declared_; }
    std::size_t read(std::span<float> out) override;
    void seek(std::uint64_t frame) override { position_ = frame; }

private:
    std::vector<float> stereo_;
    int rate_hz_;
    std::uint64_t declared_;
    std::uint64_t position_ = 0;
};

// Reads a decoder to its end (or `limit` frames), in blocks of `block` frames.
[[nodiscard]] std::vector<float> read_all(MciDecoder& decoder, std::size_t limit = SIZE_MAX,
                                          std::size_t block = 1000);
[[nodiscard]] double rms(std::span<const float> samples);

// An audio output the test renders by hand (or from a thread of its own). Keeps the contract of
// detach(): it waits for a render in progress.
class ManualOutput final : public AudioOutput {
public:
    void attach(std::shared_ptr<AudioSource> source) override;
    void detach(const AudioSource* source) override;
    [[nodiscard]] std::string sink_name() const override { return "manual"; }
    // The tests listen to the sources as they render: the volume is kept, not applied.
    void set_volume(float gain) override { volume_ = gain; }
    [[nodiscard]] float volume() const override { return volume_; }

    // Renders `frames` frames of every attached source; returns their sum, interleaved.
    std::vector<float> render(std::size_t frames);
    [[nodiscard]] std::size_t attached() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<AudioSource>> sources_;
    std::atomic<float> volume_{1.0f};
};

// Stands for the GUI thread's event loop: the layer's dispatcher queues closures here and the
// test runs them.
class NoticeQueue {
public:
    NoticeQueue();
    ~NoticeQueue();
    NoticeQueue(const NoticeQueue&) = delete;
    NoticeQueue& operator=(const NoticeQueue&) = delete;

    // Runs the queued closures (also those they queue); returns how many ran.
    std::size_t run();
    // Waits until a closure is queued or `timeout_s` passes; then runs them.
    std::size_t wait_and_run(double timeout_s);

private:
    std::mutex mutex_;
    std::condition_variable queued_;
    std::vector<std::function<void()>> closures_;
};

// A registered notify callback that records what it receives.
class NoticeRecorder {
public:
    NoticeRecorder();
    ~NoticeRecorder();
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;
    [[nodiscard]] std::uintptr_t handle() const { return handle_; }

    struct Notice {
        std::uint32_t device_id;
        std::uint32_t code;
        bool operator==(const Notice&) const = default;
    };
    std::vector<Notice> notices;

private:
    std::uintptr_t handle_;
};

// MCI shorthands that fail the test on a non-zero result.
[[nodiscard]] std::uint32_t open_device(const std::filesystem::path& path);
[[nodiscard]] std::uint32_t status_of(std::uint32_t device, std::uint32_t item);

// Plays an open device with its completion notice sent to `recorder`, renders `output` until the
// device stops playing (at most 100 blocks of 1024 frames) and delivers the notices; returns the
// play command's result.
[[nodiscard]] std::uint32_t play_to_end(std::uint32_t device, ManualOutput& output,
                                        NoticeQueue& queue, const NoticeRecorder& recorder);

} // namespace vd::test
