#include "framework/SkinnedScrollBar.h"

#include "framework/QtConvert.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>

namespace vd {

namespace {

QColor Mix(const QColor& a, const QColor& b, double t) {
    const auto channel = [t](int ca, int cb) { return static_cast<int>(ca + (cb - ca) * t + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

// A key: outline, a face shaded along `across` (top to bottom, or left to right for the thumb),
// and a light top and left edge; a pressed key is shaded the other way and has no light edge.
void PaintKey(QPainter& p, const QRect& r, const TScrollBarLook& look, bool pressed,
              Qt::Orientation across) {
    if (r.width() < 3 || r.height() < 3)
        return;
    p.fillRect(r, ToQColor(look.outline));
    const QRect face = r.adjusted(1, 1, -1, -1);
    QColor from = ToQColor(look.face_top);
    QColor to = ToQColor(look.face_bottom);
    if (pressed)
        std::swap(from, to);
    const int steps = across == Qt::Vertical ? face.height() : face.width();
    for (int i = 0; i < steps; ++i) {
        const QColor c = Mix(from, to, steps > 1 ? double(i) / (steps - 1) : 0.0);
        if (across == Qt::Vertical)
            p.fillRect(face.left(), face.top() + i, face.width(), 1, c);
        else
            p.fillRect(face.left() + i, face.top(), 1, face.height(), c);
    }
    if (!pressed) {
        const QColor light = ToQColor(look.light_edge);
        p.fillRect(face.left(), face.top(), face.width(), 1, light);
        p.fillRect(face.left(), face.top(), 1, face.height(), light);
    }
}

// A solid triangle four rows high, pointing up or down, centred in `r`.
void PaintArrow(QPainter& p, const QRect& r, bool up, const QColor& colour, int shift) {
    constexpr int kRows = 4;
    const int cx = r.left() + r.width() / 2 + shift;
    const int top = r.top() + (r.height() - kRows) / 2 + shift;
    for (int i = 0; i < kRows; ++i) {
        const int half = up ? i : kRows - 1 - i;
        p.fillRect(cx - half, top + i, 2 * half + 1, 1, colour);
    }
}

// Three grooves across the middle of the thumb, each a dark line over a light one.
void PaintGrip(QPainter& p, const QRect& thumb, const TScrollBarLook& look) {
    if (thumb.height() < 12 || thumb.width() < 8)
        return;
    const int mid = thumb.top() + thumb.height() / 2;
    for (int i = -1; i <= 1; ++i) {
        const int y = mid + 3 * i - 1;
        p.fillRect(thumb.left() + 4, y, thumb.width() - 8, 1, ToQColor(look.outline));
        p.fillRect(thumb.left() + 4, y + 1, thumb.width() - 8, 1, ToQColor(look.light_edge));
    }
}

} // namespace

SkinnedScrollBar::SkinnedScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {}

void SkinnedScrollBar::SetLook(std::optional<TScrollBarLook> look) {
    look_ = look;
    update();
}

QStyle::SubControl SkinnedScrollBar::PartAt(QPoint p) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, p, this);
}

void SkinnedScrollBar::mousePressEvent(QMouseEvent* event) {
    // The part under the press, before the press moves the thumb.
    const QStyle::SubControl part = PartAt(event->position().toPoint());
    QScrollBar::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && maximum() > minimum()) {
        pressed_ = part;
        pressed_inside_ = true;
        update();
    }
}

void SkinnedScrollBar::mouseMoveEvent(QMouseEvent* event) {
    QScrollBar::mouseMoveEvent(event);
    if (pressed_ == QStyle::SC_None)
        return;
    const bool inside = PartAt(event->position().toPoint()) == pressed_;
    if (inside != pressed_inside_) {
        pressed_inside_ = inside;
        update();
    }
}

void SkinnedScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    QScrollBar::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && pressed_ != QStyle::SC_None) {
        pressed_ = QStyle::SC_None;
        update();
    }
}

void SkinnedScrollBar::hideEvent(QHideEvent* event) {
    QScrollBar::hideEvent(event);
    pressed_ = QStyle::SC_None;
}

void SkinnedScrollBar::paintEvent(QPaintEvent* event) {
    if (!look_) {
        QScrollBar::paintEvent(event);
        return;
    }
    const TScrollBarLook& look = *look_;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const auto part = [&](QStyle::SubControl sc) {
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, sc, this);
    };
    const auto pressed = [&](QStyle::SubControl sc) { return pressed_ == sc && pressed_inside_; };

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect(), ToQColor(look.track));
    p.fillRect(0, 0, 1, height(), ToQColor(look.track_edge));

    const bool enabled = isEnabled() && maximum() > minimum();
    for (const auto& [sc, up] : {std::pair{QStyle::SC_ScrollBarSubLine, true},
                                 std::pair{QStyle::SC_ScrollBarAddLine, false}}) {
        const QRect r = part(sc);
        if (r.isEmpty())
            continue;
        const bool down = enabled && pressed(sc);
        PaintKey(p, r, look, down, Qt::Vertical);
        const TColor glyph =
            !enabled ? look.glyph_disabled : (down ? look.glyph_pressed : look.glyph);
        PaintArrow(p, r, up, ToQColor(glyph), down ? 1 : 0);
    }
    if (enabled) {
        const QRect thumb = part(QStyle::SC_ScrollBarSlider);
        PaintKey(p, thumb, look, false, Qt::Horizontal);
        PaintGrip(p, thumb, look);
    }
}

} // namespace vd
