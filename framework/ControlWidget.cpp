#include "framework/ControlWidget.h"

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/FileDrop.h"
#include "framework/Forms.h"
#include "framework/KeyMapping.h"
#include "framework/QtConvert.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QWheelEvent>

// The Qt event bridge: a windowed control's widget presents the control's picture and turns
// Qt's events into the control's routing calls.

namespace vd {

namespace {

TShiftState ShiftOf(const QMouseEvent* e) {
    return ShiftStateOf(e->modifiers(), e->buttons());
}

TPoint ToTPoint(const QPointF& position) {
    const QPoint p = position.toPoint();
    return {p.x(), p.y()};
}

} // namespace

ControlWidget::ControlWidget(TWinControl* control, QWidget* parent)
    : QWidget(parent), control_(control) {}

void ControlWidget::paintEvent(QPaintEvent* event) {
    if (control_ == nullptr)
        return;
    std::vector<TRect> rects;
    for (const QRect& r : event->region())
        rects.push_back(ToTRect(r));
    control_->PaintEvent(rects);
    QPainter p(this);
    QRegion visible = event->region();
    const QWidget* top = window();
    if (top->testAttribute(Qt::WA_TranslucentBackground) && !top->mask().isEmpty()) {
        // Outside the window's shape nothing shows: clear it for the compositor.
        const QRegion shape = top->mask().translated(-mapTo(top, QPoint(0, 0)));
        p.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : visible.subtracted(shape))
            p.fillRect(r, Qt::transparent);
        visible &= shape;
    }
    for (const QRect& r : visible)
        p.drawImage(r, control_->Picture(), r);
}

void ControlWidget::RoutePress(QMouseEvent* event, bool double_click) {
    const std::optional<TMouseButton> button = MouseButtonOf(event->button());
    if (control_ != nullptr && button)
        control_->RouteMouseDown(*button, ShiftOf(event), ToTPoint(event->position()),
                                 double_click);
}

void ControlWidget::mousePressEvent(QMouseEvent* event) {
    RoutePress(event, false);
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    RoutePress(event, true);
}

void ControlWidget::mouseMoveEvent(QMouseEvent* event) {
    if (control_ != nullptr)
        control_->RouteMouseMove(ShiftOf(event), ToTPoint(event->position()));
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<TMouseButton> button = MouseButtonOf(event->button());
    if (control_ != nullptr && button)
        control_->RouteMouseUp(*button, ShiftOf(event), ToTPoint(event->position()));
}

void ControlWidget::enterEvent(QEnterEvent* event) {
    if (control_ == nullptr)
        return;
    control_->RouteEnter();
    // The pointer can come to rest over the window without moving, when a window above it (a
    // message box) closes. Taken as a move there, as the skins' own window system does, so that
    // the button under it is hot and its next click counts.
    if (event->buttons() == Qt::NoButton)
        control_->RouteMouseMove(ShiftStateOf(event->modifiers()), ToTPoint(event->position()));
}

void ControlWidget::leaveEvent(QEvent*) {
    if (control_ != nullptr)
        control_->RouteLeave();
}

void ControlWidget::keyPressEvent(QKeyEvent* event) {
    uint16_t key = VirtualKeyOf(event->key());
    if (control_ == nullptr || key == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    control_->HandleKeyDown(key, ShiftStateOf(event->modifiers()));
    if (key != 0)
        event->ignore(); // not consumed: the parent may use it
}

void ControlWidget::wheelEvent(QWheelEvent* event) {
    if (control_ != nullptr &&
        control_->HandleMouseWheel(ShiftStateOf(event->modifiers()), event->angleDelta().y(),
                                   ToTPoint(event->position())))
        event->accept();
    else
        event->ignore();
}

void ControlWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (control_ != nullptr)
        control_->RouteFocus(true);
}

void ControlWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (control_ != nullptr)
        control_->RouteFocus(false);
}

void ControlWidget::moveEvent(QMoveEvent*) {
    // The window system moves top-level windows: keep the control's position in step.
    if (control_ != nullptr && isWindow()) {
        control_->left_ = x();
        control_->top_ = y();
    }
}

void ControlWidget::dragEnterEvent(QDragEnterEvent* event) {
    entered_files_.clear();
    if (control_ != nullptr && control_->AcceptsFiles())
        entered_files_ = DroppedFiles(*event->mimeData());
    if (!entered_files_.empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void ControlWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (control_ != nullptr && control_->AcceptsFiles())
        event->acceptProposedAction();
    else
        event->ignore();
}

void ControlWidget::dropEvent(QDropEvent* event) {
    if (control_ == nullptr || !control_->AcceptsFiles()) {
        event->ignore();
        return;
    }
    // What the drag carries was read when it came in and does not change on the way; reading it
    // again would wait on a drag source that already quit at the drop.
    std::vector<std::string> files = std::move(entered_files_);
    entered_files_.clear();
    if (files.empty())
        files = DroppedFiles(*event->mimeData());
    if (files.empty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    control_->RouteDrop(files);
}

void ControlWidget::resizeEvent(QResizeEvent*) {
    if (control_ != nullptr && isWindow() &&
        (control_->Width() != width() || control_->Height() != height()))
        control_->SetBounds(control_->Left(), control_->Top(), width(), height());
}

void ControlWidget::closeEvent(QCloseEvent* event) {
    // The window system asks to close a form (close box, Alt+F4, task bar): the form decides,
    // once this event is over, as for its own Close command. Close requests the program makes
    // itself (while quitting) are accepted.
    auto* form = dynamic_cast<TForm*>(control_);
    if (form == nullptr || !isWindow() || !event->spontaneous()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    TApplication::Post([widget = QPointer<ControlWidget>(this)] {
        if (widget == nullptr)
            return;
        if (auto* f = dynamic_cast<TForm*>(widget->Control()))
            f->RequestClose();
    });
}

} // namespace vd
