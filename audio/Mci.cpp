#include "audio/Mci.h"

#include "audio/MciLayer.h"

#include <utility>

namespace vd {
namespace {

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

} // namespace

MciLayer& mci_layer() {
    static MciLayer instance;
    return instance;
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
    OpenDevice* const found = devices_.find(device_id);
    if (found == nullptr)
        return MCIERR_INVALID_DEVICE_ID;
    OpenDevice& device = *found;

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

std::uint32_t mciSendCommand(std::uint32_t device_id, std::uint32_t message, std::uint32_t flags,
                             void* params) {
    return mci_layer().send(device_id, message, flags, params);
}

std::uint32_t mciGetDeviceID(const char* alias) {
    return alias == nullptr ? 0 : mci_layer().device_id_of(alias);
}

std::uintptr_t mciRegisterNotifyCallback(MciNotifyCallback callback) {
    return mci_layer().register_callback(std::move(callback));
}

void mciUnregisterNotifyCallback(std::uintptr_t handle) {
    mci_layer().unregister_callback(handle);
}

void mciSetNotifyDispatcher(MciNotifyDispatcher dispatcher) {
    set_gui_thread_dispatcher(std::move(dispatcher));
}

void mciSetAudioOutput(AudioOutput* output) {
    mci_layer().set_output(output);
}

} // namespace vd
