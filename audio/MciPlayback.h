#pragma once

#include "audio/AudioSource.h"
#include "audio/MciDecoder.h"

#include "base/Mutex.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace vd {

enum class PlaybackMode { Stopped, Playing, Paused };

// The sound of one open device: plays its decoder in the audio thread between the current
// position and an end point, and keeps mode and position for the GUI thread's commands.
//
// The decoder is not thread-safe, so a mutex guards it; the audio thread holds it while it decodes
// one block, and commands from the GUI thread take it too (waiting at most one block). Mode,
// position and end point change only with the mutex held, and each change is published in an
// atomic, so that the status queries the position refresh makes never wait for a decode.
class MciPlayback final : public AudioSource {
public:
    // Audio thread, no lock held: playback reached its end point. Gets the generation number
    // that play() returned for the run that ended.
    using EndHandler = std::function<void(std::uint64_t generation)>;

    MciPlayback(std::unique_ptr<MciDecoder> decoder, EndHandler on_end);

    // any thread, without waiting for the audio thread.
    [[nodiscard]] std::uint64_t length_frames() const { return length_frames_; }
    [[nodiscard]] std::uint32_t length_ms() const { return length_ms_; }
    [[nodiscard]] std::uint64_t position_frames() const { return position_.load(); }
    // Equals length_ms() once the position is at the end.
    [[nodiscard]] std::uint32_t position_ms() const;
    [[nodiscard]] PlaybackMode mode() const { return mode_.load(); }
    // Where the current (or last) run stops: the length, or an earlier point given to play().
    [[nodiscard]] std::uint64_t end_frame() const { return end_.load(); }

    // GUI thread, the commands. Plays from the current position to `end_frame` (at most the
    // length), also from paused or when already playing. Returns the run's generation number, or
    // nullopt when the position is already at or past the end point (nothing plays; the mode
    // becomes stopped).
    std::optional<std::uint64_t> play(std::uint64_t end_frame);
    // Playing becomes paused; the position is held. Otherwise nothing changes.
    void pause();
    // Stopped, position kept; a synthesizer silences what still sounds.
    void stop();
    // Stopped at `frame` (at most the length); the end point goes back to the length.
    void seek(std::uint64_t frame);
    // Blocks until the mode is no longer playing (the end is reached, or another thread acted).
    void wait_while_playing();

    // audio thread.
    std::size_t render(std::span<float> out) override;

private:
    // Publishes the stopped mode and wakes wait_while_playing().
    void set_stopped() REQUIRES(mutex_);

    Mutex mutex_;
    std::condition_variable not_playing_;
    std::unique_ptr<MciDecoder> decoder_ GUARDED_BY(mutex_);
    const EndHandler on_end_;
    const std::uint64_t length_frames_;
    const std::uint32_t length_ms_;
    // Written only with mutex_ held; read anywhere. The position is set before a mode that
    // depends on it, so a reader that sees the stopped mode at the end also sees the end position.
    std::atomic<PlaybackMode> mode_{PlaybackMode::Stopped};
    std::atomic<std::uint64_t> position_{0}; // next output frame
    std::atomic<std::uint64_t> end_{0};
    std::uint64_t generation_ GUARDED_BY(mutex_) = 0;
};

} // namespace vd
