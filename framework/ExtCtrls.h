#pragma once

#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace vd {

// A window-less control that shows a picture at its top-left corner; transparent, the pixels of
// the picture's transparent colour let what lies beneath show through. With AutoSize the control
// takes the picture's size.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    [[nodiscard]] const TBitmap& Picture() const { return picture_; }
    // The picture and the colour of its pixels that are see-through (clNone: none).
    void SetPicture(const TBitmap& picture, TColor transparent_color = clNone);
    [[nodiscard]] TColor TransparentColor() const { return transparent_color_; }
    [[nodiscard]] bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    [[nodiscard]] bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool value);

protected:
    void Paint() override;

private:
    void AdjustSize();
    TBitmap picture_;
    TColor transparent_color_ = clNone;
    bool transparent_ = false;
    bool auto_size_ = false;
};

} // namespace vd
