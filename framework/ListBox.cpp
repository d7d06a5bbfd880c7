#include "framework/ListBox.h"

namespace vd {

TListBox::TListBox(TComponent* owner) : TCustomControl(owner) {
    SetColor(clWindow);
    Font().SetColor(clWindowText);
    SetBounds(0, 0, 121, 97);
}

TListBox::~TListBox() { BeginDestruction(); }

const std::string& TListBox::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

int TListBox::Add(std::string line) {
    items_.push_back(std::move(line));
    Changed();
    return Count() - 1;
}

void TListBox::AddRange(std::vector<std::string> lines) {
    if (items_.empty())
        items_ = std::move(lines);
    else
        items_.insert(items_.end(), std::make_move_iterator(lines.begin()),
                      std::make_move_iterator(lines.end()));
    Changed();
}

void TListBox::Insert(int index, std::string line) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, std::move(line));
    if (item_index_ >= index)
        ++item_index_;
    Changed();
}

void TListBox::Delete(int index) {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.erase(items_.begin() + index);
    // A list box loses its selection when the selected line goes; others keep theirs.
    if (item_index_ == index)
        item_index_ = -1;
    else if (item_index_ > index)
        --item_index_;
    Changed();
}

void TListBox::Clear() {
    items_.clear();
    item_index_ = -1;
    top_index_ = 0;
    Changed();
}

void TListBox::Reorder(std::span<const std::size_t> order) {
    if (order.size() != items_.size())
        throw EListError("Reorder needs one index per line");
    std::vector<std::string> sorted;
    sorted.reserve(items_.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(items_.at(i)));
    items_ = std::move(sorted);
    item_index_ = -1;
    Changed();
}

void TListBox::SetItemIndex(int index) {
    if (index < -1 || index >= Count())
        index = -1;
    if (index == item_index_)
        return;
    item_index_ = index;
    if (index >= 0) {
        const int visible = std::max(1, Height() / std::max(1, item_height_));
        if (index < top_index_)
            top_index_ = index;
        else if (index >= top_index_ + visible)
            top_index_ = index - visible + 1;
    }
    if (update_count_ == 0)
        Invalidate();
}

void TListBox::SetItemHeight(int height) {
    if (height > 0 && height != item_height_) {
        item_height_ = height;
        Invalidate();
    }
}

void TListBox::SetTopIndex(int index) {
    index = std::clamp(index, 0, std::max(0, Count() - 1));
    if (index != top_index_) {
        top_index_ = index;
        Invalidate();
    }
}

void TListBox::EndUpdate() {
    if (update_count_ > 0 && --update_count_ == 0)
        Invalidate();
}

void TListBox::Changed() {
    if (top_index_ >= Count())
        top_index_ = std::max(0, Count() - 1);
    ItemsChanged();
    if (update_count_ == 0)
        Invalidate();
}

void TListBox::ItemsChanged() {}

void TListBox::Paint() {
    TCanvas& c = Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(Color());
    c.FillRect(ClientRect());
    c.Font().Assign(&Font());
    for (int i = top_index_, y = 0; i < Count() && y < Height(); ++i, y += item_height_) {
        TRect r{0, y, Width(), y + item_height_};
        if (i == item_index_) {
            c.Brush().SetColor(clHighlight);
            c.FillRect(r);
            c.Font().SetColor(clHighlightText);
        } else {
            c.Font().SetColor(Font().Color());
        }
        c.Brush().SetStyle(TBrushStyle::bsClear);
        TRect text = r.Offset(2, 0);
        c.DrawText(Items(i), text, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        c.Brush().SetStyle(TBrushStyle::bsSolid);
    }
}

void TListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) {
        const int index = top_index_ + y / std::max(1, item_height_);
        if (index < Count())
            SetItemIndex(index);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

} // namespace vd
