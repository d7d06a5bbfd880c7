#include "framework/Controls.h"

#include "framework/Application.h"
#include "framework/ControlWidget.h"
#include "framework/Cursors.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/WinControlState.h"

#include <algorithm>

// The control tree: parents and children, bounds, visibility and the other properties, and the
// message handling every control shares. Painting is in ControlPaint.cpp, input routing in
// ControlInput.cpp, the Qt side of a window in ControlWidget.cpp.

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
    PerformKind(TControlMessageKind::mkEnabledChanged);
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
    PerformKind(TControlMessageKind::mkTextChanged);
}

void TControl::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    ColorChanged();
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

// ---- TControl: message handling ---------------------------------------------------------------

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

void TControl::KeyDown(uint16_t& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
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

void TControl::PerformKind(TControlMessageKind kind) {
    TControlMessage m;
    m.kind = kind;
    Perform(m);
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

// ---- TGraphicControl --------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() {
    BeginDestruction();
}

// ---- TWinControl ------------------------------------------------------------------------------

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

// ---- TCustomControl ---------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() {
    BeginDestruction();
}

} // namespace vd
