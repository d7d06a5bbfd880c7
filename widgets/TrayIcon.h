#pragma once

#include "framework/Component.h"
#include "framework/TrayAdapter.h"

#include <string>

namespace vd {

class TPopupMenu;

// The program's icon in the notification area: shown while the program is minimized into it,
// with a hint, a click that restores and a popup menu.
class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    [[nodiscard]] const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    [[nodiscard]] bool IconVisible() const { return visible_; }
    void SetIconVisible(bool visible);
    [[nodiscard]] bool MinimizeToTray() const { return minimize_to_tray_; }
    // On: minimizing the application hides its windows and shows the icon instead.
    void SetMinimizeToTray(bool value);
    [[nodiscard]] TPopupMenu* PopupMenu() const { return popup_menu_; }
    void SetPopupMenu(TPopupMenu* menu);
    void SetIcon(const std::string& resource);

    TNotifyEvent OnClick;

    void Notification(TComponent* component, TOperation operation) override;

private:
    TTrayAdapter adapter_;
    std::string hint_;
    bool visible_ = false;
    bool minimize_to_tray_ = false;
    TPopupMenu* popup_menu_ = nullptr;
};

} // namespace vd
