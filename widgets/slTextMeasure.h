#pragma once

#include "framework/Graphics.h"

#include <string_view>

namespace vd {

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

} // namespace vd
