#pragma once

#include "framework/Component.h"
#include "framework/Graphics.h"

#include <functional>
#include <string>
#include <vector>

namespace vd {

class TImageList;
class TPopupMenu;
class TMenuItem;

// How an owner-drawn menu item is to be drawn.
enum TMenuItemStateFlag : unsigned {
    odSelected = 1u << 0,
    odGrayed = 1u << 1,
    odDisabled = 1u << 2,
    odChecked = 1u << 3,
    odDefault = 1u << 5,
};
using TOwnerDrawState = unsigned;

using TMenuMeasureItemEvent =
    std::function<void(TMenuItem* item, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent =
    std::function<void(TMenuItem* item, TCanvas& canvas, const TRect& rect, TOwnerDrawState)>;

// One item of a menu: a command, a heading, a separator (caption "-") or a submenu. The item
// tree does not own its items; their owner (usually the form) does.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    [[nodiscard]] const std::string& Caption() const { return caption_; }
    void SetCaption(std::string_view caption) { caption_ = caption; }
    // The text of the item's keyboard shortcut ("Ctrl+Q"), drawn right-aligned; empty: none.
    [[nodiscard]] const std::string& ShortCut() const { return shortcut_; }
    void SetShortCut(std::string_view text) { shortcut_ = text; }
    [[nodiscard]] int ImageIndex() const { return image_index_; }
    void SetImageIndex(int index) { image_index_ = index; }
    // The default item is drawn bold.
    [[nodiscard]] bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    [[nodiscard]] bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    [[nodiscard]] bool Checked() const { return checked_; }
    void SetChecked(bool value) { checked_ = value; }
    [[nodiscard]] bool IsLine() const { return caption_ == "-"; }

    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    [[nodiscard]] int Count() const { return static_cast<int>(items_.size()); }
    [[nodiscard]] TMenuItem* Items(int index) const;
    [[nodiscard]] TMenuItem* Parent() const { return parent_; }
    // The popup menu the item belongs to, through its parents.
    [[nodiscard]] TPopupMenu* ParentMenu() const;

    // Runs OnClick, showing an error that escapes it.
    void Click();

    TNotifyEvent OnClick;
    // Replace how the item is measured and drawn (a menu painter does); unset, the item is
    // measured and drawn plainly.
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnAdvancedDrawItem;

    void Measure(TCanvas& canvas, int& width, int& height);
    void Draw(TCanvas& canvas, const TRect& rect, TOwnerDrawState state);
    void DefaultMeasure(TCanvas& canvas, int& width, int& height) const;
    void DefaultDraw(TCanvas& canvas, const TRect& rect, TOwnerDrawState state) const;

    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TPopupMenu;
    std::string caption_;
    std::string shortcut_;
    int image_index_ = -1;
    bool default_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool checked_ = false;
    TMenuItem* parent_ = nullptr;
    TPopupMenu* menu_ = nullptr; // set on the root item
    std::vector<TMenuItem*> items_;
};

// A menu that pops up at a point and waits until an item is chosen or the menu is dismissed;
// the chosen item's OnClick runs after the menu has closed.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    [[nodiscard]] TMenuItem* Items() const { return root_; }
    [[nodiscard]] TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    [[nodiscard]] bool OwnerDraw() const { return owner_draw_; }
    void SetOwnerDraw(bool value) { owner_draw_ = value; }

    // Shows the menu with its top-left corner at the screen point (x, y).
    void Popup(int x, int y);
    [[nodiscard]] TPoint PopupPoint() const { return popup_point_; }

    TNotifyEvent OnPopup;

    // Tests answer popups with a script instead of a person: the hook gets the menu and the
    // point and returns the chosen item, or nullptr to dismiss.
    using PopupScript = std::function<TMenuItem*(TPopupMenu& menu, TPoint screen)>;
    static void SetPopupScript(PopupScript script);

    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* root_;
    TImageList* images_ = nullptr;
    bool owner_draw_ = false;
    TPoint popup_point_;
};

} // namespace vd
