#include "audio/MciLayer.h"

// The transport commands and the end of a run. A device is attached to the output while it plays
// and detached once it no longer plays, so that stopped devices cost the audio thread nothing.

namespace vd {

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
        drop_held_sound(device);
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
    output().hold(false);
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
    drop_held_sound(device);
    // Detached first, so that the audio thread never waits on a seek (a long MIDI file replays
    // its controllers up to the target).
    detach(device);
    playback.seek(frame);
    return 0;
}

void MciLayer::drop_held_sound(const OpenDevice& device) {
    if (device.playback->mode() == PlaybackMode::Paused) {
        output().flush();
        output().hold(false);
    }
}

std::uint32_t MciLayer::stop(OpenDevice& device) {
    end_pending(device, MCI_NOTIFY_ABORTED);
    device.playback->stop();
    detach(device);
    output().flush();
    output().hold(false);
    return 0;
}

std::uint32_t MciLayer::pause(OpenDevice& device) {
    if (device.playback->mode() != PlaybackMode::Playing)
        return 0;
    end_pending(device, MCI_NOTIFY_ABORTED);
    // Held first, so that nothing rendered after the pause is queued behind what is held; the
    // run that resumes releases it, and playing goes on where it was heard.
    output().hold(true);
    device.playback->pause();
    detach(device);
    return 0;
}

void MciLayer::on_playback_end(std::uint64_t serial, std::uint64_t generation) {
    OpenDevice* const found = devices_.find_serial(serial);
    if (found == nullptr)
        return; // closed in the meantime
    OpenDevice& device = *found;
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

} // namespace vd
