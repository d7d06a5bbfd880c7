#include "skin/VsButtons.h"

#include "skin/VsSysUtils.h"

namespace vd {

TVsButton::TVsButton(TComponent* owner) : TVsClipGraphicControl(owner) {
    SetBounds(0, 0, 100, 25);
}

TVsButton::~TVsButton() {
    BeginDestruction();
}

void TVsButton::SetDown(bool down) {
    if (StoreIfChanged(down_, down))
        RepaintFace();
}

void TVsButton::SetBounds(int left, int top, int width, int height) {
    if (Graphic() != nullptr) {
        width = ClipRect().Width() / 5;
        height = ClipRect().Height();
    }
    frame_.SetSize(width, height);
    TVsClipGraphicControl::SetBounds(left, top, width, height);
}

int TVsButton::FrameIndex() const {
    if (!Enabled())
        return down_ ? 3 : 2;
    if (pressed_ || (style_ == TVsButtonStyle::bsSwitch && down_))
        return 1;
    return hot_ ? 4 : 0;
}

bool TVsButton::IsOpaqueAt(int x, int y) const {
    if (MaskColor() == clNone)
        return true;
    return frame_.Pixel(x, y) != (MaskColor() & 0xFFFFFF);
}

void TVsButton::Paint() {
    CaptureBackground();
    if (Graphic() != nullptr) {
        const int w = Width();
        const int h = Height();
        frame_.Canvas().CopyRect({0, 0, w, h}, Graphic()->Bitmap(), ClipImage(FrameIndex(), w, h));
    } else {
        frame_.Assign(&Background());
        if (frame_.Width() != Width() || frame_.Height() != Height())
            frame_.SetSize(Width(), Height());
    }
    DrawMasked(ClientRect(), frame_, ClientRect());
    TVsClipGraphicControl::Paint();
}

void TVsButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TVsClipGraphicControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && Enabled() && IsOpaqueAt(x, y)) {
        pressed_ = true;
        down_ = !down_;
        RepaintFace();
    }
}

void TVsButton::MouseMove(TShiftState shift, int x, int y) {
    TVsClipGraphicControl::MouseMove(shift, x, y);
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
    TVsClipGraphicControl::MouseLeave();
}

void TVsButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TVsClipGraphicControl::MouseUp(button, shift, x, y);
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
    TVsClipGraphicControl::EnabledChanged();
    RepaintFace();
}

} // namespace vd
