#pragma once

#include "framework/Graphics.h"
#include "widgets/slCommCl.h"
#include "widgets/slTypes.h"

#include <string_view>

namespace vd {

// The drawing routines of the styled list box. They keep no state: every pen, brush and buffer
// they need lives for one call, and the canvas's pen, brush and font are as before afterwards.
// GUI thread.

// a × b ÷ c in 64 bits, rounded to the nearest integer (halves away from zero); -1 when c is 0.
[[nodiscard]] int MulDiv(int a, int b, int c);

// Fills `rect` with the gradient's colours (its stored RGB values) in its orientation, steps and
// fill percentage. The bias orientations draw diagonal lines with a pen of `pen_width` (0 counts
// as 1) and `pen_style`. An inactive gradient, or one of a single step, draws nothing.
void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  int pen_width, TPenStyle pen_style);
// The same with other start and end colours (plain RGB values) in place of the gradient's own.
void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  TColor from_rgb, TColor to_rgb, int pen_width, TPenStyle pen_style);

// Draws the outer and then the inner bevel ring on `rect` (whose right and bottom edges are
// drawn on, not beyond), each side only when in `sides`, with the pen's style and width and the
// current 3-D colours (Current3DColors, else the desktop's); then, unless `no_fill`, fills what
// lies inside with `fill_color`. Returns that inner rectangle, in the same inclusive form.
TRect DrawBevelFrame(TCanvas& canvas, const TRect& rect, TslSides sides, TBevelCut inner,
                     TBevelCut outer, bool bold, TColor fill_color, bool no_fill);

// Draws `text` in `rect` with `font` and the 3-D effect `style`, over a transparent background:
// the effect passes are the desktop's button highlight and shadow colours at small offsets under
// (or, for fstPushed, instead of) the face in the font's colour. `format` takes DrawText flags;
// 0 means one line, centred vertically. Nothing is drawn without a font.
void DrawStyledText(TCanvas& canvas, const TRect& rect, std::string_view text, TslTextStyle style,
                    const TFont* font, unsigned format);

// The number of lines DrawText (without DT_SINGLELINE and DT_EXPANDTABS) breaks `text` into in
// a rectangle `width` wide, found without laying the text out; 0 when unsure. It follows
// DrawText's greedy word wrap on widths added up from a table of character widths. That is exact
// where text is as wide as its characters drawn alone, which each font is checked for on every
// pair of printable ASCII characters once (a few fonts' tables are kept): text holding a pair that
// is not (kerned, or joined into one glyph like "TM" in MS Sans Serif) is left to DrawText, as is
// text with characters beyond printable ASCII, line breaks or prefix marks. A hundred thousand
// playlist names are measured this way in milliseconds rather than seconds. GUI thread.
[[nodiscard]] int CountTextLines(const TFont& font, std::string_view text, int width,
                                 bool word_wrap);
// The height of one line in `font`, as DrawText gives it. GUI thread.
[[nodiscard]] int TextLineHeight(const TFont& font);

// Every pixel exactly `from` becomes `to`.
void RecolorBitmap(TBitmap& bitmap, TColor from, TColor to);
// One corner pixel of a non-empty bitmap: top-left, bottom-left, top-right or bottom-right;
// clNone for ftcUser.
[[nodiscard]] TColor CornerPixelColor(const TBitmap& bitmap, TslAutoTransparentColor mode);
// Copies `bitmap` unscaled to (x, y), leaving out its pixels of the colour `transparent`.
void DrawBitmapTransparent(TCanvas& canvas, const TBitmap& bitmap, int x, int y,
                           TColor transparent);

} // namespace vd
