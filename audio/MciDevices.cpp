#include "audio/MciDevices.h"

#include "audio/Mci.h"
#include "base/AsciiCase.h"

#include <algorithm>

namespace vd {
namespace {} // namespace

std::optional<std::uint32_t> MciDeviceTable::free_id() const {
    std::uint32_t id = 1;
    while (devices_.contains(id))
        ++id;
    if (id >= MCI_ALL_DEVICE_ID)
        return std::nullopt;
    return id;
}

void MciDeviceTable::add(OpenDevice device) {
    const std::uint32_t id = device.id;
    devices_.emplace(id, std::move(device));
}

void MciDeviceTable::remove(std::uint32_t id) {
    devices_.erase(id);
}

OpenDevice* MciDeviceTable::find(std::uint32_t id) {
    const auto found = devices_.find(id);
    return found == devices_.end() ? nullptr : &found->second;
}

OpenDevice* MciDeviceTable::find_serial(std::uint64_t serial) {
    const auto found = std::ranges::find_if(
        devices_, [serial](const auto& entry) { return entry.second.serial == serial; });
    return found == devices_.end() ? nullptr : &found->second;
}

OpenDevice* MciDeviceTable::first() {
    return devices_.empty() ? nullptr : &devices_.begin()->second;
}

std::uint32_t MciDeviceTable::id_of_alias(std::string_view alias) const {
    for (const auto& [id, device] : devices_)
        if (!device.alias.empty() && EqualsIgnoringAsciiCase(device.alias, alias))
            return id;
    return 0;
}

} // namespace vd
