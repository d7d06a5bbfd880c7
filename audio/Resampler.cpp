#include "audio/Resampler.h"

#include <algorithm>

namespace vd {
namespace {

// Input frames fetched per refill, and history dropped only once this much has been consumed.
constexpr std::int64_t kChunkFrames = 2048;

} // namespace

std::uint64_t Resampler::output_length(std::uint64_t in_frames, int in_rate_hz, int out_rate_hz) {
    const auto product =
        static_cast<unsigned __int128>(in_frames) * static_cast<unsigned>(out_rate_hz);
    return static_cast<std::uint64_t>((product + static_cast<unsigned>(in_rate_hz) - 1) /
                                      static_cast<unsigned>(in_rate_hz));
}

Resampler::Resampler(std::unique_ptr<PcmInput> input) : input_(std::move(input)) {
    const int in_rate = input_->rate_hz();
    if (in_rate != kOutputRateHz)
        filter_.emplace(in_rate, kOutputRateHz);
    length_frames_ = output_length(input_->length_frames(), in_rate, kOutputRateHz);
    end_ = length_frames_;
    seek(0);
}

std::size_t Resampler::read(std::span<float> out) {
    if (filter_)
        return read_filtered(out);
    const auto wanted = std::min<std::uint64_t>(out.size() / 2, end_ - position_);
    const std::size_t got = input_->read(out.first(static_cast<std::size_t>(wanted) * 2));
    position_ += got;
    if (got < wanted)
        end_ = position_;
    return got;
}

std::size_t Resampler::read_filtered(std::span<float> out) {
    const int half = filter_->taps() / 2;
    const std::uint64_t num = filter_->step_num();
    const std::uint64_t den = filter_->step_den();
    const std::size_t wanted = out.size() / 2;
    std::size_t produced = 0;
    while (produced < wanted) {
        fill_through(ipos_ + half);
        if (position_ >= end_)
            break;
        const auto first = static_cast<std::size_t>(ipos_ - half + 1 - history_first_);
        filter_->apply(history_.data() + first * 2, frac_, out.data() + produced * 2);
        ++produced;
        ++position_;
        frac_ += num;
        ipos_ += static_cast<std::int64_t>(frac_ / den);
        frac_ %= den;
    }
    return produced;
}

void Resampler::fill_through(std::int64_t last) {
    const auto have_end = history_first_ + static_cast<std::int64_t>(history_.size() / 2);
    if (last < have_end)
        return;
    // Drop what the filter has passed, but only in large steps so the copy stays rare.
    const int half = filter_->taps() / 2;
    const std::int64_t keep_from = ipos_ - half + 1;
    if (keep_from - history_first_ >= kChunkFrames) {
        const auto drop = static_cast<std::size_t>(keep_from - history_first_);
        history_.erase(history_.begin(), history_.begin() + static_cast<std::ptrdiff_t>(drop * 2));
        history_first_ = keep_from;
    }
    auto next = history_first_ + static_cast<std::int64_t>(history_.size() / 2);
    while (next <= last) {
        const std::size_t old_size = history_.size();
        history_.resize(old_size + static_cast<std::size_t>(kChunkFrames) * 2, 0.0F);
        if (!input_ended_) {
            const std::size_t got = input_->read(
                std::span(history_).subspan(old_size, static_cast<std::size_t>(kChunkFrames) * 2));
            if (got < static_cast<std::size_t>(kChunkFrames)) {
                note_input_end(next + static_cast<std::int64_t>(got));
                // Whatever the input left in the unread part, the end is silence.
                std::fill(history_.begin() + static_cast<std::ptrdiff_t>(old_size + got * 2),
                          history_.end(), 0.0F);
            }
        }
        next += kChunkFrames;
    }
}

void Resampler::note_input_end(std::int64_t end_frame) {
    input_ended_ = true;
    const auto frames = static_cast<std::uint64_t>(std::max<std::int64_t>(end_frame, 0));
    end_ = std::min(end_, output_length(frames, input_->rate_hz(), kOutputRateHz));
}

void Resampler::seek(std::uint64_t frame) {
    position_ = std::min(frame, length_frames_);
    end_ = length_frames_;
    input_ended_ = false;
    if (!filter_) {
        input_->seek(position_);
        return;
    }
    const std::uint64_t num = filter_->step_num();
    const std::uint64_t den = filter_->step_den();
    const auto time = static_cast<unsigned __int128>(position_) * num;
    ipos_ = static_cast<std::int64_t>(time / den);
    frac_ = static_cast<std::uint64_t>(time % den);
    history_.clear();
    history_first_ = ipos_ - filter_->taps() / 2 + 1;
    if (history_first_ < 0) {
        history_.assign(static_cast<std::size_t>(-history_first_) * 2, 0.0F);
        input_->seek(0);
    } else {
        input_->seek(static_cast<std::uint64_t>(history_first_));
    }
}

} // namespace vd
