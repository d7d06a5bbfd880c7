#include "audio/Mci.h"

#include "audio/AudioOutput.h"
#include "audio/MciByteSource.h"
#include "audio/MciDecoder.h"
#include "audio/MciDeviceType.h"
#include "audio/MciError.h"
#include "audio/MciPlayback.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace vd {
namespace {

// The way to the GUI thread: every notice and every end of playback travels through the
// dispatcher. The audio thread reads it too, hence the lock; it is never held while calling.
class NoticePost {
public:
    void set(MciNotifyDispatcher dispatcher) {
        auto shared = dispatcher
                          ? std::make_shared<const MciNotifyDispatcher>(std::move(dispatcher))
                          : nullptr;
        const std::lock_guard lock(mutex_);
        dispatcher_ = std::move(shared);
    }

    // any thread
    void post(std::function<void()> closure) {
        std::shared_ptr<const MciNotifyDispatcher> dispatcher;
        {
            const std::lock_guard lock(mutex_);
            dispatcher = dispatcher_;
        }
        if (dispatcher)
            (*dispatcher)(std::move(closure));
    }

private:
    std::mutex mutex_;
    std::shared_ptr<const MciNotifyDispatcher> dispatcher_;
};

NoticePost& notice_post() {
    static NoticePost post;
    return post;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A play or resume sent with MCI_NOTIFY, waiting for its run to end.
struct PendingNotice {
    std::uintptr_t callback = 0;
    std::uint64_t generation = 0;
};

struct OpenDevice {
    std::uint32_t id = 0;
    std::uint64_t serial = 0; // unique for the process, unlike ids, which are reused
    MciDeviceType type = MciDeviceType::WaveAudio;
    std::string alias;
    std::shared_ptr<MciPlayback> playback;
    bool attached = false;
    std::optional<PendingNotice> pending;
};

// The devices and callbacks; GUI thread only, like the commands. Nothing here is locked: the
// audio thread reaches the layer only by posting closures through the dispatcher.
class MciLayer {
public:
    std::uint32_t send(std::uint32_t device_id, std::uint32_t message, std::uint32_t flags,
                       void* params);

    std::uintptr_t register_callback(MciNotifyCallback callback) {
        const std::uintptr_t handle = next_callback_++;
        callbacks_.emplace(handle, std::move(callback));
        return handle;
    }
    void unregister_callback(std::uintptr_t handle) { callbacks_.erase(handle); }

    void set_output(AudioOutput* output) { output_ = output; }

    std::uint32_t device_id_of(std::string_view alias) const {
        for (const auto& [id, device] : devices_)
            if (!device.alias.empty() && equals_ignoring_case(device.alias, alias))
                return id;
        return 0;
    }

    // GUI thread, from a closure posted by the audio thread.
    void on_playback_end(std::uint64_t serial, std::uint64_t generation);

    void invoke_callback(std::uintptr_t handle, std::uint32_t device_id, std::uint32_t code) {
        const auto found = callbacks_.find(handle);
        if (found == callbacks_.end() || !found->second)
            return;
        // A copy: the callback may unregister itself or send commands.
        const MciNotifyCallback callback = found->second;
        callback(device_id, code);
    }

private:
    std::uint32_t open(std::uint32_t flags, MCI_OPEN_PARMS* params);
    std::uint32_t close(OpenDevice& device);
    std::uint32_t close_all();
    std::uint32_t play(OpenDevice& device, std::uint32_t flags, const MCI_PLAY_PARMS* params);
    std::uint32_t resume(OpenDevice& device, std::uint32_t flags, const MCI_GENERIC_PARMS* params);
    std::uint32_t run(OpenDevice& device, std::uint32_t flags, std::uintptr_t callback,
                      std::uint64_t end_frame);
    std::uint32_t seek(OpenDevice& device, std::uint32_t flags, const MCI_SEEK_PARMS* params);
    std::uint32_t stop(OpenDevice& device);
    std::uint32_t pause(OpenDevice& device);
    static std::uint32_t status(const OpenDevice& device, std::uint32_t flags,
                                MCI_STATUS_PARMS* params);
    static std::uint32_t capabilities(const OpenDevice& device, std::uint32_t flags,
                                      MCI_GETDEVCAPS_PARMS* params);

    // Ends a pending notice with `code` (aborted or superseded).
    void end_pending(OpenDevice& device, std::uint32_t code);
    void attach(OpenDevice& device);
    void detach(OpenDevice& device);
    [[nodiscard]] AudioOutput& output() const {
        return output_ ? *output_ : AudioOutput::instance();
    }

    std::map<std::uint32_t, OpenDevice> devices_;
    std::map<std::uintptr_t, MciNotifyCallback> callbacks_;
    std::uintptr_t next_callback_ = 1;
    std::uint64_t next_serial_ = 1;
    AudioOutput* output_ = nullptr;
};

MciLayer& layer() {
    static MciLayer instance;
    return instance;
}

// Any thread. Delivers `code` to the callback behind `handle` on the GUI thread.
void post_notice(std::uintptr_t handle, std::uint32_t device_id, std::uint32_t code) {
    if (handle == 0)
        return;
    notice_post().post([=] { layer().invoke_callback(handle, device_id, code); });
}

bool is_known_unsupported(std::uint32_t message) {
    switch (message) {
    case MCI_INFO:
    case MCI_SET:
    case MCI_STEP:
    case MCI_RECORD:
    case MCI_SAVE:
    case MCI_CUE:
    case MCI_LOAD:
        return true;
    default:
        return false;
    }
}

bool is_device_command(std::uint32_t message) {
    switch (message) {
    case MCI_CLOSE:
    case MCI_PLAY:
    case MCI_SEEK:
    case MCI_STOP:
    case MCI_PAUSE:
    case MCI_RESUME:
    case MCI_STATUS:
    case MCI_GETDEVCAPS:
        return true;
    default:
        return is_known_unsupported(message);
    }
}

std::uintptr_t callback_of(const void* params) {
    // Every parameter record starts with dwCallback.
    return params == nullptr ? 0 : static_cast<const MCI_GENERIC_PARMS*>(params)->dwCallback;
}

std::uint32_t MciLayer::send(std::uint32_t device_id, std::uint32_t message, std::uint32_t flags,
                             void* params) {
    if ((flags & MCI_NOTIFY) && params == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (message == MCI_OPEN)
        return open(flags, static_cast<MCI_OPEN_PARMS*>(params));
    if (!is_device_command(message))
        return MCIERR_UNRECOGNIZED_COMMAND;
    if (message == MCI_CLOSE && device_id == MCI_ALL_DEVICE_ID) {
        const std::uint32_t result = close_all();
        if (flags & MCI_NOTIFY)
            post_notice(callback_of(params), device_id, MCI_NOTIFY_SUCCESSFUL);
        return result;
    }
    const auto found = devices_.find(device_id);
    if (found == devices_.end())
        return MCIERR_INVALID_DEVICE_ID;
    OpenDevice& device = found->second;

    std::uint32_t result = MCIERR_UNSUPPORTED_FUNCTION;
    switch (message) {
    case MCI_CLOSE:
        result = close(device);
        break;
    case MCI_PLAY:
        // Play and resume deliver their own notice when the run ends.
        return play(device, flags, static_cast<const MCI_PLAY_PARMS*>(params));
    case MCI_RESUME:
        return resume(device, flags, static_cast<const MCI_GENERIC_PARMS*>(params));
    case MCI_SEEK:
        result = seek(device, flags, static_cast<const MCI_SEEK_PARMS*>(params));
        break;
    case MCI_STOP:
        result = stop(device);
        break;
    case MCI_PAUSE:
        result = pause(device);
        break;
    case MCI_STATUS:
        result = status(device, flags, static_cast<MCI_STATUS_PARMS*>(params));
        break;
    case MCI_GETDEVCAPS:
        result = capabilities(device, flags, static_cast<MCI_GETDEVCAPS_PARMS*>(params));
        break;
    default:
        break;
    }
    if (result == 0 && (flags & MCI_NOTIFY))
        post_notice(callback_of(params), device_id, MCI_NOTIFY_SUCCESSFUL);
    return result;
}

std::uint32_t MciLayer::open(std::uint32_t flags, MCI_OPEN_PARMS* params) {
    if (params == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & MCI_OPEN_ELEMENT_ID)
        return MCIERR_UNSUPPORTED_FUNCTION;
    if ((flags & MCI_OPEN_TYPE) && (flags & MCI_OPEN_TYPE_ID))
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    if (!(flags & MCI_OPEN_ELEMENT) || params->lpstrElementName == nullptr ||
        *params->lpstrElementName == '\0')
        return MCIERR_FILENAME_REQUIRED;
    const std::string path = params->lpstrElementName;

    std::optional<MciDeviceType> type;
    if (flags & MCI_OPEN_TYPE_ID) {
        type = mci_device_type_with_id(params->dwDeviceTypeId);
        if (!type)
            return MCIERR_INVALID_DEVICE_NAME;
    } else if (flags & MCI_OPEN_TYPE) {
        if (params->lpstrDeviceType == nullptr)
            return MCIERR_MISSING_PARAMETER;
        type = mci_device_type_named(params->lpstrDeviceType);
        if (!type)
            return MCIERR_INVALID_DEVICE_NAME;
    } else {
        type = mci_device_type_for_path(path);
        if (!type)
            return MCIERR_EXTENSION_NOT_FOUND;
    }

    std::string alias;
    if (flags & MCI_OPEN_ALIAS) {
        if (params->lpstrAlias == nullptr || *params->lpstrAlias == '\0')
            return MCIERR_MISSING_PARAMETER;
        alias = params->lpstrAlias;
        if (device_id_of(alias) != 0)
            return MCIERR_DUPLICATE_ALIAS;
    }

    std::unique_ptr<MciDecoder> decoder;
    try {
        decoder = open_mci_decoder(*type, MciByteSource::open_file(path));
    } catch (const MciError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return MCIERR_OUT_OF_MEMORY;
    } catch (const std::exception&) {
        return MCIERR_INTERNAL;
    }

    std::uint32_t id = 1;
    while (devices_.contains(id))
        ++id;
    if (id >= MCI_ALL_DEVICE_ID)
        return MCIERR_OUT_OF_MEMORY;
    const std::uint64_t serial = next_serial_++;
    auto on_end = [serial](std::uint64_t generation) {
        notice_post().post([=] { layer().on_playback_end(serial, generation); });
    };
    OpenDevice device;
    device.id = id;
    device.serial = serial;
    device.type = *type;
    device.alias = std::move(alias);
    device.playback = std::make_shared<MciPlayback>(std::move(decoder), std::move(on_end));
    devices_.emplace(id, std::move(device));
    params->wDeviceID = id;
    if (flags & MCI_NOTIFY)
        post_notice(params->dwCallback, id, MCI_NOTIFY_SUCCESSFUL);
    return 0;
}

std::uint32_t MciLayer::close(OpenDevice& device) {
    end_pending(device, MCI_NOTIFY_ABORTED);
    device.playback->stop();
    detach(device);
    const std::uint32_t id = device.id; // the key must outlive the element it erases
    devices_.erase(id);
    return 0;
}

std::uint32_t MciLayer::close_all() {
    while (!devices_.empty())
        close(devices_.begin()->second);
    return 0;
}

std::uint32_t MciLayer::play(OpenDevice& device, std::uint32_t flags,
                             const MCI_PLAY_PARMS* params) {
    if ((flags & (MCI_FROM | MCI_TO)) && params == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    MciPlayback& playback = *device.playback;
    const std::uint32_t length_ms = playback.length_ms();
    if ((flags & MCI_FROM) && params->dwFrom > length_ms)
        return MCIERR_OUTOFRANGE;
    if ((flags & MCI_TO) && params->dwTo > length_ms)
        return MCIERR_OUTOFRANGE;
    const std::uint64_t from =
        (flags & MCI_FROM) ? ms_to_output_frames(params->dwFrom) : playback.position_frames();
    const std::uint64_t to =
        (flags & MCI_TO) ? ms_to_output_frames(params->dwTo) : playback.length_frames();
    if (to < from)
        return MCIERR_OUTOFRANGE;
    if (flags & MCI_FROM) {
        detach(device);
        playback.seek(from);
    }
    return run(device, flags, callback_of(params), to);
}

std::uint32_t MciLayer::resume(OpenDevice& device, std::uint32_t flags,
                               const MCI_GENERIC_PARMS* params) {
    // Resume goes on to the end point of the run it continues; a stopped device whose run is
    // complete plays on to the end of the media instead.
    MciPlayback& playback = *device.playback;
    std::uint64_t end = playback.end_frame();
    if (playback.position_frames() >= end)
        end = playback.length_frames();
    return run(device, flags, callback_of(params), end);
}

std::uint32_t MciLayer::run(OpenDevice& device, std::uint32_t flags, std::uintptr_t callback,
                            std::uint64_t end_frame) {
    end_pending(device, MCI_NOTIFY_SUPERSEDED);
    const auto generation = device.playback->play(end_frame);
    if (!generation) {
        // Already at the end point: the run is over as soon as it starts.
        detach(device);
        if (flags & MCI_NOTIFY)
            post_notice(callback, device.id, MCI_NOTIFY_SUCCESSFUL);
        return 0;
    }
    attach(device);
    if (flags & MCI_NOTIFY)
        device.pending = PendingNotice{callback, *generation};
    if (flags & MCI_WAIT) {
        device.playback->wait_while_playing();
        if (device.playback->mode() == PlaybackMode::Stopped)
            detach(device);
        if (device.pending && device.pending->generation == *generation) {
            device.pending.reset();
            post_notice(callback, device.id, MCI_NOTIFY_SUCCESSFUL);
        }
    }
    return 0;
}

std::uint32_t MciLayer::seek(OpenDevice& device, std::uint32_t flags,
                             const MCI_SEEK_PARMS* params) {
    const std::uint32_t targets = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
    if (targets == 0)
        return MCIERR_MISSING_PARAMETER;
    if ((targets & (targets - 1)) != 0)
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    MciPlayback& playback = *device.playback;
    std::uint64_t frame = 0;
    if (flags & MCI_SEEK_TO_END) {
        frame = playback.length_frames();
    } else if (flags & MCI_TO) {
        if (params == nullptr)
            return MCIERR_NULL_PARAMETER_BLOCK;
        if (params->dwTo > playback.length_ms())
            return MCIERR_OUTOFRANGE;
        frame = ms_to_output_frames(params->dwTo);
    }
    end_pending(device, MCI_NOTIFY_ABORTED);
    // Detached first, so that the audio thread never waits on a seek (a long MIDI file replays
    // its controllers up to the target).
    detach(device);
    playback.seek(frame);
    return 0;
}

std::uint32_t MciLayer::stop(OpenDevice& device) {
    end_pending(device, MCI_NOTIFY_ABORTED);
    device.playback->stop();
    detach(device);
    output().flush();
    return 0;
}

std::uint32_t MciLayer::pause(OpenDevice& device) {
    if (device.playback->mode() != PlaybackMode::Playing)
        return 0;
    end_pending(device, MCI_NOTIFY_ABORTED);
    device.playback->pause();
    detach(device);
    output().flush();
    return 0;
}

std::uint32_t MciLayer::status(const OpenDevice& device, std::uint32_t flags,
                               MCI_STATUS_PARMS* params) {
    if (params == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_STATUS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    const MciPlayback& playback = *device.playback;
    switch (params->dwItem) {
    case MCI_STATUS_LENGTH:
        params->dwReturn = playback.length_ms();
        return 0;
    case MCI_STATUS_POSITION:
        params->dwReturn = playback.position_ms();
        return 0;
    case MCI_STATUS_MODE:
        switch (playback.mode()) {
        case PlaybackMode::Playing:
            params->dwReturn = MCI_MODE_PLAY;
            break;
        case PlaybackMode::Paused:
            params->dwReturn = MCI_MODE_PAUSE;
            break;
        case PlaybackMode::Stopped:
            params->dwReturn = MCI_MODE_STOP;
            break;
        }
        return 0;
    case MCI_STATUS_NUMBER_OF_TRACKS:
    case MCI_STATUS_CURRENT_TRACK:
    case MCI_STATUS_MEDIA_PRESENT:
    case MCI_STATUS_READY:
        params->dwReturn = 1;
        return 0;
    case MCI_STATUS_TIME_FORMAT:
        params->dwReturn = MCI_FORMAT_MILLISECONDS;
        return 0;
    default:
        return MCIERR_BAD_CONSTANT;
    }
}

std::uint32_t MciLayer::capabilities(const OpenDevice& device, std::uint32_t flags,
                                     MCI_GETDEVCAPS_PARMS* params) {
    if (params == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_GETDEVCAPS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    switch (params->dwItem) {
    case MCI_GETDEVCAPS_DEVICE_TYPE:
        params->dwReturn = mci_devtype_of(device.type);
        return 0;
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_HAS_AUDIO:
    case MCI_GETDEVCAPS_USES_FILES:
    case MCI_GETDEVCAPS_COMPOUND_DEVICE:
        params->dwReturn = 1;
        return 0;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_HAS_VIDEO:
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_CAN_SAVE:
        params->dwReturn = 0;
        return 0;
    default:
        return MCIERR_BAD_CONSTANT;
    }
}

void MciLayer::on_playback_end(std::uint64_t serial, std::uint64_t generation) {
    const auto found = std::ranges::find_if(
        devices_, [serial](const auto& entry) { return entry.second.serial == serial; });
    if (found == devices_.end())
        return; // closed in the meantime
    OpenDevice& device = found->second;
    if (device.playback->mode() == PlaybackMode::Stopped)
        detach(device);
    if (!device.pending || device.pending->generation != generation)
        return; // a later command replaced the run that ended
    const std::uintptr_t callback = device.pending->callback;
    const std::uint32_t id = device.id;
    device.pending.reset();
    invoke_callback(callback, id, MCI_NOTIFY_SUCCESSFUL);
}

void MciLayer::end_pending(OpenDevice& device, std::uint32_t code) {
    if (!device.pending)
        return;
    post_notice(device.pending->callback, device.id, code);
    device.pending.reset();
}

void MciLayer::attach(OpenDevice& device) {
    if (device.attached)
        return;
    output().attach(device.playback);
    device.attached = true;
}

void MciLayer::detach(OpenDevice& device) {
    if (!device.attached)
        return;
    output().detach(device.playback.get());
    device.attached = false;
}

} // namespace

std::uint32_t mciSendCommand(std::uint32_t device_id, std::uint32_t message, std::uint32_t flags,
                             void* params) {
    return layer().send(device_id, message, flags, params);
}

std::uint32_t mciGetDeviceID(const char* alias) {
    return alias == nullptr ? 0 : layer().device_id_of(alias);
}

std::uintptr_t mciRegisterNotifyCallback(MciNotifyCallback callback) {
    return layer().register_callback(std::move(callback));
}

void mciUnregisterNotifyCallback(std::uintptr_t handle) {
    layer().unregister_callback(handle);
}

void mciSetNotifyDispatcher(MciNotifyDispatcher dispatcher) {
    notice_post().set(std::move(dispatcher));
}

void mciSetAudioOutput(AudioOutput* output) {
    layer().set_output(output);
}

} // namespace vd
