#pragma once

#include "framework/Controls.h"

#include <span>
#include <string>
#include <vector>

namespace vd {

// A list of text lines with at most one selected; the plain list box, drawn line by line.
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

    // The selected index, -1 for none. Setting it out of range selects nothing.
    [[nodiscard]] int ItemIndex() const { return item_index_; }
    virtual void SetItemIndex(int index);
    [[nodiscard]] int ItemHeight() const { return item_height_; }
    void SetItemHeight(int height);
    [[nodiscard]] int TopIndex() const { return top_index_; }
    void SetTopIndex(int index);

    // While an update is open, changes do not repaint.
    void BeginUpdate() { ++update_count_; }
    void EndUpdate();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // Called after the lines changed (added, removed, reordered, cleared).
    virtual void ItemsChanged();
    void Changed();

private:
    std::vector<std::string> items_;
    int item_index_ = -1;
    int item_height_ = 13;
    int top_index_ = 0;
    int update_count_ = 0;
};

} // namespace vd
