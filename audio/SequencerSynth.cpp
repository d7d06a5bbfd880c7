#include "audio/SequencerSynth.h"

#include "audio/AudioSource.h"
#include "audio/Mci.h"
#include "audio/MciError.h"

#include "audio/FluidSynthLibrary.h"

#include "base/Mutex.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

namespace vd {
namespace {

// General MIDI files are mixed for hardware synthesizers and sound faint at FluidSynth's default
// gain of 0.2 next to mastered audio; 0.5 brings them close without clipping typical songs.
constexpr double kSynthGain = 0.5;

std::vector<std::filesystem::path> builtin_soundfont_paths() {
    return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/soundfonts/default.sf2",
            "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"};
}

Mutex g_paths_mutex;
std::optional<std::vector<std::filesystem::path>>
    g_default_paths_override GUARDED_BY(g_paths_mutex);

void silence_fluidsynth_log() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluidsynth().fluid_set_log_function(level, nullptr, nullptr);
    });
}

} // namespace

std::atomic<std::int64_t> g_idle_lifetime_ms{60'000};

// Idle synthesizers, at most one per process: enough for the usual close-then-open of a player.
// A thread of the pool's own frees the idle one once it has waited its lifetime untaken.
class SynthPool {
public:
    SynthPool() = default;
    SynthPool(const SynthPool&) = delete;
    SynthPool& operator=(const SynthPool&) = delete;
    ~SynthPool() {
        {
            const MutexLock lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (reaper_.joinable())
            reaper_.join();
    }

    std::unique_ptr<SequencerSynth> take(const std::filesystem::path& soundfont) {
        const MutexLock lock(mutex_);
        if (idle_ && idle_->soundfont() == soundfont)
            return std::move(idle_);
        return nullptr;
    }
    void give_back(std::unique_ptr<SequencerSynth> synth) {
        std::unique_ptr<SequencerSynth> replaced;
        {
            const MutexLock lock(mutex_);
            replaced = std::exchange(idle_, std::move(synth));
            idle_until_ = Clock::now() + std::chrono::milliseconds(g_idle_lifetime_ms.load());
            if (!reaper_.joinable())
                reaper_ = std::thread([this] { reap(); });
        }
        wake_.notify_all();
        // `replaced` (a synthesizer for another soundfont) is deleted here, outside the lock.
    }
    [[nodiscard]] bool holds_idle() {
        const MutexLock lock(mutex_);
        return idle_ != nullptr;
    }

private:
    using Clock = std::chrono::steady_clock;

    // The pool's own thread: sleeps until the idle synthesizer's time is up, frees it.
    void reap() {
        MutexLock lock(mutex_);
        while (!stopping_) {
            if (!idle_) {
                wake_.wait(lock.unique_lock());
                continue;
            }
            if (wake_.wait_until(lock.unique_lock(), idle_until_) == std::cv_status::timeout &&
                idle_ && Clock::now() >= idle_until_) {
                std::unique_ptr<SequencerSynth> expired = std::move(idle_);
                lock.unlock();
                expired.reset(); // slow (the whole soundfont): outside the lock
                lock.lock();
            }
        }
    }

    Mutex mutex_;
    std::condition_variable wake_;
    std::unique_ptr<SequencerSynth> idle_ GUARDED_BY(mutex_);
    Clock::time_point idle_until_ GUARDED_BY(mutex_);
    bool stopping_ GUARDED_BY(mutex_) = false;
    std::thread reaper_; // started with the first idle synthesizer
};

// Leases share the pool, so one that ends during static destruction still finds it alive.
static const std::shared_ptr<SynthPool>& pool() {
    static const auto instance = std::make_shared<SynthPool>();
    return instance;
}

std::vector<std::filesystem::path> soundfont_search_list() {
    std::vector<std::filesystem::path> list;
    if (const char* env = std::getenv("VODEZARU_SOUNDFONT"); env != nullptr && *env != '\0')
        list.emplace_back(env);
    const MutexLock lock(g_paths_mutex);
    const auto defaults = g_default_paths_override.value_or(builtin_soundfont_paths());
    list.insert(list.end(), defaults.begin(), defaults.end());
    return list;
}

void set_idle_synth_lifetime(std::chrono::milliseconds lifetime) {
    g_idle_lifetime_ms = lifetime.count();
}

bool idle_synth_held() {
    return pool()->holds_idle();
}

void set_default_soundfont_paths(std::optional<std::vector<std::filesystem::path>> paths) {
    const MutexLock lock(g_paths_mutex);
    g_default_paths_override = std::move(paths);
}

SequencerSynth::SequencerSynth(const std::filesystem::path& soundfont) : soundfont_(soundfont) {
    silence_fluidsynth_log();
    settings_ = fluidsynth().new_fluid_settings();
    if (settings_ == nullptr)
        throw std::runtime_error("cannot create FluidSynth settings");
    fluidsynth().fluid_settings_setnum(settings_, "synth.sample-rate", kOutputRateHz);
    fluidsynth().fluid_settings_setnum(settings_, "synth.gain", kSynthGain);
    // Every call already comes under the playback source's lock.
    fluidsynth().fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
    synth_ = fluidsynth().new_fluid_synth(settings_);
    if (synth_ == nullptr ||
        fluidsynth().fluid_synth_sfload(synth_, soundfont.c_str(), 1) == FLUID_FAILED) {
        if (synth_ != nullptr)
            fluidsynth().delete_fluid_synth(synth_);
        fluidsynth().delete_fluid_settings(settings_);
        throw std::runtime_error("cannot load soundfont " + soundfont.string());
    }
}

SequencerSynth::~SequencerSynth() {
    fluidsynth().delete_fluid_synth(synth_);
    fluidsynth().delete_fluid_settings(settings_);
}

SequencerSynth::Lease::~Lease() {
    if (synth_)
        pool_->give_back(std::move(synth_));
}

SequencerSynth::Lease SequencerSynth::acquire() {
    std::string tried;
    for (const auto& path : soundfont_search_list()) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            continue;
        if (auto synth = pool()->take(path)) {
            fluidsynth().fluid_synth_system_reset(synth->get());
            fluidsynth().fluid_synth_all_sounds_off(synth->get(), -1);
            return Lease(std::move(synth), pool());
        }
        try {
            return Lease(std::unique_ptr<SequencerSynth>(new SequencerSynth(path)), pool());
        } catch (const std::runtime_error& e) {
            tried += std::string(tried.empty() ? "" : "; ") + e.what();
        }
    }
    throw MciError(MCIERR_SEQ_NOMIDIPRESENT,
                   tried.empty() ? "no General MIDI soundfont found" : tried);
}

} // namespace vd
