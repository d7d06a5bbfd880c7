#pragma once

#include "audio/MciDeviceType.h"
#include "audio/MciPlayback.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vd {

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

// The open devices by id, with their aliases. GUI thread only, like the commands.
class MciDeviceTable {
public:
    // The lowest id no open device has, or nullopt when every id below MCI_ALL_DEVICE_ID is taken.
    [[nodiscard]] std::optional<std::uint32_t> free_id() const;
    // A number no other device of this process had or will have.
    [[nodiscard]] std::uint64_t next_serial() { return next_serial_++; }

    // Adds `device` under its id, which free_id() gave.
    void add(OpenDevice device);
    // Forgets the device with this id.
    void remove(std::uint32_t id);

    // The device with this id, or nullptr.
    [[nodiscard]] OpenDevice* find(std::uint32_t id);
    // The device with this serial, or nullptr when it has been closed.
    [[nodiscard]] OpenDevice* find_serial(std::uint64_t serial);
    // The open device with the lowest id, or nullptr when none is open.
    [[nodiscard]] OpenDevice* first();
    // The id of the open device with this alias (case-insensitive), or 0.
    [[nodiscard]] std::uint32_t id_of_alias(std::string_view alias) const;

private:
    std::map<std::uint32_t, OpenDevice> devices_;
    std::uint64_t next_serial_ = 1;
};

} // namespace vd
