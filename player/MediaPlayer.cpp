#include "player/MediaPlayer.h"

#include "audio/Mci.h"

#include <vector>

namespace vd {

namespace {

const char* const kNotOpen = "Media device is not open: open a file first.";
const char* const kOpenFailed = "The media file cannot be opened.";

} // namespace

TMciCommandLayer TMciCommandLayer::System() {
    return {mciSendCommand, mciGetErrorString};
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TComponent(owner) {
    // The completion notice only updates the component's own buttons, which are hidden.
    callback_ = mciRegisterNotifyCallback([](uint32_t, uint32_t) {});
}

TMediaPlayer::~TMediaPlayer() {
    BeginDestruction();
    if (device_id_ != 0) {
        MCI_GENERIC_PARMS parms{callback_};
        (void)Send(MCI_CLOSE, MCI_WAIT, &parms);
    }
    mciUnregisterNotifyCallback(callback_);
}

void TMediaPlayer::CheckOpen() const {
    if (!open_)
        throw EMCIDeviceError(kNotOpen);
}

void TMediaPlayer::Open() {
    if (open_)
        Close();
    MCI_OPEN_PARMS parms;
    parms.dwCallback = callback_;
    parms.lpstrElementName = file_name_.c_str();
    error_ = mci_.send_command(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, &parms);
    if (error_ != 0) {
        std::vector<char> text(4096, '\0');
        if (mci_.error_string(error_, text.data(), static_cast<uint32_t>(text.size())) &&
            text[0] != '\0')
            throw EMCIDeviceError(text.data());
        throw EMCIDeviceError(kOpenFailed);
    }
    open_ = true;
    device_id_ = parms.wDeviceID;
    // A device is asked at open for its length and its capabilities, as the component does for
    // its own step and transport buttons; those stay hidden here, so the answers are not kept
    // (each command's result still becomes the last error).
    (void)Length();
    for (const uint32_t item :
         {MCI_GETDEVCAPS_CAN_PLAY, MCI_GETDEVCAPS_CAN_RECORD, MCI_GETDEVCAPS_CAN_EJECT,
          MCI_GETDEVCAPS_HAS_VIDEO, MCI_GETDEVCAPS_DEVICE_TYPE}) {
        MCI_GETDEVCAPS_PARMS caps;
        caps.dwItem = item;
        error_ = Send(MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps);
    }
}

void TMediaPlayer::Close() {
    if (device_id_ == 0)
        return;
    MCI_GENERIC_PARMS parms{callback_};
    error_ = Send(MCI_CLOSE, MCI_WAIT, &parms);
    if (error_ == 0) {
        open_ = false;
        device_id_ = 0;
    }
}

void TMediaPlayer::Play() {
    CheckOpen();
    if (auto_rewind_ && Position() == Length())
        Rewind();
    MCI_PLAY_PARMS parms;
    parms.dwCallback = callback_;
    error_ = Send(MCI_PLAY, MCI_NOTIFY, &parms);
}

void TMediaPlayer::Rewind() {
    CheckOpen();
    MCI_SEEK_PARMS parms;
    error_ = Send(MCI_SEEK, MCI_WAIT | MCI_SEEK_TO_START, &parms);
}

void TMediaPlayer::Stop() {
    CheckOpen();
    MCI_GENERIC_PARMS parms{callback_};
    error_ = Send(MCI_STOP, MCI_WAIT, &parms);
}

void TMediaPlayer::Pause() {
    CheckOpen();
    const TMPModes mode = Mode();
    if (mode == TMPModes::mpPlaying) {
        MCI_GENERIC_PARMS parms{callback_};
        error_ = Send(MCI_PAUSE, MCI_WAIT, &parms);
    } else if (mode == TMPModes::mpPaused) {
        Resume();
    }
}

void TMediaPlayer::Resume() {
    CheckOpen();
    MCI_GENERIC_PARMS parms{callback_};
    error_ = Send(MCI_RESUME, MCI_NOTIFY, &parms);
    if (error_ != 0)
        Play();
}

void TMediaPlayer::Seek(uint32_t position) {
    CheckOpen();
    MCI_SEEK_PARMS parms;
    parms.dwCallback = callback_;
    parms.dwTo = position;
    error_ = Send(MCI_SEEK, MCI_WAIT | MCI_TO, &parms);
}

uint32_t TMediaPlayer::Status(uint32_t item) {
    MCI_STATUS_PARMS parms;
    parms.dwItem = item;
    error_ = Send(MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &parms);
    return static_cast<uint32_t>(parms.dwReturn);
}

uint32_t TMediaPlayer::Length() {
    CheckOpen();
    return Status(MCI_STATUS_LENGTH);
}

uint32_t TMediaPlayer::Position() {
    return Status(MCI_STATUS_POSITION);
}

TMPModes TMediaPlayer::Mode() {
    const uint32_t mode = Status(MCI_STATUS_MODE);
    if (mode < MCI_MODE_NOT_READY || mode > MCI_MODE_OPEN)
        return TMPModes::mpNotReady;
    return static_cast<TMPModes>(mode - MCI_MODE_NOT_READY);
}

} // namespace vd
