#pragma once

namespace vd {

// Makes the classic face names draw with real fonts: "MS Sans Serif" and "Tahoma" from the
// Wine font folder, "Arial" through fontconfig (Liberation Sans). Where a font is missing, a
// similar sans-serif face stands in, so text still shows. GUI thread, once, after the GUI starts.
void RegisterClassicFonts();

} // namespace vd
