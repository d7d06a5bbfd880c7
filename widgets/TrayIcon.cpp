#include "widgets/TrayIcon.h"

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace vd {

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner) {
    adapter_.OnClick = [this] {
        if (OnClick)
            SafeCall([this] { OnClick(this); });
    };
    adapter_.OnContextMenu = [this](TPoint screen) {
        if (popup_menu_ != nullptr)
            SafeCall([&] { popup_menu_->Popup(screen.X, screen.Y); });
    };
}

TTrayIcon::~TTrayIcon() {
    BeginDestruction();
    if (TApplication* app = TApplication::Instance(); app != nullptr && minimize_to_tray_)
        app->OnMinimize = nullptr;
}

void TTrayIcon::SetHint(const std::string& hint) {
    if (hint_ == hint)
        return;
    hint_ = hint;
    adapter_.SetToolTip(hint);
}

void TTrayIcon::SetIconVisible(bool visible) {
    visible_ = visible;
    adapter_.SetVisible(visible);
}

void TTrayIcon::SetMinimizeToTray(bool value) {
    minimize_to_tray_ = value;
    TApplication* app = TApplication::Instance();
    if (app == nullptr)
        return;
    if (!value) {
        app->OnMinimize = nullptr;
        return;
    }
    app->OnMinimize = [this, app](TComponent*) {
        TForm* form = app->MainForm();
        if (!TTrayAdapter::Available()) {
            // No notification area to come back from: minimize the usual way instead.
            if (form != nullptr)
                form->Minimize();
            return;
        }
        if (form != nullptr)
            form->Hide();
        SetIconVisible(true);
    };
}

void TTrayIcon::SetPopupMenu(TPopupMenu* menu) {
    if (popup_menu_ != nullptr)
        RemoveFreeNotification(popup_menu_);
    popup_menu_ = menu;
    if (menu != nullptr)
        FreeNotification(menu);
}

void TTrayIcon::SetIcon(const std::string& resource) {
    adapter_.SetIcon(resource);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popup_menu_)
        popup_menu_ = nullptr;
}

} // namespace vd
