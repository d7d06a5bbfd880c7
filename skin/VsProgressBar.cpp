#include "skin/VsProgressBar.h"

namespace vd {

TVsProgressBar::TVsProgressBar(TComponent* owner) : TVsRangeControl(owner) {
    SetBounds(0, 0, 125, 10);
}

TVsProgressBar::~TVsProgressBar() {
    BeginDestruction();
}

void TVsProgressBar::SetOrientation(TVsOrientation orientation) {
    if (!StoreIfChanged(orientation_, orientation))
        return;
    BuildStrip();
    RepaintFace();
}

void TVsProgressBar::ClipRectChanged() {
    BuildStrip();
    RepaintFace();
}

void TVsProgressBar::SetBounds(int left, int top, int width, int height) {
    TVsRangeControl::SetBounds(left, top, width, height);
    if (!strip_.Empty() && Graphic() != nullptr)
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
    if (Graphic() == nullptr)
        return;
    const int cw = ClipRect().Width();
    const int ch = ClipRect().Height();
    const TRect cell = ClipRect().GetRect();
    const TBitmap& source = Graphic()->Bitmap();
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
    TVsRangeControl::Paint();
}

} // namespace vd
