#pragma once

#include "framework/Graphics.h"
#include "widgets/slTypes.h"

namespace vd {

// Draws the outer and then the inner bevel ring on `rect` (whose right and bottom edges are
// drawn on, not beyond), each side only when in `sides`, with the pen's style and width and the
// current 3-D colours (Current3DColors, else the desktop's); then, unless `no_fill`, fills what
// lies inside with `fill_color`. Returns that inner rectangle, in the same inclusive form. The
// canvas's pen and brush are as before afterwards. GUI thread.
TRect DrawBevelFrame(TCanvas& canvas, const TRect& rect, TslSides sides, TBevelCut inner,
                     TBevelCut outer, bool bold, TColor fill_color, bool no_fill);

} // namespace vd
