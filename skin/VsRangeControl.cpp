#include "skin/VsRangeControl.h"

namespace vd {

void TVsRangeControl::Apply(TVsRange::Effect effect) {
    if (effect == TVsRange::Effect::None)
        return;
    RepaintFace();
    if (effect == TVsRange::Effect::PositionChanged)
        PositionChanged();
}

} // namespace vd
