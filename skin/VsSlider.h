#pragma once

#include "skin/VsClasses.h"
#include "skin/VsSkin.h"
#include "skin/VsSysUtils.h"

namespace vd {

enum class TVsSliderDirection { sdHorz, sdVert };

// A value slider whose only picture is a thumb cut from a skin graphic (image 0 enabled, 1
// disabled, side by side); the track is whatever the skin shows beneath. Dragging the thumb or
// clicking the track sets the position.
class TVsSlider : public TVsSkinGraphicControl {
public:
    explicit TVsSlider(TComponent* owner);
    ~TVsSlider() override;

    [[nodiscard]] int32_t MinValue() const { return range_.Min(); }
    [[nodiscard]] int32_t MaxValue() const { return range_.Max(); }
    [[nodiscard]] int32_t Position() const { return range_.Position(); }
    void SetMinValue(int32_t value);
    void SetMaxValue(int32_t value);
    void SetPosition(int32_t value);

    [[nodiscard]] TVsSliderDirection Direction() const { return direction_; }
    void SetDirection(TVsSliderDirection direction);
    [[nodiscard]] const std::string& GraphicName() const { return graphic_name_; }
    void SetGraphicName(std::string_view name);
    [[nodiscard]] TColor MaskColor() const { return mask_color_; }
    void SetMaskColor(TColor color);
    TVsClipRect& ClipRect() { return clip_rect_; }
    void SetClipRect(const TVsClipRect& value) { clip_rect_.Assign(&value); }
    [[nodiscard]] TVsGraphic* Graphic() const { return graphic_; }

    [[nodiscard]] TRect ThumbRect() const { return thumb_rect_; }
    [[nodiscard]] bool Dragging() const { return dragging_; }
    // A left press on the enabled slider has not been released yet: the thumb shows where the
    // person puts it (a track press has moved it there, a drag moves it along), and code that
    // would move it to another value (a playback position) should leave it alone until then.
    [[nodiscard]] bool Held() const { return held_; }
    [[nodiscard]] int ThumbWidth() const { return clip_rect_.Width() / 2; }
    [[nodiscard]] int ThumbHeight() const { return clip_rect_.Height(); }
    [[nodiscard]] int TrackOrigin() const { return 0; }
    [[nodiscard]] int TrackLength() const;

    // The thumb's leading edge for value `value` (left edge; for a vertical slider the top).
    [[nodiscard]] int PositionToPixel(int32_t value) const;
    [[nodiscard]] int32_t PixelToPosition(int pixel) const;
    void MoveThumbTo(int pixel);
    void CenterThumb();

    void SetBounds(int left, int top, int width, int height) override;
    void UpdateGraphic(bool reload) override;

    // Fired after every change of Position.
    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void EnabledChanged() override;

private:
    void Apply(TVsRange::Effect effect);
    void PlaceThumb();
    void EndHold();
    TRect thumb_rect_;
    TVsRange range_;
    bool dragging_ = false;
    bool held_ = false;
    TVsSliderDirection direction_ = TVsSliderDirection::sdHorz;
    int drag_offset_ = 0;
    TVsGraphic* graphic_ = nullptr;
    std::string graphic_name_;
    TColor mask_color_ = clNone;
    TVsClipRect clip_rect_;
};

} // namespace vd
