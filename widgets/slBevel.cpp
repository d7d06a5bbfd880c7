#include "widgets/slBevel.h"

#include "widgets/sl3DCol.h"
#include "widgets/slKeepTool.h"

namespace vd {

namespace {

struct BevelPens {
    TColor dark;
    TColor light;
    TColor mid;
};

class BevelPainter {
public:
    BevelPainter(TCanvas& canvas, const BevelPens& pens, TslSides sides)
        : canvas_(canvas), pens_(pens), sides_(sides) {}

    // Draws one ring on `d` and moves the sides of `inner` past it.
    void Ring(const TRect& d, TBevelCut cut, bool bold, TRect& inner) {
        if (cut == TBevelCut::bvLowered)
            LoweredRing(d.Left, d.Top, d.Right, d.Bottom, bold, inner);
        else if (cut == TBevelCut::bvRaised)
            RaisedRing(d.Left, d.Top, d.Right, d.Bottom, bold, inner);
    }

private:
    // Shadow on the left and top (doubled when bold), light on the right and bottom.
    void LoweredRing(int l, int t, int r, int b, bool bold, TRect& inner) {
        const int e = sides_.Contains(TslSide::fsdBottom) ? 0 : 1;
        if (sides_.Contains(TslSide::fsdLeft)) {
            if (bold) {
                Line(pens_.dark, l, t, l, b);
                Line(pens_.mid, l + 1, t + 1, l + 1, b + e);
                inner.Left += 2;
            } else {
                Line(pens_.mid, l, t, l, b);
                inner.Left += 1;
            }
        }
        if (sides_.Contains(TslSide::fsdTop)) {
            if (bold) {
                Line(pens_.dark, l, t, r, t);
                Line(pens_.mid, l + 1, t + 1, r, t + 1);
                inner.Top += 2;
            } else {
                Line(pens_.mid, l, t, r, t);
                inner.Top += 1;
            }
        }
        if (sides_.Contains(TslSide::fsdRight)) {
            Line(pens_.light, r, t, r, b);
            inner.Right -= 1;
        }
        if (sides_.Contains(TslSide::fsdBottom)) {
            Line(pens_.light, l, b, r + 1, b);
            inner.Bottom -= 1;
        }
    }

    // Light on the left and top, shadow on the right and bottom (doubled when bold).
    void RaisedRing(int l, int t, int r, int b, bool bold, TRect& inner) {
        const int f = sides_.Contains(TslSide::fsdLeft) ? 1 : 0;
        if (sides_.Contains(TslSide::fsdLeft)) {
            Line(pens_.light, l, t, l, b + 1);
            inner.Left += 1;
        }
        if (sides_.Contains(TslSide::fsdTop)) {
            Line(pens_.light, l, t, r, t);
            inner.Top += 1;
        }
        if (sides_.Contains(TslSide::fsdRight)) {
            if (bold) {
                Line(pens_.dark, r, t, r, b + 1);
                Line(pens_.mid, r - 1, t + 1, r - 1, b + 1);
                inner.Right -= 2;
            } else {
                Line(pens_.mid, r, t, r, b + 1);
                inner.Right -= 1;
            }
        }
        if (sides_.Contains(TslSide::fsdBottom)) {
            if (bold) {
                Line(pens_.dark, l, b, r, b);
                Line(pens_.mid, l + f, b - 1, r, b - 1);
                inner.Bottom -= 2;
            } else {
                Line(pens_.mid, l, b, r, b);
                inner.Bottom -= 1;
            }
        }
    }

    void Line(TColor color, int x0, int y0, int x1, int y1) {
        canvas_.Pen().SetColor(color);
        canvas_.MoveTo(x0, y0);
        canvas_.LineTo(x1, y1);
    }

    TCanvas& canvas_;
    BevelPens pens_;
    TslSides sides_;
};

BevelPens CurrentBevelPens() {
    if (const Tsl3DLocalColors* local = Current3DColors())
        return {ColorToRGB(local->DkShadow()), ColorToRGB(local->Highlight()),
                ColorToRGB(local->Shadow())};
    return {ColorToRGB(cl3DDkShadow), ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow)};
}

} // namespace

TRect DrawBevelFrame(TCanvas& canvas, const TRect& rect, TslSides sides, TBevelCut inner,
                     TBevelCut outer, bool bold, TColor fill_color, bool no_fill) {
    TRect d = rect;
    TRect i = d;
    {
        TPen& pen = canvas.Pen();
        KeepTool<TPen> keep(pen);
        if (pen.Width() <= 0)
            pen.SetWidth(1);
        BevelPainter painter(canvas, CurrentBevelPens(), sides);
        if (outer != TBevelCut::bvNone)
            painter.Ring(d, outer, bold, i);
        d = i;
        if (inner != TBevelCut::bvNone)
            painter.Ring(d, inner, bold, i);
    }
    if (!no_fill) {
        TBrush& brush = canvas.Brush();
        KeepTool<TBrush> keep(brush);
        brush.SetStyle(TBrushStyle::bsSolid);
        brush.SetColor(ColorToRGB(fill_color));
        canvas.FillRect({i.Left, i.Top, i.Right + 1, i.Bottom + 1});
    }
    return i;
}

} // namespace vd
