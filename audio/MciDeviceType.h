#pragma once

#include "audio/FileTypes.h"
#include "audio/MciByteSource.h"
#include "audio/MciDecoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace vd {

// The device for a file, by its extension as the file-type table gives it (case-insensitive).
[[nodiscard]] std::optional<MciDeviceType> mci_device_type_for_path(std::string_view path);
// The device named "sequencer", "waveaudio" or "mpegvideo" (case-insensitive).
[[nodiscard]] std::optional<MciDeviceType> mci_device_type_named(std::string_view name);
// The device of an MCI_DEVTYPE_* constant.
[[nodiscard]] std::optional<MciDeviceType> mci_device_type_with_id(std::uint32_t devtype);
// The MCI_DEVTYPE_* constant a device reports.
[[nodiscard]] std::uint32_t mci_devtype_of(MciDeviceType type);

// GUI thread. Opens the device's decoder on `bytes`. Throws MciError with the result code for a
// file the device cannot play (MCIERR_INVALID_FILE) or a missing soundfont
// (MCIERR_SEQ_NOMIDIPRESENT).
[[nodiscard]] std::unique_ptr<MciDecoder> open_mci_decoder(MciDeviceType type,
                                                           std::unique_ptr<MciByteSource> bytes);

} // namespace vd
