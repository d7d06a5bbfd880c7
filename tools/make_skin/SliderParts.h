#pragma once

#include <QImage>

namespace vd::art {

// "3. thumb.bmp", 40 x 6: the seek thumb enabled, then disabled. Its rounded corners are the
// mask colour, which the slider leaves transparent.
[[nodiscard]] QImage drawSliderThumb();

// "mod_progress2.bmp", 14 x 4: one lit segment of the row meter with the dark gap after it.
[[nodiscard]] QImage drawMeterCell();

} // namespace vd::art
