#include "widgets/TrayIcon.h"

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/TrayHost.h"

namespace vd {

namespace {

// The first `count` characters of UTF-8 `text`, never cutting one of them in two.
std::string FirstChars(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size() && chars < count; ++chars) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end; // the continuation bytes of the same character
    }
    return std::string(text.substr(0, end));
}

TTrayIcon* Self(void* data) {
    return static_cast<TTrayIcon*>(data);
}

} // namespace

TTrayIcon::TTrayIcon(TComponent* owner)
    : TComponent(owner), cycle_timer_(this, [](void* data) { Self(data)->CycleStep(); }),
      click_timer_(this, [](void* data) { Self(data)->ClickTimeout(); }),
      exit_timer_(this, [](void* data) { Self(data)->ExitCheck(); }) {
    icon_.OnChange = [this](TComponent*) { UpdateTrayIcon(); };
    adapter_.OnNotification = [this](TTrayMessage message, TPoint screen, TShiftState shift) {
        SafeCall([&] { TrayNotification(message, screen, shift); });
    };
    host_subscription_ = TTrayHost::Instance().Subscribe(
        [this](const TTrayHostChange& change) { SafeCall([&] { HostChanged(change); }); });
    // The application's minimize comes here, as a minimized application window would.
    if (TApplication* app = TApplication::Instance(); app != nullptr && !app->OnMinimize) {
        app->OnMinimize = [this](TComponent*) { Minimize(); };
        owns_minimize_ = true;
    }
}

TTrayIcon::~TTrayIcon() {
    BeginDestruction();
    // Whatever fails on the way, the application must not be left calling into a dead icon.
    try {
        SetIconVisible(false);
        cycle_timer_.StopTimer();
        click_timer_.StopTimer();
        exit_timer_.StopTimer();
    } catch (...) {
    }
    if (popup_menu_ != nullptr && popup_menu_->PopupComponent() == this)
        popup_menu_->SetPopupComponent(nullptr);
    if (TApplication* app = TApplication::Instance(); app != nullptr && owns_minimize_)
        app->OnMinimize = nullptr;
    TTrayHost::Instance().Unsubscribe(host_subscription_);
}

void TTrayIcon::SetIconList(TImageList* list) {
    if (icon_list_ != nullptr)
        RemoveFreeNotification(icon_list_);
    icon_list_ = list;
    if (list != nullptr)
        FreeNotification(list);
    SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool value) {
    cycle_icons_ = value;
    if (value) {
        SetIconIndex(0);
        cycle_timer_.StartTimer(cycle_interval_ms_);
    } else {
        cycle_timer_.StopTimer();
    }
}

void TTrayIcon::SetCycleInterval(unsigned interval_ms) {
    cycle_interval_ms_ = interval_ms;
    SetCycleIcons(cycle_icons_);
}

void TTrayIcon::SetHint(std::string_view hint) {
    std::string cut = FirstChars(hint, kMaxHintChars);
    if (cut == hint_)
        return; // the player hands over the same hint on every timer tick
    hint_ = std::move(cut);
    UpdateTrayIcon();
}

void TTrayIcon::SetShowHint(bool value) {
    show_hint_ = value;
    UpdateTrayIcon();
}

void TTrayIcon::SetIcon(const TIcon& icon) {
    // The copy is this setter's own doing: the desktop is told once, below.
    TNotifyEvent on_change = std::move(icon_.OnChange);
    icon_.OnChange = nullptr;
    icon_.Assign(&icon);
    icon_.OnChange = std::move(on_change);
    UpdateTrayIcon();
}

void TTrayIcon::SetIcon(const std::string& path) {
    TIcon icon;
    icon.LoadFromFile(path);
    SetIcon(icon);
}

void TTrayIcon::SetIconVisible(bool visible) {
    if (visible)
        AddTrayIcon();
    else
        RemoveTrayIcon();
}

void TTrayIcon::SetIconIndex(int index) {
    if (icon_list_ != nullptr) {
        icon_index_ = index >= icon_list_->Count() ? icon_list_->Count() - 1 : index;
        if (icon_index_ < 0)
            icon_index_ = 0;
        TIcon picture;
        picture.LoadFromImageList(*icon_list_, icon_index_);
        SetIcon(picture);
    } else {
        icon_index_ = 0;
    }
    UpdateTrayIcon();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* menu) {
    if (popup_menu_ != nullptr)
        RemoveFreeNotification(popup_menu_);
    popup_menu_ = menu;
    if (menu != nullptr)
        FreeNotification(menu);
    ExportMenu();
}

void TTrayIcon::ExportMenu() {
    // A host that draws the exported copy stands in for our popup: the chosen item is clicked
    // as our own popup would click it.
    adapter_.SetMenu(popup_menu_, [this](TMenuItem* item) {
        if (popup_menu_ != nullptr)
            popup_menu_->SetPopupComponent(this);
        item->Click();
    });
}

void TTrayIcon::SetWantEnterExitEvents(bool value) {
    want_enter_exit_ = value;
    if (value)
        exit_timer_.StartTimer(kExitCheck_ms);
    else
        exit_timer_.StopTimer();
}

void TTrayIcon::DoClick() {
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::DoDblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TTrayIcon::DoCycle(int next_index) {
    if (OnCycle)
        OnCycle(this, next_index);
}

void TTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TTrayIcon::DoMouseEnter() {
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TTrayIcon::DoMouseExit() {
    if (OnMouseExit)
        OnMouseExit(this);
}

void TTrayIcon::DoMinimizeToTray() {
    HideMainWindow();
    SetIconVisible(true);
}

bool TTrayIcon::AddTrayIcon() {
    icon_visible_ = true;
    adapter_.Modify(icon_, DesktopTip());
    return adapter_.Add();
}

bool TTrayIcon::RemoveTrayIcon() {
    icon_visible_ = false;
    adapter_.Remove();
    return true;
}

bool TTrayIcon::UpdateTrayIcon() {
    adapter_.Modify(icon_, DesktopTip());
    return adapter_.Visible();
}

std::string TTrayIcon::DesktopTip() const {
    if (hint_.empty() || !show_hint_)
        return {};
    return FirstChars(hint_, kMaxTipChars);
}

bool TTrayIcon::ReportBalloon(TTrayMessage message) {
    switch (message) {
    case TTrayMessage::BalloonHide:
        if (OnBalloonHintHide)
            OnBalloonHintHide(this);
        return true;
    case TTrayMessage::BalloonTimeout:
        if (OnBalloonHintTimeout)
            OnBalloonHintTimeout(this);
        return true;
    case TTrayMessage::BalloonClick:
        if (OnBalloonHintClick)
            OnBalloonHintClick(this);
        return true;
    default:
        return false;
    }
}

void TTrayIcon::LeftPress(TShiftState shift, int x, int y) {
    if (OnDblClick)
        click_timer_.StartTimer(TTrayAdapter::DoubleClickTime_ms());
    DoMouseDown(TMouseButton::mbLeft, shift | ssLeft, x, y);
    left_button_down_ = true;
    if (left_popup_)
        PopupAtCursor();
}

void TTrayIcon::LeftRelease(TShiftState shift, int x, int y) {
    if (left_button_down_)
        click_pending_ = true;
    if (left_button_down_ && !click_timer_.Running()) {
        left_button_down_ = false;
        click_pending_ = false;
        DoClick();
    }
    left_button_down_ = false;
    DoMouseUp(TMouseButton::mbLeft, shift | ssLeft, x, y);
}

void TTrayIcon::TrayNotification(TTrayMessage message, TPoint screen, TShiftState shift) {
    if (ReportBalloon(message) || !enabled_)
        return;
    const int x = screen.X;
    const int y = screen.Y;
    switch (message) {
    case TTrayMessage::MouseMove:
        if (want_enter_exit_ && mouse_outside_) {
            DoMouseEnter();
            mouse_outside_ = false;
        }
        DoMouseMove(shift, x, y);
        last_cursor_pos_ = screen;
        break;
    case TTrayMessage::LeftDown:
        LeftPress(shift, x, y);
        break;
    case TTrayMessage::LeftUp:
        LeftRelease(shift, x, y);
        break;
    case TTrayMessage::LeftDoubleClick:
        click_pending_ = false;
        double_clicked_ = true;
        DoDblClick();
        if (popup_menu_ != nullptr && popup_menu_->AutoPopup() && !left_popup_)
            ClickDefaultItem();
        break;
    case TTrayMessage::RightDown:
        DoMouseDown(TMouseButton::mbRight, shift | ssRight, x, y);
        PopupAtCursor();
        break;
    case TTrayMessage::RightUp:
        DoMouseUp(TMouseButton::mbRight, shift | ssRight, x, y);
        break;
    case TTrayMessage::MiddleDown:
        DoMouseDown(TMouseButton::mbMiddle, shift | ssMiddle, x, y);
        break;
    case TTrayMessage::MiddleUp:
        DoMouseUp(TMouseButton::mbMiddle, shift | ssMiddle, x, y);
        break;
    default:
        break;
    }
}

void TTrayIcon::HideMainWindow() {
    if (dynamic_cast<TWinControl*>(Owner()) == nullptr)
        return;
    TApplication* app = TApplication::Instance();
    if (app == nullptr || app->MainForm() == nullptr)
        return;
    app->MainForm()->Hide();
    hid_main_window_ = true;
}

void TTrayIcon::PopupAtCursor() {
    if (popup_menu_ == nullptr || !popup_menu_->AutoPopup())
        return;
    const TPoint at = TTrayAdapter::CursorPos();
    popup_menu_->SetPopupComponent(this);
    popup_menu_->Popup(at.X, at.Y); // returns once the menu has closed
}

void TTrayIcon::ClickDefaultItem() {
    TMenuItem* items = popup_menu_->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (TMenuItem* item = items->Items(i); item->Default()) {
            item->Click();
            return;
        }
}

void TTrayIcon::CycleStep() {
    if (icon_list_ == nullptr || icon_list_->Count() == 0)
        return;
    TIcon picture;
    picture.LoadFromImageList(*icon_list_, icon_index_);
    icon_.Assign(&picture);
    const int next = icon_index_ >= icon_list_->Count() - 1 ? 0 : icon_index_ + 1;
    DoCycle(next);
    SetIconIndex(next);
}

void TTrayIcon::ClickTimeout() {
    click_timer_.StopTimer();
    if (!double_clicked_ && click_pending_) {
        click_pending_ = false;
        DoClick();
    }
    double_clicked_ = false;
}

void TTrayIcon::ExitCheck() {
    if (mouse_outside_)
        return;
    if (TTrayAdapter::CursorPos() != last_cursor_pos_) {
        mouse_outside_ = true;
        DoMouseExit();
    }
}

void TTrayIcon::Minimize() {
    TApplication* app = TApplication::Instance();
    TForm* form = app != nullptr ? app->MainForm() : nullptr;
    // Hidden into an area that is not there, the window could never be brought back.
    if (minimize_to_tray_ && TTrayAdapter::Available()) {
        DoMinimizeToTray();
        return;
    }
    if (form != nullptr)
        form->Minimize();
}

void TTrayIcon::HostChanged(const TTrayHostChange& change) {
    TTrayHost& host = TTrayHost::Instance();
    if (!host.Available()) {
        // The area went away with the window in it: the window comes back at once, or it could
        // not be reached at all. The icon stays wanted and returns with its area.
        TApplication* app = TApplication::Instance();
        TForm* form = app != nullptr ? app->MainForm() : nullptr;
        if (hid_main_window_ && form != nullptr && !form->Visible()) {
            hid_main_window_ = false;
            app->Restore();
        }
        return;
    }
    // A notification area that was (re)started knows nothing of the icon: add it again.
    if (host.CameBack(change) && icon_visible_) {
        adapter_.Remove();
        AddTrayIcon();
    }
}

void TTrayIcon::Loaded() {
    TComponent::Loaded();
    if (dynamic_cast<TWinControl*>(Owner()) != nullptr) {
        bool show_main_form = true;
        if (OnStartup)
            OnStartup(this, show_main_form);
        if (!show_main_form) {
            if (TApplication* app = TApplication::Instance())
                app->SetShowMainForm(false);
            HideMainWindow();
        }
    }
    UpdateTrayIcon();
    SetIconVisible(icon_visible_);
    SetCycleIcons(cycle_icons_);
    SetWantEnterExitEvents(want_enter_exit_);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == popup_menu_) {
        popup_menu_ = nullptr;
        ExportMenu();
    }
    if (component == icon_list_) {
        icon_list_ = nullptr;
        icon_index_ = 0;
    }
}

} // namespace vd
