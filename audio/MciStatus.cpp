#include "audio/MciLayer.h"

// The queries: they read what the playback publishes and never wait for the audio thread.

namespace vd {

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

} // namespace vd
