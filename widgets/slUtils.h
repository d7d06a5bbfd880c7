#pragma once

// The drawing routines of the styled list box, one concept a file. They keep no state: every
// pen, brush and buffer they need lives for one call, and the canvas's pen, brush and font are as
// before afterwards. GUI thread.
#include "widgets/slBevel.h"         // DrawBevelFrame: 3-D frames and the fill inside
#include "widgets/slBitmapHelpers.h" // RecolorBitmap, CornerPixelColor, DrawBitmapTransparent
#include "widgets/slGradient.h"      // FillGradient
#include "widgets/slMulDiv.h"        // MulDiv
#include "widgets/slStyledText.h"    // DrawStyledText: text with 3-D effects
#include "widgets/slTextMeasure.h"   // CountTextLines, TextLineHeight
