#pragma once

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "player/PlaybackController.h"

#include <string_view>

namespace vd {

// The lamps beside the position display, in the order of their pictures.
enum class FormatLamp { Off = -1, Mod = 0, Midi = 1, Mpeg = 2, Wave = 3 };

// The lamp of a file of `kind`: MOD for a module; for a media file the lamp of the device the
// media layer opens for `media_path` (MIDI for the sequencer, MPEG, WAVE); Off for anything else.
[[nodiscard]] FormatLamp LampFor(FileKind kind, std::string_view media_path);

// The format lamps: a window-less control that draws the lit picture of one lamp over the skin,
// whose own print shows the lamps unlit. It is an indicator and takes no input, so presses on it
// reach the skin beneath (which drags the window and opens its menu).
class TFormatLamps : public TGraphicControl {
public:
    explicit TFormatLamps(TComponent* owner);

    // The lit pictures, one under another in lamp order, each as large as the control.
    void SetPictures(const TBitmap& pictures);
    [[nodiscard]] const TBitmap& Pictures() const { return pictures_; }

    [[nodiscard]] FormatLamp Lit() const { return lit_; }
    // Lights `lamp` alone (Off: none) and redraws when that changes.
    void SetLit(FormatLamp lamp);

protected:
    void Paint() override;

private:
    TBitmap pictures_;
    FormatLamp lit_ = FormatLamp::Off;
};

} // namespace vd
