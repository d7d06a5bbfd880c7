#pragma once

#include "framework/StdCtrls.h"

#include <cstdint>
#include <utility>

namespace vd {

// The eight directions a copy of the caption can be moved in, and none.
enum class TDirection {
    drNone,
    drUp,
    drDown,
    drLeft,
    drRight,
    drUpLeft,
    drUpRight,
    drDownLeft,
    drDownRight
};
// One step in `direction`, as (dx, dy).
[[nodiscard]] TPoint DirectionStep(TDirection direction);

enum class TShadowStyle {
    ssNone,
    ssCustom,
    ssRaised,
    ssRaisedColor,
    ssRaisedShadow,
    ssRaisedThickShadow,
    ssRecessed,
    ssRecessedColor,
    ssRecessedShadow,
    ssShadow,
    ssThickShadow
};
enum class TVerticalAlignment { vaTop, vaCenter, vaBottom };
using TShadowDepth = uint16_t;
using TShadowSize = uint16_t;

// A label that paints its caption up to three times, each copy moved in its own direction: the
// shadow (one copy per pixel of thickness), the highlight, and the caption itself, so that text
// looks raised, recessed or shadowed. It can also turn its caption by any whole angle. The
// shadow style is a preset of the six shadow and highlight settings; changing any of them
// makes the style custom.
class TCustomShadowLabel : public TCustomLabel {
public:
    explicit TCustomShadowLabel(TComponent* owner);
    ~TCustomShadowLabel() override;

protected:
    // Degrees counter-clockwise, kept in 0..359; a turned caption is not auto-sized.
    [[nodiscard]] int Angle() const { return angle_; }
    void SetAngle(int degrees);
    [[nodiscard]] TDirection HighlightDirection() const { return highlight_direction_; }
    void SetHighlightDirection(TDirection value);
    [[nodiscard]] int HighlightDepth() const { return highlight_depth_; }
    void SetHighlightDepth(int value);
    [[nodiscard]] TColor HighlightColor() const { return highlight_color_; }
    void SetHighlightColor(TColor value);
    [[nodiscard]] int OffsetX() const { return offset_x_; }
    void SetOffsetX(int value);
    [[nodiscard]] int OffsetY() const { return offset_y_; }
    void SetOffsetY(int value);
    [[nodiscard]] TShadowStyle ShadowStyle() const { return shadow_style_; }
    void SetShadowStyle(TShadowStyle value);
    [[nodiscard]] TDirection ShadowDirection() const { return shadow_direction_; }
    void SetShadowDirection(TDirection value);
    [[nodiscard]] TShadowDepth ShadowDepth() const { return shadow_depth_; }
    void SetShadowDepth(TShadowDepth value);
    [[nodiscard]] TShadowSize ShadowSize() const { return shadow_size_; }
    void SetShadowSize(TShadowSize value);
    [[nodiscard]] TColor ShadowColor() const { return shadow_color_; }
    void SetShadowColor(TColor value);
    // Where the caption sits vertically; the same setting as the label's Layout.
    [[nodiscard]] TVerticalAlignment VerticalAlignment() const;
    void SetVerticalAlignment(TVerticalAlignment value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    // A setting of the six changed: unless a preset is being applied, the style is custom now.
    void SettingChanged();
    // Draws the caption once, at `r`, in the canvas font's colour.
    void DrawCopy(TCanvas& canvas, const TRect& r, unsigned flags, bool turned);
    // The steps of Paint. Where the turned caption (the canvas's font already turned) goes in
    // the client rectangle `client`, by the alignments.
    [[nodiscard]] TRect TurnedCaptionRect(TCanvas& canvas, const TRect& client) const;
    // Where the caption goes in `client` by the vertical alignment.
    [[nodiscard]] TRect AlignedCaptionRect(TCanvas& canvas, const TRect& client,
                                           unsigned flags) const;
    // The shadow and highlight copies, then the caption on top (greyed when disabled).
    void DrawCaptionCopies(TCanvas& canvas, const TRect& r, unsigned flags, bool turned);

    int angle_ = 0;
    double cos_angle_ = 1.0;
    double sin_angle_ = 0.0;
    TDirection highlight_direction_ = TDirection::drNone;
    int highlight_depth_ = 0;
    TColor highlight_color_ = clBtnHighlight;
    int offset_x_ = 0;
    int offset_y_ = 0;
    TShadowStyle shadow_style_ = TShadowStyle::ssNone;
    TDirection shadow_direction_ = TDirection::drNone;
    TShadowDepth shadow_depth_ = 0;
    TShadowSize shadow_size_ = 0;
    TColor shadow_color_ = clBtnShadow;
    bool applying_preset_ = false;
};

// The shadowed label with its settings open to everybody.
class TShadowLabel : public TCustomShadowLabel {
public:
    using TCustomShadowLabel::TCustomShadowLabel;

    using TCustomShadowLabel::Angle;
    using TCustomShadowLabel::HighlightColor;
    using TCustomShadowLabel::HighlightDepth;
    using TCustomShadowLabel::HighlightDirection;
    using TCustomShadowLabel::OffsetX;
    using TCustomShadowLabel::OffsetY;
    using TCustomShadowLabel::SetAngle;
    using TCustomShadowLabel::SetHighlightColor;
    using TCustomShadowLabel::SetHighlightDepth;
    using TCustomShadowLabel::SetHighlightDirection;
    using TCustomShadowLabel::SetOffsetX;
    using TCustomShadowLabel::SetOffsetY;
    using TCustomShadowLabel::SetShadowColor;
    using TCustomShadowLabel::SetShadowDepth;
    using TCustomShadowLabel::SetShadowDirection;
    using TCustomShadowLabel::SetShadowSize;
    using TCustomShadowLabel::SetShadowStyle;
    using TCustomShadowLabel::SetVerticalAlignment;
    using TCustomShadowLabel::ShadowColor;
    using TCustomShadowLabel::ShadowDepth;
    using TCustomShadowLabel::ShadowDirection;
    using TCustomShadowLabel::ShadowSize;
    using TCustomShadowLabel::ShadowStyle;
    using TCustomShadowLabel::VerticalAlignment;

    using TCustomShadowLabel::OnMouseEnter;
    using TCustomShadowLabel::OnMouseLeave;
};

} // namespace vd
