#pragma once

#include "framework/Graphics.h"
#include "widgets/slTypes.h"

#include <string_view>

namespace vd {

// Draws `text` in `rect` with `font` and the 3-D effect `style`, over a transparent background:
// the effect passes are the desktop's button highlight and shadow colours at small offsets under
// (or, for fstPushed, instead of) the face in the font's colour. `format` takes DrawText flags;
// 0 means one line, centred vertically. Nothing is drawn without a font. The canvas's brush
// style and font are as before afterwards. GUI thread.
void DrawStyledText(TCanvas& canvas, const TRect& rect, std::string_view text, TslTextStyle style,
                    const TFont* font, unsigned format);

} // namespace vd
