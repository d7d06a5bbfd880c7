#include "skin/VsSlider.h"

#include <cmath>

namespace vd {

TVsSlider::TVsSlider(TComponent* owner) : TVsRangeControl(owner) {
    SetBounds(0, 0, 150, 20);
}

TVsSlider::~TVsSlider() {
    BeginDestruction();
}

void TVsSlider::PositionChanged() {
    if (OnChange)
        OnChange(this);
}

void TVsSlider::SetDirection(TVsSliderDirection direction) {
    if (!StoreIfChanged(direction_, direction))
        return;
    CenterThumb();
    RepaintFace();
}

void TVsSlider::SetBounds(int left, int top, int width, int height) {
    TVsRangeControl::SetBounds(left, top, width, height);
    CenterThumb();
    RepaintFace();
}

void TVsSlider::EnabledChanged() {
    RepaintFace();
    TVsRangeControl::EnabledChanged();
}

int TVsSlider::TrackLength() const {
    return direction_ == TVsSliderDirection::sdHorz ? Width() - ThumbWidth()
                                                    : Height() - ThumbHeight();
}

void TVsSlider::CenterThumb() {
    if (direction_ == TVsSliderDirection::sdHorz) {
        thumb_rect_.Top = (Height() - ThumbHeight()) / 2;
    } else {
        thumb_rect_.Left = (Width() - ThumbWidth()) / 2;
    }
    thumb_rect_.Right = thumb_rect_.Left + ThumbWidth();
    thumb_rect_.Bottom = thumb_rect_.Top + ThumbHeight();
}

int TVsSlider::PositionToPixel(int32_t value) const {
    const double range = static_cast<double>(MaxValue()) - MinValue();
    const double share = static_cast<double>(value) - MinValue();
    const int p = TrackOrigin() + static_cast<int>(std::lrint(TrackLength() * share / range));
    if (direction_ == TVsSliderDirection::sdHorz)
        return p;
    return Height() - p - ThumbHeight();
}

int32_t TVsSlider::PixelToPosition(int pixel) const {
    if (direction_ == TVsSliderDirection::sdVert)
        pixel = Height() - pixel - ThumbHeight();
    if (TrackLength() <= 0)
        return MinValue();
    const double range = static_cast<double>(MaxValue()) - MinValue();
    const auto v = static_cast<int64_t>(
        std::llrint(static_cast<double>(pixel - TrackOrigin()) * range / TrackLength()));
    const int64_t position = std::max<int64_t>(v, 0) + MinValue();
    return static_cast<int32_t>(std::min<int64_t>(MaxValue(), position));
}

void TVsSlider::MoveThumbTo(int pixel) {
    pixel = std::clamp(pixel, TrackOrigin(), TrackOrigin() + std::max(0, TrackLength()));
    SetPosition(PixelToPosition(pixel));
}

void TVsSlider::PlaceThumb() {
    const int p = PositionToPixel(Position());
    if (direction_ == TVsSliderDirection::sdHorz) {
        thumb_rect_.Left = p;
        thumb_rect_.Right = p + ThumbWidth();
    } else {
        thumb_rect_.Top = p;
        thumb_rect_.Bottom = p + ThumbHeight();
    }
}

void TVsSlider::Paint() {
    CaptureBackground();
    PlaceThumb();
    if (Graphic() != nullptr) {
        const int index = Enabled() ? 0 : 1;
        DrawMasked(thumb_rect_, Graphic()->Bitmap(),
                   ClipImage(index, ThumbWidth(), ClipRect().Height()));
    }
    TVsRangeControl::Paint();
}

void TVsSlider::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TVsRangeControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Enabled())
        return;
    held_ = true;
    if (thumb_rect_.Contains({x, y})) {
        dragging_ = true;
        drag_offset_ =
            direction_ == TVsSliderDirection::sdHorz ? x - thumb_rect_.Left : y - thumb_rect_.Top;
    } else if (direction_ == TVsSliderDirection::sdHorz) {
        MoveThumbTo(x - ThumbWidth() / 2);
    } else {
        MoveThumbTo(y - ThumbHeight() / 2);
    }
}

void TVsSlider::MouseMove(TShiftState shift, int x, int y) {
    // A release this slider never heard of (its press lost to a modal window, say): the hold
    // is over, or the thumb would stay deaf to playback for good.
    if (held_ && (shift & ssLeft) == 0)
        EndHold();
    if (dragging_)
        MoveThumbTo(direction_ == TVsSliderDirection::sdHorz ? x - drag_offset_ : y - drag_offset_);
    TVsRangeControl::MouseMove(shift, x, y);
}

void TVsSlider::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft)
        EndHold();
    TVsRangeControl::MouseUp(button, shift, x, y);
}

void TVsSlider::EndHold() {
    held_ = false;
    if (dragging_) {
        dragging_ = false;
        RepaintFace();
    }
}

} // namespace vd
