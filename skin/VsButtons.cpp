#include "skin/VsButtons.h"

namespace vd {

TVsButton::TVsButton(TComponent* owner) : TVsSkinGraphicControl(owner) {
    clip_rect_.OnChange = [this](TVsPersistent*) { RefreshBounds(); };
    SetBounds(0, 0, 100, 25);
}

TVsButton::~TVsButton() {
    BeginDestruction();
}

void TVsButton::SetGraphicName(std::string_view name) {
    if (graphic_name_ == name)
        return;
    graphic_name_ = name;
    UpdateGraphic(true);
}

void TVsButton::SetDown(bool down) {
    if (down_ == down)
        return;
    down_ = down;
    RepaintFace();
}

void TVsButton::SetMaskColor(TColor color) {
    if (mask_color_ == color)
        return;
    mask_color_ = color;
    RepaintFace();
}

void TVsButton::UpdateGraphic(bool reload) {
    graphic_ = Skin() != nullptr ? Skin()->FindGraphic(graphic_name_) : nullptr;
    if (graphic_ != nullptr && reload)
        clip_rect_.SetRect({0, 0, graphic_->Bitmap().Width(), graphic_->Bitmap().Height()});
    RefreshBounds();
}

void TVsButton::SetBounds(int left, int top, int width, int height) {
    if (graphic_ != nullptr) {
        width = clip_rect_.Width() / 5;
        height = clip_rect_.Height();
    }
    frame_.SetSize(width, height);
    TVsSkinGraphicControl::SetBounds(left, top, width, height);
}

int TVsButton::FrameIndex() const {
    if (!Enabled())
        return down_ ? 3 : 2;
    if (pressed_ || (style_ == TVsButtonStyle::bsSwitch && down_))
        return 1;
    return hot_ ? 4 : 0;
}

bool TVsButton::IsOpaqueAt(int x, int y) const {
    if (mask_color_ == clNone)
        return true;
    return frame_.Pixel(x, y) != (mask_color_ & 0xFFFFFF);
}

void TVsButton::Paint() {
    CaptureBackground();
    if (graphic_ != nullptr) {
        const int w = Width();
        const int h = Height();
        const int sx = FrameIndex() * w + clip_rect_.Left();
        const int sy = clip_rect_.Top();
        frame_.Canvas().CopyRect({0, 0, w, h}, graphic_->Bitmap(), {sx, sy, sx + w, sy + h});
    } else {
        frame_.Assign(&Background());
        if (frame_.Width() != Width() || frame_.Height() != Height())
            frame_.SetSize(Width(), Height());
    }
    SetMaskBrush(FaceCanvas().Brush(), mask_color_);
    FaceCanvas().BrushCopy(ClientRect(), frame_, ClientRect(), mask_color_);
    TVsSkinGraphicControl::Paint();
}

void TVsButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TVsSkinGraphicControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && Enabled() && IsOpaqueAt(x, y)) {
        pressed_ = true;
        down_ = !down_;
        RepaintFace();
    }
}

void TVsButton::MouseMove(TShiftState shift, int x, int y) {
    TVsSkinGraphicControl::MouseMove(shift, x, y);
    if (pressed_)
        return;
    const bool opaque = IsOpaqueAt(x, y);
    if (opaque && !hot_) {
        hot_ = true;
        SetTrackingCursor(SavedCursor());
        RepaintFace();
    } else if (!opaque && hot_) {
        hot_ = false;
        SetTrackingCursor(crDefault);
        RepaintFace();
    }
}

void TVsButton::MouseLeave() {
    hot_ = false;
    RepaintFace();
    TVsSkinGraphicControl::MouseLeave();
}

void TVsButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TVsSkinGraphicControl::MouseUp(button, shift, x, y);
    const bool click = hot_ && pressed_;
    if (pressed_) {
        if (style_ == TVsButtonStyle::bsSwitch && !click)
            down_ = !down_;
        pressed_ = false;
        RepaintFace();
    }
    if (click && OnClick)
        OnClick(this);
}

void TVsButton::EnabledChanged() {
    TVsSkinGraphicControl::EnabledChanged();
    RepaintFace();
}

} // namespace vd
