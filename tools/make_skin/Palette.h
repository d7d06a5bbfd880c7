#pragma once

#include <QRgb>

// One palette for every picture, so the skin, the menus and the icon read as one product:
// graphite metal, a pale green display glass and a mint accent.
namespace vd::art::palette {

// The colour the window cuts away; nothing else may come near it.
inline constexpr QRgb kMask = qRgb(255, 0, 255);

inline constexpr QRgb kOutline = qRgb(6, 8, 11);
inline constexpr QRgb kMetalTop = qRgb(70, 82, 97);
inline constexpr QRgb kMetalMid = qRgb(45, 53, 64);
inline constexpr QRgb kMetalBottom = qRgb(28, 33, 41);
inline constexpr QRgb kHighlight = qRgb(150, 166, 186);
inline constexpr QRgb kShadow = qRgb(12, 15, 20);
inline constexpr QRgb kEngraveDark = qRgb(17, 21, 27);
inline constexpr QRgb kEngraveLight = qRgb(92, 104, 120);

// Recessed bays behind the button rows.
inline constexpr QRgb kBay = qRgb(16, 19, 24);

inline constexpr QRgb kGlassTop = qRgb(214, 234, 216);
inline constexpr QRgb kGlassBottom = qRgb(178, 210, 186);
inline constexpr QRgb kGlassEdge = qRgb(104, 132, 112);

inline constexpr QRgb kAccent = qRgb(70, 230, 168);
inline constexpr QRgb kAccentBright = qRgb(168, 255, 216);
inline constexpr QRgb kAccentDeep = qRgb(22, 120, 86);

inline constexpr QRgb kWell = qRgb(0, 0, 0);
inline constexpr QRgb kLedOff = qRgb(18, 44, 36);

} // namespace vd::art::palette

namespace vd::art {

// Linear blend from `a` (t = 0) to `b` (t = 1), opaque.
[[nodiscard]] inline QRgb mix(QRgb a, QRgb b, double t) {
    const auto channel = [t](int ca, int cb) { return static_cast<int>(ca + (cb - ca) * t + 0.5); };
    return qRgb(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)),
                channel(qBlue(a), qBlue(b)));
}

// Positive amounts lighten toward white, negative ones darken toward black.
[[nodiscard]] inline QRgb shade(QRgb c, double amount) {
    return amount >= 0 ? mix(c, qRgb(255, 255, 255), amount) : mix(c, qRgb(0, 0, 0), -amount);
}

} // namespace vd::art
