#pragma once

#include "skin/VsRangeControl.h"

namespace vd {

enum class TVsOrientation { poHorizontal, poVertical };

// A bar that fills a share of its length with a cell image tiled from a skin graphic; the rest
// shows the skin beneath.
class TVsProgressBar : public TVsRangeControl {
public:
    explicit TVsProgressBar(TComponent* owner);
    ~TVsProgressBar() override;

    // Kept with the bar; it has no effect on drawing.
    [[nodiscard]] int32_t Step() const { return step_; }
    void SetStep(int32_t step) { step_ = step; }

    [[nodiscard]] TVsOrientation Orientation() const { return orientation_; }
    void SetOrientation(TVsOrientation orientation);
    [[nodiscard]] const TBitmap& Strip() const { return strip_; }

    // The position as a whole percentage of the range, 0..100.
    [[nodiscard]] int PercentDone() const;
    // Tiles the cell over the bar's length into Strip (empty without a graphic).
    void BuildStrip();

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    // The strip is tiled anew from the graphic's cell.
    void GraphicUpdated() override { BuildStrip(); }
    void ClipRectChanged() override;

private:
    TBitmap strip_;
    int32_t step_ = 10;
    TVsOrientation orientation_ = TVsOrientation::poHorizontal;
};

} // namespace vd
