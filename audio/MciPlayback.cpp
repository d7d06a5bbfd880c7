#include "audio/MciPlayback.h"

#include <algorithm>

namespace vd {

MciPlayback::MciPlayback(std::unique_ptr<MciDecoder> decoder, EndHandler on_end)
    : decoder_(std::move(decoder)), on_end_(std::move(on_end)),
      length_frames_(decoder_->length_frames()), length_ms_(decoder_->length_ms()),
      end_(length_frames_) {}

std::uint32_t MciPlayback::position_ms() const {
    const std::uint64_t position = position_frames();
    if (position >= length_frames_)
        return length_ms_;
    return std::min(output_frames_to_ms(position), length_ms_);
}

void MciPlayback::set_stopped() {
    mode_ = PlaybackMode::Stopped;
    not_playing_.notify_all();
}

std::optional<std::uint64_t> MciPlayback::play(std::uint64_t end_frame) {
    const MutexLock lock(mutex_);
    end_ = std::min(end_frame, length_frames_);
    ++generation_;
    if (position_ >= end_) {
        set_stopped();
        return std::nullopt;
    }
    mode_ = PlaybackMode::Playing;
    return generation_;
}

void MciPlayback::pause() {
    const MutexLock lock(mutex_);
    if (mode_ == PlaybackMode::Playing) {
        mode_ = PlaybackMode::Paused;
        not_playing_.notify_all();
    }
}

void MciPlayback::stop() {
    const MutexLock lock(mutex_);
    if (mode_ != PlaybackMode::Stopped)
        decoder_->halt();
    set_stopped();
}

void MciPlayback::seek(std::uint64_t frame) {
    const MutexLock lock(mutex_);
    const std::uint64_t target = std::min(frame, length_frames_);
    decoder_->seek(target);
    position_ = target;
    end_ = length_frames_;
    set_stopped();
}

void MciPlayback::wait_while_playing() {
    MutexLock lock(mutex_);
    while (mode_ == PlaybackMode::Playing)
        not_playing_.wait(lock.unique_lock());
}

std::size_t MciPlayback::render(std::span<float> out) {
    std::size_t rendered = 0;
    std::uint64_t ended_generation = 0;
    {
        const MutexLock lock(mutex_);
        if (mode_ != PlaybackMode::Playing)
            return 0;
        const std::uint64_t end = end_;
        std::uint64_t position = position_;
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(out.size() / 2, end - position));
        if (wanted > 0)
            rendered = decoder_->read(out.first(wanted * 2));
        position += rendered;
        // Data that ends before its declared length (a damaged file) ends the run as if the end
        // had been reached, so that the position reads as the length.
        if (rendered < wanted)
            position = end;
        position_ = position;
        if (position < end)
            return rendered;
        ended_generation = generation_;
        set_stopped();
    }
    if (on_end_)
        on_end_(ended_generation);
    return rendered;
}

} // namespace vd
