#pragma once

// Reading pictures back in tests: the box around the pixels that differ from a background, and
// counting pixels of a colour.

#include "framework/Graphics.h"

#include <QImage>

#include <algorithm>
#include <climits>

namespace vd::test {

// The smallest rectangle around every pixel of `image` inside `area` that is not `background`;
// empty when there is none.
inline TRect InkBox(const QImage& image, TColor background, TRect area) {
    area = area.Intersect({0, 0, image.width(), image.height()});
    TRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    bool any = false;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
            const QRgb p = image.pixel(x, y);
            const TColor c = RGB(static_cast<unsigned>(qRed(p)), static_cast<unsigned>(qGreen(p)),
                                 static_cast<unsigned>(qBlue(p)));
            if (c == background)
                continue;
            any = true;
            box.Left = std::min(box.Left, x);
            box.Top = std::min(box.Top, y);
            box.Right = std::max(box.Right, x + 1);
            box.Bottom = std::max(box.Bottom, y + 1);
        }
    return any ? box : TRect{};
}

inline TRect InkBox(const TBitmap& bitmap, TColor background) {
    return InkBox(bitmap.Image(), background, {0, 0, bitmap.Width(), bitmap.Height()});
}

inline TColor PixelOf(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(static_cast<unsigned>(qRed(p)), static_cast<unsigned>(qGreen(p)),
               static_cast<unsigned>(qBlue(p)));
}

inline int CountColor(const QImage& image, TColor color, TRect area) {
    area = area.Intersect({0, 0, image.width(), image.height()});
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (PixelOf(image, x, y) == color)
                ++n;
    return n;
}

// A bitmap of one colour.
inline TBitmap SolidBitmap(int width, int height, TColor color) {
    TBitmap bitmap(width, height);
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().Brush().SetStyle(TBrushStyle::bsSolid);
    bitmap.Canvas().FillRect({0, 0, width, height});
    return bitmap;
}

} // namespace vd::test
