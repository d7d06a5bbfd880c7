#pragma once

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QObject;

namespace vd {

class TMenuItem;
class TPopupMenu;

// A Qt menu that copies one of our popup menus: captions, pictures from the menu's image list
// (or the item's own picture), separators, enabled, visible and checked states, the default item
// in a bold font, and submenus. A StatusNotifierItem host that only draws menus exported over
// D-Bus shows this one, since our own flat popup never reaches it.
//
// Choosing an action clicks the item it copies from the event loop, after the host's activation
// has been delivered, and only while the item is still in the menu. The Qt menu lives as long as
// the mirror, whatever menu it copies: the tray icon it is given to keeps a pointer to it.
// GUI thread.
class TTrayMenuMirror {
public:
    using ClickHandler = std::function<void(TMenuItem* item)>;

    TTrayMenuMirror();
    ~TTrayMenuMirror();
    TTrayMenuMirror(const TTrayMenuMirror&) = delete;
    TTrayMenuMirror& operator=(const TTrayMenuMirror&) = delete;

    // The menu to copy (nullptr: an empty menu) and what choosing one of its items does (unset:
    // TMenuItem::Click).
    void SetSource(TPopupMenu* source, ClickHandler click = {});
    [[nodiscard]] TPopupMenu* Source() const { return source_; }

    // Brings the Qt menu up to date with the items: their states are copied onto the actions in
    // place, and the actions are made afresh only when items were added, removed or reordered.
    // Runs by itself whenever the menu is about to be shown.
    void Sync();

    [[nodiscard]] QMenu& Menu() const { return *menu_; }
    // The item an action of the menu (or of its submenus) copies; nullptr for none.
    [[nodiscard]] TMenuItem* ItemOf(const QAction* action) const;

private:
    struct Entry;
    void Rebuild();
    void Fill(QMenu& menu, const TMenuItem& parent);
    void Update(Entry& entry);
    [[nodiscard]] bool SameShape() const;
    [[nodiscard]] bool StillInMenu(const TMenuItem* item) const;
    void Chosen(TMenuItem* item);

    TPopupMenu* source_ = nullptr;
    ClickHandler click_;
    std::unique_ptr<QObject> context_; // queued clicks die with the mirror
    std::unique_ptr<QMenu> menu_;
    std::vector<Entry> entries_; // every item copied, depth first
};

} // namespace vd
