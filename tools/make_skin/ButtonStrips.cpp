#include "tools/make_skin/ButtonStrips.h"

#include "tools/make_skin/Layout.h"
#include "tools/make_skin/Palette.h"
#include "tools/make_skin/PixelFont.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <string_view>

namespace vd::art {

namespace {

constexpr int kStates = 5;

enum class KeyState { Normal, Pressed, Disabled, DisabledDown, Hot };

constexpr std::array<KeyState, kStates> kStateOrder{
    KeyState::Normal, KeyState::Pressed, KeyState::Disabled, KeyState::DisabledDown, KeyState::Hot};

struct KeyLook {
    QRgb face_top;
    QRgb face_bottom;
    QRgb border;
    QRgb top_edge;
    QRgb glyph;
    QRgb glyph_shadow;
    bool sunk;  // the key sits lower: glyph one pixel down-right, shadow along the top
    bool glows; // a mint halo around the glyph
};

KeyLook lookOf(KeyState state) {
    switch (state) {
    case KeyState::Normal:
        return {qRgb(96, 109, 126),
                qRgb(50, 58, 70),
                palette::kOutline,
                qRgb(156, 172, 192),
                qRgb(228, 236, 242),
                qRgb(14, 17, 22),
                false,
                false};
    case KeyState::Pressed:
        return {qRgb(26, 30, 37),
                qRgb(44, 52, 62),
                palette::kOutline,
                qRgb(14, 16, 20),
                palette::kAccent,
                qRgb(6, 8, 10),
                true,
                false};
    case KeyState::Disabled:
        return {qRgb(64, 68, 74),
                qRgb(52, 55, 60),
                qRgb(26, 29, 33),
                qRgb(78, 83, 90),
                qRgb(98, 104, 112),
                qRgb(44, 47, 52),
                false,
                false};
    case KeyState::DisabledDown:
        return {qRgb(36, 39, 44),
                qRgb(46, 49, 54),
                qRgb(26, 29, 33),
                qRgb(28, 30, 34),
                qRgb(80, 86, 94),
                qRgb(30, 32, 36),
                true,
                false};
    case KeyState::Hot:
        return {qRgb(124, 140, 160),
                qRgb(62, 74, 90),
                qRgb(24, 96, 70),
                qRgb(196, 212, 228),
                palette::kAccentBright,
                qRgb(10, 40, 30),
                false,
                true};
    }
    return {};
}

// One key image at `frame` of `strip`; `under` is the skin behind the button, same size.
void drawKey(QImage& strip, QRect frame, KeyState state, const QImage& glyph, const QImage& under) {
    const KeyLook look = lookOf(state);
    const int w = frame.width();
    const int h = frame.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool corner = (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            QRgb c;
            if (corner) {
                c = under.pixel(x, y);
            } else if (edge) {
                c = look.border;
            } else {
                const double t = double(y - 1) / (h - 3);
                c = mix(look.face_top, look.face_bottom, t);
                if (!look.sunk && y < h / 2) {
                    c = shade(c, 0.07); // glossy upper half
                }
                if (y == 1) {
                    c = look.top_edge;
                } else if (y == h - 2) {
                    c = shade(c, look.sunk ? 0.06 : -0.25);
                }
                if (x == 1 && y > 1) {
                    c = shade(c, look.sunk ? -0.25 : 0.12);
                } else if (x == w - 2 && y > 1) {
                    c = shade(c, look.sunk ? 0.05 : -0.22);
                }
            }
            strip.setPixel(frame.left() + x, frame.top() + y, c);
        }
    }
    QPoint at = frame.topLeft() + QPoint((w - glyph.width()) / 2, (h - glyph.height()) / 2);
    if (look.sunk) {
        at += QPoint(1, 1);
    }
    if (look.glows) {
        for (int y = -1; y <= glyph.height(); ++y) {
            for (int x = -1; x <= glyph.width(); ++x) {
                const auto ink = [&](int gx, int gy) {
                    return glyph.rect().contains(gx, gy) && qAlpha(glyph.pixel(gx, gy)) > 0;
                };
                if (ink(x, y)) {
                    continue;
                }
                if (ink(x - 1, y) || ink(x + 1, y) || ink(x, y - 1) || ink(x, y + 1)) {
                    const QPoint p = at + QPoint(x, y);
                    if (frame.adjusted(1, 1, -1, -1).contains(p)) {
                        strip.setPixel(p, mix(strip.pixel(p), palette::kAccent, 0.38));
                    }
                }
            }
        }
    }
    stamp(strip, glyph, at + QPoint(1, 1), look.glyph_shadow);
    stamp(strip, glyph, at, look.glyph);
}

void drawKeyRow(QImage& strip, int top, QRect button, const QImage& glyph, const QImage& skin) {
    const QImage under = skin.copy(button);
    for (int i = 0; i < kStates; ++i) {
        const QRect frame(i * button.width(), top, button.width(), button.height());
        drawKey(strip, frame, kStateOrder[static_cast<size_t>(i)], glyph, under);
    }
}

// A symbol and a word side by side, the symbol centred on the word's height.
QImage captionWith(PixelSymbol symbol, std::string_view word) {
    const QImage icon = pixelSymbol(symbol);
    const QImage text = pixelText(word, PixelFont::Caps7);
    const int gap = 3;
    QImage out(icon.width() + gap + text.width(), std::max(icon.height(), text.height()),
               QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    stamp(out, icon, QPoint(0, (out.height() - icon.height()) / 2), qRgb(255, 255, 255));
    stamp(out, text, QPoint(icon.width() + gap, (out.height() - text.height()) / 2),
          qRgb(255, 255, 255));
    return out;
}

} // namespace

QImage drawTransportButtons(const QImage& skin) {
    QImage strip(115, 94, QImage::Format_RGB32);
    strip.fill(palette::kBay);
    drawKeyRow(strip, 0, kNextBtn, pixelSymbol(PixelSymbol::Next), skin);
    drawKeyRow(strip, 16, kPrevBtn, pixelSymbol(PixelSymbol::Previous), skin);
    drawKeyRow(strip, 32, kPlayBtn, pixelSymbol(PixelSymbol::Play), skin);
    drawKeyRow(strip, 48, kPauseBtn, pixelSymbol(PixelSymbol::Pause), skin);
    drawKeyRow(strip, 64, kStopBtn, pixelSymbol(PixelSymbol::Stop), skin);
    drawKeyRow(strip, 80, kEjectBtn, pixelSymbol(PixelSymbol::Eject), skin);
    return strip;
}

QImage drawPlaylistButtons(const QImage& skin) {
    QImage strip(225, 74, QImage::Format_RGB32);
    strip.fill(palette::kBay);
    drawKeyRow(strip, 0, kAddBtn, captionWith(PixelSymbol::Plus, "ADD"), skin);
    drawKeyRow(strip, 15, kRemoveBtn, captionWith(PixelSymbol::Minus, "REM"), skin);
    drawKeyRow(strip, 30, kSortBtn, captionWith(PixelSymbol::SortArrows, "SORT"), skin);
    drawKeyRow(strip, 45, kSaveBtn, captionWith(PixelSymbol::Diskette, "SAVE"), skin);
    drawKeyRow(strip, 60, kLoadBtn, captionWith(PixelSymbol::Folder, "LOAD"), skin);
    return strip;
}

QImage drawRoundButton(const QImage& skin) {
    const QRect button = kMenuBtn;
    const QImage under = skin.copy(button);
    QImage strip(button.width() * kStates, button.height(), QImage::Format_RGB32);
    for (int i = 0; i < kStates; ++i) {
        QImage face = under.convertToFormat(QImage::Format_RGB32);
        QPainter p(&face);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF bead(0.8, 0.3, 7.4, 7.4);
        const QPointF centre = bead.center();
        QRadialGradient body(centre - QPointF(1.3, 1.5), 5.5);
        QColor dot;
        switch (kStateOrder[static_cast<size_t>(i)]) {
        case KeyState::Normal:
            body.setColorAt(0, QColor(214, 224, 236));
            body.setColorAt(1, QColor(70, 82, 98));
            dot = QColor(palette::kAccent);
            break;
        case KeyState::Pressed:
            body.setColorAt(0, QColor(90, 102, 118));
            body.setColorAt(1, QColor(26, 30, 36));
            dot = QColor(palette::kAccentDeep);
            break;
        case KeyState::Disabled:
            body.setColorAt(0, QColor(120, 124, 130));
            body.setColorAt(1, QColor(64, 68, 74));
            dot = QColor(84, 88, 94);
            break;
        case KeyState::DisabledDown:
            body.setColorAt(0, QColor(80, 84, 90));
            body.setColorAt(1, QColor(40, 43, 48));
            dot = QColor(58, 62, 68);
            break;
        case KeyState::Hot:
            body.setColorAt(0, QColor(236, 255, 246));
            body.setColorAt(1, QColor(40, 150, 110));
            dot = QColor(palette::kAccentBright);
            break;
        }
        p.setPen(QPen(QColor(palette::kOutline), 0.9));
        p.setBrush(body);
        p.drawEllipse(bead);
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(centre, 1.3, 1.3);
        p.end();
        for (int y = 0; y < button.height(); ++y) {
            for (int x = 0; x < button.width(); ++x) {
                strip.setPixel(i * button.width() + x, y, face.pixel(x, y));
            }
        }
    }
    return strip;
}

} // namespace vd::art
