// The texts of the media control interface's result codes, worded for the person who sees them
// in the player's error display.

#include "audio/Mci.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vd {
namespace {

struct ErrorText {
    std::uint32_t code;
    std::string_view text;
};

constexpr ErrorText kErrorTexts[] = {
    {0, "The command was carried out."},
    {MCIERR_INVALID_DEVICE_ID,
     "The media device is not open (its device number is unknown). Open the file again."},
    {MCIERR_UNRECOGNIZED_COMMAND, "The media device does not know this command."},
    {MCIERR_HARDWARE, "The sound hardware reported a problem."},
    {MCIERR_INVALID_DEVICE_NAME,
     "There is no media device of that name. The devices are sequencer, waveaudio and mpegvideo."},
    {MCIERR_OUT_OF_MEMORY, "There is not enough memory to open or play this file."},
    {MCIERR_CANNOT_LOAD_DRIVER, "The media device could not be started: its decoder failed to "
                                "initialise."},
    {MCIERR_MISSING_PARAMETER, "The command lacks a value it needs."},
    {MCIERR_UNSUPPORTED_FUNCTION,
     "The media device cannot do that: it plays files, but cannot record, save or step."},
    {MCIERR_FILE_NOT_FOUND,
     "The file could not be found. Check that it still exists and that its path is right."},
    {MCIERR_DEVICE_NOT_READY, "The media device is not ready."},
    {MCIERR_INTERNAL, "Something went wrong inside the media engine."},
    {MCIERR_EXTENSION_NOT_FOUND, "No media device plays files with this extension. Playable are "
                                 ".mid, .midi, .rmi, .wav, .mp1, .mp2 and .mp3."},
    {MCIERR_OUTOFRANGE, "The position given lies outside the file: it is beyond its length, or "
                        "the end comes before the start."},
    {MCIERR_FLAGS_NOT_COMPATIBLE, "The command was given options that exclude each other."},
    {MCIERR_DUPLICATE_ALIAS, "Another open media device already uses this alias."},
    {MCIERR_BAD_CONSTANT, "The media device does not know the item asked for."},
    {MCIERR_INVALID_FILE, "The file cannot be played: it is damaged, or its content is not of the "
                          "kind its extension promises."},
    {MCIERR_NULL_PARAMETER_BLOCK, "The command needs a parameter record and was given none."},
    {MCIERR_NONAPPLICABLE_FUNCTION, "That command does not apply to this media device."},
    {MCIERR_FILENAME_REQUIRED, "The media device needs the name of a file to open."},
    {MCIERR_SEQ_NOMIDIPRESENT,
     "MIDI files cannot be played because no General MIDI soundfont was found. Install one with "
     "'apt-get install timgm6mb-soundfont', or set the environment variable VODEZARU_SOUNDFONT to "
     "the path of a .sf2 soundfont file."},
    {MCIERR_FILE_READ, "The file exists but could not be read. Check that it is a file and not a "
                       "folder, and that you may read it."},
};

} // namespace

bool mciGetErrorString(std::uint32_t code, char* buffer, std::uint32_t length) {
    if (buffer == nullptr || length == 0)
        return false;
    const auto* entry = std::ranges::find(kErrorTexts, code, &ErrorText::code);
    if (entry == std::end(kErrorTexts)) {
        buffer[0] = '\0';
        return false;
    }
    const std::size_t count = std::min<std::size_t>(entry->text.size(), length - 1);
    std::memcpy(buffer, entry->text.data(), count);
    buffer[count] = '\0';
    return true;
}

} // namespace vd
