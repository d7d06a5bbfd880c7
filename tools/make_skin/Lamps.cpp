#include "tools/make_skin/Lamps.h"

#include "tools/make_skin/Layout.h"
#include "tools/make_skin/Palette.h"
#include "tools/make_skin/PixelFont.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace vd::art {

namespace {

constexpr std::array<std::string_view, kLampCount> kWords{"MOD", "MIDI", "MPEG", "WAVE"};
// Two blanks between words, as the legend was first set: letter gap, blank, gap, blank, gap.
constexpr int kWordGap = 7;
constexpr int kLegendTop = 112;
// The bezel the lamps sit on, and the free stretch of it right of the position glass.
constexpr QRgb kBezel = qRgb(18, 22, 27);
constexpr int kStretchLeft = 159;
constexpr int kStretchRight = 304;
constexpr QRgb kShadowInk = qRgb(8, 30, 24);
// Unlit words read as dark glass; a lit one glows mint around a bright core.
constexpr double kGlowReach = 3.0;

[[nodiscard]] QRgb unlitInk() {
    return mix(palette::kAccentDeep, kBezel, 0.55);
}

} // namespace

std::array<QRect, kLampCount> lampWords() {
    std::array<QRect, kLampCount> words;
    int width = -kWordGap;
    for (std::string_view w : kWords)
        width += pixelText(w, PixelFont::Caps5).width() + kWordGap;
    int x = kStretchLeft + (kStretchRight - kStretchLeft - width) / 2;
    for (int i = 0; i < kLampCount; ++i) {
        const QImage text = pixelText(kWords[i], PixelFont::Caps5);
        words[i] = QRect(x, kLegendTop, text.width(), text.height());
        x += text.width() + kWordGap;
    }
    return words;
}

void paintLampLegend(QImage& art) {
    const auto words = lampWords();
    for (int i = 0; i < kLampCount; ++i) {
        if (!kFormatLamps.contains(words[i].adjusted(-3, -3, 3, 3)))
            throw std::runtime_error("the lamp words do not fit the lamp area");
        const QImage text = pixelText(kWords[i], PixelFont::Caps5);
        stamp(art, text, words[i].topLeft() + QPoint(0, 1), kShadowInk);
        stamp(art, text, words[i].topLeft(), unlitInk());
    }
}

QImage drawLitLamps(const QImage& background) {
    const QRect area = kFormatLamps;
    const auto words = lampWords();
    QImage strip(area.width(), area.height() * kLampCount, QImage::Format_RGB32);
    for (int i = 0; i < kLampCount; ++i) {
        QImage lamp = background.copy(area);
        const QImage text = pixelText(kWords[i], PixelFont::Caps5);
        const QPoint at = words[i].topLeft() - area.topLeft();
        // A halo that fades with the distance from the nearest letter pixel.
        for (int y = 0; y < lamp.height(); ++y) {
            for (int x = 0; x < lamp.width(); ++x) {
                double nearest = kGlowReach + 1;
                for (int ty = 0; ty < text.height(); ++ty)
                    for (int tx = 0; tx < text.width(); ++tx)
                        if (qAlpha(text.pixel(tx, ty)) != 0)
                            nearest =
                                std::min(nearest, std::hypot(x - at.x() - tx, y - at.y() - ty));
                if (nearest <= kGlowReach) {
                    const double glow = std::pow(1 - nearest / (kGlowReach + 1), 2) * 0.7;
                    lamp.setPixel(x, y, mix(lamp.pixel(x, y), palette::kAccent, glow));
                }
            }
        }
        stamp(lamp, text, at, palette::kAccentBright);
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                strip.setPixel(x, i * area.height() + y, lamp.pixel(x, y));
    }
    return strip;
}

} // namespace vd::art
