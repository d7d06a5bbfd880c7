#pragma once

#include "framework/Component.h"
#include "framework/Graphics.h"

#include <vector>

namespace vd {

// Equal-sized pictures with transparency, drawn by index (menu images).
class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);

    [[nodiscard]] int Width() const { return width_; }
    [[nodiscard]] int Height() const { return height_; }
    void SetSize(int width, int height);
    [[nodiscard]] int Count() const { return static_cast<int>(images_.size()); }

    // Cuts `strip` into pictures of Width() side by side; pixels of `mask` are transparent.
    // Returns the index of the first one added.
    int AddMasked(const TBitmap& strip, TColor mask);
    void Clear() { images_.clear(); }

    // Draws picture `index` at (x, y); a disabled picture is drawn greyed. Nothing for an index
    // out of range.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
    struct Picture {
        TBitmap bitmap;
        TColor mask = clNone;
    };
    int width_ = 16;
    int height_ = 16;
    std::vector<Picture> images_;
};

} // namespace vd
