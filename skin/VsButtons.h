#pragma once

#include "skin/VsClasses.h"
#include "skin/VsSkin.h"

namespace vd {

enum class TVsButtonStyle { bsButton, bsSwitch };

// A push button (or two-state switch) drawn from a strip of five state images side by side:
// normal, pressed, disabled, disabled and down, hot.
class TVsButton : public TVsSkinGraphicControl {
public:
    explicit TVsButton(TComponent* owner);
    ~TVsButton() override;

    [[nodiscard]] const std::string& GraphicName() const { return graphic_name_; }
    void SetGraphicName(std::string_view name);
    [[nodiscard]] TVsButtonStyle Style() const { return style_; }
    void SetStyle(TVsButtonStyle style) { style_ = style; }
    [[nodiscard]] bool Down() const { return down_; }
    void SetDown(bool down);
    [[nodiscard]] TColor MaskColor() const { return mask_color_; }
    void SetMaskColor(TColor color);
    TVsClipRect& ClipRect() { return clip_rect_; }
    void SetClipRect(const TVsClipRect& value) { clip_rect_.Assign(&value); }

    [[nodiscard]] bool Hot() const { return hot_; }
    [[nodiscard]] bool Pressed() const { return pressed_; }
    [[nodiscard]] TVsGraphic* Graphic() const { return graphic_; }
    [[nodiscard]] const TBitmap& Frame() const { return frame_; }

    // The state image to show: 0 normal, 1 pressed, 2 disabled, 3 disabled and down, 4 hot.
    [[nodiscard]] int FrameIndex() const;
    // The pixel (x, y) of the image last painted is not of the mask colour.
    [[nodiscard]] bool IsOpaqueAt(int x, int y) const;

    void SetBounds(int left, int top, int width, int height) override;
    void UpdateGraphic(bool reload) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    // The framework's click is off: the button decides on release whether it was clicked.
    void Click() override {}
    void EnabledChanged() override;

private:
    bool hot_ = false;
    bool pressed_ = false;
    TVsGraphic* graphic_ = nullptr;
    std::string graphic_name_;
    TVsButtonStyle style_ = TVsButtonStyle::bsButton;
    bool down_ = false;
    TBitmap frame_;
    TColor mask_color_ = clNone;
    TVsClipRect clip_rect_;
};

} // namespace vd
