#pragma once

#include "framework/Types.h"

#include <functional>
#include <memory>
#include <string>

namespace vd {

class TIcon;
class TMenuItem;
class TPopupMenu;

// What the desktop reports about an icon, in the terms of a classic notification area: button
// presses, releases and double-clicks, pointer moves, and the balloon notifications.
enum class TTrayMessage {
    MouseMove,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    RightDown,
    RightUp,
    MiddleDown,
    MiddleUp,
    BalloonHide,
    BalloonTimeout,
    BalloonClick,
};

// An icon in the desktop's notification area.
//
// What each kind of area delivers:
// - XEmbed tray: the icon is a window of ours, so every press, release, double-click and move
//   over it arrives, with the pointer's screen position.
// - StatusNotifierItem host: the host calls Activate (reported as a left press and release),
//   ContextMenu (a right press and release) and SecondaryActivate (a middle press and release);
//   there are no moves, no separate releases and no double-clicks.
// - No area: nothing; the icon is made only once an area exists.
// A StatusNotifierItem host may also draw a menu the icon exports over D-Bus instead of calling
// ContextMenu (GNOME's AppIndicator extension, many panels only do that): there the icon exports
// a copy of its popup menu. An XEmbed tray gets none; the icon pops its own menu up.
// The platform makes its icon in the kind of area present when the first one is made, once per
// process; so the icon is made only when it is first shown and an area is present.
class TTrayAdapter {
public:
    TTrayAdapter();
    ~TTrayAdapter();
    TTrayAdapter(const TTrayAdapter&) = delete;
    TTrayAdapter& operator=(const TTrayAdapter&) = delete;

    // Whether an icon shown now would reach a notification area.
    [[nodiscard]] static bool Available();
    // The pointer's screen position now.
    [[nodiscard]] static TPoint CursorPos();
    // The longest time between the presses of a double-click, in milliseconds.
    [[nodiscard]] static unsigned DoubleClickTime_ms();

    // Puts the icon into the notification area; false when there is none now (the icon is not
    // shown then). Adding an icon that is shown changes nothing.
    bool Add();
    void Remove();
    // Gives the desktop the icon's pictures and tip text (empty: no tip).
    void Modify(const TIcon& icon, const std::string& tip);
    // The menu to export where the host is a StatusNotifierItem host, and what choosing one of
    // its items there does; `click` runs from the event loop. Once exported, a menu stays
    // exported for the icon's life: nullptr leaves it empty.
    void SetMenu(TPopupMenu* menu, std::function<void(TMenuItem* item)> click);

    // What the desktop has now: whether the icon is shown, its tip and picture sizes.
    [[nodiscard]] bool Visible() const;
    [[nodiscard]] const std::string& ToolTip() const;
    [[nodiscard]] bool HasIcon() const;
    // Whether the desktop was given a menu of ours to draw.
    [[nodiscard]] bool ExportsMenu() const;

    // GUI thread, from the event loop after the desktop's own delivery has ended, so a handler
    // may hide the icon (which on X11 destroys the window the report came from). `screen` is the
    // pointer's screen position and `shift` the Shift, Alt and Ctrl keys at the time of the
    // report.
    std::function<void(TTrayMessage message, TPoint screen, TShiftState shift)> OnNotification;

private:
    struct Platform;
    void Report(TTrayMessage message, TPoint screen, TShiftState shift);
    // The platform's icon, with its picture, tip, click reports and exported menu.
    void MakeIcon();
    // Listens to the XEmbed icon window the platform made for this icon, once it exists.
    void ClaimIconWindow();
    void ExportMenu();
    std::unique_ptr<Platform> platform_;
};

} // namespace vd
