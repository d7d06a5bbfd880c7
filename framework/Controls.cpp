#include "framework/Controls.h"

#include "framework/Application.h"
#include "framework/ControlWidget.h"
#include "framework/Cursors.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

#include "framework/FileDrop.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>

namespace vd {

void SafeCall(const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        TApplication::HandleException(std::current_exception());
    }
}

// ---- TControl ---------------------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this](TComponent*) { FontChanged(); };
}

TControl::~TControl() {
    BeginDestruction();
    if (parent_ != nullptr)
        parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    if (parent == this)
        throw Exception("A control cannot be its own parent");
    if (parent_ != nullptr)
        parent_->RemoveControl(this);
    if (parent != nullptr)
        parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    const TRect old = BoundsRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged(old);
}

void TControl::BoundsChanged(const TRect& old_bounds) {
    if (parent_ != nullptr && visible_) {
        parent_->InvalidateRect(old_bounds);
        parent_->InvalidateRect(BoundsRect());
    }
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    if (parent_ != nullptr)
        parent_->InvalidateRect(BoundsRect());
}

bool TControl::Showing() const {
    for (const TControl* c = this; c != nullptr; c = c->parent_)
        if (!c->visible_)
            return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    TControlMessage m;
    m.kind = TControlMessageKind::mkEnabledChanged;
    Perform(m);
}

void TControl::SetCursor(TCursor cursor) {
    if (cursor_ == cursor)
        return;
    cursor_ = cursor;
    CursorChanged();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (popup_menu_ == menu)
        return;
    if (popup_menu_ != nullptr)
        RemoveFreeNotification(popup_menu_);
    popup_menu_ = menu;
    if (menu != nullptr)
        FreeNotification(menu);
}

void TControl::SetCaption(std::string_view caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    TControlMessage m;
    m.kind = TControlMessageKind::mkTextChanged;
    Perform(m);
}

void TControl::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    ColorChanged();
}

void TControl::Invalidate() {
    if (parent_ != nullptr)
        parent_->InvalidateRect(BoundsRect());
}

void TControl::Repaint() {
    Invalidate();
    if (parent_ != nullptr)
        parent_->Update();
}

TPoint TControl::ClientToParent(TPoint p, const TWinControl* ancestor) const {
    const TControl* c = this;
    while (c != nullptr && c != ancestor) {
        if (dynamic_cast<const TForm*>(c) != nullptr && c->parent_ == nullptr)
            break; // a top-level window's position is on the screen, not in a parent
        p.X += c->Left();
        p.Y += c->Top();
        c = c->parent_;
    }
    return p;
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TControl* c = this;
    while (c != nullptr) {
        p.X += c->Left();
        p.Y += c->Top();
        c = c->parent_;
    }
    return p;
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint origin = ClientToScreen({0, 0});
    return {p.X - origin.X, p.Y - origin.Y};
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c->parent_ != nullptr)
        c = c->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popup_menu_)
        popup_menu_ = nullptr;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::Perform(TControlMessage& message) {
    if (!WindowProc) {
        DefaultWindowProc(message);
        return;
    }
    // A hook may put the old handling back while it runs: keep this one alive until it returns.
    const TWindowProc proc = WindowProc;
    SafeCall([&] { proc(message); });
}

void TControl::DefaultWindowProc(TControlMessage& m) {
    using enum TControlMessageKind;
    switch (m.kind) {
    case mkMouseDown:
        if (m.double_click && (control_style_ & csDoubleClicks) != 0) {
            SafeCall([&] { DblClick(); });
            m.shift |= ssDouble;
        }
        SafeCall([&] { MouseDown(m.button, m.shift, m.x, m.y); });
        break;
    case mkMouseUp:
        if (m.click)
            SafeCall([&] { Click(); });
        SafeCall([&] { MouseUp(m.button, m.shift, m.x, m.y); });
        break;
    case mkMouseEnter:
        SafeCall([&] { MouseEnter(); });
        break;
    case mkMouseLeave:
        SafeCall([&] { MouseLeave(); });
        break;
    case mkKeyDown:
        if (m.key != nullptr)
            SafeCall([&] { KeyDown(*m.key, m.shift); });
        break;
    case mkEnabledChanged:
        EnabledChanged();
        break;
    case mkTextChanged:
        TextChanged();
        break;
    default:
        break;
    }
}

void TControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y,
                               bool double_click) {
    press_pos_ = {x, y};
    TControlMessage m;
    m.kind = TControlMessageKind::mkMouseDown;
    m.button = button;
    m.shift = shift;
    m.x = x;
    m.y = y;
    m.double_click = double_click;
    Perform(m);
}

void TControl::HandleMouseMove(TShiftState shift, int x, int y) {
    SafeCall([&] { MouseMove(shift, x, y); });
}

void TControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y, bool click) {
    TControlMessage m;
    m.kind = TControlMessageKind::mkMouseUp;
    m.button = button;
    m.shift = shift;
    m.x = x;
    m.y = y;
    m.click = click;
    Perform(m);
}

void TControl::HandleMouseEnter() {
    TControlMessage m;
    m.kind = TControlMessageKind::mkMouseEnter;
    Perform(m);
}

void TControl::HandleMouseLeave() {
    TControlMessage m;
    m.kind = TControlMessageKind::mkMouseLeave;
    Perform(m);
}

void TControl::KeyDown(uint16_t& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
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

// ---- TGraphicControl --------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() {
    BeginDestruction();
}

TCanvas& TGraphicControl::Canvas() {
    if (!canvas_) {
        static QImage nothing;
        QImage* target = Parent() != nullptr ? &Parent()->Picture() : &nothing;
        canvas_ = std::make_unique<TCanvas>(target, TPoint{Left(), Top()}, ClientRect());
    }
    return *canvas_;
}

void TGraphicControl::Repaint() {
    if (Parent() == nullptr)
        return;
    if (!Showing()) {
        // Nothing is on the screen to bring up to date: paint with the parent when it shows.
        Invalidate();
        return;
    }
    if ((ControlStyle() & csOpaque) == 0) {
        TControl::Repaint();
        return;
    }
    if (!Parent()->NeedsPaint(BoundsRect())) {
        Parent()->RepaintControlOpaque(this);
        return;
    }
    // What lies beneath is due to be painted anew (the control is new, moved or grew): an opaque
    // repaint would reuse a picture of it that is out of date, so paint the normal way.
    const TControlStyle style = ControlStyle();
    SetControlStyle(style & ~csOpaque);
    TControl::Repaint();
    SetControlStyle(style);
}

namespace {
std::uint64_t g_graphic_paints = 0; // GUI thread only
} // namespace

std::uint64_t TGraphicControl::PaintCount() {
    return g_graphic_paints;
}

void TGraphicControl::PaintInto(QImage& picture, const TRect& clip) {
    const TRect area = clip.Intersect(BoundsRect());
    if (area.IsEmpty())
        return;
    ++g_graphic_paints;
    // The canvas keeps its font, pen and brush between paints; only where it draws changes.
    TFont font;
    TPen pen;
    TBrush brush;
    if (canvas_) {
        font.Assign(&canvas_->Font());
        pen.Assign(&canvas_->Pen());
        brush.Assign(&canvas_->Brush());
        canvas_.reset();
    }
    canvas_ =
        std::make_unique<TCanvas>(&picture, TPoint{Left(), Top()}, area.Offset(-Left(), -Top()));
    canvas_->Font().Assign(&font);
    canvas_->Pen().Assign(&pen);
    canvas_->Brush().Assign(&brush);
    TControlMessage m;
    m.kind = TControlMessageKind::mkPaint;
    Perform(m);
    canvas_->Release();
}

void TGraphicControl::DefaultWindowProc(TControlMessage& message) {
    if (message.kind == TControlMessageKind::mkPaint) {
        SafeCall([&] { Paint(); });
        return;
    }
    TControl::DefaultWindowProc(message);
}

// ---- TWinControl ------------------------------------------------------------------------------

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

TWinControl::TWinControl(TComponent* owner) : TControl(owner), state_(std::make_unique<State>()) {
    SetWidget(std::make_unique<ControlWidget>(this));
}

TWinControl::~TWinControl() {
    BeginDestruction();
    DestroyComponents();
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
    if (auto* w = dynamic_cast<ControlWidget*>(state_->widget.get()))
        w->Detach();
    state_->widget.reset();
}

void TWinControl::SetWidget(std::unique_ptr<QWidget> widget) {
    state_->widget = std::move(widget);
    QWidget* w = state_->widget.get();
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    w->setAttribute(Qt::WA_NoSystemBackground);
    w->setCursor(PlatformCursor(Cursor()));
}

QWidget* TWinControl::Widget() const {
    return state_->widget.get();
}

QImage& TWinControl::Picture() const {
    return state_->picture;
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return controls_[static_cast<std::size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        win->Widget()->setParent(Widget());
        win->Widget()->setGeometry(win->Left(), win->Top(), win->Width(), win->Height());
        win->Widget()->setVisible(win->Visible());
    } else {
        InvalidateRect(control->BoundsRect());
    }
}

void TWinControl::RemoveControl(TControl* control) {
    if (state_->capture == control)
        state_->capture = nullptr;
    if (state_->hover == control)
        state_->hover = nullptr;
    if (state_->pressed == control)
        state_->pressed = nullptr;
    std::erase(controls_, control);
    control->parent_ = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        win->Widget()->hide();
        win->Widget()->setParent(nullptr);
    } else if (!Destroying()) {
        InvalidateRect(control->BoundsRect());
    }
}

void TWinControl::BoundsChanged(const TRect&) {
    QWidget* w = Widget();
    w->setGeometry(left_, top_, width_, height_);
    if (state_->picture.width() != width_ || state_->picture.height() != height_) {
        state_->picture = QImage(std::max(1, width_), std::max(1, height_), QImage::Format_RGB32);
        state_->picture.fill(0xFF000000u);
        state_->dirty = QRegion(0, 0, width_, height_);
        w->update();
    }
}

void TWinControl::VisibleChanged() {
    Widget()->setVisible(Visible());
}

void TWinControl::EnabledChanged() {
    Widget()->setEnabled(Enabled());
    Invalidate();
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

void TWinControl::Invalidate() {
    InvalidateRect(ClientRect());
}

void TWinControl::InvalidateRect(const TRect& r) {
    const TRect area = r.Intersect(ClientRect());
    if (area.IsEmpty())
        return;
    const QRect q(area.Left, area.Top, area.Width(), area.Height());
    state_->dirty += q;
    Widget()->update(q);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::Update() {
    if (state_->dirty.isEmpty())
        return;
    const QRegion dirty = state_->dirty;
    for (const QRect& r : dirty)
        PaintArea({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    state_->dirty = QRegion();
    Widget()->repaint(dirty);
}

bool TWinControl::NeedsPaint(const TRect& r) const {
    return state_->dirty.intersects(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TWinControl::PaintWindow(TCanvas&) {}

void TWinControl::PaintArea(const TRect& area) {
    QImage& picture = state_->picture;
    {
        TCanvas canvas(&picture, {}, area);
        SafeCall([&] { PaintWindow(canvas); });
    }
    for (TControl* c : controls_) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g != nullptr && g->Visible() && !g->BoundsRect().Intersect(area).IsEmpty())
            g->PaintInto(picture, area);
    }
}

void TWinControl::RepaintControlOpaque(TGraphicControl* control) {
    const TRect area = control->BoundsRect().Intersect(ClientRect());
    if (area.IsEmpty())
        return;
    auto it = std::find(controls_.begin(), controls_.end(), control);
    for (; it != controls_.end(); ++it) {
        auto* g = dynamic_cast<TGraphicControl*>(*it);
        if (g != nullptr && g->Visible() && !g->BoundsRect().Intersect(area).IsEmpty())
            g->PaintInto(state_->picture, area);
    }
    Widget()->repaint(QRect(area.Left, area.Top, area.Width(), area.Height()));
}

void TWinControl::PaintEvent(const std::vector<TRect>& rects) {
    QRegion exposed;
    for (const TRect& r : rects)
        exposed += QRect(r.Left, r.Top, r.Width(), r.Height());
    const QRegion todo = state_->dirty.intersected(exposed);
    for (const QRect& r : todo)
        PaintArea({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    state_->dirty -= todo;
}

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

namespace {

TPopupMenu* PopupMenuOf(TControl* control) {
    for (TControl* c = control; c != nullptr; c = c->Parent())
        if (c->PopupMenu() != nullptr)
            return c->PopupMenu();
    return nullptr;
}

} // namespace

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
    const TPoint local = target == this ? p : TPoint{p.X - target->Left(), p.Y - target->Top()};
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
    if (TForm* form = ParentForm();
        form != nullptr && (form->WindowDragArmed() || form->ManualDragging())) {
        form->WindowDragMove(ClientToScreen(p), (shift & ssLeft) != 0);
        if (form->WindowDragArmed() || form->ManualDragging())
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
        c->HandleMouseMove(shift, p.X - c->Left(), p.Y - c->Top());
        return;
    }
    TControl* over = ControlAtPos(p);
    if (over != s.hover) {
        TControl* old = s.hover;
        s.hover = over;
        if (old != nullptr)
            old->HandleMouseLeave();
        if (over != nullptr)
            over->HandleMouseEnter();
        SyncCursor(over);
        Widget()->setToolTip(
            over != nullptr && over->ShowHint() ? QString::fromStdString(over->Hint()) : QString());
    }
    if (over != nullptr)
        over->HandleMouseMove(shift, p.X - over->Left(), p.Y - over->Top());
    else
        HandleMouseMove(shift, p.X, p.Y);
}

void TWinControl::RouteMouseUp(TMouseButton button, TShiftState shift, TPoint p) {
    State& s = *state_;
    if (TForm* form = ParentForm();
        form != nullptr && (form->WindowDragArmed() || form->ManualDragging())) {
        form->EndManualDrag();
        return;
    }
    TControl* target = s.capture;
    const bool captured = target != nullptr;
    if (target == nullptr)
        target = ControlAtPos(p);
    if (target == nullptr)
        target = this;
    const TPoint local = target == this ? p : TPoint{p.X - target->Left(), p.Y - target->Top()};
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
        if (over != old) {
            if (old != nullptr)
                old->HandleMouseLeave();
            if (over != nullptr)
                over->HandleMouseEnter();
        }
        SyncCursor(over);
    }
}

bool TWinControl::Focused() const {
    return state_->widget && state_->widget->hasFocus();
}

void TWinControl::SetFocus() {
    if (state_->widget)
        state_->widget->setFocus(Qt::OtherFocusReason);
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TWinControl::SetOnDropFiles(TDropFilesEvent handler) {
    on_drop_files_ = std::move(handler);
    Widget()->setAcceptDrops(static_cast<bool>(on_drop_files_));
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

void TWinControl::RouteFocus(bool focused) {
    TControlMessage m;
    m.kind = focused ? TControlMessageKind::mkSetFocus : TControlMessageKind::mkKillFocus;
    Perform(m);
}

void TWinControl::DefaultWindowProc(TControlMessage& message) {
    using enum TControlMessageKind;
    if (message.kind == mkSetFocus || message.kind == mkKillFocus) {
        SafeCall([&] {
            if (message.kind == mkSetFocus)
                DoEnter();
            else
                DoExit();
        });
        return;
    }
    TControl::DefaultWindowProc(message);
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

// ---- ControlWidget ----------------------------------------------------------------------------

namespace {

TShiftState ShiftOf(const QMouseEvent* e) {
    TShiftState s = 0;
    const auto mods = e->modifiers();
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    const auto buttons = e->buttons();
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

bool ButtonOf(const QMouseEvent* e, TMouseButton& button) {
    switch (e->button()) {
    case Qt::LeftButton:
        button = TMouseButton::mbLeft;
        return true;
    case Qt::RightButton:
        button = TMouseButton::mbRight;
        return true;
    case Qt::MiddleButton:
        button = TMouseButton::mbMiddle;
        return true;
    default:
        return false;
    }
}

TPoint PointOf(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

TShiftState ModifiersOf(Qt::KeyboardModifiers mods) {
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    return s;
}

// The classic virtual-key code of a Qt key, 0 for keys without one.
uint16_t VirtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<uint16_t>(key); // the same upper-case characters
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_MediaNext:
        return VK_MEDIA_NEXT_TRACK;
    case Qt::Key_MediaPrevious:
        return VK_MEDIA_PREV_TRACK;
    case Qt::Key_MediaStop:
        return VK_MEDIA_STOP;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaPause:
    case Qt::Key_MediaTogglePlayPause:
        return VK_MEDIA_PLAY_PAUSE;
    default:
        return 0;
    }
}

} // namespace

ControlWidget::ControlWidget(TWinControl* control, QWidget* parent)
    : QWidget(parent), control_(control) {}

void ControlWidget::paintEvent(QPaintEvent* event) {
    if (control_ == nullptr)
        return;
    std::vector<TRect> rects;
    for (const QRect& r : event->region())
        rects.push_back({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
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

void ControlWidget::mousePressEvent(QMouseEvent* event) {
    TMouseButton button{};
    if (control_ != nullptr && ButtonOf(event, button))
        control_->RouteMouseDown(button, ShiftOf(event), PointOf(event), false);
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    TMouseButton button{};
    if (control_ != nullptr && ButtonOf(event, button))
        control_->RouteMouseDown(button, ShiftOf(event), PointOf(event), true);
}

void ControlWidget::mouseMoveEvent(QMouseEvent* event) {
    if (control_ != nullptr)
        control_->RouteMouseMove(ShiftOf(event), PointOf(event));
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event) {
    TMouseButton button{};
    if (control_ != nullptr && ButtonOf(event, button))
        control_->RouteMouseUp(button, ShiftOf(event), PointOf(event));
}

void ControlWidget::enterEvent(QEnterEvent* event) {
    if (control_ == nullptr)
        return;
    control_->RouteEnter();
    // The pointer can come to rest over the window without moving, when a window above it (a
    // message box) closes. Taken as a move there, as the skins' own window system does, so that
    // the button under it is hot and its next click counts.
    if (event->buttons() == Qt::NoButton) {
        const QPoint p = event->position().toPoint();
        control_->RouteMouseMove(ModifiersOf(event->modifiers()), {p.x(), p.y()});
    }
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
    control_->HandleKeyDown(key, ModifiersOf(event->modifiers()));
    if (key != 0)
        event->ignore(); // not consumed: the parent may use it
}

void ControlWidget::wheelEvent(QWheelEvent* event) {
    const QPoint p = event->position().toPoint();
    if (control_ != nullptr && control_->HandleMouseWheel(ModifiersOf(event->modifiers()),
                                                          event->angleDelta().y(), {p.x(), p.y()}))
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

// ---- TCustomControl ---------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() {
    BeginDestruction();
}

TCanvas& TCustomControl::Canvas() {
    if (paint_canvas_ != nullptr)
        return *paint_canvas_;
    if (!idle_canvas_)
        idle_canvas_ = std::make_unique<TCanvas>(&Picture());
    return *idle_canvas_;
}

void TCustomControl::PaintWindow(TCanvas& canvas) {
    if (idle_canvas_)
        idle_canvas_->Release();
    paint_canvas_ = &canvas;
    struct Reset {
        TCanvas*& c;
        ~Reset() { c = nullptr; }
    } reset{paint_canvas_};
    Paint();
}

} // namespace vd
