#pragma once

#include "framework/Graphics.h"
#include "widgets/slTypes.h"

namespace vd {

// Every pixel exactly `from` becomes `to`. GUI thread.
void RecolorBitmap(TBitmap& bitmap, TColor from, TColor to);
// One corner pixel of a non-empty bitmap: top-left, bottom-left, top-right or bottom-right;
// clNone for ftcUser.
[[nodiscard]] TColor CornerPixelColor(const TBitmap& bitmap, TslAutoTransparentColor mode);
// Copies `bitmap` unscaled to (x, y), leaving out its pixels of the colour `transparent`; the
// canvas's brush style is as before afterwards. GUI thread.
void DrawBitmapTransparent(TCanvas& canvas, const TBitmap& bitmap, int x, int y,
                           TColor transparent);

} // namespace vd
