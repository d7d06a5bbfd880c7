#include "audio/MciLayer.h"

#include "audio/MciByteSource.h"
#include "audio/MciError.h"

#include <new>
#include <optional>

namespace vd {
namespace {

// What every open needs: a file, and no flags this layer cannot honour together.
std::uint32_t check_open_request(std::uint32_t flags, const MCI_OPEN_PARMS* params) {
    if (params == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & MCI_OPEN_ELEMENT_ID)
        return MCIERR_UNSUPPORTED_FUNCTION;
    if ((flags & MCI_OPEN_TYPE) && (flags & MCI_OPEN_TYPE_ID))
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    if (!(flags & MCI_OPEN_ELEMENT) || params->lpstrElementName == nullptr ||
        *params->lpstrElementName == '\0')
        return MCIERR_FILENAME_REQUIRED;
    return 0;
}

// The device the request names by id or by name, else the one the file's extension implies.
std::uint32_t choose_device_type(std::uint32_t flags, const MCI_OPEN_PARMS& params,
                                 std::string_view path, MciDeviceType& type) {
    std::optional<MciDeviceType> chosen;
    if (flags & MCI_OPEN_TYPE_ID) {
        chosen = mci_device_type_with_id(params.dwDeviceTypeId);
        if (!chosen)
            return MCIERR_INVALID_DEVICE_NAME;
    } else if (flags & MCI_OPEN_TYPE) {
        if (params.lpstrDeviceType == nullptr)
            return MCIERR_MISSING_PARAMETER;
        chosen = mci_device_type_named(params.lpstrDeviceType);
        if (!chosen)
            return MCIERR_INVALID_DEVICE_NAME;
    } else {
        chosen = mci_device_type_for_path(path);
        if (!chosen)
            return MCIERR_EXTENSION_NOT_FOUND;
    }
    type = *chosen;
    return 0;
}

// The device's decoder on the file; a file it cannot play refuses the open with the device's code.
std::uint32_t open_decoder(MciDeviceType type, const std::string& path,
                           std::unique_ptr<MciDecoder>& decoder) {
    try {
        decoder = open_mci_decoder(type, MciByteSource::open_file(path));
    } catch (const MciError& e) {
        return e.code();
    } catch (const std::bad_alloc&) {
        return MCIERR_OUT_OF_MEMORY;
    } catch (const std::exception&) {
        return MCIERR_INTERNAL;
    }
    return 0;
}

} // namespace

std::uint32_t MciLayer::open(std::uint32_t flags, MCI_OPEN_PARMS* params) {
    if (const std::uint32_t refused = check_open_request(flags, params))
        return refused;
    const std::string path = params->lpstrElementName;
    MciDeviceType type{};
    if (const std::uint32_t refused = choose_device_type(flags, *params, path, type))
        return refused;
    std::string alias;
    if (const std::uint32_t refused = take_alias(flags, *params, alias))
        return refused;
    std::unique_ptr<MciDecoder> decoder;
    if (const std::uint32_t refused = open_decoder(type, path, decoder))
        return refused;
    std::uint32_t id = 0;
    if (const std::uint32_t refused = add_device(type, std::move(alias), std::move(decoder), id))
        return refused;
    params->wDeviceID = id;
    if (flags & MCI_NOTIFY)
        post_notice(params->dwCallback, id, MCI_NOTIFY_SUCCESSFUL);
    return 0;
}

std::uint32_t MciLayer::take_alias(std::uint32_t flags, const MCI_OPEN_PARMS& params,
                                   std::string& alias) const {
    if (!(flags & MCI_OPEN_ALIAS))
        return 0;
    if (params.lpstrAlias == nullptr || *params.lpstrAlias == '\0')
        return MCIERR_MISSING_PARAMETER;
    alias = params.lpstrAlias;
    if (device_id_of(alias) != 0)
        return MCIERR_DUPLICATE_ALIAS;
    return 0;
}

std::uint32_t MciLayer::add_device(MciDeviceType type, std::string alias,
                                   std::unique_ptr<MciDecoder> decoder, std::uint32_t& id) {
    const std::optional<std::uint32_t> free = devices_.free_id();
    if (!free)
        return MCIERR_OUT_OF_MEMORY;
    const std::uint64_t serial = devices_.next_serial();
    auto on_end = [serial](std::uint64_t generation) {
        post_to_gui_thread([=] { mci_layer().on_playback_end(serial, generation); });
    };
    OpenDevice device;
    device.id = *free;
    device.serial = serial;
    device.type = type;
    device.alias = std::move(alias);
    device.playback = std::make_shared<MciPlayback>(std::move(decoder), std::move(on_end));
    devices_.add(std::move(device));
    id = *free;
    return 0;
}

std::uint32_t MciLayer::close(OpenDevice& device) {
    end_pending(device, MCI_NOTIFY_ABORTED);
    drop_held_sound(device);
    device.playback->stop();
    detach(device);
    const std::uint32_t id = device.id; // the key must outlive the element it erases
    devices_.remove(id);
    return 0;
}

std::uint32_t MciLayer::close_all() {
    while (OpenDevice* device = devices_.first())
        close(*device);
    return 0;
}

} // namespace vd
