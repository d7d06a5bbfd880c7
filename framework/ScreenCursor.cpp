#include "framework/ScreenCursor.h"

#include "framework/Cursors.h"

#include <QGuiApplication>

namespace vd {

TScreenCursorScope::TScreenCursorScope(TCursor cursor) {
    if (QGuiApplication::instance() != nullptr) {
        QGuiApplication::setOverrideCursor(PlatformCursor(cursor));
        active_ = true;
    }
}

TScreenCursorScope::~TScreenCursorScope() {
    if (active_)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace vd
