#pragma once

#include "framework/Colors.h"
#include "framework/Graphics.h"
#include "widgets/slTypes.h"

namespace vd {

// A value object with the one change notification its owner sets. Setters store the value and
// notify unless it was unchanged.
class TslStyleObject : public TPersistent {
public:
    TslChangeEvent OnChange;

protected:
    void Changed() {
        if (OnChange)
            OnChange(this);
    }
};

// A pair of colours. Each setter also keeps the colour as a plain RGB value, system colours
// resolved at that moment; drawing uses those RGB values.
class TTwainColors : public TslStyleObject {
public:
    TTwainColors();

    [[nodiscard]] TColor FromColor() const { return from_color_; }
    void SetFromColor(TColor color);
    [[nodiscard]] TColor ToColor() const { return to_color_; }
    void SetToColor(TColor color);
    [[nodiscard]] TColor RGBFromColor() const { return rgb_from_; }
    [[nodiscard]] TColor RGBToColor() const { return rgb_to_; }

    void Assign(const TPersistent* source) override;

private:
    TColor from_color_ = clGray;
    TColor to_color_ = clBlack;
    TColor rgb_from_;
    TColor rgb_to_;
};

// A colour gradient: from FromColor to ToColor in Steps bands (at most 255), in one of seven
// orientations, filled up to PercentFilling, with a solid or hatched brush.
class TCustomGradient : public TTwainColors {
public:
    static constexpr int kMaxSteps = 255;

    [[nodiscard]] bool Active() const { return active_; }
    void SetActive(bool active);
    [[nodiscard]] bool BufferedDraw() const { return buffered_draw_; }
    void SetBufferedDraw(bool buffered);
    [[nodiscard]] TslGradientDir Orientation() const { return orientation_; }
    // Stored always; notifies only while the gradient is active (an inactive one draws nothing).
    void SetOrientation(TslGradientDir orientation);
    [[nodiscard]] int Steps() const { return steps_; }
    // Clamped to 1..255.
    void SetSteps(int steps);
    [[nodiscard]] TslPercent PercentFilling() const { return percent_filling_; }
    // Clamped to 0..100.
    void SetPercentFilling(TslPercent percent);
    [[nodiscard]] TBrushStyle BrushStyle() const { return brush_style_; }
    // Notifies even when unchanged.
    void SetBrushStyle(TBrushStyle style);

    void Assign(const TPersistent* source) override;

private:
    bool active_ = false;
    bool buffered_draw_ = false;
    TslGradientDir orientation_ = TslGradientDir::fgdHorizontal;
    int steps_ = kMaxSteps;
    TslPercent percent_filling_ = 100;
    TBrushStyle brush_style_ = TBrushStyle::bsSolid;
};

// The gradient as components hold it.
class TGradient : public TCustomGradient {};

// A two-ring bevel frame: the cut of the outer and the inner ring, the sides drawn, and a bold
// variant with a dark line outside the shadowed sides.
class TslBevel : public TslStyleObject {
public:
    [[nodiscard]] TBevelCut Inner() const { return inner_; }
    void SetInner(TBevelCut cut);
    [[nodiscard]] TBevelCut Outer() const { return outer_; }
    void SetOuter(TBevelCut cut);
    [[nodiscard]] TslSides Sides() const { return sides_; }
    void SetSides(TslSides sides);
    [[nodiscard]] bool Bold() const { return bold_; }
    void SetBold(bool bold);

    void Assign(const TPersistent* source) override;

private:
    TBevelCut inner_ = TBevelCut::bvNone;
    TBevelCut outer_ = TBevelCut::bvNone;
    TslSides sides_ = kAllSides;
    bool bold_ = false;
};

// A horizontal and a vertical alignment.
class T2DAlign : public TslStyleObject {
public:
    [[nodiscard]] TslHorAlign Horizontal() const { return horizontal_; }
    void SetHorizontal(TslHorAlign align);
    [[nodiscard]] TslVertAlign Vertical() const { return vertical_; }
    void SetVertical(TslVertAlign align);

    void Assign(const TPersistent* source) override;

private:
    TslHorAlign horizontal_ = TslHorAlign::fhaLeft;
    TslVertAlign vertical_ = TslVertAlign::fvaTop;
};

} // namespace vd
