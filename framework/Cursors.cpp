#include "framework/Cursors.h"

#include <utility>

namespace vd {

namespace {

// The cursors other than the arrow.
constexpr std::pair<TCursor, Qt::CursorShape> kCursors[] = {
    {crNone, Qt::BlankCursor},      {crCross, Qt::CrossCursor},
    {crIBeam, Qt::IBeamCursor},     {crHourGlass, Qt::WaitCursor},
    {crDrag, Qt::DragMoveCursor},   {crHandPoint, Qt::PointingHandCursor},
    {crSizeAll, Qt::SizeAllCursor},
};

} // namespace

QCursor PlatformCursor(TCursor cursor) {
    for (const auto& [id, shape] : kCursors)
        if (id == cursor)
            return QCursor(shape);
    return QCursor(Qt::ArrowCursor);
}

} // namespace vd
