#pragma once

// framework: what a windowed control keeps beyond its header: its widget, its picture and the
// part of it waiting to be painted, and the state of the mouse over its children. Shared by the
// files that implement TWinControl (Controls.cpp, ControlPaint.cpp, ControlInput.cpp).

#include "framework/Controls.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <memory>

namespace vd {

struct TWinControl::State {
    std::unique_ptr<QWidget> widget;
    QImage picture;
    QRegion dirty;
    TControl* capture = nullptr; // the child holding a left press
    bool capture_inside = false; // the pointer is over the capturing child
    bool click_pending = false;  // the press may still become a click
    TControl* pressed = nullptr; // where that press began
    TControl* hover = nullptr;   // the child under the pointer
};

} // namespace vd
