#pragma once

#include "tests/e2e/support/Image.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Xlib's headers define macros (None, Status, Bool) that clash with other code: only the handle
// types are named here.
struct _XDisplay;

namespace vd::e2e {

using XWindowId = unsigned long;

// A window as the X server sees it: position on the root window, size, and how it is mapped.
struct WindowInfo {
    XWindowId id = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
    bool override_redirect = false;
    std::string name;
};

struct ShapeRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// One connection to the X server named by DISPLAY. X errors (a window that went away between two
// requests) are counted instead of ending the test program.
class XDisplay {
public:
    XDisplay(); // throws std::runtime_error when no display can be opened
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;
    ~XDisplay();

    // The windows directly below the root, bottom to top.
    [[nodiscard]] std::vector<WindowInfo> top_levels();
    // The first viewable window (searching the whole tree) whose name contains `part`, or with
    // `whole` is exactly `part`. The toolkit may add the application's name to a window's title
    // ("Velora Player — VO Dezaru"), so a search for a message box titled with that name alone
    // must ask for the whole name.
    enum class Match { part, whole };
    [[nodiscard]] std::optional<WindowInfo> find_viewable(std::string_view name,
                                                          Match match = Match::part);
    // The same search among the descendants of `ancestor` only (an icon docked in a panel).
    [[nodiscard]] std::optional<WindowInfo>
    find_viewable_in(XWindowId ancestor, std::string_view name, Match match = Match::part);
    // Every viewable window whose name contains `part`, anywhere in the tree (under a window
    // manager, clients sit inside its frames).
    [[nodiscard]] std::vector<WindowInfo> find_all_viewable(std::string_view part);
    // The process that made `id` (its _NET_WM_PID), 0 when the window does not tell.
    [[nodiscard]] long pid_of(XWindowId id);
    // The sizes (width x height) of the icons a window carries in _NET_WM_ICON.
    [[nodiscard]] std::vector<std::pair<int, int>> icon_sizes(XWindowId id);
    // The window's WM_CLASS: instance name and class name.
    [[nodiscard]] std::pair<std::string, std::string> wm_class(XWindowId id);
    // Fresh geometry of `id`; nothing when it no longer exists.
    [[nodiscard]] std::optional<WindowInfo> info(XWindowId id);
    // The root window's geometry: the whole screen.
    [[nodiscard]] WindowInfo screen();
    // The bounding region set with the SHAPE extension, relative to the window's origin; a window
    // without a shape reports its whole rectangle.
    [[nodiscard]] std::vector<ShapeRect> bounding_shape(XWindowId id);
    // What the screen shows in the rectangle, read from the root window.
    [[nodiscard]] Image grab(int x, int y, int width, int height);
    // Whether a window manager that follows the desktop conventions runs on the display (it names
    // its check window on the root window, and that window exists).
    [[nodiscard]] bool window_manager_running();
    // Asks the window to close as a window manager's close box does: a WM_DELETE_WINDOW message
    // of the WM_PROTOCOLS kind, sent to the window itself.
    void send_delete_window(XWindowId id);
    // Starts watching mouse button releases of every device (XInput 2 raw events, which also
    // report XTEST input) and forgets those seen so far. Call before sending a click.
    void watch_button_releases();
    // Waits at most `timeout` for the X server to handle a release of mouse button `button` after
    // the last watch_button_releases(), and returns as soon as it is seen: this tells the moment
    // of a click to a millisecond or two, however long the program that sent it takes to start
    // and end.
    [[nodiscard]] bool wait_for_button_release(int button, std::chrono::milliseconds timeout);

private:
    // Drops the events queued so far, freeing what Xlib holds for the extension events among them.
    void discard_queued_events();
    [[nodiscard]] std::vector<WindowInfo>
    viewable_windows_in(XWindowId ancestor, std::string_view name, Match match, bool first_only);
    [[nodiscard]] std::string name_of(XWindowId id);

    _XDisplay* display_ = nullptr;
    int xinput_opcode_ = -1; // once raw button events are selected
};

} // namespace vd::e2e
