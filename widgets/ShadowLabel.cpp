#include "widgets/ShadowLabel.h"

#include <cmath>
#include <numbers>

namespace vd {

TPoint DirectionStep(TDirection direction) {
    switch (direction) {
    case TDirection::drNone:
        return {0, 0};
    case TDirection::drUp:
        return {0, -1};
    case TDirection::drDown:
        return {0, 1};
    case TDirection::drLeft:
        return {-1, 0};
    case TDirection::drRight:
        return {1, 0};
    case TDirection::drUpLeft:
        return {-1, -1};
    case TDirection::drUpRight:
        return {1, -1};
    case TDirection::drDownLeft:
        return {-1, 1};
    case TDirection::drDownRight:
        return {1, 1};
    }
    return {0, 0};
}

namespace {

struct Preset {
    TDirection highlight_direction;
    int highlight_depth;
    TDirection shadow_direction;
    TShadowDepth shadow_depth;
    TShadowSize shadow_size;
    bool face_colored; // the caption itself in the button face colour
};

Preset PresetOf(TShadowStyle style) {
    using enum TDirection;
    switch (style) {
    case TShadowStyle::ssRaised:
        return {drUpLeft, 1, drNone, 0, 0, false};
    case TShadowStyle::ssRaisedColor:
        return {drUpLeft, 1, drDownRight, 1, 1, true};
    case TShadowStyle::ssRaisedShadow:
        return {drUpLeft, 1, drDownRight, 1, 1, false};
    case TShadowStyle::ssRaisedThickShadow:
        return {drUpLeft, 1, drDownRight, 1, 4, false};
    case TShadowStyle::ssRecessed:
        return {drDownRight, 1, drNone, 0, 0, false};
    case TShadowStyle::ssRecessedColor:
        return {drDownRight, 1, drUpLeft, 1, 1, true};
    case TShadowStyle::ssRecessedShadow:
        return {drDownRight, 1, drUpLeft, 1, 1, false};
    case TShadowStyle::ssShadow:
        return {drNone, 0, drDownRight, 2, 1, false};
    case TShadowStyle::ssThickShadow:
        return {drNone, 0, drDownRight, 1, 4, false};
    case TShadowStyle::ssNone:
    case TShadowStyle::ssCustom:
        break;
    }
    return {drNone, 0, drNone, 0, 0, false};
}

TRect Moved(const TRect& r, TPoint step, int times) {
    return r.Offset(step.X * times, step.Y * times);
}

} // namespace

TCustomShadowLabel::TCustomShadowLabel(TComponent* owner) : TCustomLabel(owner) {
    highlight_color_ = clBtnHighlight;
    shadow_color_ = clBtnShadow;
}

TCustomShadowLabel::~TCustomShadowLabel() {
    BeginDestruction();
}

void TCustomShadowLabel::SettingChanged() {
    if (!applying_preset_)
        shadow_style_ = TShadowStyle::ssCustom;
    Invalidate();
}

void TCustomShadowLabel::SetShadowStyle(TShadowStyle value) {
    if (shadow_style_ == value)
        return;
    shadow_style_ = value;
    if (value == TShadowStyle::ssCustom)
        return;
    // Each setting goes through its own setter, so each repaints; none of them may turn the
    // style custom meanwhile.
    applying_preset_ = true;
    const Preset p = PresetOf(value);
    SetHighlightDirection(p.highlight_direction);
    SetHighlightDepth(p.highlight_depth);
    SetHighlightColor(clBtnHighlight);
    SetShadowDirection(p.shadow_direction);
    SetShadowDepth(p.shadow_depth);
    SetShadowSize(p.shadow_size);
    SetShadowColor(clBtnShadow);
    if (p.face_colored)
        Font().SetColor(clBtnFace);
    applying_preset_ = false;
}

void TCustomShadowLabel::SetHighlightDirection(TDirection value) {
    if (highlight_direction_ == value)
        return;
    highlight_direction_ = value;
    SettingChanged();
}

void TCustomShadowLabel::SetHighlightDepth(int value) {
    if (highlight_depth_ == value)
        return;
    highlight_depth_ = value;
    SettingChanged();
}

void TCustomShadowLabel::SetHighlightColor(TColor value) {
    if (highlight_color_ == value)
        return;
    highlight_color_ = value;
    SettingChanged();
}

void TCustomShadowLabel::SetShadowDirection(TDirection value) {
    if (shadow_direction_ == value)
        return;
    shadow_direction_ = value;
    SettingChanged();
}

void TCustomShadowLabel::SetShadowDepth(TShadowDepth value) {
    if (shadow_depth_ == value)
        return;
    shadow_depth_ = value;
    SettingChanged();
}

void TCustomShadowLabel::SetShadowSize(TShadowSize value) {
    if (shadow_size_ == value)
        return;
    shadow_size_ = value;
    SettingChanged();
}

void TCustomShadowLabel::SetShadowColor(TColor value) {
    if (shadow_color_ == value)
        return;
    shadow_color_ = value;
    SettingChanged();
}

void TCustomShadowLabel::SetAngle(int degrees) {
    int normal = degrees % 360;
    if (normal < 0)
        normal += 360;
    if (normal == angle_)
        return;
    angle_ = normal;
    const double radians = angle_ * std::numbers::pi / 180.0;
    cos_angle_ = std::cos(radians);
    sin_angle_ = std::sin(radians);
    // The standard measuring knows nothing of turned text.
    if (angle_ > 0)
        SetAutoSize(false);
    Invalidate();
}

void TCustomShadowLabel::SetOffsetX(int value) {
    if (offset_x_ == value)
        return;
    offset_x_ = value;
    if (value > 0)
        SetAutoSize(false);
    Invalidate();
}

void TCustomShadowLabel::SetOffsetY(int value) {
    if (offset_y_ == value)
        return;
    offset_y_ = value;
    if (value > 0)
        SetAutoSize(false);
    Invalidate();
}

TVerticalAlignment TCustomShadowLabel::VerticalAlignment() const {
    switch (Layout()) {
    case TTextLayout::tlCenter:
        return TVerticalAlignment::vaCenter;
    case TTextLayout::tlBottom:
        return TVerticalAlignment::vaBottom;
    case TTextLayout::tlTop:
        break;
    }
    return TVerticalAlignment::vaTop;
}

void TCustomShadowLabel::SetVerticalAlignment(TVerticalAlignment value) {
    switch (value) {
    case TVerticalAlignment::vaTop:
        SetLayout(TTextLayout::tlTop);
        break;
    case TVerticalAlignment::vaCenter:
        SetLayout(TTextLayout::tlCenter);
        break;
    case TVerticalAlignment::vaBottom:
        SetLayout(TTextLayout::tlBottom);
        break;
    }
}

void TCustomShadowLabel::DrawCopy(TCanvas& canvas, const TRect& r, unsigned flags, bool turned) {
    if (turned) {
        canvas.TextOut(r.Left, r.Top, Caption());
        return;
    }
    TRect copy = r;
    canvas.DrawText(Caption(), copy, flags);
}

TRect TCustomShadowLabel::TurnedCaptionRect(TCanvas& c, const TRect& client) const {
    const int tw = c.TextWidth(Caption());
    const int th = c.TextHeight(Caption());
    const int wc = static_cast<int>(std::trunc(tw * cos_angle_));
    const int ws = static_cast<int>(std::trunc(tw * sin_angle_));
    const int hc = static_cast<int>(std::trunc(th * cos_angle_));
    const int hs = static_cast<int>(std::trunc(th * sin_angle_));
    int w = 0;
    int h = 0;
    TPoint start;
    if (angle_ < 90) {
        w = wc + hs;
        h = ws + hc;
    } else if (angle_ < 180) {
        w = hs - wc;
        h = ws - hc;
    } else if (angle_ < 270) {
        w = -wc - hs;
        h = -ws - hc;
    } else {
        w = wc - hs;
        h = hc - ws;
    }
    w = std::min(w, client.Right);
    h = std::min(h, client.Bottom);
    if (angle_ < 90)
        start = {0, ws};
    else if (angle_ < 180)
        start = {-wc, h};
    else if (angle_ < 270)
        start = {w, -hc};
    else
        start = {-hs, 0};
    int dx = 0;
    if (Alignment() == TAlignment::taCenter)
        dx = (ClientWidth() - w) / 2;
    else if (Alignment() == TAlignment::taRightJustify)
        dx = ClientWidth() - w;
    int dy = 0;
    if (VerticalAlignment() == TVerticalAlignment::vaCenter)
        dy = (ClientHeight() - h) / 2;
    else if (VerticalAlignment() == TVerticalAlignment::vaBottom)
        dy = ClientHeight() - h;
    return TRect{0, 0, w, h}.Offset(dx + start.X, dy + start.Y);
}

TRect TCustomShadowLabel::AlignedCaptionRect(TCanvas& c, const TRect& client,
                                             unsigned flags) const {
    if (VerticalAlignment() == TVerticalAlignment::vaTop)
        return client;
    TRect r = client;
    TRect measured = r;
    c.DrawText(Caption(), measured, flags | DT_CALCRECT);
    const int old_bottom = r.Bottom;
    r.Bottom = r.Top + measured.Height();
    const int free = old_bottom - r.Bottom;
    return r.Offset(0, VerticalAlignment() == TVerticalAlignment::vaCenter ? free / 2 : free);
}

void TCustomShadowLabel::DrawCaptionCopies(TCanvas& c, const TRect& r, unsigned flags,
                                           bool turned) {
    if (!Enabled()) {
        c.Font().SetColor(clBtnHighlight);
        DrawCopy(c, r.Offset(1, 1), flags, turned);
        c.Font().SetColor(clBtnShadow);
        DrawCopy(c, r, flags, turned);
        return;
    }
    if (shadow_style_ != TShadowStyle::ssNone) {
        const TPoint shadow_step = DirectionStep(shadow_direction_);
        TRect s = Moved(r, shadow_step, shadow_depth_);
        c.Font().SetColor(shadow_color_);
        for (int i = 0; i < shadow_size_; ++i) {
            DrawCopy(c, s, flags, turned);
            s = Moved(s, shadow_step, 1);
        }
        c.Font().SetColor(highlight_color_);
        DrawCopy(c, Moved(r, DirectionStep(highlight_direction_), highlight_depth_), flags, turned);
    }
    c.Font().SetColor(Font().Color());
    DrawCopy(c, r, flags, turned);
}

void TCustomShadowLabel::Paint() {
    TCanvas& c = Canvas();
    const unsigned flags = DrawTextFlags();
    const TRect client = ClientRect();
    c.Font().Assign(&Font());
    if (!Transparent()) {
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(Color());
        c.FillRect(client);
    }
    c.Brush().SetStyle(TBrushStyle::bsClear);

    const bool turned = angle_ != 0;
    if (turned)
        c.Font().SetOrientation(angle_ * 10);
    const TRect r = turned ? TurnedCaptionRect(c, client) : AlignedCaptionRect(c, client, flags);
    DrawCaptionCopies(c, r.Offset(offset_x_, offset_y_), flags, turned);
    if (turned)
        c.Font().SetOrientation(0);
}

void TCustomShadowLabel::MouseEnter() {
    TCustomLabel::MouseEnter();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TCustomShadowLabel::MouseLeave() {
    TCustomLabel::MouseLeave();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

} // namespace vd
