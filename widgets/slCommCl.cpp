#include "widgets/slCommCl.h"

#include <algorithm>

namespace vd {

namespace {

template <class T>
bool Store(T& field, T value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

// ---- TTwainColors -----------------------------------------------------------------------------

TTwainColors::TTwainColors() : rgb_from_(ColorToRGB(from_color_)), rgb_to_(ColorToRGB(to_color_)) {}

void TTwainColors::SetFromColor(TColor color) {
    rgb_from_ = ColorToRGB(color);
    if (Store(from_color_, color))
        Changed();
}

void TTwainColors::SetToColor(TColor color) {
    rgb_to_ = ColorToRGB(color);
    if (Store(to_color_, color))
        Changed();
}

void TTwainColors::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TTwainColors*>(source)) {
        SetFromColor(other->FromColor());
        SetToColor(other->ToColor());
        return;
    }
    TslStyleObject::Assign(source);
}

// ---- TCustomGradient --------------------------------------------------------------------------

void TCustomGradient::SetActive(bool active) {
    if (Store(active_, active))
        Changed();
}

void TCustomGradient::SetBufferedDraw(bool buffered) {
    if (Store(buffered_draw_, buffered))
        Changed();
}

void TCustomGradient::SetOrientation(TslGradientDir orientation) {
    if (Store(orientation_, orientation) && active_)
        Changed();
}

void TCustomGradient::SetSteps(int steps) {
    if (Store(steps_, std::clamp(steps, 1, kMaxSteps)))
        Changed();
}

void TCustomGradient::SetPercentFilling(TslPercent percent) {
    if (Store(percent_filling_, std::clamp(percent, 0, 100)))
        Changed();
}

void TCustomGradient::SetBrushStyle(TBrushStyle style) {
    brush_style_ = style;
    Changed();
}

void TCustomGradient::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TCustomGradient*>(source)) {
        TTwainColors::Assign(source);
        SetActive(other->Active());
        SetBufferedDraw(other->BufferedDraw());
        SetOrientation(other->Orientation());
        SetSteps(other->Steps());
        SetPercentFilling(other->PercentFilling());
        SetBrushStyle(other->BrushStyle());
        return;
    }
    TTwainColors::Assign(source);
}

// ---- TslBevel ---------------------------------------------------------------------------------

void TslBevel::SetInner(TBevelCut cut) {
    if (Store(inner_, cut))
        Changed();
}

void TslBevel::SetOuter(TBevelCut cut) {
    if (Store(outer_, cut))
        Changed();
}

void TslBevel::SetSides(TslSides sides) {
    if (Store(sides_, sides))
        Changed();
}

void TslBevel::SetBold(bool bold) {
    if (Store(bold_, bold))
        Changed();
}

void TslBevel::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TslBevel*>(source)) {
        SetInner(other->Inner());
        SetOuter(other->Outer());
        SetSides(other->Sides());
        SetBold(other->Bold());
        return;
    }
    TslStyleObject::Assign(source);
}

// ---- T2DAlign ---------------------------------------------------------------------------------

void T2DAlign::SetHorizontal(TslHorAlign align) {
    if (Store(horizontal_, align))
        Changed();
}

void T2DAlign::SetVertical(TslVertAlign align) {
    if (Store(vertical_, align))
        Changed();
}

void T2DAlign::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const T2DAlign*>(source)) {
        SetHorizontal(other->Horizontal());
        SetVertical(other->Vertical());
        return;
    }
    TslStyleObject::Assign(source);
}

} // namespace vd
