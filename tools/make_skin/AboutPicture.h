#pragma once

#include <QImage>

namespace vd::art {

// The About dialog's picture, 130 x 99: a record with a mint label and a pair of beamed notes,
// on a see-through background (alpha 0) that lets the dialog's grey show, also through the
// record's spindle hole. Few enough colours for a GIF.
[[nodiscard]] QImage drawAboutPicture();

} // namespace vd::art
