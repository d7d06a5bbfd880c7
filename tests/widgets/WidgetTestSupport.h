#pragma once

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "tests/support/PixelProbe.h"

#include <gtest/gtest.h>

#include <vector>

namespace vd::test {

inline constexpr TColor kSentinel = RGB(1, 2, 3);

// A bitmap filled with one colour, the sentinel unless told otherwise.
inline TBitmap Filled(int width, int height, TColor color = kSentinel) {
    return SolidBitmap(width, height, color);
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
    return CountColor(bitmap.Image(), color, area);
}

} // namespace vd::test
