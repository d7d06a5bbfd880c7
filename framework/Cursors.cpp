#include "framework/Cursors.h"

namespace vd {

QCursor PlatformCursor(TCursor cursor) {
    switch (cursor) {
    case crNone:
        return QCursor(Qt::BlankCursor);
    case crCross:
        return QCursor(Qt::CrossCursor);
    case crIBeam:
        return QCursor(Qt::IBeamCursor);
    case crHourGlass:
        return QCursor(Qt::WaitCursor);
    case crDrag:
        return QCursor(Qt::DragMoveCursor);
    case crHandPoint:
        return QCursor(Qt::PointingHandCursor);
    case crSizeAll:
        return QCursor(Qt::SizeAllCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

} // namespace vd
