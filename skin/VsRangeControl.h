#pragma once

#include "skin/VsClipGraphicControl.h"
#include "skin/VsSysUtils.h"

#include <cstdint>

namespace vd {

// Base of the skinned controls that show a position between a minimum and a maximum (the slider
// and the progress bar): the three values under TVsRange's rules, and a repaint of the face
// whenever one of them changes. GUI thread.
class TVsRangeControl : public TVsClipGraphicControl {
public:
    using TVsClipGraphicControl::TVsClipGraphicControl;

    [[nodiscard]] int32_t MinValue() const { return range_.Min(); }
    [[nodiscard]] int32_t MaxValue() const { return range_.Max(); }
    [[nodiscard]] int32_t Position() const { return range_.Position(); }
    void SetMinValue(int32_t value) { Apply(range_.SetMin(value)); }
    void SetMaxValue(int32_t value) { Apply(range_.SetMax(value)); }
    void SetPosition(int32_t value) { Apply(range_.SetPosition(value)); }

protected:
    // After the repaint, when the position (not only a limit) has changed.
    virtual void PositionChanged() {}

private:
    void Apply(TVsRange::Effect effect);
    TVsRange range_;
};

} // namespace vd
