#pragma once

#include "skin/VsClasses.h"
#include "skin/VsSkin.h"
#include "skin/VsSysUtils.h"

namespace vd {

enum class TVsOrientation { poHorizontal, poVertical };

// A bar that fills a share of its length with a cell image tiled from a skin graphic; the rest
// shows the skin beneath.
class TVsProgressBar : public TVsSkinGraphicControl {
public:
    explicit TVsProgressBar(TComponent* owner);
    ~TVsProgressBar() override;

    [[nodiscard]] int32_t MinValue() const { return range_.Min(); }
    [[nodiscard]] int32_t MaxValue() const { return range_.Max(); }
    [[nodiscard]] int32_t Position() const { return range_.Position(); }
    void SetMinValue(int32_t value);
    void SetMaxValue(int32_t value);
    void SetPosition(int32_t value);
    // Kept with the bar; it has no effect on drawing.
    [[nodiscard]] int32_t Step() const { return step_; }
    void SetStep(int32_t step) { step_ = step; }

    [[nodiscard]] TVsOrientation Orientation() const { return orientation_; }
    void SetOrientation(TVsOrientation orientation);
    [[nodiscard]] const std::string& GraphicName() const { return graphic_name_; }
    void SetGraphicName(std::string_view name);
    TVsClipRect& ClipRect() { return clip_rect_; }
    void SetClipRect(const TVsClipRect& value) { clip_rect_.Assign(&value); }
    [[nodiscard]] TVsGraphic* Graphic() const { return graphic_; }
    [[nodiscard]] const TBitmap& Strip() const { return strip_; }

    // The position as a whole percentage of the range, 0..100.
    [[nodiscard]] int PercentDone() const;
    // Tiles the cell over the bar's length into Strip (empty without a graphic).
    void BuildStrip();

    void SetBounds(int left, int top, int width, int height) override;
    void UpdateGraphic(bool reload) override;

protected:
    void Paint() override;

private:
    void Apply(TVsRange::Effect effect);
    TBitmap strip_;
    TVsRange range_;
    int32_t step_ = 10;
    TVsOrientation orientation_ = TVsOrientation::poHorizontal;
    TVsGraphic* graphic_ = nullptr;
    std::string graphic_name_;
    TVsClipRect clip_rect_;
};

} // namespace vd
