#include "audio/ModulePlayer.h"

#include "audio/AudioError.h"

#include <libopenmpt/libopenmpt.hpp>

namespace vd {

namespace {

[[nodiscard]] std::uint32_t pack(int order, int row) {
    return (static_cast<std::uint32_t>(order) & 0xffffU) |
           ((static_cast<std::uint32_t>(row) & 0xffffU) << 16);
}

} // namespace

ModulePlayer::ModulePlayer(std::span<const std::byte> data) {
    // The header probe turns most non-modules away before a whole decoder is set up for them.
    const int probe = openmpt::probe_file_header(openmpt::probe_file_header_flags_default2,
                                                 data.data(), data.size());
    if (probe == openmpt::probe_file_header_result_failure) {
        throw AudioError("The data is not a module of a known format");
    }
    try {
        module_ = std::make_unique<openmpt::module>(data.data(), data.size(), quiet_log_);
    } catch (const std::exception& e) {
        throw AudioError(std::string("The module cannot be loaded: ") + e.what());
    }
    title_ = module_->get_metadata("title");
    artist_ = module_->get_metadata("artist");
    tracker_ = module_->get_metadata("tracker");
    num_orders_ = module_->get_num_orders();
    duration_ms_ = static_cast<std::int64_t>(module_->get_duration_seconds() * 1000.0);
    // Moving to an order answers the time it starts at; orders the song never reaches answer 0.
    order_start_ms_.reserve(static_cast<std::size_t>(num_orders_));
    for (int order = 0; order < num_orders_; ++order) {
        order_start_ms_.push_back(
            static_cast<std::int64_t>(module_->set_position_order_row(order, 0) * 1000.0));
    }
    module_->set_position_order_row(0, 0);
    publish_position();
}

ModulePlayer::~ModulePlayer() = default;

void ModulePlayer::play() {
    const MutexLock lock(mutex_);
    if (!ended_) {
        state_ = State::playing;
    }
}

void ModulePlayer::pause() {
    const MutexLock lock(mutex_);
    if (state_ == State::playing) {
        state_ = State::paused;
    }
}

void ModulePlayer::stop() {
    const MutexLock lock(mutex_);
    state_ = State::stopped;
}

void ModulePlayer::set_position(ModulePosition position) { // GUI thread
    {
        const MutexLock lock(mutex_);
        module_->set_position_order_row(position.order, position.row);
        ended_ = false;
        publish_position();
    }
    if (on_change_) {
        on_change_(); // shown at once, also while paused; outside the lock, as from render()
    }
}

int ModulePlayer::order_at_ms(std::int64_t at_ms) const {
    int found = 0;
    std::int64_t found_start = -1;
    for (int order = 0; order < num_orders_; ++order) {
        const std::int64_t start = order_start_ms_[static_cast<std::size_t>(order)];
        if (start <= at_ms && start > found_start) {
            found = order;
            found_start = start;
        }
    }
    return found;
}

ModulePosition ModulePlayer::position() const {
    const std::uint32_t packed = packed_position_.load();
    return {static_cast<int>(packed & 0xffffU), static_cast<int>(packed >> 16)};
}

bool ModulePlayer::is_playing() const {
    return state_ == State::playing;
}

bool ModulePlayer::has_ended() const {
    return ended_;
}

std::size_t ModulePlayer::render(std::span<float> out) { // audio thread
    std::size_t rendered = 0;
    bool changed = false;
    {
        const MutexLock lock(mutex_);
        if (state_ != State::playing) {
            return 0;
        }
        const std::size_t frames = out.size() / kOutputChannels;
        rendered = module_->read_interleaved_stereo(kOutputRateHz, frames, out.data());
        changed = publish_position();
        if (rendered < frames) {
            ended_ = true;
            state_ = State::stopped;
            changed = true;
        }
    }
    // The listener is called without the module's lock: a command from the GUI thread never
    // waits for it, and it may ask for the position it was told of.
    if (changed && on_change_) {
        on_change_();
    }
    return rendered;
}

bool ModulePlayer::publish_position() {
    const std::uint32_t packed = pack(module_->get_current_order(), module_->get_current_row());
    position_ms_ = static_cast<std::int64_t>(module_->get_position_seconds() * 1000.0);
    return packed_position_.exchange(packed) != packed;
}

} // namespace vd
