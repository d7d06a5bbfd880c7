#include "framework/TrayAdapter.h"

#include <QCursor>
#include <QIcon>
#include <QSystemTrayIcon>

namespace vd {

struct TTrayAdapter::Platform {
    QSystemTrayIcon icon;
    std::string tooltip;
};

TTrayAdapter::TTrayAdapter() : platform_(std::make_unique<Platform>()) {
    // The icon reports a click from inside the delivery of its own mouse event, and on X11 hiding
    // the icon destroys its window there and then, while that delivery still has to hand the
    // same press on (as a context menu event). A restore from the icon or from its menu hides
    // the icon, so both reports are acted on from the event loop, once the delivery has ended.
    QSystemTrayIcon* icon = &platform_->icon;
    QObject::connect(
        icon, &QSystemTrayIcon::activated, [this, icon](QSystemTrayIcon::ActivationReason reason) {
            const QPoint at = QCursor::pos(); // where the click was, not where the pointer is later
            QMetaObject::invokeMethod(
                icon,
                [this, reason, at] {
                    if (reason == QSystemTrayIcon::Trigger && OnClick)
                        OnClick();
                    else if (reason == QSystemTrayIcon::Context && OnContextMenu)
                        OnContextMenu({at.x(), at.y()});
                },
                Qt::QueuedConnection);
        });
}

TTrayAdapter::~TTrayAdapter() {
    platform_->icon.hide();
}

bool TTrayAdapter::Available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayAdapter::SetIcon(const std::string& path) {
    platform_->icon.setIcon(QIcon(QString::fromStdString(path)));
}

void TTrayAdapter::SetToolTip(const std::string& text) {
    if (platform_->tooltip == text)
        return;
    platform_->tooltip = text;
    platform_->icon.setToolTip(QString::fromUtf8(text.c_str()));
}

void TTrayAdapter::SetVisible(bool visible) {
    platform_->icon.setVisible(visible);
}

bool TTrayAdapter::Visible() const {
    return platform_->icon.isVisible();
}

} // namespace vd
