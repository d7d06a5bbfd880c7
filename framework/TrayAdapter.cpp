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
    QObject::connect(&platform_->icon, &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger && OnClick)
                             OnClick();
                         else if (reason == QSystemTrayIcon::Context && OnContextMenu) {
                             const QPoint p = QCursor::pos();
                             OnContextMenu({p.x(), p.y()});
                         }
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
