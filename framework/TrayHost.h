#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace vd {

// The two kinds of notification area a Linux desktop offers: a StatusNotifierItem host found
// through the session bus (KDE Plasma, most panels, GNOME with the AppIndicator extension), and
// an XEmbed system tray found through its X11 manager selection (older panels, window-manager
// trays). Plain GNOME and many Wayland sessions have neither.
enum class TTrayKind { None, StatusNotifier, XEmbed };

// A change of the desktop's notification areas.
struct TTrayHostChange {
    bool status_notifier_before = false;
    bool status_notifier_now = false;
    bool xembed_before = false;
    bool xembed_now = false;
    // The area of that kind was replaced: a new StatusNotifierWatcher took the bus name, or the
    // XEmbed manager selection was taken again. Icons shown in it have to be added again.
    bool status_notifier_restarted = false;
    bool xembed_restarted = false;
};

// Knows whether the desktop has a notification area now and tells listeners when one appears,
// vanishes or is replaced. One per process, created on first use. GUI thread.
class TTrayHost {
public:
    [[nodiscard]] static TTrayHost& Instance();
    ~TTrayHost();
    TTrayHost(const TTrayHost&) = delete;
    TTrayHost& operator=(const TTrayHost&) = delete;

    [[nodiscard]] bool StatusNotifierHost() const;
    [[nodiscard]] bool XEmbedManager() const;

    // The kind of area the process's icons live in. The platform picks it once per process, when
    // the first icon is made: the StatusNotifierItem host when one is registered then, else the
    // XEmbed tray. None until then.
    [[nodiscard]] TTrayKind IconKind() const { return icon_kind_; }
    // Called once, just before the process's first icon is made: fixes IconKind from what is
    // present now.
    void DecideIconKind();
    // Whether an icon shown now would reach a notification area: the area of IconKind when that
    // is decided, else either kind.
    [[nodiscard]] bool Available() const;
    // Whether `change` made an area the icons can use appear, or replaced it.
    [[nodiscard]] bool CameBack(const TTrayHostChange& change) const;

    using Listener = std::function<void(const TTrayHostChange&)>;
    // Returns a key for Unsubscribe.
    int Subscribe(Listener listener);
    void Unsubscribe(int key);

    // Reports a change as if the desktop had made it (tests of the listeners).
    // Until ClearSimulation, StatusNotifierHost and XEmbedManager answer what it said is now.
    void Simulate(const TTrayHostChange& change);
    void ClearSimulation();

    struct Platform;

private:
    TTrayHost();
    // A probe saw what the desktop has now: records it and tells the listeners what changed.
    void HostsChanged(bool status_notifier_now, bool xembed_now, bool status_notifier_restarted,
                      bool xembed_restarted);
    void Notify(const TTrayHostChange& change);
    std::unique_ptr<Platform> platform_;
    std::map<int, Listener> listeners_;
    int next_key_ = 1;
    TTrayKind icon_kind_ = TTrayKind::None;
    std::optional<bool> status_notifier_override_; // set by Simulate
    std::optional<bool> xembed_override_;
};

} // namespace vd
