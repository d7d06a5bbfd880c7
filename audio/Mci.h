#pragma once

// The media control interface: classic command numbers, flags, parameter records and result codes,
// so that a media component can send the same commands it would send to any MCI. Three compound
// devices exist, chosen by the element's extension (case-insensitive):
//   sequencer  .mid .midi .rmi   Standard MIDI Files (plain or in a RIFF RMID wrapper), FluidSynth
//   waveaudio  .wav              RIFF WAVE files of any common encoding, through libsndfile
//   mpegvideo  .mp1 .mp2 .mp3    MPEG audio layers I-III, through libmpg123
// Lengths and positions are always milliseconds.
//
// Threads: every function here is GUI thread only, except mciGetErrorString (any thread). Playback
// renders in the audio thread; completion notices come back to the GUI thread through the notify
// dispatcher.
//
// Behaviour worth knowing:
// - MCI_PLAY returns at once. With MCI_NOTIFY, MCI_NOTIFY_SUCCESSFUL is delivered when the end (or
//   MCI_TO) is reached; stop, pause, seek or close before that deliver MCI_NOTIFY_ABORTED, and a
//   new play or resume with MCI_NOTIFY delivers MCI_NOTIFY_SUPERSEDED for the old one. Other
//   commands with MCI_NOTIFY deliver MCI_NOTIFY_SUCCESSFUL once they are done. MCI_PLAY or
//   MCI_RESUME with MCI_WAIT blocks until the end is reached (so only where an audio thread
//   renders).
// - MCI_PAUSE holds the position; MCI_STOP halts and keeps the position; MCI_SEEK leaves the
//   device stopped at the new position.
// - MCI_RESUME continues from the current position both when paused and when stopped (so a seek
//   followed by a resume plays on from the new position); it never refuses on an open device.
// - When playback reaches the end the device is stopped and its position equals its length.

#include <cstdint>
#include <functional>

namespace vd {

class AudioOutput;

// Commands.
inline constexpr std::uint32_t MCI_OPEN = 0x0803;
inline constexpr std::uint32_t MCI_CLOSE = 0x0804;
inline constexpr std::uint32_t MCI_PLAY = 0x0806;
inline constexpr std::uint32_t MCI_SEEK = 0x0807;
inline constexpr std::uint32_t MCI_STOP = 0x0808;
inline constexpr std::uint32_t MCI_PAUSE = 0x0809;
inline constexpr std::uint32_t MCI_INFO = 0x080A;
inline constexpr std::uint32_t MCI_GETDEVCAPS = 0x080B;
inline constexpr std::uint32_t MCI_SET = 0x080D;
inline constexpr std::uint32_t MCI_STEP = 0x080E;
inline constexpr std::uint32_t MCI_RECORD = 0x080F;
inline constexpr std::uint32_t MCI_SAVE = 0x0813;
inline constexpr std::uint32_t MCI_STATUS = 0x0814;
inline constexpr std::uint32_t MCI_CUE = 0x0830;
inline constexpr std::uint32_t MCI_LOAD = 0x0850;
inline constexpr std::uint32_t MCI_RESUME = 0x0855;

// The device id that addresses every open device (MCI_CLOSE only).
inline constexpr std::uint32_t MCI_ALL_DEVICE_ID = 0xFFFF;

// Flags common to all commands.
inline constexpr std::uint32_t MCI_NOTIFY = 0x00000001;
inline constexpr std::uint32_t MCI_WAIT = 0x00000002;
inline constexpr std::uint32_t MCI_FROM = 0x00000004;
inline constexpr std::uint32_t MCI_TO = 0x00000008;

// MCI_OPEN flags.
inline constexpr std::uint32_t MCI_OPEN_SHAREABLE = 0x00000100;
inline constexpr std::uint32_t MCI_OPEN_ELEMENT = 0x00000200;
inline constexpr std::uint32_t MCI_OPEN_ALIAS = 0x00000400;
inline constexpr std::uint32_t MCI_OPEN_ELEMENT_ID = 0x00000800;
inline constexpr std::uint32_t MCI_OPEN_TYPE_ID = 0x00001000;
inline constexpr std::uint32_t MCI_OPEN_TYPE = 0x00002000;

// MCI_SEEK flags.
inline constexpr std::uint32_t MCI_SEEK_TO_START = 0x00000100;
inline constexpr std::uint32_t MCI_SEEK_TO_END = 0x00000200;

// MCI_STATUS flag and items.
inline constexpr std::uint32_t MCI_STATUS_ITEM = 0x00000100;
inline constexpr std::uint32_t MCI_STATUS_LENGTH = 1;
inline constexpr std::uint32_t MCI_STATUS_POSITION = 2;
inline constexpr std::uint32_t MCI_STATUS_NUMBER_OF_TRACKS = 3;
inline constexpr std::uint32_t MCI_STATUS_MODE = 4;
inline constexpr std::uint32_t MCI_STATUS_MEDIA_PRESENT = 5;
inline constexpr std::uint32_t MCI_STATUS_TIME_FORMAT = 6;
inline constexpr std::uint32_t MCI_STATUS_READY = 7;
inline constexpr std::uint32_t MCI_STATUS_CURRENT_TRACK = 8;

// Modes returned for MCI_STATUS_MODE.
inline constexpr std::uint32_t MCI_MODE_NOT_READY = 524;
inline constexpr std::uint32_t MCI_MODE_STOP = 525;
inline constexpr std::uint32_t MCI_MODE_PLAY = 526;
inline constexpr std::uint32_t MCI_MODE_RECORD = 527;
inline constexpr std::uint32_t MCI_MODE_SEEK = 528;
inline constexpr std::uint32_t MCI_MODE_PAUSE = 529;
inline constexpr std::uint32_t MCI_MODE_OPEN = 530;

// The only time format there is.
inline constexpr std::uint32_t MCI_FORMAT_MILLISECONDS = 0;

// MCI_GETDEVCAPS flag and items; boolean items return 1 (true) or 0 (false).
inline constexpr std::uint32_t MCI_GETDEVCAPS_ITEM = 0x00000100;
inline constexpr std::uint32_t MCI_GETDEVCAPS_CAN_RECORD = 1;
inline constexpr std::uint32_t MCI_GETDEVCAPS_HAS_AUDIO = 2;
inline constexpr std::uint32_t MCI_GETDEVCAPS_HAS_VIDEO = 3;
inline constexpr std::uint32_t MCI_GETDEVCAPS_DEVICE_TYPE = 4;
inline constexpr std::uint32_t MCI_GETDEVCAPS_USES_FILES = 5;
inline constexpr std::uint32_t MCI_GETDEVCAPS_COMPOUND_DEVICE = 6;
inline constexpr std::uint32_t MCI_GETDEVCAPS_CAN_EJECT = 7;
inline constexpr std::uint32_t MCI_GETDEVCAPS_CAN_PLAY = 8;
inline constexpr std::uint32_t MCI_GETDEVCAPS_CAN_SAVE = 9;

// Device types (MCI_GETDEVCAPS_DEVICE_TYPE, MCI_OPEN_TYPE_ID).
inline constexpr std::uint32_t MCI_DEVTYPE_DIGITAL_VIDEO = 520;
inline constexpr std::uint32_t MCI_DEVTYPE_OTHER = 521;
inline constexpr std::uint32_t MCI_DEVTYPE_WAVEFORM_AUDIO = 522;
inline constexpr std::uint32_t MCI_DEVTYPE_SEQUENCER = 523;

// Notification codes passed to a notify callback.
inline constexpr std::uint32_t MCI_NOTIFY_SUCCESSFUL = 0x0001;
inline constexpr std::uint32_t MCI_NOTIFY_SUPERSEDED = 0x0002;
inline constexpr std::uint32_t MCI_NOTIFY_ABORTED = 0x0004;
inline constexpr std::uint32_t MCI_NOTIFY_FAILURE = 0x0008;

// Result codes: 0 is success.
inline constexpr std::uint32_t MCIERR_BASE = 256;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
inline constexpr std::uint32_t MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
inline constexpr std::uint32_t MCIERR_HARDWARE = MCIERR_BASE + 6;
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
inline constexpr std::uint32_t MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
inline constexpr std::uint32_t MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
inline constexpr std::uint32_t MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
inline constexpr std::uint32_t MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
inline constexpr std::uint32_t MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
inline constexpr std::uint32_t MCIERR_INTERNAL = MCIERR_BASE + 21;
inline constexpr std::uint32_t MCIERR_EXTENSION_NOT_FOUND = MCIERR_BASE + 25;
inline constexpr std::uint32_t MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
inline constexpr std::uint32_t MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
inline constexpr std::uint32_t MCIERR_DUPLICATE_ALIAS = MCIERR_BASE + 33;
inline constexpr std::uint32_t MCIERR_BAD_CONSTANT = MCIERR_BASE + 34;
inline constexpr std::uint32_t MCIERR_INVALID_FILE = MCIERR_BASE + 40;
inline constexpr std::uint32_t MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;
inline constexpr std::uint32_t MCIERR_NONAPPLICABLE_FUNCTION = MCIERR_BASE + 46;
inline constexpr std::uint32_t MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48;
inline constexpr std::uint32_t MCIERR_SEQ_NOMIDIPRESENT = MCIERR_BASE + 87;
inline constexpr std::uint32_t MCIERR_FILE_READ = MCIERR_BASE + 92;

// Parameter records. dwCallback is a handle from mciRegisterNotifyCallback (or 0).
struct MCI_GENERIC_PARMS {
    std::uintptr_t dwCallback = 0;
};

struct MCI_OPEN_PARMS {
    std::uintptr_t dwCallback = 0;
    std::uint32_t wDeviceID = 0;            // out: the new device's id
    const char* lpstrDeviceType = nullptr;  // with MCI_OPEN_TYPE: "sequencer", "waveaudio", ...
    const char* lpstrElementName = nullptr; // with MCI_OPEN_ELEMENT: the file's path (UTF-8)
    const char* lpstrAlias = nullptr;       // with MCI_OPEN_ALIAS
    std::uint32_t dwDeviceTypeId = 0;       // with MCI_OPEN_TYPE_ID: an MCI_DEVTYPE_* value
};

struct MCI_PLAY_PARMS {
    std::uintptr_t dwCallback = 0;
    std::uint32_t dwFrom = 0; // with MCI_FROM, milliseconds
    std::uint32_t dwTo = 0;   // with MCI_TO, milliseconds
};

struct MCI_SEEK_PARMS {
    std::uintptr_t dwCallback = 0;
    std::uint32_t dwTo = 0; // with MCI_TO, milliseconds
};

struct MCI_STATUS_PARMS {
    std::uintptr_t dwCallback = 0;
    std::uintptr_t dwReturn = 0; // out
    std::uint32_t dwItem = 0;
    std::uint32_t dwTrack = 0;
};

struct MCI_GETDEVCAPS_PARMS {
    std::uintptr_t dwCallback = 0;
    std::uint32_t dwReturn = 0; // out
    std::uint32_t dwItem = 0;
};

// GUI thread. Sends one command; `params` points at the command's parameter record (may be null
// where the command needs none). Returns 0 or an MCIERR_* code.
[[nodiscard]] std::uint32_t mciSendCommand(std::uint32_t device_id, std::uint32_t message,
                                           std::uint32_t flags, void* params);

// Any thread. Writes the text of `code` (our own wording, for a person) into `buffer`, cut to
// `length` - 1 bytes and NUL-terminated. Returns false (and an empty text, if there is room) for a
// code that has no text or a zero-length buffer.
bool mciGetErrorString(std::uint32_t code, char* buffer, std::uint32_t length);

// GUI thread. The id of the open device with this alias (case-insensitive), or 0.
[[nodiscard]] std::uint32_t mciGetDeviceID(const char* alias);

// A completion notice: called on the GUI thread with the device's id and an MCI_NOTIFY_* code.
using MciNotifyCallback = std::function<void(std::uint32_t device_id, std::uint32_t notify_code)>;

// GUI thread. Registers `callback`; the returned handle (never 0) goes into the dwCallback field of
// the parameter records sent with MCI_NOTIFY.
[[nodiscard]] std::uintptr_t mciRegisterNotifyCallback(MciNotifyCallback callback);
// GUI thread. Notices still on their way to this handle are dropped.
void mciUnregisterNotifyCallback(std::uintptr_t handle);

// Posts a closure to run later on the GUI thread. Called from the audio thread (end of playback)
// and from the GUI thread, never while the layer holds a lock; it must only queue the closure.
using MciNotifyDispatcher = std::function<void(std::function<void()>)>;

// GUI thread. Installs the dispatcher through which every notice travels; an empty one (the
// default) drops the notices. The end of playback is handled either way: the device is stopped
// with its position at its length, which MCI_STATUS shows at once.
void mciSetNotifyDispatcher(MciNotifyDispatcher dispatcher);

// GUI thread, while no device is open. The output that playing devices attach to; nullptr (the
// default) means AudioOutput::instance(). Tests give their own output and render by hand.
void mciSetAudioOutput(AudioOutput* output);

} // namespace vd
