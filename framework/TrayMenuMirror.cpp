#include "framework/TrayMenuMirror.h"

#include "framework/Icon.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPixmap>

namespace vd {

struct TTrayMenuMirror::Entry {
    TMenuItem* item = nullptr;
    const TMenuItem* parent = nullptr;
    bool line = false;
    bool submenu = false;
    QAction* action = nullptr;    // owned by the Qt menu it is in
    std::vector<QImage> pictures; // what the action's icon was made from
    bool pictures_set = false;
};

namespace {

// The pictures an item shows: its menu's image, else its own bitmap, else none.
std::vector<QImage> PicturesOf(const TPopupMenu& menu, const TMenuItem& item) {
    if (const TImageList* images = menu.Images();
        images != nullptr && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count()) {
        TIcon icon;
        icon.LoadFromImageList(*images, item.ImageIndex());
        return icon.Images();
    }
    if (!item.Bitmap().Empty())
        return {item.Bitmap().Image()};
    return {};
}

template <typename Visit>
void Walk(const TMenuItem& parent, Visit&& visit) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        visit(*item, parent);
        if (!item->IsLine() && item->Count() > 0)
            Walk(*item, visit);
    }
}

} // namespace

TTrayMenuMirror::TTrayMenuMirror()
    : context_(std::make_unique<QObject>()), menu_(std::make_unique<QMenu>()) {
    // A host asks for the menu just before it draws it: the items are copied then, so what it
    // shows is what our own popup would show.
    QObject::connect(menu_.get(), &QMenu::aboutToShow, context_.get(), [this] { Sync(); });
}

TTrayMenuMirror::~TTrayMenuMirror() {
    context_.reset(); // no click may arrive while the actions go
    entries_.clear();
}

void TTrayMenuMirror::SetSource(TPopupMenu* source, ClickHandler click) {
    source_ = source;
    click_ = std::move(click);
    Rebuild();
}

void TTrayMenuMirror::Sync() {
    if (!SameShape()) {
        Rebuild();
        return;
    }
    for (Entry& entry : entries_)
        Update(entry);
}

TMenuItem* TTrayMenuMirror::ItemOf(const QAction* action) const {
    for (const Entry& entry : entries_)
        if (entry.action == action)
            return entry.item;
    return nullptr;
}

bool TTrayMenuMirror::SameShape() const {
    if (source_ == nullptr)
        return entries_.empty();
    std::size_t at = 0;
    bool same = true;
    Walk(*source_->Items(), [&](const TMenuItem& item, const TMenuItem& parent) {
        if (!same)
            return;
        if (at >= entries_.size()) {
            same = false;
            return;
        }
        const Entry& entry = entries_[at++];
        same = entry.item == &item && entry.parent == &parent && entry.line == item.IsLine() &&
               entry.submenu == (!item.IsLine() && item.Count() > 0);
    });
    return same && at == entries_.size();
}

void TTrayMenuMirror::Rebuild() {
    entries_.clear();
    menu_->clear();
    // The submenus of the previous copy go after their actions, so no action points at a menu
    // that is gone.
    for (QMenu* submenu : menu_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        delete submenu;
    if (source_ != nullptr)
        Fill(*menu_, *source_->Items());
}

void TTrayMenuMirror::Fill(QMenu& menu, const TMenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        Entry entry;
        entry.item = item;
        entry.parent = &parent;
        entry.line = item->IsLine();
        entry.submenu = !entry.line && item->Count() > 0;
        if (entry.line) {
            entry.action = menu.addSeparator();
        } else if (entry.submenu) {
            // Every submenu is a child of the top menu, so a rebuild finds them all there.
            auto* submenu = new QMenu(menu_.get());
            entry.action = menu.addMenu(submenu);
        } else {
            entry.action = menu.addAction(QString());
            QObject::connect(entry.action, &QAction::triggered, context_.get(),
                             [this, item] { Chosen(item); });
        }
        entries_.push_back(std::move(entry));
        Update(entries_.back());
        if (entries_.back().submenu)
            Fill(*entries_.back().action->menu(), *item);
    }
}

void TTrayMenuMirror::Update(Entry& entry) {
    const TMenuItem& item = *entry.item;
    QAction& action = *entry.action;
    // Each setter below tells the host only of a real change, so a copy that changed nothing
    // sends nothing over the bus.
    action.setVisible(item.Visible());
    if (entry.line)
        return;
    action.setText(QString::fromUtf8(item.Caption().c_str()));
    action.setEnabled(item.Enabled());
    action.setCheckable(item.Checked() || item.RadioItem());
    action.setChecked(item.Checked());
    if (QFont font = action.font(); font.bold() != item.Default()) {
        font.setBold(item.Default());
        action.setFont(font);
    }
    std::vector<QImage> pictures = PicturesOf(*source_, item);
    if (!entry.pictures_set || pictures != entry.pictures) {
        QIcon icon;
        for (const QImage& picture : pictures)
            icon.addPixmap(QPixmap::fromImage(picture));
        action.setIcon(icon);
        entry.pictures = std::move(pictures);
        entry.pictures_set = true;
    }
}

bool TTrayMenuMirror::StillInMenu(const TMenuItem* item) const {
    if (source_ == nullptr)
        return false;
    bool found = false;
    Walk(*source_->Items(),
         [&](const TMenuItem& each, const TMenuItem&) { found = found || &each == item; });
    return found;
}

void TTrayMenuMirror::Chosen(TMenuItem* item) {
    // The host's activation is still being delivered here; what the item does (a restore hides
    // the icon) waits until that has ended.
    QMetaObject::invokeMethod(
        context_.get(),
        [this, item] {
            if (!StillInMenu(item) || !item->Enabled())
                return;
            if (click_)
                click_(item);
            else
                item->Click();
        },
        Qt::QueuedConnection);
}

} // namespace vd
