#include "framework/Graphics.h"

#include "framework/QtConvert.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <utility>

// The canvas: shapes, lines, copies and pixels with the classic semantics, over a QImage with
// antialiasing off. Its text is TextLayout.cpp's.

namespace vd {

namespace {

// The hatched brushes; the others fill solid.
constexpr std::pair<TBrushStyle, Qt::BrushStyle> kHatches[] = {
    {TBrushStyle::bsHorizontal, Qt::HorPattern},  {TBrushStyle::bsVertical, Qt::VerPattern},
    {TBrushStyle::bsFDiagonal, Qt::BDiagPattern}, {TBrushStyle::bsBDiagonal, Qt::FDiagPattern},
    {TBrushStyle::bsCross, Qt::CrossPattern},     {TBrushStyle::bsDiagCross, Qt::DiagCrossPattern},
};

Qt::BrushStyle HatchOf(TBrushStyle style) {
    for (const auto& [brush, hatch] : kHatches)
        if (brush == style)
            return hatch;
    return Qt::SolidPattern;
}

// `part` with the pixels of `key` (0x00BBGGRR) made transparent, or painted in `fill` when given.
QImage KeyedOut(const QImage& part, TColor key_color, const QRgb* fill) {
    const TColor key_rgb = key_color & 0xFFFFFF;
    const QRgb key =
        qRgb(static_cast<int>(GetRValue(key_rgb)), static_cast<int>(GetGValue(key_rgb)),
             static_cast<int>(GetBValue(key_rgb)));
    QImage out(part.size(), QImage::Format_ARGB32);
    for (int y = 0; y < part.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(part.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            const QRgb px = s[x] | 0xFF000000u;
            if ((px & 0xFFFFFFu) == (key & 0xFFFFFFu))
                d[x] = fill == nullptr ? 0u : (*fill | 0xFF000000u);
            else
                d[x] = px;
        }
    }
    return out;
}

int& DisplayDepth() {
    static int bits = 32;
    return bits;
}

} // namespace

TCanvas::TCanvas(QImage* target, TPoint origin, TRect clip)
    : target_(target), origin_(origin), clip_(clip) {}

TCanvas::~TCanvas() {
    Release();
}

void TCanvas::Release() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

QImage& TCanvas::Target() const {
    const_cast<TCanvas*>(this)->Release();
    return *target_;
}

void TCanvas::ApplyClip(QPainter& p) const {
    if (!clip_.IsEmpty())
        p.setClipRect(ToQRect(clip_));
}

QPainter& TCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(target_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter_->translate(origin_.X, origin_.Y);
        ApplyClip(*painter_);
    }
    return *painter_;
}

TRect TCanvas::ClipRect() const {
    TRect whole{-origin_.X, -origin_.Y, target_->width() - origin_.X,
                target_->height() - origin_.Y};
    if (clip_.IsEmpty())
        return whole;
    return whole.Intersect(clip_);
}

// ---- shapes and lines -------------------------------------------------------------------------

void TCanvas::FillRect(const TRect& r) {
    if (r.IsEmpty() || brush_.Style() == TBrushStyle::bsClear)
        return;
    Painter().fillRect(ToQRect(r), QBrush(ToQColor(brush_.Color()), HatchOf(brush_.Style())));
}

void TCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty())
        return;
    const TBrushStyle style = brush_.Style();
    if (style == TBrushStyle::bsClear)
        return;
    FillRect({r.Left, r.Top, r.Right, r.Top + 1});
    FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
    FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
}

void TCanvas::Rectangle(const TRect& r) {
    if (r.IsEmpty())
        return;
    const bool has_pen = pen_.Style() != TPenStyle::psClear;
    if (brush_.Style() != TBrushStyle::bsClear) {
        // Without a pen the fill ends one pixel short on the right and at the bottom.
        const TRect inner = has_pen ? TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}
                                    : TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
        FillRect(inner);
    }
    if (has_pen) {
        const TPoint saved = pen_pos_;
        MoveTo(r.Left, r.Top);
        LineTo(r.Right - 1, r.Top);
        LineTo(r.Right - 1, r.Bottom - 1);
        LineTo(r.Left, r.Bottom - 1);
        LineTo(r.Left, r.Top);
        pen_pos_ = saved;
    }
}

void TCanvas::MoveTo(int x, int y) {
    pen_pos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = pen_pos_;
    pen_pos_ = {x, y};
    if (pen_.Style() == TPenStyle::psClear)
        return;
    QPainter& p = Painter();
    const QColor color = ToQColor(pen_.Color());
    if (pen_.Width() > 1) {
        p.setPen(QPen(color, pen_.Width()));
        p.drawLine(from.X, from.Y, x, y);
        return;
    }
    // Bresenham, the last point left out; dotted pens set every other pixel.
    const int dx = std::abs(x - from.X);
    const int dy = -std::abs(y - from.Y);
    const int sx = from.X < x ? 1 : -1;
    const int sy = from.Y < y ? 1 : -1;
    int err = dx + dy;
    int cx = from.X;
    int cy = from.Y;
    int step = 0;
    const bool dotted =
        pen_.Style() != TPenStyle::psSolid && pen_.Style() != TPenStyle::psInsideFrame;
    p.setPen(QPen(color, 0));
    while (!(cx == x && cy == y)) {
        if (!dotted || step % 2 == 0)
            p.drawPoint(cx, cy);
        ++step;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            err += dx;
            cy += sy;
        }
    }
}

// ---- copies -----------------------------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    Painter().drawImage(x, y, bitmap.Image());
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& source_rect) {
    if (dest.IsEmpty() || source_rect.IsEmpty())
        return;
    const QImage& src = source.Target();
    const QRect s = ToQRect(source_rect.Offset(source.origin_.X, source.origin_.Y));
    if (&src == target_) {
        // Copying within one picture: take the source out first.
        const QImage copy = src.copy(s);
        Painter().drawImage(ToQRect(dest), copy);
        return;
    }
    Painter().drawImage(ToQRect(dest), src, s);
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& source_rect) {
    if (dest.IsEmpty() || source_rect.IsEmpty() || source.Empty())
        return;
    Painter().drawImage(ToQRect(dest), source.Image(), ToQRect(source_rect));
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& source, const TRect& source_rect,
                        TColor transparent) {
    if (dest.IsEmpty() || source_rect.IsEmpty() || source.Empty())
        return;
    if (transparent == clNone) {
        CopyRect(dest, source, source_rect);
        return;
    }
    // Cut the source out at the destination's size, then replace or drop the key colour.
    QImage part = source.Image().copy(ToQRect(source_rect));
    if (part.size() != QSize(dest.Width(), dest.Height()))
        part = part.scaled(dest.Width(), dest.Height());
    const bool clear = brush_.Style() == TBrushStyle::bsClear;
    const QRgb fill = ToQColor(brush_.Color()).rgb();
    Painter().drawImage(dest.Left, dest.Top, KeyedOut(part, transparent, clear ? nullptr : &fill));
}

// ---- pixels and depth -------------------------------------------------------------------------

std::optional<TPoint> TCanvas::TargetPoint(int x, int y) const {
    const QImage& img = *target_;
    const int tx = x + origin_.X;
    const int ty = y + origin_.Y;
    if (tx < 0 || ty < 0 || tx >= img.width() || ty >= img.height())
        return std::nullopt;
    if (!clip_.IsEmpty() && !clip_.Contains({x, y}))
        return std::nullopt;
    return TPoint{tx, ty};
}

TColor TCanvas::Pixel(int x, int y) const {
    const QImage& img = Target();
    const std::optional<TPoint> at = TargetPoint(x, y);
    return at ? FromQRgb(img.pixel(at->X, at->Y)) : clNone;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    QImage& img = Target();
    if (const std::optional<TPoint> at = TargetPoint(x, y))
        img.setPixel(at->X, at->Y, ToQColor(color).rgb());
}

int TCanvas::BitsPerPixel() const {
    return std::min(target_->depth(), DisplayDepth());
}

void TCanvas::SetDisplayBitsPerPixel(int bits) {
    DisplayDepth() = std::clamp(bits, 1, 32);
}

int TCanvas::DisplayBitsPerPixel() {
    return DisplayDepth();
}

} // namespace vd
