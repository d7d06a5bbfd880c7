#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

struct _fluid_synth_t;
struct _fluid_hashtable_t;

namespace vd {

class SynthPool;

// GUI thread. Where the sequencer looks for a General MIDI soundfont, in order: the file named by
// $VODEZARU_SOUNDFONT, then the default paths below. The first that exists and loads is used.
[[nodiscard]] std::vector<std::filesystem::path> soundfont_search_list();
// GUI thread. Replaces the default paths (not the environment variable); nullopt restores them.
// Lets a test stand for a machine without a soundfont.
void set_default_soundfont_paths(std::optional<std::vector<std::filesystem::path>> paths);

// GUI thread. How long an idle synthesizer stays in the pool before it is freed with its
// soundfont (a default of a minute; tests shorten it). Applies to synthesizers given back later.
void set_idle_synth_lifetime(std::chrono::milliseconds lifetime);
// any thread. Whether the pool holds an idle synthesizer now.
[[nodiscard]] bool idle_synth_held();

// A FluidSynth synthesizer (44,100 Hz, no audio driver of its own) with a soundfont loaded.
// Loading a soundfont is slow, so a synthesizer whose lease ends is kept in a process-wide pool
// and handed to the next sequencer that opens with the same soundfont; after a while without
// MIDI it is freed, soundfont and all, so that a player of modules does not carry it.
class SequencerSynth {
public:
    SequencerSynth(const SequencerSynth&) = delete;
    SequencerSynth& operator=(const SequencerSynth&) = delete;
    ~SequencerSynth();

    [[nodiscard]] _fluid_synth_t* get() const { return synth_; }
    [[nodiscard]] const std::filesystem::path& soundfont() const { return soundfont_; }

    // Exclusive use of one synthesizer; gives it back to the pool when destroyed (any thread).
    class Lease {
    public:
        Lease(Lease&&) noexcept = default;
        Lease& operator=(Lease&&) noexcept = default;
        ~Lease();
        [[nodiscard]] SequencerSynth& operator*() const { return *synth_; }
        [[nodiscard]] SequencerSynth* operator->() const { return synth_.get(); }

    private:
        friend class SequencerSynth;
        Lease(std::unique_ptr<SequencerSynth> synth, std::shared_ptr<SynthPool> pool)
            : synth_(std::move(synth)), pool_(std::move(pool)) {}
        std::unique_ptr<SequencerSynth> synth_;
        std::shared_ptr<SynthPool> pool_;
    };

    // GUI thread. A reset synthesizer with the first usable soundfont of soundfont_search_list().
    // Throws MciError(MCIERR_SEQ_NOMIDIPRESENT) when none exists or loads.
    [[nodiscard]] static Lease acquire();

private:
    explicit SequencerSynth(const std::filesystem::path& soundfont);

    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    std::filesystem::path soundfont_;
};

} // namespace vd
