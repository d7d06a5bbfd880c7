#pragma once

#include "framework/Component.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vd {

// An error of the media component: a device that cannot be opened, or a command to a device that
// is not open.
class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

// The media control layer the component talks to: the system's, or a recording fake in tests.
struct TMciCommandLayer {
    std::function<uint32_t(uint32_t device_id, uint32_t message, uint32_t flags, void* params)>
        send_command;
    std::function<bool(uint32_t code, char* buffer, uint32_t length)> error_string;
    // The system's media control layer.
    static TMciCommandLayer System();
};

enum class TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// The media component: owns at most one open media device, opened for FileName, and drives it
// with the media control commands. Lengths and positions are the device's unit (milliseconds).
class TMediaPlayer : public TComponent {
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    [[nodiscard]] const std::string& FileName() const { return file_name_; }
    void SetFileName(std::string path) { file_name_ = std::move(path); }
    [[nodiscard]] bool AutoRewind() const { return auto_rewind_; }
    void SetAutoRewind(bool value) { auto_rewind_ = value; }
    [[nodiscard]] bool IsOpen() const { return open_; }
    [[nodiscard]] uint32_t DeviceID() const { return device_id_; }
    [[nodiscard]] uint32_t Error() const { return error_; }
    // Replaces the command layer; only while no device is open.
    void SetCommandLayer(TMciCommandLayer layer) { mci_ = std::move(layer); }

    // Opens FileName (closing an open device first); fails with EMCIDeviceError carrying the
    // device's error text.
    void Open();
    void Close();
    void Play();
    void Rewind();
    void Stop();
    // Pauses a playing device, resumes a paused one.
    void Pause();
    // Resumes; plays from the current position where the device refuses.
    void Resume();
    void Seek(uint32_t position);
    [[nodiscard]] uint32_t Length();
    [[nodiscard]] uint32_t Position();
    [[nodiscard]] TMPModes Mode();

private:
    void CheckOpen() const;
    uint32_t Status(uint32_t item);
    uint32_t Send(uint32_t message, uint32_t flags, void* params) {
        return mci_.send_command(device_id_, message, flags, params);
    }
    TMciCommandLayer mci_ = TMciCommandLayer::System();
    std::string file_name_;
    bool open_ = false;
    uint32_t device_id_ = 0;
    uint32_t error_ = 0;
    bool auto_rewind_ = true;
    std::uintptr_t callback_ = 0;
};

} // namespace vd
