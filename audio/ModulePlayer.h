#pragma once

#include "audio/AudioSource.h"
#include "audio/PositionStamps.h"

#include "base/Mutex.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace openmpt {
class module;
}

namespace vd {

// Where a module stands: 0-based index into its order list and row within that order's pattern.
struct ModulePosition {
    int order = 0;
    int row = 0;
    friend bool operator==(const ModulePosition&, const ModulePosition&) = default;
};

// One tracker module decoded by libopenmpt, as a source for the mixer. It renders only while
// playing, plays its song once and then counts as ended.
//
// libopenmpt's module object is not thread-safe, so a mutex guards it; the audio thread holds it
// for one render() call. Commands from the GUI thread take the same mutex and so wait at most one
// block. Position and end are also stamped after every block (every few milliseconds of a timed
// block) with the moment they are heard, so that polling them never waits for rendering and
// answers what is heard, not what was rendered last.
class ModulePlayer final : public AudioSource {
public:
    // GUI thread. Decodes `data` (any format libopenmpt knows) and stands at the song's start,
    // not playing. Throws AudioError when libopenmpt rejects the data.
    explicit ModulePlayer(std::span<const std::byte> data);
    ~ModulePlayer() override;
    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    // any thread. The module's title as stored in the file (may be empty).
    [[nodiscard]] const std::string& title() const { return title_; }
    // any thread. Length of the order list.
    [[nodiscard]] int num_orders() const { return num_orders_; }
    // any thread. Who made the module and with which tracker, where the file says (may be empty).
    [[nodiscard]] const std::string& artist() const { return artist_; }
    [[nodiscard]] const std::string& tracker() const { return tracker_; }
    // any thread. How long the song plays once through.
    [[nodiscard]] std::int64_t duration_ms() const { return duration_ms_; }
    // any thread. The order that is playing `at_ms` after the song's start (the last one past
    // the end), so that a point in time can be reached by order as the seek slider does.
    [[nodiscard]] int order_at_ms(std::int64_t at_ms) const;

    // GUI thread. Plays from the current position; an ended song stays ended.
    void play();
    // GUI thread. Halts; the position heard stays as it is while paused. The device holds what it
    // has not played yet (AudioOutput::hold), so playing goes on where it was heard: play() moves
    // the stamps of what is held by the time spent paused.
    void pause();
    // GUI thread. Halts.
    void stop();
    // GUI thread. Moves to `position`, which the next block starts at, and clears the end of
    // song. A position outside the song leaves the position as it was.
    void set_position(ModulePosition position);

    // any thread, without waiting for the audio thread: the position heard now.
    [[nodiscard]] ModulePosition position() const;
    // any thread, without waiting for the audio thread: the time heard since the song's start.
    [[nodiscard]] std::int64_t position_ms() const {
        return stamps_.at(heard_now_ns()).position_ms;
    }
    // any thread. True only while playing: false when paused, stopped or ended.
    [[nodiscard]] bool is_playing() const;
    // any thread. True from pause() until play() or stop().
    [[nodiscard]] bool is_paused() const { return state_ == State::paused; }
    // any thread. True once the song's end has been heard, until set_position().
    [[nodiscard]] bool has_ended() const;
    // any thread. In how many nanoseconds what is heard moves to another row or order or ends, as
    // far as rendered; none when nothing rendered yet differs from what is heard. Then the next
    // timed block that moves on calls the change listener; until then timed blocks do not.
    [[nodiscard]] std::optional<std::int64_t> next_change_in_ns();
    // The steady clock the stamps are on, in nanoseconds.
    [[nodiscard]] static std::int64_t now_ns();
    // any thread. The moment whose stamp is heard now: now, or the moment of the pause while
    // paused.
    [[nodiscard]] std::int64_t heard_now_ns() const {
        const std::int64_t paused_at = paused_at_ns_;
        return paused_at >= 0 ? paused_at : now_ns();
    }

    // GUI thread, before the player is attached to an output. `listener` is called (from the
    // audio thread, or from set_position's thread) after the position moved or the song ended,
    // without the player's lock held; it must return at once.
    void set_change_listener(std::function<void()> listener) { on_change_ = std::move(listener); }

    // audio thread. A block heard at once: every block moving on calls the change listener.
    std::size_t render(std::span<float> out) override;
    // audio thread. A block heard from `heard_at_ns` on, stamped every few milliseconds.
    std::size_t render_timed(std::span<float> out, std::int64_t heard_at_ns) override;

    // Frames between two stamps of a timed block: about 6 ms, below what the eye tells apart.
    static constexpr std::size_t kStampFrames = 256;

private:
    enum class State : std::uint8_t { stopped, playing, paused };

    // Renders and stamps; `heard_at_ns` < 0 for a block heard at once.
    std::size_t render_block(std::span<float> out, std::int64_t heard_at_ns, bool& changed)
        REQUIRES(mutex_);
    // The module's position now, heard from `heard_at_ns` on; `changed` is set when it differs
    // from the one rendered before.
    PositionStamp rendered_stamp(std::int64_t heard_at_ns, bool& changed) REQUIRES(mutex_);

    mutable Mutex mutex_;
    std::ostream quiet_log_ GUARDED_BY(mutex_){nullptr}; // libopenmpt's warnings
    std::unique_ptr<openmpt::module> module_ GUARDED_BY(mutex_);
    std::atomic<State> state_{State::stopped};
    std::atomic<bool> ended_{false};
    std::atomic<std::int64_t> paused_at_ns_{-1};           // the moment of the pause, while paused
    std::uint32_t rendered_packed_ GUARDED_BY(mutex_) = 0; // order | row << 16, last block
    PositionStamps stamps_;
    std::atomic<bool> notice_wanted_{true}; // the next timed block that moves on tells of it
    std::string title_;
    std::string artist_;
    std::string tracker_;
    int num_orders_ = 0;
    std::int64_t duration_ms_ = 0;
    std::vector<std::int64_t> order_start_ms_; // when each order starts, in order-list order
    std::function<void()> on_change_;          // set before rendering starts, then only read
};

} // namespace vd
