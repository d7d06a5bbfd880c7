#include "framework/Controls.h"

#include "framework/QtConvert.h"
#include "framework/WinControlState.h"

#include <QImage>

#include <algorithm>
#include <span>

// Painting: what a change invalidates, the dirty region of a window, and the order a window
// paints in (its own face, then its window-less children bottom first, each clipped to the area
// being painted).

namespace vd {

namespace {

std::uint64_t g_graphic_paints = 0; // GUI thread only

// Paints the visible window-less controls of `controls` that reach into `area`, in order.
void PaintGraphicControls(std::span<TControl* const> controls, QImage& picture, const TRect& area) {
    for (TControl* c : controls) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g != nullptr && g->Visible() && !g->BoundsRect().Intersect(area).IsEmpty())
            g->PaintInto(picture, area);
    }
}

} // namespace

// ---- TControl ---------------------------------------------------------------------------------

void TControl::Invalidate() {
    if (parent_ != nullptr)
        parent_->InvalidateRect(BoundsRect());
}

void TControl::Repaint() {
    Invalidate();
    if (parent_ != nullptr)
        parent_->Update();
}

// ---- TGraphicControl --------------------------------------------------------------------------

TCanvas& TGraphicControl::Canvas() {
    if (!canvas_) {
        static QImage nothing;
        QImage* target = Parent() != nullptr ? &Parent()->Picture() : &nothing;
        canvas_ = std::make_unique<TCanvas>(target, TPoint{Left(), Top()}, ClientRect());
    }
    return *canvas_;
}

void TGraphicControl::Repaint() {
    if (Parent() == nullptr)
        return;
    if (!Showing()) {
        // Nothing is on the screen to bring up to date: paint with the parent when it shows.
        Invalidate();
        return;
    }
    if ((ControlStyle() & csOpaque) == 0) {
        TControl::Repaint();
        return;
    }
    if (!Parent()->NeedsPaint(BoundsRect())) {
        Parent()->RepaintControlOpaque(this);
        return;
    }
    // What lies beneath is due to be painted anew (the control is new, moved or grew): an opaque
    // repaint would reuse a picture of it that is out of date, so paint the normal way.
    const TControlStyle style = ControlStyle();
    SetControlStyle(style & ~csOpaque);
    TControl::Repaint();
    SetControlStyle(style);
}

std::uint64_t TGraphicControl::PaintCount() {
    return g_graphic_paints;
}

void TGraphicControl::PaintInto(QImage& picture, const TRect& clip) {
    const TRect area = clip.Intersect(BoundsRect());
    if (area.IsEmpty())
        return;
    ++g_graphic_paints;
    // The canvas keeps its font, pen and brush between paints; only where it draws changes.
    TFont font;
    TPen pen;
    TBrush brush;
    if (canvas_) {
        font.Assign(&canvas_->Font());
        pen.Assign(&canvas_->Pen());
        brush.Assign(&canvas_->Brush());
        canvas_.reset();
    }
    canvas_ =
        std::make_unique<TCanvas>(&picture, TPoint{Left(), Top()}, area.Offset(-Left(), -Top()));
    canvas_->Font().Assign(&font);
    canvas_->Pen().Assign(&pen);
    canvas_->Brush().Assign(&brush);
    PerformKind(TControlMessageKind::mkPaint);
    canvas_->Release();
}

void TGraphicControl::DefaultWindowProc(TControlMessage& message) {
    if (message.kind == TControlMessageKind::mkPaint) {
        SafeCall([&] { Paint(); });
        return;
    }
    TControl::DefaultWindowProc(message);
}

// ---- TWinControl ------------------------------------------------------------------------------

void TWinControl::Invalidate() {
    InvalidateRect(ClientRect());
}

void TWinControl::InvalidateRect(const TRect& r) {
    const TRect area = r.Intersect(ClientRect());
    if (area.IsEmpty())
        return;
    const QRect q = ToQRect(area);
    state_->dirty += q;
    Widget()->update(q);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::Update() {
    if (state_->dirty.isEmpty())
        return;
    const QRegion dirty = state_->dirty;
    for (const QRect& r : dirty)
        PaintArea(ToTRect(r));
    state_->dirty = QRegion();
    Widget()->repaint(dirty);
}

bool TWinControl::NeedsPaint(const TRect& r) const {
    return state_->dirty.intersects(ToQRect(r));
}

void TWinControl::PaintWindow(TCanvas&) {}

void TWinControl::PaintArea(const TRect& area) {
    QImage& picture = state_->picture;
    {
        TCanvas canvas(&picture, {}, area);
        SafeCall([&] { PaintWindow(canvas); });
    }
    PaintGraphicControls(controls_, picture, area);
}

void TWinControl::RepaintControlOpaque(TGraphicControl* control) {
    const TRect area = control->BoundsRect().Intersect(ClientRect());
    if (area.IsEmpty())
        return;
    const auto from = std::find(controls_.begin(), controls_.end(), control);
    PaintGraphicControls(std::span<TControl* const>(from, controls_.end()), state_->picture, area);
    Widget()->repaint(ToQRect(area));
}

void TWinControl::PaintEvent(const std::vector<TRect>& rects) {
    QRegion exposed;
    for (const TRect& r : rects)
        exposed += ToQRect(r);
    const QRegion todo = state_->dirty.intersected(exposed);
    for (const QRect& r : todo)
        PaintArea(ToTRect(r));
    state_->dirty -= todo;
}

// ---- TCustomControl ---------------------------------------------------------------------------

TCanvas& TCustomControl::Canvas() {
    if (paint_canvas_ != nullptr)
        return *paint_canvas_;
    if (!idle_canvas_)
        idle_canvas_ = std::make_unique<TCanvas>(&Picture());
    return *idle_canvas_;
}

void TCustomControl::PaintWindow(TCanvas& canvas) {
    if (idle_canvas_)
        idle_canvas_->Release();
    paint_canvas_ = &canvas;
    struct Reset {
        TCanvas*& c;
        ~Reset() { c = nullptr; }
    } reset{paint_canvas_};
    Paint();
}

} // namespace vd
