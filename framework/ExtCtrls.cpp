#include "framework/ExtCtrls.h"

namespace vd {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    BeginDestruction();
}

void TImage::SetPicture(const TBitmap& picture, TColor transparent_color) {
    picture_ = picture;
    transparent_color_ = transparent_color;
    AdjustSize();
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    if (transparent_ == value)
        return;
    transparent_ = value;
    Invalidate();
}

void TImage::SetAutoSize(bool value) {
    if (auto_size_ == value)
        return;
    auto_size_ = value;
    AdjustSize();
}

void TImage::AdjustSize() {
    if (auto_size_ && !picture_.Empty())
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void TImage::Paint() {
    if (picture_.Empty())
        return;
    TCanvas& c = Canvas();
    const TRect whole{0, 0, picture_.Width(), picture_.Height()};
    if (transparent_ && transparent_color_ != clNone) {
        c.Brush().SetStyle(TBrushStyle::bsClear);
        c.BrushCopy(whole, picture_, whole, transparent_color_);
        return;
    }
    c.Draw(0, 0, picture_);
}

} // namespace vd
