#include "framework/Forms.h"

#include "framework/Application.h"
#include "framework/Region.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace vd {

struct TForm::ModalState {
    QEventLoop loop;
    TModalResult result = TModalResult::mrNone;
};

// A modal form ends its modal show however it is closed: a close of its window, whoever asks for
// it, or Escape, goes through Close like the form's own buttons do. Left to the window, a close
// would only hide it and leave the modal loop running.
class TForm::WindowEvents : public QObject {
public:
    explicit WindowEvents(TForm& form) : form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != form_.Widget() || !form_.Modal())
            return false;
        if (event->type() == QEvent::Close) {
            event->ignore();
            form_.Close();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            form_.Close();
            return true;
        }
        return false;
    }

private:
    TForm& form_;
};

TForm::TForm(TComponent* owner)
    : TCustomControl(owner), window_events_(std::make_unique<WindowEvents>(*this)) {
    SetVisible(false);
    SetColor(clBtnFace);
    ApplyWindowFlags();
    Widget()->installEventFilter(window_events_.get());
}

TForm::~TForm() {
    Widget()->removeEventFilter(window_events_.get());
    BeginDestruction();
    // Owned components go while the form is still whole: they may call back into it.
    DestroyComponents();
}

void TForm::ApplyWindowFlags() {
    QWidget* w = Widget();
    const bool shown = w->isVisible();
    Qt::WindowFlags flags = Qt::Window;
    switch (border_style_) {
    case TFormBorderStyle::bsNone:
        flags |= Qt::FramelessWindowHint;
        break;
    case TFormBorderStyle::bsToolWindow:
        flags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case TFormBorderStyle::bsDialog:
    case TFormBorderStyle::bsSingle:
        flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        break;
    case TFormBorderStyle::bsSizeable:
        break;
    }
    w->setWindowFlags(flags);
    if (border_style_ != TFormBorderStyle::bsSizeable)
        w->setFixedSize(std::max(1, Width()), std::max(1, Height()));
    if (shown)
        w->show();
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (border_style_ == style)
        return;
    border_style_ = style;
    ApplyWindowFlags();
}

void TForm::BoundsChanged(const TRect& old_bounds) {
    TCustomControl::BoundsChanged(old_bounds);
    if (border_style_ != TFormBorderStyle::bsSizeable)
        Widget()->setFixedSize(std::max(1, Width()), std::max(1, Height()));
}

int TForm::Left() const {
    return left_;
}
int TForm::Top() const {
    return top_;
}

void TForm::Show() {
    if (position_ != TPosition::poDesigned && !Visible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            SetBounds(area.left() + (area.width() - Width()) / 2,
                      area.top() + (area.height() - Height()) / 2, Width(), Height());
        }
    }
    SetVisible(true);
    Widget()->raise();
    Widget()->activateWindow();
}

void TForm::Hide() {
    SetVisible(false);
}

void TForm::Minimize() {
    Widget()->showMinimized();
}

void TForm::VisibleChanged() {
    if (Visible()) {
        Widget()->move(left_, top_);
        Widget()->show();
    } else {
        Widget()->hide();
    }
}

void TForm::Close() {
    if (OnClose)
        OnClose(this);
    Hide();
    if (modal_) {
        if (modal_->result == TModalResult::mrNone)
            modal_->result = TModalResult::mrCancel;
        modal_->loop.quit();
        return;
    }
    if (TApplication* app = TApplication::Instance(); app != nullptr && app->MainForm() == this)
        app->Terminate();
}

void TForm::RequestClose() {
    if (OnCloseRequest) {
        SafeCall([this] { OnCloseRequest(this); });
        return;
    }
    Close();
}

TModalResult TForm::ShowModal() {
    if (modal_) {
        // A second modal loop would replace the state the first one runs on.
        Widget()->raise();
        Widget()->activateWindow();
        return TModalResult::mrNone;
    }
    modal_ = std::make_unique<ModalState>();
    Widget()->setWindowModality(Qt::ApplicationModal);
    Show();
    modal_->loop.exec();
    const TModalResult result = modal_->result;
    modal_.reset();
    Widget()->setWindowModality(Qt::NonModal);
    Hide();
    return result;
}

void TForm::SetModalResult(TModalResult result) {
    if (modal_) {
        modal_->result = result;
        if (result != TModalResult::mrNone)
            Close();
    }
}

void TForm::SetWindowRegion(const TRegion* region) {
    QWidget* w = Widget();
    if (region == nullptr || region->Empty()) {
        w->clearMask();
        has_region_ = false;
    } else {
        // Where a compositor runs, the pixels outside the shape are also made transparent, which
        // needs a window with an alpha channel: that is chosen when the window is created.
        if (!w->testAttribute(Qt::WA_WState_Created))
            w->setAttribute(Qt::WA_TranslucentBackground);
        w->setMask(region->Platform());
        has_region_ = true;
    }
}

bool TForm::HasWindowRegion() const {
    return has_region_;
}

bool DragThresholdPassed(TPoint press, TPoint now) {
    constexpr int kThreshold = 3;
    const int64_t dx = int64_t{now.X} - press.X;
    const int64_t dy = int64_t{now.Y} - press.Y;
    return dx <= -kThreshold || dx >= kThreshold || dy <= -kThreshold || dy >= kThreshold;
}

void TForm::BeginWindowDrag(TPoint press) {
    // Asking the window system at the press would be too early: after a very short click its
    // release may reach the window manager before the move does, which then waits for another
    // release and keeps the window stuck to the pointer.
    drag_ = WindowDrag::armed;
    drag_press_ = press;
    drag_offset_ = {press.X - left_, press.Y - top_};
}

void TForm::WindowDragMove(TPoint screen, bool left_held) {
    if (!left_held) { // the release went elsewhere
        drag_ = WindowDrag::none;
        return;
    }
    if (drag_ == WindowDrag::manual) {
        ManualDragTo();
        return;
    }
    if (drag_ != WindowDrag::armed || !DragThresholdPassed(drag_press_, screen))
        return;
    // Catch up with the pointer first, so the spot pressed stays under it during the move.
    SetBounds(screen.X - drag_offset_.X, screen.Y - drag_offset_.Y, Width(), Height());
    Widget()->move(left_, top_);
    QWidget* w = Widget();
    w->createWinId();
    QWindow* window = w->windowHandle();
    if (window != nullptr && window->startSystemMove()) {
        drag_ = WindowDrag::none;
        return;
    }
    // The window system does not move windows for us here: follow the pointer ourselves.
    drag_ = WindowDrag::manual;
}

void TForm::ManualDragTo() {
    // Where the pointer really is now: the event's position lags behind a window that moves.
    const QPoint cursor = QCursor::pos();
    SetBounds(cursor.x() - drag_offset_.X, cursor.y() - drag_offset_.Y, Width(), Height());
    Widget()->move(left_, top_);
}

void TForm::DoCreate() {
    if (OnCreate)
        SafeCall([this] { OnCreate(this); });
}

void TForm::Paint() {
    Canvas().Brush().SetColor(Color());
    Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    Canvas().FillRect(ClientRect());
}

std::vector<TRect> ScreenRects() {
    std::vector<TRect> rects;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect g = screen->geometry();
        rects.push_back(Bounds(g.x(), g.y(), g.width(), g.height()));
    }
    return rects;
}

void TForm::TextChanged() {
    Widget()->setWindowTitle(QString::fromStdString(Caption()));
}

} // namespace vd
