#include "audio/Mixer.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace vd {

namespace {

// Adds in fixed groups of eight, which the compiler turns into vector instructions at the
// project's default optimization level (it leaves loops of unknown length scalar there).
constexpr std::size_t kGroup = 8;

void add_into(std::span<float> out, std::span<const float> in) {
    std::size_t i = 0;
    for (; i + kGroup <= in.size(); i += kGroup) {
        for (std::size_t k = 0; k < kGroup; ++k) {
            out[i + k] += in[i + k];
        }
    }
    for (; i < in.size(); ++i) {
        out[i] += in[i];
    }
}

void scale(std::span<float> samples, float gain) {
    for (float& sample : samples) {
        sample *= gain;
    }
}

// Both forms turn NaN into -1, so a broken source cannot hand the device garbage.
void clamp_to_full_scale(std::span<float> samples) {
    std::size_t i = 0;
#if defined(__SSE__)
    // GCC leaves float clamps scalar at any level; four lanes at once take most of the mixer's
    // own cost away.
    const __m128 low = _mm_set1_ps(-1.0f);
    const __m128 high = _mm_set1_ps(1.0f);
    for (; i + 4 <= samples.size(); i += 4) {
        const __m128 v = _mm_loadu_ps(&samples[i]);
        _mm_storeu_ps(&samples[i], _mm_min_ps(_mm_max_ps(v, low), high));
    }
#endif
    for (; i < samples.size(); ++i) {
        samples[i] = std::min(1.0f, std::max(-1.0f, samples[i]));
    }
}

} // namespace

void Mixer::attach(std::shared_ptr<AudioSource> source) {
    if (!source) {
        return;
    }
    MutexLock lock(mutex_);
    if (std::ranges::find(sources_, source) == sources_.end()) {
        sources_.push_back(std::move(source));
    }
}

void Mixer::detach(const AudioSource* source) {
    std::shared_ptr<AudioSource> removed; // released after the lock, in this thread
    MutexLock lock(mutex_);
    const auto found =
        std::ranges::find_if(sources_, [source](const auto& s) { return s.get() == source; });
    if (found == sources_.end()) {
        return;
    }
    removed = std::move(*found);
    sources_.erase(found);
    const std::uint64_t seen_by = passes_started_;
    while (passes_finished_ < seen_by) {
        pass_finished_cv_.wait(lock.unique_lock());
    }
}

void Mixer::set_volume(float gain) {
    if (std::isnan(gain)) {
        gain = 1.0f;
    }
    volume_.store(std::clamp(gain, 0.0f, 1.0f), std::memory_order_relaxed);
}

std::size_t Mixer::source_count() const {
    MutexLock lock(mutex_);
    return sources_.size();
}

void Mixer::mix(std::span<float> out) {
    mix_block(out, -1);
}

void Mixer::mix(std::span<float> out, std::int64_t heard_at_ns) {
    mix_block(out, heard_at_ns);
}

void Mixer::mix_block(std::span<float> out, std::int64_t heard_at_ns) {
    auto render = [heard_at_ns](AudioSource& source, std::span<float> into) {
        return heard_at_ns < 0 ? source.render(into) : source.render_timed(into, heard_at_ns);
    };
    {
        MutexLock lock(mutex_);
        snapshot_.assign(sources_.begin(), sources_.end());
        ++passes_started_;
    }

    const std::size_t block_frames = out.size() / kOutputChannels;
    auto rendered_samples = [block_frames](std::size_t frames) {
        return std::min(frames, block_frames) * kOutputChannels;
    };
    if (snapshot_.empty()) {
        std::ranges::fill(out, 0.0f);
    } else {
        // The first source renders in place, the others beside it and are added: with one
        // source playing, as is usual, mixing costs no more than the clamp.
        const std::size_t first = rendered_samples(render(*snapshot_.front(), out));
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(), 0.0f);
        if (snapshot_.size() > 1 && scratch_.size() < out.size()) {
            scratch_.resize(out.size());
        }
        for (std::size_t s = 1; s < snapshot_.size(); ++s) {
            const std::span<float> scratch(scratch_.data(), out.size());
            const std::size_t samples = rendered_samples(render(*snapshot_[s], scratch));
            add_into(out, scratch.first(samples));
        }
    }
    if (const float gain = volume(); gain != 1.0f) {
        scale(out, gain);
    }
    clamp_to_full_scale(out);

    // Drop the references before the pass counts as finished: a detached source is then released
    // by whoever detached it, never by the audio thread.
    snapshot_.clear();
    {
        MutexLock lock(mutex_);
        ++passes_finished_;
    }
    pass_finished_cv_.notify_all();
}

} // namespace vd
