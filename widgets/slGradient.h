#pragma once

#include "framework/Graphics.h"
#include "widgets/slCommCl.h"
#include "widgets/slTypes.h"

namespace vd {

// Fills `rect` with the gradient's colours (its stored RGB values) in its orientation, steps and
// fill percentage. The bias orientations draw diagonal lines with a pen of `pen_width` (0 counts
// as 1) and `pen_style`. An inactive gradient, or one of a single step, draws nothing. The
// canvas's pen and brush are as before afterwards. GUI thread.
void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  int pen_width, TPenStyle pen_style);
// The same with other start and end colours (plain RGB values) in place of the gradient's own.
void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  TColor from_rgb, TColor to_rgb, int pen_width, TPenStyle pen_style);

} // namespace vd
