#include "audio/MciDeviceType.h"

#include "audio/Mci.h"
#include "audio/MpegAudioDecoder.h"
#include "audio/Resampler.h"
#include "audio/SequencerDecoder.h"
#include "audio/WaveAudioDecoder.h"
#include "base/AsciiCase.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vd {
namespace {

constexpr std::array<std::pair<std::string_view, MciDeviceType>, 3> kNames{{
    {"sequencer", MciDeviceType::Sequencer},
    {"waveaudio", MciDeviceType::WaveAudio},
    {"mpegvideo", MciDeviceType::MpegVideo},
}};

} // namespace

std::optional<MciDeviceType> mci_device_type_for_path(std::string_view path) {
    return MediaDeviceOfPath(path);
}

std::optional<MciDeviceType> mci_device_type_named(std::string_view name) {
    for (const auto& [device, type] : kNames)
        if (EqualsIgnoringAsciiCase(name, device))
            return type;
    return std::nullopt;
}

std::optional<MciDeviceType> mci_device_type_with_id(std::uint32_t devtype) {
    switch (devtype) {
    case MCI_DEVTYPE_SEQUENCER:
        return MciDeviceType::Sequencer;
    case MCI_DEVTYPE_WAVEFORM_AUDIO:
        return MciDeviceType::WaveAudio;
    case MCI_DEVTYPE_DIGITAL_VIDEO:
        return MciDeviceType::MpegVideo;
    default:
        return std::nullopt;
    }
}

std::uint32_t mci_devtype_of(MciDeviceType type) {
    switch (type) {
    case MciDeviceType::Sequencer:
        return MCI_DEVTYPE_SEQUENCER;
    case MciDeviceType::WaveAudio:
        return MCI_DEVTYPE_WAVEFORM_AUDIO;
    case MciDeviceType::MpegVideo:
        return MCI_DEVTYPE_DIGITAL_VIDEO;
    }
    return MCI_DEVTYPE_OTHER;
}

std::unique_ptr<MciDecoder> open_mci_decoder(MciDeviceType type,
                                             std::unique_ptr<MciByteSource> bytes) {
    switch (type) {
    case MciDeviceType::Sequencer:
        return std::make_unique<SequencerDecoder>(std::move(bytes));
    case MciDeviceType::WaveAudio:
        return std::make_unique<Resampler>(std::make_unique<WaveAudioDecoder>(std::move(bytes)));
    case MciDeviceType::MpegVideo:
        return std::make_unique<Resampler>(std::make_unique<MpegAudioDecoder>(std::move(bytes)));
    }
    return nullptr;
}

} // namespace vd
