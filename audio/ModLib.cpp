#include "audio/ModLib.h"

#include "audio/AudioOutput.h"
#include "audio/ModulePlayer.h"

#include "base/Mutex.h"
#include "base/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using vd::ModulePlayer;

// The loaded module. The GUI thread is the only caller; the mutex keeps a stray caller from
// another thread safe, and is never held while calling into the output.
struct Library {
    vd::Mutex mutex;
    std::shared_ptr<ModulePlayer> player GUARDED_BY(mutex);
    std::string name GUARDED_BY(mutex);       // what MODLIB_MusicGetName hands out
    std::string load_error GUARDED_BY(mutex); // why the last load failed
    // The file the last load named; empty after a free or a load from memory.
    std::string file GUARDED_BY(mutex);
    // What every loaded module calls on a change. Its own lock, held while it runs, so that
    // after modlib_set_change_listener returns the old listener is never called again.
    struct ChangeListener {
        vd::Mutex mutex;
        std::function<void()> call GUARDED_BY(mutex);
    };
    std::shared_ptr<ChangeListener> change_listener = std::make_shared<ChangeListener>();
};

Library& library() {
    static Library lib;
    return lib;
}

[[nodiscard]] std::shared_ptr<ModulePlayer> current_player() {
    Library& lib = library();
    vd::MutexLock lock(lib.mutex);
    return lib.player;
}

// Takes the module out of the library and off the output, and releases it.
void release_player() {
    Library& lib = library();
    std::shared_ptr<ModulePlayer> old;
    {
        vd::MutexLock lock(lib.mutex);
        old = std::move(lib.player);
        lib.name.clear();
        lib.file.clear();
    }
    if (old) {
        vd::AudioOutput::instance().detach(old.get());
        if (old->is_paused()) {
            // What the device held for it is not to be heard after another song starts.
            vd::AudioOutput::instance().flush();
            vd::AudioOutput::instance().hold(false);
        }
    }
}

[[nodiscard]] std::int32_t pack(vd::ModulePosition position) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(position.order) & 0xffffU) |
                                     ((static_cast<std::uint32_t>(position.row) & 0xffffU) << 16));
}

void set_load_error(std::string text) {
    if (!text.empty() && text.back() != '.')
        text += '.';
    Library& lib = library();
    vd::MutexLock lock(lib.mutex);
    lib.load_error = std::move(text);
}

constexpr const char* kMissingText =
    "The file could not be found. Check that it still exists and that its path is right";
constexpr const char* kEmptyText = "The file is empty";

// Why a song file could not be opened, for the person who chose it.
[[nodiscard]] std::string open_failure_text(const vd::RegularFile& file) {
    switch (file.Fault()) {
    case vd::RegularFile::Failure::missing:
        return kMissingText;
    case vd::RegularFile::Failure::not_regular:
        return file.Error() == EISDIR ? "This is a folder, not a module file"
                                      : "This is not a file but a pipe, a device or a socket";
    case vd::RegularFile::Failure::unreadable:
        return "The file exists but could not be read. Check that you may read it";
    case vd::RegularFile::Failure::none:
        break;
    }
    return kEmptyText;
}

// The bytes of a regular file from `offset` on (length 0: to the end); nothing when it cannot be
// read, and then `why` says why. A FIFO or device of that name is refused without waiting for it.
[[nodiscard]] std::vector<std::byte> read_file_part(const char* path, std::int32_t offset,
                                                    std::int32_t length, std::string& why) {
    why = path == nullptr ? kMissingText : kEmptyText;
    if (path == nullptr || offset < 0 || length < 0) {
        return {};
    }
    const vd::RegularFile file = vd::RegularFile::Open(path);
    if (!file.IsOpen()) {
        why = open_failure_text(file);
        return {};
    }
    struct stat info {};
    if (::fstat(file.Descriptor(), &info) != 0 || info.st_size <= offset) {
        return {};
    }
    const auto available = static_cast<std::uint64_t>(info.st_size - offset);
    const std::uint64_t wanted =
        length == 0 ? available : std::min<std::uint64_t>(available, std::uint64_t(length));
    if (wanted > std::numeric_limits<std::size_t>::max() / 2) {
        return {};
    }
    std::vector<std::byte> bytes(static_cast<std::size_t>(wanted));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::pread(file.Descriptor(), bytes.data() + filled, bytes.size() - filled,
                                    static_cast<off_t>(offset) + static_cast<off_t>(filled));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break; // a file that shrank meanwhile: what was there
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

namespace vd {

bool modlib_load_from_memory(std::span<const std::byte> data) {
    release_player();
    std::shared_ptr<ModulePlayer> player;
    try {
        player = std::make_shared<ModulePlayer>(data);
        player->set_change_listener([listener = library().change_listener] { // audio thread
            vd::MutexLock lock(listener->mutex);
            if (listener->call) {
                listener->call();
            }
        });
    } catch (const std::exception& e) {
        set_load_error(e.what()); // rejected or out of memory: nothing is loaded
        return false;
    }
    set_load_error({});
    AudioOutput::instance().attach(player);
    Library& lib = library();
    vd::MutexLock lock(lib.mutex);
    lib.name = player->title();
    lib.player = std::move(player);
    return true;
}

ModuleDetails modlib_details() { // GUI thread
    const auto player = current_player();
    if (!player)
        return {};
    return {player->artist(), player->tracker(), player->duration_ms()};
}

std::int64_t modlib_position_ms() { // GUI thread
    const auto player = current_player();
    return player ? player->position_ms() : 0;
}

int modlib_order_at_ms(std::int64_t at_ms) { // GUI thread
    const auto player = current_player();
    return player ? player->order_at_ms(at_ms) : 0;
}

std::optional<int> modlib_next_change_in_ms() { // GUI thread
    const auto player = current_player();
    if (!player)
        return std::nullopt;
    const auto in_ns = player->next_change_in_ns();
    if (!in_ns)
        return std::nullopt;
    return static_cast<int>((*in_ns + 999'999) / 1'000'000);
}

void modlib_set_change_listener(std::function<void()> listener) { // GUI thread
    auto& slot = *library().change_listener;
    std::function<void()> old;
    {
        vd::MutexLock lock(slot.mutex);
        old = std::exchange(slot.call, std::move(listener));
    }
}

const char* modlib_load_error() { // GUI thread
    // The text lives in the library until the next load; the GUI thread is the only loader.
    Library& lib = library();
    vd::MutexLock lock(lib.mutex);
    return lib.load_error.c_str();
}

std::string modlib_file_name() { // GUI thread
    Library& lib = library();
    vd::MutexLock lock(lib.mutex);
    return lib.file;
}

} // namespace vd

std::int32_t MODLIB_Free() { // GUI thread
    release_player();
    return 1;
}

std::int32_t MODLIB_Init(std::int32_t /*device*/, std::int32_t /*rate_hz*/,
                         std::int32_t /*flags*/) { // GUI thread
    try {
        (void)vd::AudioOutput::instance();
    } catch (const std::exception&) {
        return 0;
    }
    return 1;
}

std::int32_t MODLIB_MusicLoad(std::int32_t from_memory, const char* path, std::int32_t offset,
                              std::int32_t length, std::int32_t /*flags*/) { // GUI thread
    try {
        if (from_memory != 0) {
            if (path == nullptr || offset < 0 || length <= 0) {
                release_player();
                set_load_error("There is no module data to load");
                return 0;
            }
            const auto* begin = reinterpret_cast<const std::byte*>(path) + offset;
            return vd::modlib_load_from_memory({begin, static_cast<std::size_t>(length)}) ? 1 : 0;
        }
        std::string why;
        const std::vector<std::byte> bytes = read_file_part(path, offset, length, why);
        bool loaded = false;
        if (bytes.empty()) {
            release_player();
            set_load_error(std::move(why));
        } else {
            loaded = vd::modlib_load_from_memory(bytes);
        }
        // Remembered whether or not it loaded: a title can still name the file.
        if (path != nullptr) {
            Library& lib = library();
            vd::MutexLock lock(lib.mutex);
            lib.file = path;
        }
        return loaded ? 1 : 0;
    } catch (const std::exception& e) {
        release_player();
        set_load_error(e.what());
        return 0;
    }
}

const char* MODLIB_MusicGetName() { // GUI thread
    Library& lib = library();
    vd::MutexLock lock(lib.mutex);
    return lib.name.c_str();
}

std::int32_t MODLIB_MusicPlay() { // GUI thread
    const auto player = current_player();
    if (!player) {
        return 0;
    }
    const bool was_playing = player->is_playing();
    const bool was_paused = player->is_paused();
    player->play();
    // After a stop the device still holds the silence of the halt: dropped, so that the song
    // starts at once. After a pause it holds the song where it was heard: released.
    if (!was_playing && !was_paused && player->is_playing())
        vd::AudioOutput::instance().flush();
    vd::AudioOutput::instance().hold(false);
    return 1;
}

std::int32_t MODLIB_MusicIsActive() { // GUI thread
    const auto player = current_player();
    return player && player->is_playing() ? 1 : 0;
}

std::int32_t MODLIB_MusicPause() { // GUI thread
    const auto player = current_player();
    if (!player) {
        return 0;
    }
    // Held first, so that nothing rendered after the pause is queued behind what is held.
    if (player->is_playing())
        vd::AudioOutput::instance().hold(true);
    player->pause();
    return 1;
}

std::int32_t MODLIB_MusicStop() { // GUI thread
    const auto player = current_player();
    if (!player) {
        return 0;
    }
    player->stop();
    vd::AudioOutput::instance().flush();
    vd::AudioOutput::instance().hold(false);
    return 1;
}

std::int32_t MODLIB_MusicSetPosition(std::int32_t order_row) { // GUI thread
    const auto player = current_player();
    if (!player) {
        return 0;
    }
    const auto packed = static_cast<std::uint32_t>(order_row);
    player->set_position({static_cast<int>(packed & 0xffffU), static_cast<int>(packed >> 16)});
    vd::AudioOutput::instance().flush(); // the new place is heard at once, not after the queue
    return 1;
}

std::int32_t MODLIB_MusicGetPosition() { // GUI thread
    const auto player = current_player();
    return player ? pack(player->position()) : 0;
}

std::int32_t MODLIB_MusicGetLength(std::int32_t unit) { // GUI thread
    const auto player = current_player();
    if (!player || unit != 0) {
        return 0;
    }
    return player->num_orders() & 0xffff;
}

std::int32_t MODLIB_MusicHasEnded() { // GUI thread
    const auto player = current_player();
    return player && player->has_ended() ? 1 : 0;
}
