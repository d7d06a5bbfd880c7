#pragma once

#include "framework/Component.h"
#include "framework/Types.h"

#include <cstdint>
#include <functional>

namespace vd {

class TVsPersistent;
using TVsChangeEvent = std::function<void(TVsPersistent* sender)>;

// A value object that tells its owner about changes, with update brackets that batch them:
// closing the last bracket notifies once, whether or not anything changed inside it.
class TVsPersistent : public TPersistent {
public:
    [[nodiscard]] int32_t UpdateCount() const { return update_count_; }
    void BeginUpdate() { ++update_count_; }
    void EndUpdate();
    // Notifies OnChange unless a bracket is open.
    void Changed();

    TVsChangeEvent OnChange;

private:
    int32_t update_count_ = 0;
};

// The part of a skin graphic a control uses: left, top, width, height.
class TVsClipRect : public TVsPersistent {
public:
    [[nodiscard]] int32_t Left() const { return left_; }
    [[nodiscard]] int32_t Top() const { return top_; }
    [[nodiscard]] int32_t Width() const { return width_; }
    [[nodiscard]] int32_t Height() const { return height_; }
    void SetLeft(int32_t v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int32_t v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int32_t v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int32_t v) { SetBounds(left_, top_, width_, v); }
    // Stores all four and notifies once, unless nothing changes.
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    [[nodiscard]] TRect GetRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    void SetRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }

    // From another clip rectangle: copies the four values in one bracket (one notification).
    void Assign(const TPersistent* source) override;

private:
    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace vd
