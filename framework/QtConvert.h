#pragma once

// framework: the small conversions between the framework's own types and Qt's, shared by the
// framework's files that draw. Not for use outside framework/.

#include "framework/Colors.h"
#include "framework/Types.h"

#include <QColor>
#include <QRect>
#include <QString>

#include <string_view>

namespace vd {

// `r` as Qt's rectangle (position and size); the right and bottom edges stay excluded.
[[nodiscard]] inline QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

[[nodiscard]] inline TRect ToTRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// A colour (system colours resolved) as Qt's opaque colour.
[[nodiscard]] inline QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(static_cast<int>(GetRValue(rgb)), static_cast<int>(GetGValue(rgb)),
                  static_cast<int>(GetBValue(rgb)));
}

[[nodiscard]] inline TColor FromQRgb(QRgb rgb) {
    return RGB(static_cast<unsigned>(qRed(rgb)), static_cast<unsigned>(qGreen(rgb)),
               static_cast<unsigned>(qBlue(rgb)));
}

[[nodiscard]] inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace vd
