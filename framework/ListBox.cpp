#include "framework/ListBox.h"

#include "framework/SkinnedScrollBar.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace vd {

namespace {

// Lines scrolled by one wheel notch, as the desktop's default.
constexpr int kWheelLines = 3;

} // namespace

void DrawFocusRect(TCanvas& canvas, const TRect& r) {
    if (r.IsEmpty())
        return;
    QPainter& p = canvas.Painter();
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(QColor(255, 255, 255), 0));
    auto dot = [&p](int x, int y) {
        if (((x + y) & 1) == 0)
            p.drawPoint(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        dot(x, r.Top);
        if (r.Bottom - 1 > r.Top)
            dot(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        dot(r.Left, y);
        if (r.Right - 1 > r.Left)
            dot(r.Right - 1, y);
    }
    p.restore();
}

// The scroll bar is a real child window over the right edge of the list; it only reports where
// the user moved it.
struct TListBox::ScrollBar {
    std::unique_ptr<SkinnedScrollBar> bar;
    bool syncing = false;
};

TListBox::TListBox(TComponent* owner)
    : TCustomControl(owner), scroll_bar_(std::make_unique<ScrollBar>()) {
    SetColor(clWindow);
    Font().SetColor(clWindowText);
    Widget()->setFocusPolicy(Qt::StrongFocus);
    scroll_bar_->bar = std::make_unique<SkinnedScrollBar>(Widget());
    scroll_bar_->bar->hide();
    scroll_bar_->bar->setFocusPolicy(Qt::NoFocus);
    QObject::connect(scroll_bar_->bar.get(), &QScrollBar::valueChanged, [this](int value) {
        if (!scroll_bar_->syncing)
            SafeCall([&] { SetTopIndex(value); });
    });
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() {
    BeginDestruction();
    scroll_bar_->bar.reset();
}

// ---- lines ------------------------------------------------------------------------------------

const std::string& TListBox::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

int TListBox::MeasuredHeight(int index) {
    int height = item_height_;
    MeasureItem(index, height);
    return std::max(1, height);
}

void TListBox::MeasureItem(int, int&) {}

int TListBox::Add(std::string line) {
    items_.push_back(std::move(line));
    if (Variable()) {
        heights_.push_back(item_height_);
        TopsChangedFrom(Count() - 1);
        heights_.back() = MeasuredHeight(Count() - 1);
    }
    Changed();
    return Count() - 1;
}

void TListBox::AddRange(std::vector<std::string> lines) {
    const int first = Count();
    if (items_.empty())
        items_ = std::move(lines);
    else
        items_.insert(items_.end(), std::make_move_iterator(lines.begin()),
                      std::make_move_iterator(lines.end()));
    if (Variable()) {
        heights_.resize(items_.size(), item_height_);
        TopsChangedFrom(first);
        for (int i = first; i < Count(); ++i)
            heights_[static_cast<std::size_t>(i)] = MeasuredHeight(i);
    }
    Changed();
}

void TListBox::Insert(int index, std::string line) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, std::move(line));
    if (Variable()) {
        heights_.insert(heights_.begin() + index, item_height_);
        TopsChangedFrom(index);
        heights_[static_cast<std::size_t>(index)] = MeasuredHeight(index);
    }
    const bool moved = item_index_ >= index;
    if (moved)
        ++item_index_;
    Changed();
    if (moved)
        SelectionChanged();
}

void TListBox::Delete(int index) {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.erase(items_.begin() + index);
    if (Variable()) {
        heights_.erase(heights_.begin() + index);
        TopsChangedFrom(index);
    }
    // A list box loses its selection when the selected line goes; others keep theirs.
    const int old = item_index_;
    if (item_index_ == index)
        item_index_ = -1;
    else if (item_index_ > index)
        --item_index_;
    Changed();
    if (item_index_ != old)
        SelectionChanged();
}

void TListBox::Clear() {
    items_.clear();
    heights_.clear();
    TopsChangedFrom(0);
    const int old = item_index_;
    item_index_ = -1;
    top_index_ = 0;
    Changed();
    if (old != -1)
        SelectionChanged();
}

void TListBox::Reorder(std::span<const std::size_t> order) {
    if (order.size() != items_.size())
        throw EListError("Reorder needs one index per line");
    std::vector<std::string> sorted;
    sorted.reserve(items_.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(items_.at(i)));
    items_ = std::move(sorted);
    if (Variable()) {
        std::vector<int> heights;
        heights.reserve(heights_.size());
        for (std::size_t i : order)
            heights.push_back(heights_.at(i));
        heights_ = std::move(heights);
        TopsChangedFrom(0);
    }
    const int old = item_index_;
    item_index_ = -1;
    Changed();
    if (old != -1)
        SelectionChanged();
}

void TListBox::RemeasureAll() {
    if (Variable()) {
        heights_.assign(items_.size(), item_height_);
        TopsChangedFrom(0);
        for (int i = 0; i < Count(); ++i)
            heights_[static_cast<std::size_t>(i)] = MeasuredHeight(i);
    }
    Changed();
}

void TListBox::Changed() {
    top_index_ = std::clamp(top_index_, 0, MaxTopIndex());
    ItemsChanged();
    if (update_count_ == 0) {
        UpdateScrollBar();
        Invalidate();
    }
}

void TListBox::ItemsChanged() {}

void TListBox::EndUpdate() {
    if (update_count_ > 0 && --update_count_ == 0) {
        UpdateScrollBar();
        Invalidate();
    }
}

// ---- geometry ---------------------------------------------------------------------------------

int TListBox::HeightOf(int index) const {
    return Variable() ? heights_[static_cast<std::size_t>(index)] : item_height_;
}

void TListBox::TopsChangedFrom(int index) {
    valid_tops_ = std::min(valid_tops_, static_cast<std::size_t>(std::max(0, index)));
}

int64_t TListBox::TopOf(int index) const {
    if (!Variable())
        return static_cast<int64_t>(index) * item_height_;
    const auto wanted = static_cast<std::size_t>(std::clamp(index, 0, Count()));
    if (tops_.size() != items_.size() + 1) {
        tops_.resize(items_.size() + 1);
        tops_[0] = 0;
    }
    for (; valid_tops_ < wanted; ++valid_tops_)
        tops_[valid_tops_ + 1] = tops_[valid_tops_] + heights_[valid_tops_];
    return tops_[wanted];
}

int TListBox::IndexAtOffset(int64_t offset) const {
    if (offset < 0)
        return -1;
    if (!Variable())
        return static_cast<int>(std::min<int64_t>(offset / item_height_, Count()));
    (void)TopOf(Count());
    // The last line whose top is at or above the offset.
    const auto it = std::upper_bound(tops_.begin(), tops_.end(), offset);
    const int index = static_cast<int>(it - tops_.begin()) - 1;
    return std::min(index, Count());
}

TRect TListBox::ItemAreaRect() const {
    const int b = Border();
    TRect r{b, b, Width() - b, Height() - b};
    if (scroll_bar_shown_)
        r.Right -= kScrollBarWidth;
    r.Right = std::max(r.Left, r.Right);
    r.Bottom = std::max(r.Top, r.Bottom);
    return r;
}

TPoint TListBox::ControlToItemArea(int x, int y) const {
    const int b = Border();
    return {x - b, y - b};
}

int TListBox::MaxTopIndex() const {
    const int64_t area = std::max(1, ItemAreaRect().Height());
    const int64_t total = TopOf(Count());
    if (total <= area || Count() == 0)
        return 0;
    // The first line from which the rest fits.
    const int first = IndexAtOffset(total - area);
    const int top = TopOf(first) < total - area ? first + 1 : first;
    return std::clamp(top, 0, Count() - 1);
}

int TListBox::TopToShowAtBottom(int index) const {
    const int64_t area = std::max(1, ItemAreaRect().Height());
    const int64_t bottom = TopOf(index + 1);
    if (bottom - TopOf(index) >= area)
        return index;
    if (bottom <= area)
        return 0;
    const int first = IndexAtOffset(bottom - area);
    const int top = TopOf(first) < bottom - area ? first + 1 : first;
    return std::clamp(top, 0, index);
}

int TListBox::LastVisibleIndex() const {
    if (Count() == 0)
        return -1;
    const int64_t area = ItemAreaRect().Height();
    const int index = IndexAtOffset(TopOf(top_index_) + std::max<int64_t>(0, area - 1));
    return std::clamp(index, top_index_, Count() - 1);
}

TRect TListBox::ItemRect(int index) const {
    if (index < 0 || index > Count())
        return {};
    const int top = static_cast<int>(TopOf(index) - TopOf(top_index_));
    const int height = index < Count() ? HeightOf(index) : item_height_;
    return {0, top, ItemAreaRect().Width(), top + height};
}

int TListBox::ItemAtPos(TPoint p, bool existing) const {
    const TRect area = ItemAreaRect();
    if (p.X < 0 || p.X >= area.Width() || p.Y < 0 || p.Y >= area.Height())
        return existing ? -1 : Count();
    const int index = IndexAtOffset(TopOf(top_index_) + p.Y);
    if (index >= Count())
        return existing ? -1 : Count();
    return index;
}

int TListBox::ItemAtPress() const {
    const TPoint p = PressPos();
    return ItemAtPos(ControlToItemArea(p.X, p.Y), true);
}

void TListBox::InvalidateItem(int index) {
    if (index < 0 || index >= Count() || update_count_ > 0)
        return;
    const TRect area = ItemAreaRect();
    const TRect r = ItemRect(index).Offset(area.Left, area.Top).Intersect(area);
    if (!r.IsEmpty())
        InvalidateRect(r);
}

void TListBox::BoundsChanged(const TRect& old_bounds) {
    TCustomControl::BoundsChanged(old_bounds);
    if (scroll_bar_)
        UpdateScrollBar();
}

// ---- properties -------------------------------------------------------------------------------

bool TListBox::Selected(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return index == item_index_;
}

void TListBox::SetSelected(int index, bool selected) {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (selected)
        SetItemIndex(index);
    else if (index == item_index_)
        SetItemIndex(-1);
}

void TListBox::SetItemIndex(int index) {
    if (index < -1 || index >= Count())
        index = -1;
    if (index == item_index_)
        return;
    SetItemIndexValue(index);
}

void TListBox::SetItemIndexValue(int index) {
    const int old = item_index_;
    item_index_ = index;
    const int old_top = top_index_;
    if (index >= 0)
        MakeVisible(index);
    if (update_count_ == 0) {
        if (top_index_ != old_top) {
            UpdateScrollBar();
            Invalidate();
        } else {
            InvalidateItem(old);
            InvalidateItem(index);
            if (old < 0 || index < 0)
                InvalidateItem(0); // the focus frame rests on line 0 without a selection
        }
    }
    SelectionChanged();
}

void TListBox::MakeVisible(int index) {
    if (index < top_index_)
        top_index_ = index;
    else if (index > top_index_)
        top_index_ = std::max(top_index_, TopToShowAtBottom(index));
}

void TListBox::SetItemHeight(int height) {
    if (height > 0 && height != item_height_) {
        item_height_ = height;
        if (Variable())
            return; // measured lines keep their heights until measured anew
        Changed();
    }
}

void TListBox::SetTopIndex(int index) {
    index = std::clamp(index, 0, MaxTopIndex());
    if (index != top_index_) {
        top_index_ = index;
        if (update_count_ == 0) {
            UpdateScrollBar();
            Invalidate();
        }
    }
}

void TListBox::SetStyle(TListBoxStyle style) {
    if (style == style_)
        return;
    style_ = style;
    heights_.clear();
    tops_.clear();
    valid_tops_ = 0;
    RemeasureAll();
}

void TListBox::SetBorderStyle(TBorderStyle style) {
    if (style == border_style_)
        return;
    border_style_ = style;
    Changed();
}

void TListBox::SetScrollBarLook(std::optional<TScrollBarLook> look) {
    if (scroll_bar_->bar)
        scroll_bar_->bar->SetLook(look);
}

std::optional<TScrollBarLook> TListBox::ScrollBarLook() const {
    if (!scroll_bar_->bar)
        return std::nullopt;
    return scroll_bar_->bar->Look();
}

void TListBox::UpdateScrollBar() {
    if (!scroll_bar_ || !scroll_bar_->bar)
        return;
    SkinnedScrollBar& bar = *scroll_bar_->bar;
    const int b = Border();
    const int64_t area = std::max(0, Height() - 2 * b);
    const bool shown = Count() > 0 && TopOf(Count()) > area && Width() - 2 * b > kScrollBarWidth;
    scroll_bar_shown_ = shown;
    scroll_bar_->syncing = true;
    if (shown) {
        const int max_top = MaxTopIndex();
        top_index_ = std::clamp(top_index_, 0, max_top);
        const int page = std::max(1, LastVisibleIndex() - top_index_);
        bar.setGeometry(Width() - b - kScrollBarWidth, b, kScrollBarWidth, Height() - 2 * b);
        bar.setRange(0, max_top);
        bar.setPageStep(page);
        bar.setSingleStep(1);
        bar.setValue(top_index_);
        bar.setEnabled(Enabled());
        bar.show();
    } else {
        bar.hide();
    }
    scroll_bar_->syncing = false;
}

// ---- selection by the user --------------------------------------------------------------------

int TListBox::CaretIndex() const {
    if (Count() == 0)
        return -1;
    return item_index_ >= 0 ? item_index_ : 0;
}

void TListBox::SelectByUser(int index) {
    index = std::clamp(index, 0, Count() - 1);
    if (Count() == 0 || index == item_index_)
        return;
    SetItemIndex(index);
    Click(); // a selection the user made is reported as a click, as a list box does
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) {
        const int index = ItemAtPos(ControlToItemArea(x, y), true);
        if (index >= 0) {
            tracking_ = true;
            SetItemIndex(index);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TListBox::MouseMove(TShiftState shift, int x, int y) {
    if (tracking_ && (shift & ssLeft) != 0 && Count() > 0) {
        // Dragging with the button down moves the selection, scrolling at the edges.
        const TPoint p = ControlToItemArea(x, y);
        const TRect area = ItemAreaRect();
        int index;
        if (p.Y < 0)
            index = top_index_ - 1;
        else if (p.Y >= area.Height())
            index = LastVisibleIndex() + 1;
        else
            index = std::min(IndexAtOffset(TopOf(top_index_) + p.Y), Count() - 1);
        index = std::clamp(index, 0, Count() - 1);
        if (index != item_index_)
            SetItemIndex(index);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft)
        tracking_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TListBox::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (Count() == 0)
        return;
    const int caret = item_index_;
    const int last = Count() - 1;
    int target;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        target = caret < 0 ? 0 : caret - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        target = caret + 1;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = last;
        break;
    case VK_NEXT: {
        // The last line that fits below the current one, at least one further.
        const int from = std::max(caret, 0);
        const int64_t area = std::max(1, ItemAreaRect().Height());
        const int reach = IndexAtOffset(TopOf(from) + area) - 1;
        target = std::max(reach, from + 1);
        break;
    }
    case VK_PRIOR: {
        const int from = std::max(caret, 0);
        const int64_t area = std::max(1, ItemAreaRect().Height());
        const int64_t bottom = TopOf(from + 1);
        int reach = IndexAtOffset(std::max<int64_t>(0, bottom - area));
        if (TopOf(reach) < bottom - area)
            ++reach;
        target = std::min(reach, from - 1);
        break;
    }
    default:
        return;
    }
    key = 0;
    SelectByUser(std::clamp(target, 0, last));
}

bool TListBox::MouseWheel(TShiftState, int wheel_delta, TPoint) {
    wheel_rest_ += wheel_delta;
    const int notches = wheel_rest_ / kWheelDelta;
    wheel_rest_ -= notches * kWheelDelta;
    if (notches != 0)
        SetTopIndex(top_index_ - notches * kWheelLines);
    return true;
}

void TListBox::DoEnter() {
    InvalidateItem(CaretIndex());
    if (Count() == 0)
        Invalidate();
    TCustomControl::DoEnter();
}

void TListBox::DoExit() {
    tracking_ = false;
    InvalidateItem(CaretIndex());
    if (Count() == 0)
        Invalidate();
    TCustomControl::DoExit();
}

void TListBox::EnabledChanged() {
    TCustomControl::EnabledChanged();
    if (scroll_bar_ && scroll_bar_->bar)
        scroll_bar_->bar->setEnabled(Enabled());
}

// ---- painting ---------------------------------------------------------------------------------

void TListBox::PaintBorder(TCanvas& canvas) {
    // The sunken edge: shadow outside top and left, highlight outside bottom and right, and the
    // darker pair inside.
    const int w = Width();
    const int h = Height();
    auto line = [&canvas](TColor color, int x0, int y0, int x1, int y1) {
        canvas.Pen().SetColor(color);
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
    };
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Pen().SetWidth(1);
    line(clBtnShadow, 0, h - 1, 0, 0);
    line(clBtnShadow, 0, 0, w - 1, 0);
    line(clBtnHighlight, w - 1, 0, w - 1, h - 1);
    line(clBtnHighlight, 0, h - 1, w, h - 1);
    line(cl3DDkShadow, 1, h - 2, 1, 1);
    line(cl3DDkShadow, 1, 1, w - 2, 1);
    line(cl3DLight, w - 2, 1, w - 2, h - 2);
    line(cl3DLight, 1, h - 2, w - 1, h - 2);
}

void TListBox::Paint() {
    TCanvas& canvas = Canvas();
    if (Border() > 0)
        PaintBorder(canvas);
    const TRect area = ItemAreaRect();
    const TRect dirty = canvas.ClipRect().Intersect(area);
    if (dirty.IsEmpty())
        return;
    const TPoint origin{canvas.Origin().X + area.Left, canvas.Origin().Y + area.Top};
    const TRect clip = dirty.Offset(-area.Left, -area.Top);
    TCanvas lines(&canvas.Target(), origin, clip);
    lines.Brush().SetColor(Color());
    lines.FillRect(clip);
    lines.Font().Assign(&Font());

    const bool focused = Focused();
    const bool owner_draw = style_ != TListBoxStyle::lbStandard;
    if (Count() == 0) {
        if (focused && owner_draw)
            DrawItem({-1, ODS_FOCUS, &lines, {0, 0, area.Width(), item_height_}});
        return;
    }
    const int caret = CaretIndex();
    const int last = LastVisibleIndex();
    int y = 0;
    for (int i = top_index_; i <= last; ++i) {
        const TRect r{0, y, area.Width(), y + HeightOf(i)};
        y = r.Bottom;
        // The last line is drawn also when only the space below it needs painting: an owner
        // may paint that space too.
        const bool below = i == last && clip.Bottom > r.Bottom;
        if (r.Intersect(clip).IsEmpty() && !below)
            continue;
        unsigned state = 0;
        if (i == item_index_)
            state |= ODS_SELECTED;
        if (!Enabled())
            state |= ODS_DISABLED;
        if (focused && i == caret)
            state |= ODS_FOCUS;
        DrawItem({i, state, &lines, r});
    }
    lines.Release();
}

void TListBox::DrawItem(const TDrawItemStruct& item) {
    if (item.ItemID < 0 || item.ItemID >= Count())
        return;
    TCanvas& c = *item.Canvas;
    const TRect r = item.ItemRect;
    const TColor text_color = c.Font().Color();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    if ((item.ItemState & ODS_SELECTED) != 0) {
        c.Brush().SetColor(clHighlight);
        c.FillRect(r);
        c.Font().SetColor(clHighlightText);
    } else {
        c.Brush().SetColor(Color());
        c.FillRect(r);
    }
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TRect text = r.Offset(2, 0);
    c.DrawText(Items(item.ItemID), text, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Font().SetColor(text_color);
    if ((item.ItemState & ODS_FOCUS) != 0)
        DrawFocusRect(c, r);
}

} // namespace vd
