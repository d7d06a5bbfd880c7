#pragma once

#include "skin/VsRangeControl.h"

namespace vd {

enum class TVsSliderDirection { sdHorz, sdVert };

// A value slider whose only picture is a thumb cut from a skin graphic (image 0 enabled, 1
// disabled, side by side); the track is whatever the skin shows beneath. Dragging the thumb or
// clicking the track sets the position.
class TVsSlider : public TVsRangeControl {
public:
    explicit TVsSlider(TComponent* owner);
    ~TVsSlider() override;

    [[nodiscard]] TVsSliderDirection Direction() const { return direction_; }
    void SetDirection(TVsSliderDirection direction);
    using TVsRangeControl::MaskColor;
    using TVsRangeControl::SetMaskColor;

    [[nodiscard]] TRect ThumbRect() const { return thumb_rect_; }
    [[nodiscard]] bool Dragging() const { return dragging_; }
    // A left press on the enabled slider has not been released yet: the thumb shows where the
    // person puts it (a track press has moved it there, a drag moves it along), and code that
    // would move it to another value (a playback position) should leave it alone until then.
    [[nodiscard]] bool Held() const { return held_; }
    [[nodiscard]] int ThumbWidth() const { return ClipRect().Width() / 2; }
    [[nodiscard]] int ThumbHeight() const { return ClipRect().Height(); }
    [[nodiscard]] int TrackOrigin() const { return 0; }
    [[nodiscard]] int TrackLength() const;

    // The thumb's leading edge for value `value` (left edge; for a vertical slider the top).
    [[nodiscard]] int PositionToPixel(int32_t value) const;
    [[nodiscard]] int32_t PixelToPosition(int pixel) const;
    void MoveThumbTo(int pixel);
    void CenterThumb();

    void SetBounds(int left, int top, int width, int height) override;

    // Fired after every change of Position.
    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void EnabledChanged() override;
    // Fires OnChange.
    void PositionChanged() override;
    // The thumb takes the clip rectangle's size.
    void GraphicUpdated() override { CenterThumb(); }

private:
    void PlaceThumb();
    void EndHold();
    TRect thumb_rect_;
    bool dragging_ = false;
    bool held_ = false;
    TVsSliderDirection direction_ = TVsSliderDirection::sdHorz;
    int drag_offset_ = 0;
};

} // namespace vd
