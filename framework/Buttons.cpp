#include "framework/Buttons.h"

#include <algorithm>

namespace vd {

TButtonGlyphPlace PlaceButtonGlyph(int width, int height, int gw, int gh, int tw, int th,
                                   int spacing, TButtonLayout layout) {
    TButtonGlyphPlace place;
    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        place.glyph = {(width - (spacing + gw + tw)) / 2, (height - gh) / 2 - 1};
        place.caption = {place.glyph.X + gw + spacing, 0, place.glyph.X + gw + spacing + tw,
                         height};
        break;
    case TButtonLayout::blGlyphRight: {
        const int right = (spacing + gw + tw + width) / 2;
        place.glyph = {right - gw, (height - gh) / 2};
        place.caption = {place.glyph.X - spacing - tw, 0, place.glyph.X - spacing, height};
        break;
    }
    case TButtonLayout::blGlyphTop:
        place.glyph = {(width - gw) / 2, (height - (spacing + gh + th)) / 2};
        place.caption = {(width - tw) / 2, place.glyph.Y + gh + spacing, (width - tw) / 2 + tw,
                         place.glyph.Y + gh + spacing + th};
        break;
    case TButtonLayout::blGlyphBottom: {
        const int bottom = (spacing + gh + th + height) / 2;
        place.glyph = {(width - gw) / 2, bottom - gh};
        place.caption = {(width - tw) / 2, place.glyph.Y - spacing - th, (width - tw) / 2 + tw,
                         place.glyph.Y - spacing};
        break;
    }
    }
    return place;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(csCaptureMouse | csClickEvents);
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() {
    BeginDestruction();
}

void TSpeedButton::SetFlat(bool value) {
    if (flat_ == value)
        return;
    flat_ = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
    if (transparent_ == value)
        return;
    transparent_ = value;
    Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap& glyph) {
    glyph_ = glyph;
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
    value = std::clamp(value, 1, 4);
    if (num_glyphs_ == value)
        return;
    num_glyphs_ = value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    if (layout_ == value)
        return;
    layout_ = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
    if (spacing_ == value)
        return;
    spacing_ = value;
    Invalidate();
}

void TSpeedButton::SetDown(bool value) {
    if (down_ == value)
        return;
    down_ = value;
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft && Enabled()) {
        pressed_ = true;
        Repaint();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft && pressed_) {
        pressed_ = false;
        Repaint();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::MouseEnter() {
    mouse_in_ = true;
    if (flat_ && Enabled())
        Repaint();
}

void TSpeedButton::MouseLeave() {
    mouse_in_ = false;
    if (flat_ && Enabled())
        Repaint();
}

namespace {

// A raised edge, or a sunken one while pressed.
void PaintEdge(TCanvas& c, int w, int h, bool sunken) {
    const TColor light = sunken ? clBtnShadow : clBtnHighlight;
    const TColor dark = sunken ? clBtnHighlight : clBtnShadow;
    c.Pen().SetColor(light);
    c.MoveTo(0, h - 1);
    c.LineTo(0, 0);
    c.LineTo(w - 1, 0);
    c.Pen().SetColor(dark);
    c.LineTo(w - 1, h - 1);
    c.LineTo(-1, h - 1);
}

} // namespace

void TSpeedButton::Paint() {
    TCanvas& c = Canvas();
    const int w = Width();
    const int h = Height();
    const bool sunken = down_ || (pressed_ && mouse_in_);
    const bool framed = !flat_ || sunken || (mouse_in_ && Enabled());
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    if (!transparent_ || (!flat_ && framed)) {
        c.Brush().SetColor(Color());
        c.FillRect({0, 0, w, h});
    }
    if (framed)
        PaintEdge(c, w, h, sunken);
    c.Font().Assign(&Font());
    const int gw = glyph_.Empty() ? 0 : glyph_.Width() / num_glyphs_;
    const int gh = glyph_.Empty() ? 0 : glyph_.Height();
    const int tw = Caption().empty() ? 0 : c.TextWidth(Caption());
    const int th = Caption().empty() ? 0 : c.TextHeight(Caption());
    const TButtonGlyphPlace place =
        PlaceButtonGlyph(w, h, gw, gh, tw, th, Caption().empty() ? 0 : spacing_, layout_);
    const int shift = sunken ? 1 : 0;
    if (gw > 0)
        PaintGlyph(Bounds(place.glyph.X + shift, place.glyph.Y + shift, gw, gh), sunken);
    if (tw > 0)
        PaintCaption(place.caption.Offset(shift, shift), th);
}

void TSpeedButton::PaintGlyph(const TRect& dest, bool sunken) {
    TCanvas& c = Canvas();
    const int gw = dest.Width();
    const int gh = dest.Height();
    int index = 0;
    if (!Enabled() && num_glyphs_ > 1)
        index = 1;
    else if (sunken && num_glyphs_ > 2)
        index = down_ && num_glyphs_ > 3 ? 3 : 2;
    const TColor transparent = glyph_.Pixel(0, gh - 1);
    const TBrushStyle saved = c.Brush().Style();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.BrushCopy(dest, glyph_, Bounds(index * gw, 0, gw, gh), transparent);
    c.Brush().SetStyle(saved);
}

void TSpeedButton::PaintCaption(TRect r, int text_height) {
    TCanvas& c = Canvas();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    r.Top += (r.Height() - text_height) / 2;
    if (!Enabled()) {
        c.Font().SetColor(clBtnHighlight);
        TRect under = r.Offset(1, 1);
        c.DrawText(Caption(), under, DT_LEFT);
        c.Font().SetColor(clBtnShadow);
    }
    c.DrawText(Caption(), r, DT_LEFT);
}

} // namespace vd
