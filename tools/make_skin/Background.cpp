#include "tools/make_skin/Background.h"

#include "tools/make_skin/Bevel.h"
#include "tools/make_skin/Fonts.h"
#include "tools/make_skin/Lamps.h"
#include "tools/make_skin/Layout.h"
#include "tools/make_skin/Noise.h"
#include "tools/make_skin/Palette.h"
#include "tools/make_skin/PixelFont.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace vd::art {

namespace {

// The face is a control body on the left and a taller speaker wing on the right, crowned by a
// record whose spindle hole is cut through the window.
constexpr QRect kBody{0, 74, 325, 306};
constexpr int kBodyRadius = 14;
constexpr QRect kWing{312, 119, 206, 289};
constexpr int kWingRadius = 22;
constexpr QPointF kDiscCentre{415.5, 119.5};
constexpr double kDiscRadius = 96.0;
constexpr double kLabelRadius = 31.0;
constexpr double kHoleRadius = 6.5;

QPainterPath roundedRect(QRect r, int radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(r), radius, radius);
    return path;
}

QPainterPath circle(QPointF centre, double radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QImage wingRegion() {
    QPainterPath path = roundedRect(kWing, kWingRadius);
    path.addPath(circle(kDiscCentre, kDiscRadius));
    path.setFillRule(Qt::WindingFill);
    return rasterRegion(path, QSize(kSkinWidth, kSkinHeight));
}

// Brushed metal: a vertical light fall-off with fine horizontal streaks.
void paintMetal(QImage& art) {
    for (int y = 0; y < art.height(); ++y) {
        const double t = std::clamp((y - 60.0) / 350.0, 0.0, 1.0);
        const QRgb base = t < 0.5 ? mix(palette::kMetalTop, palette::kMetalMid, t * 2)
                                  : mix(palette::kMetalMid, palette::kMetalBottom, t * 2 - 1);
        for (int x = 0; x < art.width(); ++x) {
            const double sheen = 0.07 * std::exp(-std::pow((x - 150.0) / 170.0, 2));
            const double streak = valueNoise(static_cast<uint32_t>(y), x / 29.0) * 2 - 1;
            const double grain =
                hashUnit(static_cast<uint32_t>(x), static_cast<uint32_t>(y)) * 2 - 1;
            art.setPixel(x, y, shade(base, sheen + 0.035 * streak + 0.014 * grain));
        }
    }
}

// The wing is a darker satin plate set onto the body, with a crisp seam where they meet.
void paintWing(QImage& art, const QImage& shape) {
    const QImage wing = wingRegion();
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            if (inside(wing, x, y)) {
                const double fade = 0.30 + 0.12 * (y / 425.0);
                art.setPixel(x, y, mix(art.pixel(x, y), palette::kShadow, fade));
            }
        }
    }
    emboss(art, wing, 3, 0.9, Relief::Raised);
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            if (!inside(wing, x, y) && inside(shape, x, y) &&
                (inside(wing, x + 1, y) || inside(wing, x, y + 1) || inside(wing, x, y - 1))) {
                art.setPixel(x, y, palette::kShadow);
            }
        }
    }
}

// A black record with fine grooves, two soft reflections and a mint label.
void paintDisc(QImage& art) {
    // Soft shadow cast down and to the right onto the plate.
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const double r =
                std::hypot(x + 0.5 - kDiscCentre.x() - 3, y + 0.5 - kDiscCentre.y() - 4);
            const double depth = std::clamp(1 - (r - kDiscRadius + 2) / 7, 0.0, 1.0);
            if (depth > 0) {
                art.setPixel(x, y, mix(art.pixel(x, y), qRgb(0, 0, 0), depth * 0.55));
            }
        }
    }
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const double dx = x + 0.5 - kDiscCentre.x();
            const double dy = y + 0.5 - kDiscCentre.y();
            const double r = std::hypot(dx, dy);
            if (r > kDiscRadius + 1) {
                continue;
            }
            const double angle = std::atan2(dy, dx);
            QRgb c;
            if (r > kLabelRadius) {
                // Grooves: a faint ripple, darker gaps between tracks, a glossy lead-in rim.
                const double ripple = 0.5 + 0.5 * std::sin(r * 2.4);
                c = mix(qRgb(14, 16, 20), qRgb(27, 31, 37), ripple * 0.6);
                for (double gap : {48.0, 61.0, 75.0}) {
                    if (std::abs(r - gap) < 0.8) {
                        c = qRgb(6, 7, 9);
                    }
                }
                if (r > kDiscRadius - 5) {
                    // Rounded lead-in rim, lit from the upper left.
                    const double slope = (r - (kDiscRadius - 5)) / 5;
                    const double facing = -(dx + dy) / (r * 1.4142);
                    c = shade(qRgb(26, 29, 35), std::clamp(facing * slope * 0.9, -0.8, 0.8));
                }
                // Light caught along two opposite wedges, as a lamp above-left would show.
                const double wedge = std::pow(std::abs(std::cos(angle + 0.78)), 14);
                const double spread = std::pow(std::abs(std::cos(angle + 0.78)), 4) * 0.08;
                c = shade(c, wedge * 0.30 + spread);
            } else {
                const double t = r / kLabelRadius;
                c = mix(palette::kAccentBright, palette::kAccent, std::min(1.0, t * 1.3));
                c = mix(c, palette::kAccentDeep, std::pow(t, 6) * 0.8);
                if (r > kLabelRadius - 1.2) {
                    c = qRgb(10, 60, 42);
                }
                if (r < kHoleRadius + 3) {
                    c = mix(qRgb(220, 228, 236), qRgb(120, 132, 146), (r - kHoleRadius) / 3);
                }
            }
            if (r > kDiscRadius) {
                // Smooth only toward the wing; the edge against the cut-away is hardened later.
                c = mix(c, art.pixel(x, y), std::clamp(r - kDiscRadius, 0.0, 1.0));
            }
            art.setPixel(x, y, c);
        }
    }

    const QRgb ink = qRgb(8, 52, 36);
    const QImage vo = pixelText("VO", PixelFont::Caps7);
    stamp(art, vo, QPoint(static_cast<int>(kDiscCentre.x()) - vo.width() / 2, 102), ink);
    const QImage name = pixelText("DEZARU", PixelFont::Caps5);
    stamp(art, name, QPoint(static_cast<int>(kDiscCentre.x()) - name.width() / 2, 131), ink);
}

// Legends are printed in pale grey with a hairline shadow, like silk-screen on metal.
void printLegend(QImage& art, const QImage& text, QPoint at) {
    stamp(art, text, at + QPoint(1, 1), qRgb(8, 10, 13));
    stamp(art, text, at, qRgb(150, 166, 184));
}

void fillRect(QImage& art, QRect r, QRgb c) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            art.setPixel(x, y, c);
        }
    }
}

// Display glass: pale, slightly green, with a shadow cast by the bezel above and left.
void paintGlass(QImage& art, QRect r) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const double t = double(y - r.top()) / std::max(1, r.height() - 1);
        for (int x = r.left(); x <= r.right(); ++x) {
            QRgb c = mix(palette::kGlassTop, palette::kGlassBottom, t);
            if (y == r.top()) {
                c = mix(c, palette::kGlassEdge, 0.75);
            } else if (y == r.top() + 1) {
                c = mix(c, palette::kGlassEdge, 0.25);
            }
            if (x == r.left()) {
                c = mix(c, palette::kGlassEdge, 0.5);
            }
            art.setPixel(x, y, c);
        }
    }
}

void paintDisplay(QImage& art) {
    // One dark bezel holds both glasses; its notch leaves room for the menu button.
    QPainterPath plate;
    plate.addRect(QRect(31, 80, 276, 46));
    plate.addRect(QRect(2, 102, 40, 24));
    plate.setFillRule(Qt::WindingFill);
    const QImage region = rasterRegion(plate, art.size());
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            if (inside(region, x, y)) {
                art.setPixel(x, y, qRgb(18, 22, 27));
            }
        }
    }
    emboss(art, region, 2, 1.2, Relief::Sunken);
    paintGlass(art, QRect(34, 83, 270, 18));
    paintGlass(art, QRect(5, 105, 151, 18));

    // Formats the player reads, unlit; the player lights the one that plays.
    paintLampLegend(art);

    // Socket for the round menu button.
    const QImage socket = rasterRegion(circle(QPointF(8.5, 92.0), 6.6), art.size());
    for (int y = 84; y < 101; ++y) {
        for (int x = 0; x < 18; ++x) {
            if (inside(socket, x, y)) {
                art.setPixel(x, y, mix(art.pixel(x, y), palette::kShadow, 0.45));
            }
        }
    }
    emboss(art, socket, 2, 1.0, Relief::Sunken);
}

// Perforated grille: round holes on a hex pitch, lit faintly mint from behind near the middle.
void paintGrille(QImage& art, QRect r, int radius) {
    const QImage region = rasterRegion(roundedRect(r, radius), art.size());
    const QImage holes =
        rasterRegion(roundedRect(r.adjusted(4, 4, -4, -4), std::max(1, radius - 3)), art.size());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (inside(region, x, y)) {
                art.setPixel(x, y, mix(art.pixel(x, y), palette::kShadow, 0.35));
            }
        }
    }
    emboss(art, region, 3, 1.0, Relief::Sunken);
    const QPointF centre = QRectF(r).center();
    const double reach = std::hypot(r.width() / 2.0, r.height() / 2.0);
    for (int row = 0; r.top() + row * 4 <= r.bottom(); ++row) {
        const int y = r.top() + row * 4;
        for (int x = r.left() + (row % 2) * 2; x <= r.right(); x += 4) {
            if (!inside(holes, x, y) || !inside(holes, x + 1, y + 1)) {
                continue;
            }
            const double glow = std::pow(1 - std::hypot(x - centre.x(), y - centre.y()) / reach, 2);
            const QRgb hole = mix(qRgb(3, 4, 6), palette::kAccentDeep, glow * 0.75);
            art.setPixel(x, y, hole);
            art.setPixel(x + 1, y, hole);
            art.setPixel(x, y + 1, hole);
            art.setPixel(x + 1, y + 1, shade(hole, 0.05));
            // Lower-right lip of the hole catches the light.
            art.setPixel(x + 2, y + 1, shade(art.pixel(x + 2, y + 1), 0.12));
            art.setPixel(x + 1, y + 2, shade(art.pixel(x + 1, y + 2), 0.12));
        }
    }
}

void paintSeekAndRow(QImage& art) {
    // Seek groove under the slider; the thumb rides its middle rows.
    const QRect groove(6, 184, 291, 4);
    fillRect(art, groove, qRgb(10, 12, 15));
    for (int x = groove.left(); x <= groove.right(); ++x) {
        art.setPixel(x, groove.top() - 1, shade(art.pixel(x, groove.top() - 1), -0.35));
        art.setPixel(x, groove.top() + 1, qRgb(20, 58, 46));
        art.setPixel(x, groove.top() + 2, qRgb(16, 44, 36));
        art.setPixel(x, groove.bottom() + 1, shade(art.pixel(x, groove.bottom() + 1), 0.22));
    }
    // Tick marks above the groove every tenth of the track.
    for (int i = 0; i <= 10; ++i) {
        const int x = 14 + (275 * i) / 10;
        const int height = (i % 5 == 0) ? 3 : 2;
        for (int y = 181 - height; y < 181; ++y) {
            art.setPixel(x, y, palette::kEngraveDark);
            art.setPixel(x + 1, y, palette::kEngraveLight);
        }
    }

    // Row meter: a dark well with unlit segments at the pitch of the lit cells.
    const QRect bar = kRowBar;
    const QRect frame = bar.adjusted(-1, -1, 1, 1);
    fillRect(art, bar, palette::kBay);
    bevelFrame(art, frame, 1, Relief::Sunken, 0.6);
    for (int x = 0; x < bar.width(); ++x) {
        if (x % kCellWidth < kCellWidth - 2) {
            for (int y = 0; y < kCellHeight; ++y) {
                art.setPixel(bar.left() + x, bar.top() + kCellTopInBar + y, palette::kLedOff);
            }
        }
    }
    const QImage row = pixelText("ROW", PixelFont::Caps5);
    printLegend(art, row, QPoint(bar.left() - row.width() - 5, bar.top() + 2));
}

void paintBay(QImage& art, QRect r) {
    fillRect(art, r, palette::kBay);
    bevelFrame(art, r, 1, Relief::Sunken, 0.55);
    for (int x = r.left() - 1; x <= r.right() + 1; ++x) {
        art.setPixel(x, r.bottom() + 1, shade(art.pixel(x, r.bottom() + 1), 0.18));
    }
}

void paintGroove(QImage& art, int y, int left, int right) {
    for (int x = left; x <= right; ++x) {
        art.setPixel(x, y, mix(art.pixel(x, y), palette::kShadow, 0.7));
        art.setPixel(x, y + 1, shade(art.pixel(x, y + 1), 0.16));
    }
}

void paintPlaylistArea(QImage& art) {
    const QRect well = kPlaylistShow;
    fillRect(art, well.adjusted(-1, -1, 1, 1), palette::kOutline);
    bevelFrame(art, well.adjusted(-3, -3, 3, 3), 2, Relief::Sunken, 0.55);
    fillRect(art, well, palette::kWell);

    // Side legend, reading upward.
    const QImage word = pixelText("PLAYLIST", PixelFont::Caps7);
    const QImage upright = word.transformed(QTransform().rotate(-90));
    const QRect slot(266, 226, 34, 112);
    const QImage slotRegion = rasterRegion(roundedRect(slot, 6), art.size());
    for (int y = slot.top(); y <= slot.bottom(); ++y) {
        for (int x = slot.left(); x <= slot.right(); ++x) {
            if (inside(slotRegion, x, y)) {
                art.setPixel(x, y, mix(art.pixel(x, y), palette::kShadow, 0.25));
            }
        }
    }
    emboss(art, slotRegion, 2, 0.9, Relief::Sunken);
    printLegend(
        art, upright,
        QPoint(slot.center().x() - upright.width() / 2, slot.center().y() - upright.height() / 2));
}

void paintScrew(QImage& art, QPointF centre) {
    for (int y = int(centre.y()) - 4; y <= int(centre.y()) + 4; ++y) {
        for (int x = int(centre.x()) - 4; x <= int(centre.x()) + 4; ++x) {
            const double r = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y());
            if (r > 3.4) {
                continue;
            }
            const double lit = ((centre.x() - x) + (centre.y() - y)) / 6.0;
            QRgb c = shade(qRgb(120, 132, 148), lit * 0.5);
            if (r > 2.6) {
                c = palette::kShadow;
            }
            if (std::abs((x + 0.5 - centre.x()) - (y + 0.5 - centre.y())) < 0.8 && r < 2.6) {
                c = qRgb(40, 46, 54);
            }
            art.setPixel(x, y, c);
        }
    }
}

// Blurs an 8-bit coverage image with three box passes, close to a Gaussian.
QImage blurred(const QImage& coverage, int radius) {
    QImage a = coverage.convertToFormat(QImage::Format_Grayscale8);
    for (int pass = 0; pass < 3; ++pass) {
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            QImage b(a.size(), QImage::Format_Grayscale8);
            for (int y = 0; y < a.height(); ++y) {
                for (int x = 0; x < a.width(); ++x) {
                    int sum = 0;
                    int count = 0;
                    for (int k = -radius; k <= radius; ++k) {
                        const int sx = horizontal ? x + k : x;
                        const int sy = horizontal ? y : y + k;
                        if (a.rect().contains(sx, sy)) {
                            sum += a.constScanLine(sy)[sx];
                        }
                        ++count;
                    }
                    b.scanLine(y)[x] = static_cast<uchar>(sum / count);
                }
            }
            a = b;
        }
    }
    return a;
}

void paintWordmark(QImage& art) {
    const QFont font = loadFont(FontFace::SansBoldItalic, 38);
    QPainterPath vo;
    vo.addText(0, 0, font, QStringLiteral("VO"));
    QPainterPath dezaru;
    dezaru.addText(vo.boundingRect().right() + 8, 0, font, QStringLiteral("Dezaru"));
    QPainterPath all = vo;
    all.addPath(dezaru);
    const QRectF box = all.boundingRect();
    const QPointF offset(std::round(kDiscCentre.x() - box.center().x()), std::round(256 - 0.0));
    vo.translate(offset);
    dezaru.translate(offset);
    all.translate(offset);

    // Mint glow behind the letters.
    QImage coverage(art.size(), QImage::Format_Grayscale8);
    coverage.fill(0);
    {
        QPainter p(&coverage);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255), 3));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(all);
    }
    const QImage glow = blurred(coverage, 4);
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const int g = glow.constScanLine(y)[x];
            if (g > 0) {
                art.setPixel(x, y, mix(art.pixel(x, y), palette::kAccent, g / 255.0 * 0.45));
            }
        }
    }

    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(all.translated(2, 2), QColor(0, 0, 0, 150));
    p.setPen(QPen(QColor(palette::kOutline), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(all);

    const QRectF b = all.boundingRect();
    QLinearGradient chrome(0, b.top(), 0, b.bottom());
    chrome.setColorAt(0.0, QColor(255, 255, 255));
    chrome.setColorAt(0.45, QColor(196, 208, 222));
    chrome.setColorAt(0.52, QColor(112, 126, 142));
    chrome.setColorAt(1.0, QColor(226, 234, 242));
    p.fillPath(dezaru, chrome);
    QLinearGradient mint(0, b.top(), 0, b.bottom());
    mint.setColorAt(0.0, QColor(palette::kAccentBright));
    mint.setColorAt(0.5, QColor(palette::kAccent));
    mint.setColorAt(0.53, QColor(palette::kAccentDeep));
    mint.setColorAt(1.0, QColor(palette::kAccent));
    p.fillPath(vo, mint);
    p.end();

    const QImage tagline = pixelText("DIGITAL  MUSIC  PLAYER", PixelFont::Caps5);
    printLegend(art, tagline, QPoint(static_cast<int>(kDiscCentre.x()) - tagline.width() / 2, 270));
}

// Pixels just inside the outline become a dark rim; the rest outside is the mask colour.
// Colours that could be mistaken for the mask colour are pulled away from it.
void finish(QImage& art, const QImage& shape) {
    QImage out = art;
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            if (!inside(shape, x, y)) {
                out.setPixel(x, y, palette::kMask);
                continue;
            }
            const bool rim = !inside(shape, x - 1, y) || !inside(shape, x + 1, y) ||
                             !inside(shape, x, y - 1) || !inside(shape, x, y + 1);
            QRgb c = rim ? palette::kOutline : art.pixel(x, y);
            if (qRed(c) > 160 && qBlue(c) > 160 && qGreen(c) < 100) {
                c = qRgb(qRed(c), 100, qBlue(c));
            }
            out.setPixel(x, y, c);
        }
    }
    art = out;
}

} // namespace

QImage skinShape() {
    QImage shape(kSkinWidth, kSkinHeight, QImage::Format_Grayscale8);
    shape.fill(0);
    QPainter p(&shape);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(roundedRect(kBody, kBodyRadius));
    p.drawPath(roundedRect(kWing, kWingRadius));
    p.drawPath(circle(kDiscCentre, kDiscRadius));
    p.setBrush(QColor(0, 0, 0));
    p.drawPath(circle(kDiscCentre, kHoleRadius));
    return shape;
}

QImage drawBackground(const QImage& shape) {
    QImage art(kSkinWidth, kSkinHeight, QImage::Format_RGB32);
    paintMetal(art);
    paintWing(art, shape);
    emboss(art, shape, 4, 0.9, Relief::Raised);
    paintDisc(art);

    paintDisplay(art);
    paintGrille(art, QRect(8, 130, 294, 32), 6);
    paintSeekAndRow(art);
    paintBay(art, QRect(13, 193, 137, 18));
    paintGroove(art, 215, 8, 302);
    paintPlaylistArea(art);
    paintBay(art, QRect(8, 347, 139, 18));
    paintBay(art, QRect(168, 347, 94, 18));
    paintScrew(art, QPointF(22.5, 372.0));
    paintScrew(art, QPointF(292.5, 372.0));

    paintWordmark(art);
    paintGrille(art, QRect(330, 290, 170, 98), 14);
    finish(art, shape);
    return art;
}

} // namespace vd::art
