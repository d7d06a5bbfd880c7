#include "widgets/slStyledText.h"

namespace vd {

namespace {

// Selects `font` into the canvas; a change of colour alone keeps the canvas's prepared face.
void SelectFont(TCanvas& canvas, const TFont& font) {
    TFont& current = canvas.Font();
    if (current.Name() == font.Name() && current.Height() == font.Height() &&
        current.Style() == font.Style())
        current.SetColor(font.Color());
    else
        current.Assign(&font);
}

} // namespace

void DrawStyledText(TCanvas& canvas, const TRect& rect, std::string_view text, TslTextStyle style,
                    const TFont* font, unsigned format) {
    if (font == nullptr)
        return;
    if (format == 0)
        format = DT_SINGLELINE | DT_VCENTER;
    TBrush& brush = canvas.Brush();
    const TBrushStyle saved_brush = brush.Style();
    const TFont saved_font = canvas.Font();
    brush.SetStyle(TBrushStyle::bsClear);
    SelectFont(canvas, *font);
    auto pass = [&](TColor color, int dx, int dy) {
        canvas.Font().SetColor(color);
        TRect r = rect.Offset(dx, dy);
        canvas.DrawText(text, r, format);
    };
    const TColor face = font->Color();
    switch (style) {
    case TslTextStyle::fstRaised:
        pass(clBtnHighlight, -1, -1);
        pass(clBtnShadow, 1, 1);
        pass(face, 0, 0);
        break;
    case TslTextStyle::fstRecessed:
        pass(clBtnShadow, -1, -1);
        pass(clBtnHighlight, 1, 1);
        pass(face, 0, 0);
        break;
    case TslTextStyle::fstPushed:
        pass(clBtnHighlight, 0, 0);
        pass(clBtnShadow, -1, -1);
        break;
    case TslTextStyle::fstShadow:
        pass(clBtnShadow, 2, 2);
        pass(face, 0, 0);
        break;
    case TslTextStyle::fstNone:
    case TslTextStyle::fstVolumetric:
        pass(face, 0, 0);
        break;
    }
    SelectFont(canvas, saved_font);
    brush.SetStyle(saved_brush);
}

} // namespace vd
