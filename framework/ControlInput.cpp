#include "framework/Controls.h"

#include "framework/Application.h"
#include "framework/ControlWidget.h"
#include "framework/Cursors.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/WinControlState.h"

#include <QPointer>
#include <QString>

// Input routing: a window takes the mouse, keys, wheel, focus and dropped files from its widget
// and hands them on as messages, mouse input to the child under the pointer (hit testing) or to
// the child that captured it with a left press; hover, the cursor and hints follow the pointer.

namespace vd {

namespace {

TControlMessage MouseMessage(TControlMessageKind kind, TMouseButton button, TShiftState shift,
                             int x, int y) {
    TControlMessage m;
    m.kind = kind;
    m.button = button;
    m.shift = shift;
    m.x = x;
    m.y = y;
    return m;
}

TPopupMenu* PopupMenuOf(TControl* control) {
    for (TControl* c = control; c != nullptr; c = c->Parent())
        if (c->PopupMenu() != nullptr)
            return c->PopupMenu();
    return nullptr;
}

// The form is being moved by a drag of its own: the mouse belongs to that until it ends.
bool WindowDragUnderWay(const TForm* form) {
    return form != nullptr && (form->WindowDragArmed() || form->ManualDragging());
}

// `p` (the window's client coordinates) in the coordinates of `target`, the window or a child.
TPoint PointIn(const TWinControl* window, const TControl* target, TPoint p) {
    return target == window ? p : TPoint{p.X - target->Left(), p.Y - target->Top()};
}

// The pointer left `old` and came over `over` (either may be nullptr).
void TellHoverChange(TControl* old, TControl* over) {
    if (old != nullptr)
        old->HandleMouseLeave();
    if (over != nullptr)
        over->HandleMouseEnter();
}

} // namespace

// ---- TControl: input as messages --------------------------------------------------------------

void TControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y,
                               bool double_click) {
    press_pos_ = {x, y};
    TControlMessage m = MouseMessage(TControlMessageKind::mkMouseDown, button, shift, x, y);
    m.double_click = double_click;
    Perform(m);
}

void TControl::HandleMouseMove(TShiftState shift, int x, int y) {
    SafeCall([&] { MouseMove(shift, x, y); });
}

void TControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y, bool click) {
    TControlMessage m = MouseMessage(TControlMessageKind::mkMouseUp, button, shift, x, y);
    m.click = click;
    Perform(m);
}

void TControl::HandleMouseEnter() {
    PerformKind(TControlMessageKind::mkMouseEnter);
}

void TControl::HandleMouseLeave() {
    PerformKind(TControlMessageKind::mkMouseLeave);
}

void TControl::HandleKeyDown(uint16_t& key, TShiftState shift) {
    TControlMessage m;
    m.kind = TControlMessageKind::mkKeyDown;
    m.shift = shift;
    m.key = &key;
    Perform(m);
}

bool TControl::HandleMouseWheel(TShiftState shift, int wheel_delta, TPoint mouse_pos) {
    bool used = false;
    SafeCall([&] {
        used = MouseWheel(shift, wheel_delta, mouse_pos);
        if (!used && OnMouseWheel)
            used = OnMouseWheel(this, shift, wheel_delta, mouse_pos);
    });
    return used;
}

// ---- TWinControl: hit testing, capture and the cursor -----------------------------------------

TControl* TWinControl::ControlAtPos(TPoint p, bool allow_disabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) != nullptr)
            continue; // windows get their own input
        if (c->Visible() && (allow_disabled || c->Enabled()) && c->BoundsRect().Contains(p))
            return c;
    }
    return nullptr;
}

void TWinControl::ReleaseCapture() {
    state_->capture = nullptr;
    state_->click_pending = false;
    if (state_->widget)
        state_->widget->releaseMouse();
}

void TWinControl::CursorChanged() {
    SyncCursor(state_->hover);
}

void TWinControl::SyncCursor(const TControl* over) {
    const TControl* c = over != nullptr ? over : this;
    TCursor cursor = crDefault;
    while (c != nullptr && (cursor = c->Cursor()) == crDefault)
        c = c->Parent();
    Widget()->setCursor(PlatformCursor(cursor));
}

// ---- TWinControl: mouse routing ---------------------------------------------------------------

void TWinControl::RouteMouseDown(TMouseButton button, TShiftState shift, TPoint p,
                                 bool double_click) {
    State& s = *state_;
    TControl* target = s.capture != nullptr ? s.capture : ControlAtPos(p);
    if (target == nullptr)
        target = this;
    if (button == TMouseButton::mbLeft && s.capture == nullptr) {
        s.capture =
            target != this && (target->ControlStyle() & csCaptureMouse) != 0 ? target : nullptr;
        s.capture_inside = true;
        s.click_pending = (target->ControlStyle() & csClickEvents) != 0;
        s.pressed = target;
        if (target == this)
            s.click_pending = (ControlStyle() & csClickEvents) != 0;
    }
    const TPoint local = PointIn(this, target, p);
    target->HandleMouseDown(button, shift, local.X, local.Y, double_click);
    if (button == TMouseButton::mbRight) {
        if (TPopupMenu* menu = PopupMenuOf(target)) {
            const TPoint screen = ClientToScreen(p);
            SafeCall([&] { menu->Popup(screen.X, screen.Y); });
        }
    }
}

void TWinControl::RouteMouseMove(TShiftState shift, TPoint p) {
    State& s = *state_;
    if (TForm* form = ParentForm(); WindowDragUnderWay(form)) {
        form->WindowDragMove(ClientToScreen(p), (shift & ssLeft) != 0);
        if (WindowDragUnderWay(form))
            return;
    }
    if (s.capture != nullptr) {
        TControl* c = s.capture;
        const bool inside = c->BoundsRect().Contains(p);
        if (inside != s.capture_inside) {
            s.capture_inside = inside;
            if (inside)
                c->HandleMouseEnter();
            else
                c->HandleMouseLeave();
            if (s.capture == nullptr)
                return;
        }
        const TPoint local = PointIn(this, c, p);
        c->HandleMouseMove(shift, local.X, local.Y);
        return;
    }
    TControl* over = ControlAtPos(p);
    if (over != s.hover) {
        TControl* old = s.hover;
        s.hover = over;
        TellHoverChange(old, over);
        SyncCursor(over);
        Widget()->setToolTip(
            over != nullptr && over->ShowHint() ? QString::fromStdString(over->Hint()) : QString());
    }
    TControl* target = over != nullptr ? over : this;
    const TPoint local = PointIn(this, target, p);
    target->HandleMouseMove(shift, local.X, local.Y);
}

void TWinControl::RouteMouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    State& s = *state_;
    if (TForm* form = ParentForm(); WindowDragUnderWay(form)) {
        form->EndManualDrag();
        return;
    }
    TControl* target = s.capture;
    const bool captured = target != nullptr;
    if (target == nullptr)
        target = ControlAtPos(p);
    if (target == nullptr)
        target = this;
    const TPoint local = PointIn(this, target, p);
    // A click is a press and a release on the same control.
    const bool click =
        s.click_pending && target == s.pressed && target->ClientRect().Contains(local);
    s.click_pending = false;
    s.pressed = nullptr;
    s.capture = nullptr;
    target->HandleMouseUp(button, shift, local.X, local.Y, click);
    if (captured) {
        // The pointer may have come to rest over another child than the one that held it. A
        // captured child that the pointer left has been told so already.
        TControl* over = ControlAtPos(p);
        TControl* old = s.hover == target && !s.capture_inside ? nullptr : s.hover;
        s.hover = over;
        if (over != old)
            TellHoverChange(old, over);
        SyncCursor(over);
    }
}

void TWinControl::RouteEnter() {
    HandleMouseEnter();
}

void TWinControl::RouteLeave() {
    State& s = *state_;
    if (s.capture == nullptr && s.hover != nullptr) {
        TControl* old = s.hover;
        s.hover = nullptr;
        old->HandleMouseLeave();
    }
    HandleMouseLeave();
}

// ---- TWinControl: focus and dropped files -----------------------------------------------------

void TWinControl::RouteFocus(bool focused) {
    PerformKind(focused ? TControlMessageKind::mkSetFocus : TControlMessageKind::mkKillFocus);
}

void TWinControl::RouteDrop(const std::vector<std::string>& files) {
    // Handled once the drop is over: the dragging program waits for its end, and the handler
    // may show a message box.
    const QPointer<QWidget> window(Widget());
    TApplication::Post([window, files] {
        auto* widget = dynamic_cast<ControlWidget*>(window.data());
        if (widget == nullptr || widget->Control() == nullptr)
            return;
        TWinControl* control = widget->Control();
        if (control->on_drop_files_)
            control->on_drop_files_(control, files);
    });
}

} // namespace vd
