#pragma once

#include "framework/Controls.h"
#include "framework/ScrollBarLook.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vd {

// How a list box draws its lines: itself, or through DrawItem with one height for all lines, or
// through DrawItem with a height measured for each line (MeasureItem) as it is added.
enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// bsSingle gives the list a sunken two-pixel frame; the lines lie inside it.
enum class TBorderStyle { bsNone, bsSingle };

// State of a line being drawn, as the classic owner-draw request carries it.
enum TOwnerDrawStateFlag : unsigned {
    ODS_SELECTED = 0x01,
    ODS_GRAYED = 0x02,
    ODS_DISABLED = 0x04,
    ODS_CHECKED = 0x08,
    ODS_FOCUS = 0x10,
};

// One owner-draw request: which line (-1 for none: an empty list that has the focus), its state
// flags, the canvas to draw on (origin at the top-left of the line area) and the line's rectangle.
struct TDrawItemStruct {
    int ItemID = -1;
    unsigned ItemState = 0;
    TCanvas* Canvas = nullptr;
    TRect ItemRect;
};

// Paints the dotted focus frame along the inside of `r`, inverting every other pixel, so that
// drawing it twice takes it away again.
void DrawFocusRect(TCanvas& canvas, const TRect& r);

// A list of text lines with at most one selected. It scrolls by whole lines with a vertical scroll
// bar that shows when the lines do not fit, and takes the keyboard (arrows, Home, End, Page Up and
// Down), the wheel, clicks and drags that select, and double clicks. Owner-drawn styles hand every
// line to DrawItem; the variable style keeps the measured heights with running totals, so that
// positions, hit tests and scrolling stay cheap for a hundred thousand lines.
//
// ItemRect and ItemAtPos work in the coordinates of the line area: the control less its border.
class TListBox : public TCustomControl {
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;

    [[nodiscard]] int Count() const { return static_cast<int>(items_.size()); }
    // The line at `index`; fails with EListError out of range.
    [[nodiscard]] const std::string& Items(int index) const;
    [[nodiscard]] const std::vector<std::string>& Lines() const { return items_; }
    int Add(std::string line);
    void AddRange(std::vector<std::string> lines);
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear();
    // Puts the lines in the order `order` (a permutation of the indexes); no selection after.
    void Reorder(std::span<const std::size_t> order);

    // The selected index, -1 for none. Setting it out of range selects nothing; a selected line
    // is scrolled into view.
    [[nodiscard]] int ItemIndex() const { return item_index_; }
    virtual void SetItemIndex(int index);
    // Whether line `index` is selected; fails with EListError out of range.
    [[nodiscard]] bool Selected(int index) const;
    void SetSelected(int index, bool selected);

    // The height of every line in the standard and fixed styles, and the height proposed to
    // MeasureItem in the variable style.
    [[nodiscard]] virtual int ItemHeight() const { return item_height_; }
    virtual void SetItemHeight(int height);
    // The first line shown. It is kept between 0 and the last position at which the lines still
    // fill the control.
    [[nodiscard]] int TopIndex() const { return top_index_; }
    void SetTopIndex(int index);

    [[nodiscard]] TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle style);
    [[nodiscard]] TBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TBorderStyle style);

    // The rectangle of line `index` relative to the top line (above the area for lines before
    // it), as wide as the line area.
    [[nodiscard]] TRect ItemRect(int index) const;
    // The line at `p`; outside the lines -1 when `existing`, else Count() below the last line.
    [[nodiscard]] int ItemAtPos(TPoint p, bool existing) const;
    // The line under the latest mouse press, -1 for none: a double click's handler asks whether
    // the click hit a line.
    [[nodiscard]] int ItemAtPress() const;
    // The line area in control coordinates: inside the border, left of a shown scroll bar.
    [[nodiscard]] TRect ItemAreaRect() const;
    [[nodiscard]] bool ScrollBarShown() const { return scroll_bar_shown_; }
    // The scroll bar is painted in `look`'s colours; without one the desktop paints it. Either
    // way it behaves the same.
    void SetScrollBarLook(std::optional<TScrollBarLook> look);
    [[nodiscard]] std::optional<TScrollBarLook> ScrollBarLook() const;

    // While an update is open, changes do not repaint.
    void BeginUpdate() { ++update_count_; }
    void EndUpdate();

    // Width of the vertical scroll bar, and of the sunken frame of bsSingle.
    static constexpr int kScrollBarWidth = 16;
    static constexpr int kBorderWidth = 2;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    bool MouseWheel(TShiftState shift, int wheel_delta, TPoint mouse_pos) override;
    void DoEnter() override;
    void DoExit() override;
    void EnabledChanged() override;
    void BoundsChanged(const TRect& old_bounds) override;

    // The variable style asks for the height of line `index` here when the line is added (or
    // measured anew); `height` comes in as the list's own line height.
    virtual void MeasureItem(int index, int& height);
    // Draws one line (or, with ItemID -1, the focus of an empty list) on item.Canvas. The
    // default draws the text, selected lines in the highlight colours.
    virtual void DrawItem(const TDrawItemStruct& item);
    // Called after the lines changed (added, removed, reordered, cleared).
    virtual void ItemsChanged();
    // Called after ItemIndex took a new value, for whatever reason (a click, a key, a call, or
    // lines added or removed before the selected one).
    virtual void SelectionChanged() {}

    // Asks for every line's height anew (variable style) and repaints once.
    void RemeasureAll();
    // Repaints one line.
    void InvalidateItem(int index);
    // A point in control coordinates in the coordinates of the line area.
    [[nodiscard]] TPoint ControlToItemArea(int x, int y) const;
    void Changed();

private:
    struct ScrollBar;
    [[nodiscard]] int Border() const {
        return border_style_ == TBorderStyle::bsSingle ? kBorderWidth : 0;
    }
    [[nodiscard]] bool Variable() const { return style_ == TListBoxStyle::lbOwnerDrawVariable; }
    [[nodiscard]] int HeightOf(int index) const;
    // The distance from the top of line 0 to the top of line `index` (0 <= index <= Count()).
    [[nodiscard]] int64_t TopOf(int index) const;
    void TopsChangedFrom(int index);
    [[nodiscard]] int MeasuredHeight(int index);
    [[nodiscard]] int MaxTopIndex() const;
    // The first top index that shows all of line `index` (or its top, when it is taller than the
    // line area).
    [[nodiscard]] int TopToShowAtBottom(int index) const;
    // The line whose span holds `offset` (from the top of line 0), Count() past the last.
    [[nodiscard]] int IndexAtOffset(int64_t offset) const;
    [[nodiscard]] int CaretIndex() const;
    [[nodiscard]] int LastVisibleIndex() const;
    void MakeVisible(int index);
    void SetItemIndexValue(int index);
    void SelectByUser(int index);
    void UpdateScrollBar();
    void PaintBorder(TCanvas& canvas);

    std::vector<std::string> items_;
    // Variable style: each line's height, and running totals of them, valid up to valid_tops_.
    std::vector<int> heights_;
    mutable std::vector<int64_t> tops_;
    mutable std::size_t valid_tops_ = 0;
    int item_index_ = -1;
    int item_height_ = 13;
    int top_index_ = 0;
    int update_count_ = 0;
    int wheel_rest_ = 0;
    bool tracking_ = false;
    bool scroll_bar_shown_ = false;
    TListBoxStyle style_ = TListBoxStyle::lbStandard;
    TBorderStyle border_style_ = TBorderStyle::bsSingle;
    std::unique_ptr<ScrollBar> scroll_bar_;
};

} // namespace vd
