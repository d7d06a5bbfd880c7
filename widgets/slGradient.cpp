#include "widgets/slGradient.h"

#include "widgets/slKeepTool.h"
#include "widgets/slMulDiv.h"

#include <algorithm>

namespace vd {

namespace {

struct GradientColors {
    int r0, g0, b0;
    int dr, dg, db;
    int n;

    [[nodiscard]] TColor Step(int i) const {
        if (n <= 1)
            return RGB(static_cast<unsigned>(r0), static_cast<unsigned>(g0),
                       static_cast<unsigned>(b0));
        return RGB(static_cast<unsigned>(r0 + MulDiv(i, dr, n - 1)),
                   static_cast<unsigned>(g0 + MulDiv(i, dg, n - 1)),
                   static_cast<unsigned>(b0 + MulDiv(i, db, n - 1)));
    }
};

GradientColors ColorsOf(TColor from, TColor to, int n) {
    const int r0 = static_cast<int>(GetRValue(from));
    const int g0 = static_cast<int>(GetGValue(from));
    const int b0 = static_cast<int>(GetBValue(from));
    return {r0,
            g0,
            b0,
            static_cast<int>(GetRValue(to)) - r0,
            static_cast<int>(GetGValue(to)) - g0,
            static_cast<int>(GetBValue(to)) - b0,
            n};
}

// Whether the fill stops after step i of n.
bool FilledEnough(int i, int n, TslPercent percent) {
    return static_cast<double>(i) / static_cast<double>(n) * 100.0 > static_cast<double>(percent);
}

// Solid bands side by side cover the rectangle once each: one picture row (or column) with every
// pixel in its band's colour, stretched over the bands drawn, gives the very same pixels as
// filling them one by one, at a fraction of the cost.
void FillSolidBands(TCanvas& canvas, const TRect& rect, TslGradientDir orientation,
                    const GradientColors& colors, TslPercent percent) {
    const bool across = orientation == TslGradientDir::fgdVertical;
    const int length = across ? rect.Width() : rect.Height();
    const int n = colors.n;
    TBitmap strip(across ? length : 1, across ? 1 : length);
    TCanvas& pixels = strip.Canvas();
    int end = 0;
    for (int i = 0; i < n; ++i) {
        const TColor color = colors.Step(i);
        const int next = MulDiv(i + 1, length, n);
        for (int p = MulDiv(i, length, n); p < next; ++p)
            pixels.SetPixel(across ? p : 0, across ? 0 : p, color);
        end = next;
        if (FilledEnough(i, n, percent))
            break;
    }
    if (end <= 0)
        return;
    const TRect drawn = across ? TRect{rect.Left, rect.Top, rect.Left + end, rect.Bottom}
                               : TRect{rect.Left, rect.Top, rect.Right, rect.Top + end};
    const TRect source = across ? TRect{0, 0, end, 1} : TRect{0, 0, 1, end};
    canvas.CopyRect(drawn, strip, source);
}

void FillBands(TCanvas& canvas, const TRect& rect, TslGradientDir orientation, TColor from,
               TColor to, const TCustomGradient& gradient) {
    int w = rect.Width();
    int h = rect.Height();
    int n = 0;
    switch (orientation) {
    case TslGradientDir::fgdHorizontal:
        n = std::min(gradient.Steps(), h);
        break;
    case TslGradientDir::fgdVertical:
        n = std::min(gradient.Steps(), w);
        break;
    default: // the rectangle: concentric frames over half the size
        w /= 2;
        h /= 2;
        n = std::min(gradient.Steps(), std::min(w, h));
        break;
    }
    if (n <= 0)
        return;
    // A clear brush has no hatch to draw with: nothing is filled.
    if (gradient.BrushStyle() == TBrushStyle::bsClear)
        return;
    const GradientColors colors = ColorsOf(from, to, n);
    if (orientation != TslGradientDir::fgdRectangle &&
        gradient.BrushStyle() == TBrushStyle::bsSolid) {
        FillSolidBands(canvas, rect, orientation, colors, gradient.PercentFilling());
        return;
    }
    TBrush& brush = canvas.Brush();
    KeepTool<TBrush> keep(brush);
    brush.SetStyle(gradient.BrushStyle());
    for (int i = 0; i < n; ++i) {
        brush.SetColor(colors.Step(i));
        TRect band;
        switch (orientation) {
        case TslGradientDir::fgdHorizontal:
            band = {rect.Left, rect.Top + MulDiv(i, h, n), rect.Right,
                    rect.Top + MulDiv(i + 1, h, n)};
            break;
        case TslGradientDir::fgdVertical:
            band = {rect.Left + MulDiv(i, w, n), rect.Top, rect.Left + MulDiv(i + 1, w, n),
                    rect.Bottom};
            break;
        default:
            band = {rect.Left + MulDiv(i, w, n), rect.Top + MulDiv(i, h, n),
                    rect.Right - MulDiv(i, w, n), rect.Bottom - MulDiv(i, h, n)};
            break;
        }
        canvas.FillRect(band);
        if (FilledEnough(i, n, gradient.PercentFilling()))
            break;
    }
}

void DrawBiasLines(TCanvas& canvas, const TRect& rect, TslGradientDir orientation, TColor from,
                   TColor to, const TCustomGradient& gradient, int pen_width, TPenStyle pen_style) {
    const int span = rect.Width() + rect.Height();
    const int n = std::min(gradient.Steps(), span);
    if (n <= 0)
        return;
    const int step = pen_width <= 0 ? 1 : pen_width;
    const bool left = orientation == TslGradientDir::fgdLeftBias;
    TPoint a{left ? rect.Left : rect.Right, rect.Top};
    TPoint b = a;
    const GradientColors colors = ColorsOf(from, to, n);
    TPen& pen = canvas.Pen();
    KeepTool<TPen> keep(pen);
    pen.SetWidth(step);
    pen.SetStyle(pen_style);
    for (int i = 0; i < n; ++i) {
        pen.SetColor(colors.Step(i));
        const int lines = MulDiv(i + 1, span, n) - MulDiv(i, span, n);
        for (int k = 0; k < lines; ++k) {
            if (left) {
                if (a.Y < rect.Bottom)
                    a.Y += step;
                else
                    a.X += step;
                if (b.X < rect.Right)
                    b.X += step;
                else
                    b.Y += step;
            } else {
                if (a.X > rect.Left)
                    a.X -= step;
                else
                    a.Y += step;
                if (b.Y < rect.Bottom)
                    b.Y += step;
                else
                    b.X -= step;
            }
            canvas.MoveTo(a.X, a.Y);
            canvas.LineTo(b.X, b.Y);
        }
        if (FilledEnough(i, n, gradient.PercentFilling()))
            break;
    }
}

void DrawGradient(TCanvas& canvas, const TRect& rect, TslGradientDir orientation, TColor from,
                  TColor to, const TCustomGradient& gradient, int pen_width, TPenStyle pen_style) {
    const bool bias =
        orientation == TslGradientDir::fgdLeftBias || orientation == TslGradientDir::fgdRightBias;
    auto draw = [&](TCanvas& target, const TRect& r) {
        if (bias)
            DrawBiasLines(target, r, orientation, from, to, gradient, pen_width, pen_style);
        else
            FillBands(target, r, orientation, from, to, gradient);
    };
    if (!gradient.BufferedDraw()) {
        draw(canvas, rect);
        return;
    }
    // Off-screen at the rectangle's own size, placed back at its top-left: what was beneath
    // comes along, so that gaps of hatches and lines keep it.
    if (rect.IsEmpty())
        return;
    TBitmap buffer(rect.Width(), rect.Height());
    const TRect whole{0, 0, rect.Width(), rect.Height()};
    buffer.Canvas().CopyRect(whole, canvas, rect);
    draw(buffer.Canvas(), whole);
    canvas.Draw(rect.Left, rect.Top, buffer);
}

} // namespace

void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  int pen_width, TPenStyle pen_style) {
    FillGradient(canvas, rect, gradient, gradient.RGBFromColor(), gradient.RGBToColor(), pen_width,
                 pen_style);
}

void FillGradient(TCanvas& canvas, const TRect& rect, const TCustomGradient& gradient,
                  TColor from_rgb, TColor to_rgb, int pen_width, TPenStyle pen_style) {
    // Every canvas here has 32 bits a pixel, so the too-few-colours rule never applies.
    if (!gradient.Active() || gradient.Steps() == 1)
        return;
    const int w = rect.Width();
    const int h = rect.Height();
    switch (gradient.Orientation()) {
    case TslGradientDir::fgdHorzConvergent:
        DrawGradient(canvas, {rect.Left, rect.Top, rect.Right, rect.Bottom - h / 2},
                     TslGradientDir::fgdHorizontal, from_rgb, to_rgb, gradient, pen_width,
                     pen_style);
        DrawGradient(canvas, {rect.Left, rect.Top + h / 2, rect.Right, rect.Bottom},
                     TslGradientDir::fgdHorizontal, to_rgb, from_rgb, gradient, pen_width,
                     pen_style);
        return;
    case TslGradientDir::fgdVertConvergent:
        DrawGradient(canvas, {rect.Left, rect.Top, rect.Right - w / 2, rect.Bottom},
                     TslGradientDir::fgdVertical, from_rgb, to_rgb, gradient, pen_width, pen_style);
        DrawGradient(canvas, {rect.Left + w / 2, rect.Top, rect.Right, rect.Bottom},
                     TslGradientDir::fgdVertical, to_rgb, from_rgb, gradient, pen_width, pen_style);
        return;
    default:
        DrawGradient(canvas, rect, gradient.Orientation(), from_rgb, to_rgb, gradient, pen_width,
                     pen_style);
        return;
    }
}

} // namespace vd
