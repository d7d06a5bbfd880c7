#include "app/FormatLamps.h"

#include "audio/MciDeviceType.h"

namespace vd {

FormatLamp LampFor(FileKind kind, std::string_view media_path) {
    if (kind == FileKind::Module)
        return FormatLamp::Mod;
    if (kind != FileKind::Media)
        return FormatLamp::Off;
    const std::optional<MciDeviceType> device = mci_device_type_for_path(media_path);
    if (!device)
        return FormatLamp::Off;
    switch (*device) {
    case MciDeviceType::Sequencer:
        return FormatLamp::Midi;
    case MciDeviceType::MpegVideo:
        return FormatLamp::Mpeg;
    case MciDeviceType::WaveAudio:
        return FormatLamp::Wave;
    }
    return FormatLamp::Off;
}

TFormatLamps::TFormatLamps(TComponent* owner) : TGraphicControl(owner) {
    SetEnabled(false);
}

void TFormatLamps::SetPictures(const TBitmap& pictures) {
    pictures_ = pictures;
    if (lit_ != FormatLamp::Off)
        Invalidate();
}

void TFormatLamps::SetLit(FormatLamp lamp) {
    if (lamp == lit_)
        return;
    lit_ = lamp;
    // Going dark needs the skin beneath painted again, so no opaque repaint here.
    Invalidate();
}

void TFormatLamps::Paint() {
    if (lit_ == FormatLamp::Off)
        return;
    const int row = static_cast<int>(lit_);
    if (pictures_.Height() < (row + 1) * Height() || pictures_.Width() < Width())
        return; // no picture for it: the lamp stays as the skin prints it
    Canvas().CopyRect(ClientRect(), pictures_, Bounds(0, row * Height(), Width(), Height()));
}

} // namespace vd
