#include "skin/VsProgressBar.h"

namespace vd {

TVsProgressBar::TVsProgressBar(TComponent* owner) : TVsSkinGraphicControl(owner) {
    clip_rect_.OnChange = [this](TVsPersistent*) {
        BuildStrip();
        RepaintFace();
    };
    SetBounds(0, 0, 125, 10);
}

TVsProgressBar::~TVsProgressBar() {
    BeginDestruction();
}

void TVsProgressBar::Apply(TVsRange::Effect effect) {
    if (effect != TVsRange::Effect::None)
        RepaintFace();
}

void TVsProgressBar::SetMinValue(int32_t value) {
    Apply(range_.SetMin(value));
}
void TVsProgressBar::SetMaxValue(int32_t value) {
    Apply(range_.SetMax(value));
}
void TVsProgressBar::SetPosition(int32_t value) {
    Apply(range_.SetPosition(value));
}

void TVsProgressBar::SetOrientation(TVsOrientation orientation) {
    if (orientation_ == orientation)
        return;
    orientation_ = orientation;
    BuildStrip();
    RepaintFace();
}

void TVsProgressBar::SetGraphicName(std::string_view name) {
    if (graphic_name_ == name)
        return;
    graphic_name_ = name;
    UpdateGraphic(true);
}

void TVsProgressBar::UpdateGraphic(bool reload) {
    graphic_ = Skin() != nullptr ? Skin()->FindGraphic(graphic_name_) : nullptr;
    if (graphic_ != nullptr && reload)
        clip_rect_.SetRect({0, 0, graphic_->Bitmap().Width(), graphic_->Bitmap().Height()});
    BuildStrip();
}

void TVsProgressBar::SetBounds(int left, int top, int width, int height) {
    TVsSkinGraphicControl::SetBounds(left, top, width, height);
    if (!strip_.Empty() && graphic_ != nullptr)
        BuildStrip();
}

int TVsProgressBar::PercentDone() const {
    const int64_t range = static_cast<int64_t>(MaxValue()) - MinValue();
    if (range == 0)
        return 0;
    return static_cast<int>((static_cast<int64_t>(Position()) - MinValue()) * 100 / range);
}

void TVsProgressBar::BuildStrip() {
    strip_.SetSize(0, 0);
    if (graphic_ == nullptr)
        return;
    const int cw = clip_rect_.Width();
    const int ch = clip_rect_.Height();
    const TRect cell = clip_rect_.GetRect();
    const TBitmap& source = graphic_->Bitmap();
    if (orientation_ == TVsOrientation::poHorizontal) {
        strip_.SetSize(Width(), ch);
        for (TRect d{0, 0, cw, ch}; d.Right < strip_.Width() + cw; d = d.Offset(std::max(1, cw), 0))
            strip_.Canvas().CopyRect(d, source, cell);
    } else {
        strip_.SetSize(cw, Height());
        const int h = strip_.Height();
        for (TRect d{0, h - ch, cw, h}; d.Top > -ch; d = d.Offset(0, -std::max(1, ch)))
            strip_.Canvas().CopyRect(d, source, cell);
    }
}

void TVsProgressBar::Paint() {
    CaptureBackground();
    if (!strip_.Empty()) {
        const int percent = PercentDone();
        TCanvas& face = FaceCanvas();
        const int sw = strip_.Width();
        const int sh = strip_.Height();
        if (orientation_ == TVsOrientation::poHorizontal) {
            const int filled = percent * Width() / 100;
            const int y = (Height() - sh) / 2;
            face.CopyRect({0, y, filled, y + sh}, strip_, {0, 0, filled, sh});
        } else {
            const int filled = percent * Height() / 100;
            const int x = (Width() - sw) / 2;
            face.CopyRect({x, Height() - filled, x + sw, Height()}, strip_,
                          {0, sh - filled, sw, sh});
        }
    }
    TVsSkinGraphicControl::Paint();
}

} // namespace vd
