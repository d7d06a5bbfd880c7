#pragma once

// The inside of the media control layer (audio/Mci.h is its face). One class, its parts in files
// by concept:
//   Mci.cpp           the public functions and the dispatch of a command to its handler
//   MciDevices.cpp    the table of open devices (ids, aliases, serials)
//   MciNotices.cpp    notify callbacks and the way of notices to the GUI thread
//   MciOpenClose.cpp  MCI_OPEN (in named steps) and MCI_CLOSE
//   MciTransport.cpp  MCI_PLAY, MCI_RESUME, MCI_SEEK, MCI_STOP, MCI_PAUSE and the end of a run
//   MciStatus.cpp     MCI_STATUS and MCI_GETDEVCAPS

#include "audio/AudioOutput.h"
#include "audio/Mci.h"
#include "audio/MciDecoder.h"
#include "audio/MciDevices.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace vd {

// The devices and callbacks; GUI thread only, like the commands. Nothing here is locked: the
// audio thread reaches the layer only by posting closures through the dispatcher.
class MciLayer {
public:
    std::uint32_t send(std::uint32_t device_id, std::uint32_t message, std::uint32_t flags,
                       void* params);

    std::uintptr_t register_callback(MciNotifyCallback callback);
    void unregister_callback(std::uintptr_t handle);
    void invoke_callback(std::uintptr_t handle, std::uint32_t device_id, std::uint32_t code);

    void set_output(AudioOutput* output) { output_ = output; }

    [[nodiscard]] std::uint32_t device_id_of(std::string_view alias) const {
        return devices_.id_of_alias(alias);
    }

    // GUI thread, from a closure posted by the audio thread.
    void on_playback_end(std::uint64_t serial, std::uint64_t generation);

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
    // A paused device's sound held by the output is dropped and the output released: what
    // follows (a seek, a close) must not be heard after it.
    void drop_held_sound(const OpenDevice& device);
    static std::uint32_t status(const OpenDevice& device, std::uint32_t flags,
                                MCI_STATUS_PARMS* params);
    static std::uint32_t capabilities(const OpenDevice& device, std::uint32_t flags,
                                      MCI_GETDEVCAPS_PARMS* params);

    // Steps of open(); each returns 0 or the MCIERR_* code that refuses the open.
    // The alias the request gives ("" without MCI_OPEN_ALIAS); no open device may have it.
    std::uint32_t take_alias(std::uint32_t flags, const MCI_OPEN_PARMS& params,
                             std::string& alias) const;
    // Enters a device playing `decoder` into the table under a free id.
    std::uint32_t add_device(MciDeviceType type, std::string alias,
                             std::unique_ptr<MciDecoder> decoder, std::uint32_t& id);

    // Ends a pending notice with `code` (aborted or superseded).
    void end_pending(OpenDevice& device, std::uint32_t code);
    void attach(OpenDevice& device);
    void detach(OpenDevice& device);
    [[nodiscard]] AudioOutput& output() const {
        return output_ ? *output_ : AudioOutput::instance();
    }

    MciDeviceTable devices_;
    std::map<std::uintptr_t, MciNotifyCallback> callbacks_;
    std::uintptr_t next_callback_ = 1;
    AudioOutput* output_ = nullptr;
};

// GUI thread. The one layer of the process.
MciLayer& mci_layer();

// any thread. Runs `closure` on the GUI thread through the dispatcher (or drops it, without one).
void post_to_gui_thread(std::function<void()> closure);
// GUI thread. The dispatcher post_to_gui_thread uses from now on.
void set_gui_thread_dispatcher(MciNotifyDispatcher dispatcher);
// any thread. Delivers `code` to the callback behind `handle` on the GUI thread.
void post_notice(std::uintptr_t handle, std::uint32_t device_id, std::uint32_t code);
// The dwCallback of any parameter record (0 without one).
[[nodiscard]] std::uintptr_t callback_of(const void* params);

} // namespace vd
