#include "tools/make_skin/Preview.h"

#include "tools/make_skin/Fonts.h"
#include "tools/make_skin/Layout.h"
#include "tools/make_skin/Palette.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace vd::art {

namespace {

void blit(QImage& dst, const QImage& src, QRect from, QPoint to, bool masked) {
    for (int y = 0; y < from.height(); ++y) {
        for (int x = 0; x < from.width(); ++x) {
            const QRgb c = src.pixel(from.left() + x, from.top() + y) | 0xFF000000u;
            if (masked && c == palette::kMask) {
                continue;
            }
            dst.setPixel(to.x() + x, to.y() + y, c);
        }
    }
}

void blitButton(QImage& dst, const QImage& strip, int top, QRect button, int state = 0) {
    blit(dst, strip, QRect(state * button.width(), top, button.width(), button.height()),
         button.topLeft(), false);
}

} // namespace

QImage previewWindow(const SkinParts& parts) {
    QImage face = parts.background.convertToFormat(QImage::Format_RGB32);
    blitButton(face, parts.transport, 16, kPrevBtn);
    blitButton(face, parts.transport, 32, kPlayBtn, 4);
    blitButton(face, parts.transport, 48, kPauseBtn);
    blitButton(face, parts.transport, 64, kStopBtn, 1);
    blitButton(face, parts.transport, 0, kNextBtn);
    blitButton(face, parts.transport, 80, kEjectBtn, 2);
    blitButton(face, parts.playlist_buttons, 0, kAddBtn);
    blitButton(face, parts.playlist_buttons, 15, kRemoveBtn);
    blitButton(face, parts.playlist_buttons, 30, kSortBtn, 4);
    blitButton(face, parts.playlist_buttons, 60, kLoadBtn);
    blitButton(face, parts.playlist_buttons, 45, kSaveBtn, 1);
    blitButton(face, parts.round_button, 0, kMenuBtn);

    const int thumb_left = kSeekSlider.left() + 275 * 35 / 100;
    blit(face, parts.thumb, QRect(0, 0, kThumbWidth, kThumbHeight),
         QPoint(thumb_left, kSeekSlider.top() + 1), true);
    const int filled = 50 * kRowBar.width() / 100;
    for (int x = 0; x < filled; ++x) {
        blit(face, parts.cell, QRect(x % kCellWidth, 0, 1, kCellHeight),
             QPoint(kRowBar.left() + x, kRowBar.top() + kCellTopInBar), false);
    }

    QPainter p(&face);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont bold = loadFont(FontFace::SansBold, 11);
    QFont regular = loadFont(FontFace::SansRegular, 11);
    p.setPen(Qt::black);
    p.setFont(bold);
    p.drawText(kTitleLabel, Qt::AlignLeft | Qt::AlignVCenter, "VO Dezaru - Dawn Over Dunes.mod");
    p.setFont(regular);
    p.drawText(kPositionCaption, Qt::AlignLeft | Qt::AlignVCenter, "Position:");
    p.drawText(kPosLabel, Qt::AlignLeft | Qt::AlignVCenter, "Row 32 / Order 04");
    const std::vector<QString> lines{"Dawn Over Dunes.mod", "Caravan.xm", "Mirage.it",
                                     "Night Market.s3m",    "Oasis.mid",  "Sandstorm.mp3",
                                     "Tuareg Blues.wav"};
    int y = kPlaylistShow.top();
    for (size_t i = 0; i < lines.size(); ++i, y += 13) {
        const QRect item(kPlaylistShow.left(), y, kPlaylistShow.width(), 13);
        const bool selected = i == 2;
        if (selected) {
            QLinearGradient g(0, item.top(), 0, item.bottom());
            g.setColorAt(0, QColor(255, 255, 0));
            g.setColorAt(1, QColor(200, 200, 0));
            p.fillRect(item, g);
        }
        p.setPen(selected ? QColor(0, 0, 255) : QColor(0, 255, 0));
        p.drawText(item.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
    p.end();

    QImage shown(face.size(), QImage::Format_RGB32);
    for (int py = 0; py < face.height(); ++py) {
        for (int px = 0; px < face.width(); ++px) {
            const QRgb c = parts.background.pixel(px, py) | 0xFF000000u;
            const QRgb desk = mix(qRgb(96, 120, 150), qRgb(168, 184, 200), py / 425.0);
            shown.setPixel(px, py, c == palette::kMask ? desk : face.pixel(px, py));
        }
    }
    return shown.scaled(shown.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage previewStrips(const SkinParts& parts, const QImage& menu_thumbs) {
    const std::vector<const QImage*> strips{&parts.transport,    &parts.playlist_buttons,
                                            &parts.round_button, &parts.thumb,
                                            &parts.cell,         &menu_thumbs};
    const int scale = 4;
    int width = 0;
    int height = 0;
    for (const QImage* s : strips) {
        width = std::max(width, s->width() * scale);
        height += s->height() * scale + 8;
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(qRgb(128, 128, 128));
    QPainter p(&sheet);
    int y = 0;
    for (const QImage* s : strips) {
        p.drawImage(QPoint(0, y),
                    s->scaled(s->size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        y += s->height() * scale + 8;
    }
    return sheet;
}

} // namespace vd::art
