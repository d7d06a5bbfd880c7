#pragma once

#include <QImage>

namespace vd::art {

// The application and tray icon at `size` x `size` pixels (ARGB): the skin's graphite tile
// carrying its mint-labelled record.
[[nodiscard]] QImage drawAppIcon(int size);

} // namespace vd::art
