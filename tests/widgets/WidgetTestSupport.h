#pragma once

#include "framework/Forms.h"
#include "framework/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

namespace vd::test {

inline constexpr TColor kSentinel = RGB(1, 2, 3);

// A bitmap filled with one colour.
inline TBitmap Filled(int width, int height, TColor color = kSentinel) {
    TBitmap bitmap(width, height);
    TCanvas& c = bitmap.Canvas();
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(color);
    c.FillRect({0, 0, width, height});
    return bitmap;
}

// Every pixel, row by row.
inline std::vector<TColor> Pixels(const TBitmap& bitmap) {
    std::vector<TColor> all;
    std::vector<TColor> row;
    for (int y = 0; y < bitmap.Height(); ++y) {
        bitmap.ReadRow(y, row);
        all.insert(all.end(), row.begin(), row.end());
    }
    return all;
}

// The window's picture after painting whatever is due.
inline TBitmap PaintedPicture(TForm& form) {
    form.Invalidate();
    form.Update();
    TBitmap out;
    out.SetImage(form.Picture());
    return out;
}

inline int CountColor(const TBitmap& bitmap, TColor color, const TRect& area) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (bitmap.Pixel(x, y) == color)
                ++n;
    return n;
}

} // namespace vd::test
