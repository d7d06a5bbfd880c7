#pragma once

#include <QImage>
#include <QRect>

#include <array>

// The format lamps in the display's spare corner: the words MOD, MIDI, MPEG and WAVE printed
// unlit on the bezel, and a picture of the corner with each of them lit, which the player draws
// over the skin while a file of that kind plays.
namespace vd::art {

inline constexpr int kLampCount = 4;

// Where each word stands on the background, in lamp order.
[[nodiscard]] std::array<QRect, kLampCount> lampWords();

// Prints the four words, unlit, onto the background.
void paintLampLegend(QImage& art);

// The lamp area (kFormatLamps) of the finished background once for each lamp, with that lamp
// lit, one under another in lamp order.
[[nodiscard]] QImage drawLitLamps(const QImage& background);

} // namespace vd::art
