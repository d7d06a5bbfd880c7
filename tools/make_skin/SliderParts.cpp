#include "tools/make_skin/SliderParts.h"

#include "tools/make_skin/Layout.h"
#include "tools/make_skin/Palette.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vd::art {

namespace {

// Which pixels of a thumb are cut away (M), outline (O) or body (.).
constexpr std::array<std::string_view, kThumbHeight> kThumbShape{
    "MMOOOOOOOOOOOOOOOOMM", "MO................OM", "O..................O",
    "O..................O", "MO................OM", "MMOOOOOOOOOOOOOOOOMM",
};

void drawThumb(QImage& strip, int left, bool enabled) {
    const std::array<QRgb, 4> rows =
        enabled ? std::array<QRgb, 4>{qRgb(240, 246, 250), qRgb(204, 214, 226), qRgb(150, 162, 178),
                                      qRgb(104, 116, 132)}
                : std::array<QRgb, 4>{qRgb(128, 132, 138), qRgb(112, 116, 122), qRgb(98, 102, 108),
                                      qRgb(86, 90, 96)};
    for (int y = 0; y < kThumbHeight; ++y) {
        for (int x = 0; x < kThumbWidth; ++x) {
            const char kind = kThumbShape[static_cast<size_t>(y)][static_cast<size_t>(x)];
            QRgb c = palette::kMask;
            if (kind == 'O') {
                c = enabled ? palette::kOutline : qRgb(30, 33, 38);
            } else if (kind == '.') {
                const int band = std::clamp(y - 1, 0, 3);
                c = rows[static_cast<size_t>(band)];
                // Grip: a mint notch flanked by two grooves in the middle.
                if (y >= 2 && y <= 3) {
                    if (x == 7 || x == 12) {
                        c = enabled ? qRgb(70, 80, 94) : qRgb(78, 82, 88);
                    } else if (x == 8 || x == 13) {
                        c = shade(c, 0.3);
                    } else if (x == 9 || x == 10) {
                        c = enabled ? palette::kAccent : qRgb(100, 104, 110);
                    }
                }
            }
            strip.setPixel(left + x, y, c);
        }
    }
}

} // namespace

QImage drawSliderThumb() {
    QImage strip(kThumbWidth * 2, kThumbHeight, QImage::Format_RGB32);
    drawThumb(strip, 0, true);
    drawThumb(strip, kThumbWidth, false);
    return strip;
}

QImage drawMeterCell() {
    QImage cell(kCellWidth, kCellHeight, QImage::Format_RGB32);
    cell.fill(palette::kBay);
    const std::array<QRgb, kCellHeight> rows{
        palette::kAccentBright, mix(palette::kAccentBright, palette::kAccent, 0.5),
        palette::kAccent, mix(palette::kAccent, palette::kAccentDeep, 0.55)};
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth - 2; ++x) {
            QRgb c = rows[static_cast<size_t>(y)];
            if (x == 0 || x == kCellWidth - 3) {
                c = mix(c, palette::kAccentDeep, 0.35);
            }
            cell.setPixel(x, y, c);
        }
    }
    return cell;
}

} // namespace vd::art
