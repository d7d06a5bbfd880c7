#pragma once

#include "skin/VsClipGraphicControl.h"

namespace vd {

enum class TVsButtonStyle { bsButton, bsSwitch };

// A push button (or two-state switch) drawn from a strip of five state images side by side:
// normal, pressed, disabled, disabled and down, hot.
class TVsButton : public TVsClipGraphicControl {
public:
    explicit TVsButton(TComponent* owner);
    ~TVsButton() override;

    [[nodiscard]] TVsButtonStyle Style() const { return style_; }
    void SetStyle(TVsButtonStyle style) { style_ = style; }
    [[nodiscard]] bool Down() const { return down_; }
    void SetDown(bool down);
    using TVsClipGraphicControl::MaskColor;
    using TVsClipGraphicControl::SetMaskColor;

    [[nodiscard]] bool Hot() const { return hot_; }
    [[nodiscard]] bool Pressed() const { return pressed_; }
    [[nodiscard]] const TBitmap& Frame() const { return frame_; }

    // The state image to show: 0 normal, 1 pressed, 2 disabled, 3 disabled and down, 4 hot.
    [[nodiscard]] int FrameIndex() const;
    // The pixel (x, y) of the image last painted is not of the mask colour.
    [[nodiscard]] bool IsOpaqueAt(int x, int y) const;

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    // The framework's click is off: the button decides on release whether it was clicked.
    void Click() override {}
    void EnabledChanged() override;
    // The button's size follows its graphic's clip rectangle.
    void GraphicUpdated() override { RefreshBounds(); }
    void ClipRectChanged() override { RefreshBounds(); }

private:
    bool hot_ = false;
    bool pressed_ = false;
    TVsButtonStyle style_ = TVsButtonStyle::bsButton;
    bool down_ = false;
    TBitmap frame_;
};

} // namespace vd
