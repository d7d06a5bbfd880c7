#include "skin/VsClasses.h"

namespace vd {

void TVsPersistent::EndUpdate() {
    if (update_count_ > 0)
        --update_count_;
    Changed();
}

void TVsPersistent::Changed() {
    if (update_count_ == 0 && OnChange)
        OnChange(this);
}

void TVsClipRect::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Changed();
}

void TVsClipRect::Assign(const TPersistent* source) {
    if (const auto* clip = dynamic_cast<const TVsClipRect*>(source)) {
        BeginUpdate();
        left_ = clip->left_;
        top_ = clip->top_;
        width_ = clip->width_;
        height_ = clip->height_;
        EndUpdate();
        return;
    }
    TVsPersistent::Assign(source);
}

} // namespace vd
