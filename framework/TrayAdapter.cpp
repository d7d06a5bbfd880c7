#include "framework/TrayAdapter.h"

#include "framework/Icon.h"
#include "framework/KeyMapping.h"
#include "framework/TrayHost.h"
#include "framework/TrayMenuMirror.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <optional>
#include <utility>

namespace vd {

namespace {

constexpr const char* kClaimed = "vdTrayWindowClaimed"; // the icon window has its adapter

TShiftState KeysNow() {
    return ShiftStateOf(QGuiApplication::queryKeyboardModifiers());
}

TPoint PointerNow() {
    const QPoint at = QCursor::pos();
    return {at.x(), at.y()};
}

// The message of `button`'s event, one of three by the button; nothing for the other buttons.
std::optional<TTrayMessage> ByButton(Qt::MouseButton button, TTrayMessage left, TTrayMessage right,
                                     TTrayMessage middle) {
    const std::optional<TMouseButton> which = MouseButtonOf(button);
    if (!which)
        return std::nullopt;
    if (*which == TMouseButton::mbLeft)
        return left;
    return *which == TMouseButton::mbRight ? right : middle;
}

bool IsPointerEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Enter:
        return true;
    default:
        return false;
    }
}

// What a pointer event over the icon window reports; nothing for buttons other than the three.
std::optional<TTrayMessage> MessageOf(const QEvent& event) {
    using enum TTrayMessage;
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        return ByButton(static_cast<const QMouseEvent&>(event).button(), LeftDown, RightDown,
                        MiddleDown);
    case QEvent::MouseButtonRelease:
        return ByButton(static_cast<const QMouseEvent&>(event).button(), LeftUp, RightUp, MiddleUp);
    case QEvent::MouseButtonDblClick:
        // The second press of a double-click: only the left button's is a double-click, the
        // others are plain presses.
        return ByButton(static_cast<const QMouseEvent&>(event).button(), LeftDoubleClick, RightDown,
                        MiddleDown);
    default:
        return MouseMove;
    }
}

// The pointer's screen position at `event`; an Enter event carries none.
TPoint PositionOf(const QEvent& event) {
    if (event.type() == QEvent::Enter)
        return PointerNow();
    const QPoint global = static_cast<const QMouseEvent&>(event).globalPosition().toPoint();
    return {global.x(), global.y()};
}

// The press and release a kind of click stands for, where the platform reports only kinds of
// click (a StatusNotifierItem host).
std::optional<std::pair<TTrayMessage, TTrayMessage>>
PressAndReleaseOf(QSystemTrayIcon::ActivationReason reason) {
    using enum TTrayMessage;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return std::pair{LeftDown, LeftUp};
    case QSystemTrayIcon::DoubleClick:
        return std::pair{LeftDoubleClick, LeftUp};
    case QSystemTrayIcon::Context:
        return std::pair{RightDown, RightUp};
    case QSystemTrayIcon::MiddleClick:
        return std::pair{MiddleDown, MiddleUp};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return std::nullopt;
}

} // namespace

// Turns the mouse events of the XEmbed icon window into reports. The platform's own handling of
// them (which knows only click kinds) is left out, so nothing is reported twice.
class TTrayWindowFilter : public QObject {
public:
    explicit TTrayWindowFilter(std::function<void(TTrayMessage, TPoint, TShiftState)> report)
        : report_(std::move(report)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!IsPointerEvent(event->type()))
            return QObject::eventFilter(watched, event);
        if (const std::optional<TTrayMessage> message = MessageOf(*event))
            report_(*message, PositionOf(*event), KeysNow());
        return event->type() != QEvent::Enter;
    }

private:
    std::function<void(TTrayMessage, TPoint, TShiftState)> report_;
};

struct TTrayAdapter::Platform {
    QObject context; // queued reports die with the adapter
    // Before the icon, which keeps pointing at the mirror's menu until it is gone itself.
    TTrayMenuMirror mirror;
    TPopupMenu* menu = nullptr;
    std::function<void(TMenuItem*)> click;
    std::unique_ptr<QSystemTrayIcon> icon;
    std::unique_ptr<TTrayWindowFilter> filter;
    QPointer<QWidget> window; // the XEmbed icon window we listen to, when there is one
    TIcon picture;
    std::string tooltip;
};

TTrayAdapter::TTrayAdapter() : platform_(std::make_unique<Platform>()) {
    platform_->filter = std::make_unique<TTrayWindowFilter>(
        [this](TTrayMessage message, TPoint at, TShiftState shift) { Report(message, at, shift); });
}

TTrayAdapter::~TTrayAdapter() {
    if (platform_->icon)
        platform_->icon->hide();
}

bool TTrayAdapter::Available() {
    return TTrayHost::Instance().Available();
}

TPoint TTrayAdapter::CursorPos() {
    return PointerNow();
}

unsigned TTrayAdapter::DoubleClickTime_ms() {
    return static_cast<unsigned>(QApplication::doubleClickInterval());
}

void TTrayAdapter::Report(TTrayMessage message, TPoint screen, TShiftState shift) {
    // The report comes from inside the delivery of a mouse event of the icon's window, and on
    // X11 hiding the icon destroys that window there and then while the delivery still goes on.
    // A restore from the icon or from its menu hides the icon, so reports are acted on from the
    // event loop, once the delivery has ended.
    QMetaObject::invokeMethod(
        &platform_->context,
        [this, message, screen, shift] {
            if (OnNotification)
                OnNotification(message, screen, shift);
        },
        Qt::QueuedConnection);
}

bool TTrayAdapter::Add() {
    Platform& p = *platform_;
    if (!Available())
        return false;
    if (!p.icon)
        MakeIcon();
    if (!p.icon->isVisible())
        p.icon->show();
    // The XEmbed icon window exists once the tray has docked it; the platform makes a new one for
    // every tray it docks in.
    QMetaObject::invokeMethod(
        &p.context, [this] { ClaimIconWindow(); }, Qt::QueuedConnection);
    return true;
}

void TTrayAdapter::MakeIcon() {
    Platform& p = *platform_;
    TTrayHost::Instance().DecideIconKind();
    p.icon = std::make_unique<QSystemTrayIcon>();
    p.icon->setIcon(p.picture.ToQIcon());
    p.icon->setToolTip(QString::fromUtf8(p.tooltip.c_str()));
    // Where the icon has no window of ours (a StatusNotifierItem host) the platform reports
    // only kinds of click: each becomes the press and release it stands for.
    QObject::connect(p.icon.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         const TPoint at = PointerNow();
                         const TShiftState shift = KeysNow();
                         if (const auto click = PressAndReleaseOf(reason)) {
                             Report(click->first, at, shift);
                             Report(click->second, at, shift);
                         }
                     });
    QObject::connect(p.icon.get(), &QSystemTrayIcon::messageClicked,
                     [this] { Report(TTrayMessage::BalloonClick, PointerNow(), KeysNow()); });
    ExportMenu();
}

void TTrayAdapter::ClaimIconWindow() {
    Platform& p = *platform_;
    if (p.window)
        return;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QSystemTrayIconSys") && !w->property(kClaimed).toBool()) {
            w->setProperty(kClaimed, true);
            p.window = w;
            w->setMouseTracking(true);
            w->installEventFilter(p.filter.get());
        }
}

void TTrayAdapter::Remove() {
    if (platform_->icon)
        platform_->icon->hide();
}

void TTrayAdapter::Modify(const TIcon& icon, const std::string& tip) {
    // The player gives the tip every few milliseconds; a desktop is told only of real changes.
    Platform& p = *platform_;
    if (!(p.picture == icon)) {
        p.picture = icon;
        if (p.icon)
            p.icon->setIcon(p.picture.ToQIcon());
    }
    if (p.tooltip != tip) {
        p.tooltip = tip;
        if (p.icon)
            p.icon->setToolTip(QString::fromUtf8(tip.c_str()));
    }
}

void TTrayAdapter::SetMenu(TPopupMenu* menu, std::function<void(TMenuItem* item)> click) {
    Platform& p = *platform_;
    p.menu = menu;
    p.click = std::move(click);
    if (p.icon)
        ExportMenu();
}

void TTrayAdapter::ExportMenu() {
    Platform& p = *platform_;
    // An XEmbed tray icon would pop a Qt context menu up by itself on a right click, over ours.
    if (TTrayHost::Instance().IconKind() != TTrayKind::StatusNotifier)
        return;
    p.mirror.SetSource(p.menu, p.click);
    if (p.icon->contextMenu() == nullptr)
        p.icon->setContextMenu(&p.mirror.Menu());
}

bool TTrayAdapter::ExportsMenu() const {
    return platform_->icon && platform_->icon->contextMenu() != nullptr;
}

bool TTrayAdapter::Visible() const {
    return platform_->icon && platform_->icon->isVisible();
}

const std::string& TTrayAdapter::ToolTip() const {
    return platform_->tooltip;
}

bool TTrayAdapter::HasIcon() const {
    return !platform_->picture.Empty();
}

} // namespace vd
