#pragma once

#include <QImage>

namespace vd::art {

// The menu pictures, eleven 16 x 16 images side by side (176 x 16); transparent pixels are
// the mask colour. Index: 0 minimize, 1 close, 2 previous, 3 play, 4 pause, 5 stop, 6 next,
// 7 blank page, 8 opening folder, 9 diskette, 10 character figure.
[[nodiscard]] QImage drawMenuThumbs();

} // namespace vd::art
