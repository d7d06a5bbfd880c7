#include "audio/ModulePlayer.h"

#include "audio/AudioError.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <chrono>

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
    bool changed = false;
    stamps_.reset(rendered_stamp(0, changed));
}

ModulePlayer::~ModulePlayer() = default;

void ModulePlayer::play() {
    const MutexLock lock(mutex_);
    if (ended_) {
        return;
    }
    const std::int64_t paused_at = paused_at_ns_.exchange(-1);
    if (paused_at >= 0) {
        // What the device held through the pause is heard from now on.
        stamps_.delay_after(paused_at, now_ns() - paused_at);
    }
    state_ = State::playing;
}

void ModulePlayer::pause() {
    const MutexLock lock(mutex_);
    if (state_ != State::playing)
        return;
    paused_at_ns_ = now_ns();
    state_ = State::paused;
}

void ModulePlayer::stop() {
    const MutexLock lock(mutex_);
    state_ = State::stopped;
    paused_at_ns_ = -1;
    bool changed = false;
    stamps_.reset(rendered_stamp(0, changed));
}

void ModulePlayer::set_position(ModulePosition position) { // GUI thread
    {
        const MutexLock lock(mutex_);
        module_->set_position_order_row(position.order, position.row);
        ended_ = false;
        bool changed = false;
        stamps_.reset(rendered_stamp(0, changed));
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
    const std::uint32_t packed = stamps_.at(heard_now_ns()).packed;
    return {static_cast<int>(packed & 0xffffU), static_cast<int>(packed >> 16)};
}

bool ModulePlayer::is_playing() const {
    return state_ == State::playing;
}

bool ModulePlayer::has_ended() const {
    return stamps_.at(heard_now_ns()).ended;
}

std::optional<std::int64_t> ModulePlayer::next_change_in_ns() {
    if (paused_at_ns_ >= 0)
        return std::nullopt; // nothing heard moves while paused
    const std::int64_t now = now_ns();
    auto next = stamps_.next_change_after(now);
    if (!next) {
        // Asked before looking again: a block rendered in between either shows up in the second
        // look or tells of itself.
        notice_wanted_ = true;
        next = stamps_.next_change_after(now);
    }
    if (!next)
        return std::nullopt;
    return *next - now;
}

std::int64_t ModulePlayer::now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::size_t ModulePlayer::render(std::span<float> out) { // audio thread
    return render_timed(out, -1);
}

std::size_t ModulePlayer::render_timed(std::span<float> out,
                                       std::int64_t heard_at_ns) { // audio thread
    std::size_t rendered = 0;
    bool changed = false;
    {
        const MutexLock lock(mutex_);
        if (state_ != State::playing) {
            return 0;
        }
        rendered = render_block(out, heard_at_ns, changed);
    }
    // The listener is called without the module's lock: a command from the GUI thread never
    // waits for it, and it may ask for the position it was told of. A timed block tells only
    // when the display waits for it; otherwise the display knows when the change is heard.
    if (changed && on_change_ && (heard_at_ns < 0 || notice_wanted_.exchange(false))) {
        on_change_();
    }
    return rendered;
}

std::size_t ModulePlayer::render_block(std::span<float> out, std::int64_t heard_at_ns,
                                       bool& changed) {
    const std::size_t frames = out.size() / kOutputChannels;
    if (heard_at_ns < 0) {
        const std::size_t rendered =
            module_->read_interleaved_stereo(kOutputRateHz, frames, out.data());
        ended_ = ended_ || rendered < frames;
        stamps_.reset(rendered_stamp(0, changed));
        if (ended_) {
            state_ = State::stopped;
            changed = true;
        }
        return rendered;
    }
    // In pieces, each stamped with the moment its start is heard and the position its end
    // reached: a new row shows up to one piece early, never late.
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t piece = std::min(kStampFrames, frames - done);
        const std::int64_t piece_heard_at_ns =
            heard_at_ns + static_cast<std::int64_t>(done) * 1'000'000'000 / kOutputRateHz;
        const std::size_t rendered = module_->read_interleaved_stereo(
            kOutputRateHz, piece, out.data() + done * kOutputChannels);
        stamps_.add(rendered_stamp(piece_heard_at_ns, changed));
        done += rendered;
        if (rendered < piece) {
            ended_ = true;
            state_ = State::stopped;
            changed = true;
            PositionStamp end = rendered_stamp(0, changed);
            end.heard_at_ns =
                heard_at_ns + static_cast<std::int64_t>(done) * 1'000'000'000 / kOutputRateHz;
            stamps_.add(end);
            break;
        }
    }
    return done;
}

PositionStamp ModulePlayer::rendered_stamp(std::int64_t heard_at_ns, bool& changed) {
    const std::uint32_t packed = pack(module_->get_current_order(), module_->get_current_row());
    changed = changed || packed != rendered_packed_;
    rendered_packed_ = packed;
    return {heard_at_ns, packed,
            static_cast<std::int64_t>(module_->get_position_seconds() * 1000.0), ended_.load()};
}

} // namespace vd
