#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <string_view>

// Hand-drawn pixel lettering and symbols. Captions on 14-pixel buttons and the small legends
// stay crisp only when every pixel is placed by hand; smoothed outline fonts blur at that size.
namespace vd::art {

enum class PixelFont {
    Caps7, // capitals 7 pixels high, for button captions
    Caps5, // capitals 5 pixels high, for legends on the metal
};

enum class PixelSymbol {
    Previous,
    Play,
    Pause,
    Stop,
    Next,
    Eject,
    Plus,
    Minus,
    SortArrows,
    Folder,
    Diskette,
};

// A white-on-transparent ARGB32 image of `text`; letters are one pixel apart. Characters the
// font lacks are left blank.
[[nodiscard]] QImage pixelText(std::string_view text, PixelFont font);

[[nodiscard]] QImage pixelSymbol(PixelSymbol symbol);

// Sets every pixel of `dst` under an opaque pixel of `mask` (placed at `at`) to `color`.
void stamp(QImage& dst, const QImage& mask, QPoint at, QRgb color);

} // namespace vd::art
