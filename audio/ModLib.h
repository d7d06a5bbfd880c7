#pragma once

// The module library: the player's eleven calls for tracker modules, plus an end-of-song query,
// over libopenmpt and the process-wide AudioOutput. At most one module is loaded at a time.
//
// Every call is made by the GUI thread while the audio thread renders the loaded module; the
// calls never throw. Results: 1 (or the asked-for value) for success, 0 for failure or when no
// module is loaded. Flags are accepted and ignored. A song plays once and then ends; it never
// loops.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

// GUI thread. Releases the loaded module and detaches it from the output. Returns 1.
std::int32_t MODLIB_Free();
// GUI thread. Opens the process-wide output if it is not open yet. Returns 1.
std::int32_t MODLIB_Init(std::int32_t device, std::int32_t rate_hz, std::int32_t flags);
// GUI thread. Replaces the loaded module. from_memory 0: `path` names a file, of which `length`
// bytes from `offset` on are read (length 0: to the end). from_memory non-zero: `path` points to
// `length` bytes in memory, starting `offset` bytes in. The module stands at its start, not
// playing. Returns 1, or 0 when the data cannot be read or libopenmpt rejects it; then no module
// is loaded.
std::int32_t MODLIB_MusicLoad(std::int32_t from_memory, const char* path, std::int32_t offset,
                              std::int32_t length, std::int32_t flags);
// GUI thread. The module's title, zero-terminated, valid until the next load or free. "" when
// no module is loaded.
const char* MODLIB_MusicGetName();
// GUI thread. Plays from the current position. An ended song stays silent until a new position
// is set.
std::int32_t MODLIB_MusicPlay();
// GUI thread. Non-zero only while playing: paused, stopped and ended songs answer 0.
std::int32_t MODLIB_MusicIsActive();
// GUI thread. Halts, keeping the position.
std::int32_t MODLIB_MusicPause();
// GUI thread. Halts.
std::int32_t MODLIB_MusicStop();
// GUI thread. Order in the low 16 bits, row in the high 16 bits; the next block plays from
// there. Clears the end of song. Returns 0 without a module.
std::int32_t MODLIB_MusicSetPosition(std::int32_t order_row);
// GUI thread. The order heard now in the low 16 bits, its row in the high 16 bits. Never waits
// for the audio thread's rendering.
std::int32_t MODLIB_MusicGetPosition();
// GUI thread. unit 0: the number of orders in the low 16 bits. Other units answer 0.
std::int32_t MODLIB_MusicGetLength(std::int32_t unit);
// GUI thread. Non-zero once the loaded song's end has been heard; cleared by a load, a new
// position and MODLIB_Free.
std::int32_t MODLIB_MusicHasEnded();

namespace vd {

// GUI thread. `listener` is called, from the audio thread too, whenever the module moves to
// another row or order or ends: a display can wait for it instead of polling. It must return at
// once. Once this returns, the previous listener is not called any more (nullptr: none).
void modlib_set_change_listener(std::function<void()> listener);

// GUI thread. In how many milliseconds (rounded up) what is heard of the module moves to another
// row or order or ends, as far as it is rendered yet. None without a module or when nothing
// rendered yet moves on: then the change listener is called when something does. The sound device
// holds sound for a while before it is heard, so a display that wants to show the row heard waits
// this long after the listener's call.
[[nodiscard]] std::optional<int> modlib_next_change_in_ms();

// GUI thread. Loads a module from memory as MODLIB_MusicLoad does; true on success.
bool modlib_load_from_memory(std::span<const std::byte> data);
// GUI thread. The path the last MODLIB_MusicLoad from a file named, whether it loaded or not;
// "" after MODLIB_Free or a load from memory.
[[nodiscard]] std::string modlib_file_name();

// What the desktop's media controls show of the loaded module; all empty or 0 without one.
struct ModuleDetails {
    std::string artist;
    std::string tracker;
    std::int64_t duration_ms = 0;
};
// GUI thread.
[[nodiscard]] ModuleDetails modlib_details();
// GUI thread. The time played since the song's start; 0 without a module.
[[nodiscard]] std::int64_t modlib_position_ms();
// GUI thread. The order playing `at_ms` after the song's start; 0 without a module.
[[nodiscard]] int modlib_order_at_ms(std::int64_t at_ms);

// GUI thread. Why the last load failed, as a sentence for the person who chose the file; empty
// after a load that succeeded.
[[nodiscard]] const char* modlib_load_error();

} // namespace vd
