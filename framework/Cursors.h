#pragma once

#include "framework/Types.h"

#include <QCursor>

namespace vd {

// The platform's cursor of a cursor identifier: crDrag the drag-move cursor, crHourGlass the
// wait cursor, crDefault the arrow.
[[nodiscard]] QCursor PlatformCursor(TCursor cursor);

} // namespace vd
