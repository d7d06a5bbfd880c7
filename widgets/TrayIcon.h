#pragma once

#include "framework/Component.h"
#include "framework/Icon.h"
#include "framework/SimpleTimer.h"
#include "framework/TrayAdapter.h"

#include <functional>
#include <string>
#include <string_view>

namespace vd {

class TImageList;
class TPopupMenu;
struct TTrayHostChange;

// The program's icon in the desktop's notification area: its mouse reports become click,
// double-click, button and move events, a menu pops up at the pointer, the icon can cycle
// through the pictures of an image list, and minimizing the application can hide it into the
// area. Works with a StatusNotifierItem host, an XEmbed tray, or none (then the window
// minimizes the usual way and is never hidden where it could not be brought back from).
class TTrayIcon : public TComponent {
public:
    using TCycleEvent = std::function<void(TComponent* sender, int next_index)>;
    using TStartupEvent = std::function<void(TComponent* sender, bool& show_main_form)>;

    // The tip reaches the desktop cut to this many characters.
    static constexpr std::size_t kMaxTipChars = 127;
    // The longest Hint kept.
    static constexpr std::size_t kMaxHintChars = 255;
    // How often the pointer is checked for having left the icon.
    static constexpr unsigned kExitCheck_ms = 20;

    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    // Serves a form designer; no effect on a running program.
    [[nodiscard]] bool DesignPreview() const { return design_preview_; }
    void SetDesignPreview(bool value) { design_preview_ = value; }

    [[nodiscard]] TImageList* IconList() const { return icon_list_; }
    void SetIconList(TImageList* list);
    [[nodiscard]] bool CycleIcons() const { return cycle_icons_; }
    void SetCycleIcons(bool value);
    [[nodiscard]] unsigned CycleInterval() const { return cycle_interval_ms_; }
    void SetCycleInterval(unsigned interval_ms);
    // Off: the icon's mouse reports are ignored (balloon reports still arrive).
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    // The whole tip text, at most 255 characters; see DesktopTip for what the desktop gets.
    [[nodiscard]] const std::string& Hint() const { return hint_; }
    void SetHint(std::string_view hint);
    [[nodiscard]] bool ShowHint() const { return show_hint_; }
    void SetShowHint(bool value);
    // The picture shown; a change of its pictures updates the desktop.
    [[nodiscard]] TIcon& Icon() { return icon_; }
    void SetIcon(const TIcon& icon);
    // Loads the picture from a resource path (":/icons/...") or file.
    void SetIcon(const std::string& path);
    [[nodiscard]] bool IconVisible() const { return icon_visible_; }
    void SetIconVisible(bool visible);
    [[nodiscard]] int IconIndex() const { return icon_index_; }
    void SetIconIndex(int index);
    [[nodiscard]] TPopupMenu* PopupMenu() const { return popup_menu_; }
    void SetPopupMenu(TPopupMenu* menu);
    // On: the left button pops the menu up too.
    [[nodiscard]] bool LeftPopup() const { return left_popup_; }
    void SetLeftPopup(bool value) { left_popup_ = value; }
    [[nodiscard]] bool WantEnterExitEvents() const { return want_enter_exit_; }
    void SetWantEnterExitEvents(bool value);
    // On: minimizing the application hides its window into the notification area, when the
    // desktop has one at that moment.
    [[nodiscard]] bool MinimizeToTray() const { return minimize_to_tray_; }
    void SetMinimizeToTray(bool value) { minimize_to_tray_ = value; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintClick;
    TNotifyEvent OnBalloonHintHide;
    TNotifyEvent OnBalloonHintTimeout;
    TStartupEvent OnStartup;

    // Each raises its event when one is assigned.
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoCycle(int next_index);
    virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseMove(TShiftState shift, int x, int y);
    virtual void DoMouseEnter();
    virtual void DoMouseExit();
    // Hides the main window, then shows the icon.
    virtual void DoMinimizeToTray();

    // Put the icon into the area (IconVisible becomes True first), take it out (False first),
    // and give the desktop the current picture and tip. Each returns whether the desktop took it.
    virtual bool AddTrayIcon();
    virtual bool RemoveTrayIcon();
    virtual bool UpdateTrayIcon();

    // A report from the desktop about the icon: the adapter delivers them here, and tests feed
    // them in the same way.
    void TrayNotification(TTrayMessage message, TPoint screen, TShiftState shift);

    // What the desktop is given as the tip: the first 127 characters of Hint (never part of a
    // character), or nothing when Hint is empty or ShowHint is off.
    [[nodiscard]] std::string DesktopTip() const;
    // The icon as the desktop has it now.
    [[nodiscard]] const TTrayAdapter& Desktop() const { return adapter_; }

    // The component's timers, for tests that play the passing of time.
    [[nodiscard]] TSimpleTimer& CycleTimer() { return cycle_timer_; }
    [[nodiscard]] TSimpleTimer& ClickTimer() { return click_timer_; }
    [[nodiscard]] TSimpleTimer& ExitTimer() { return exit_timer_; }

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void HideMainWindow();
    void PopupAtCursor();
    // The steps of TrayNotification. A balloon's notice, told whether or not the icon is
    // enabled; false for every other message.
    bool ReportBalloon(TTrayMessage message);
    // A left press (a double click may follow) and its release (a click unless the double-click
    // wait still runs).
    void LeftPress(TShiftState shift, int x, int y);
    void LeftRelease(TShiftState shift, int x, int y);
    void ExportMenu();
    void ClickDefaultItem();
    void CycleStep();
    void ClickTimeout();
    void ExitCheck();
    void Minimize();
    void HostChanged(const TTrayHostChange& change);

    TTrayAdapter adapter_;
    TIcon icon_;
    TSimpleTimer cycle_timer_;
    TSimpleTimer click_timer_;
    TSimpleTimer exit_timer_;
    int host_subscription_ = 0;
    bool owns_minimize_ = false; // the application's minimize comes to this icon

    bool design_preview_ = false;
    TImageList* icon_list_ = nullptr;
    bool cycle_icons_ = false;
    unsigned cycle_interval_ms_ = 0;
    bool enabled_ = true;
    std::string hint_;
    bool show_hint_ = true;
    bool icon_visible_ = false;
    int icon_index_ = 0;
    TPopupMenu* popup_menu_ = nullptr;
    bool left_popup_ = false;
    bool want_enter_exit_ = false;
    bool minimize_to_tray_ = false;

    bool left_button_down_ = false;
    bool click_pending_ = false;
    bool double_clicked_ = false;
    bool mouse_outside_ = true;
    TPoint last_cursor_pos_;
    bool hid_main_window_ = false; // the main window is in the area, by our doing
};

} // namespace vd
