#include "widgets/slBitmapHelpers.h"

#include <vector>

namespace vd {

void RecolorBitmap(TBitmap& bitmap, TColor from, TColor to) {
    if (bitmap.Empty())
        return;
    const TColor key = ColorToRGB(from);
    const TColor replacement = ColorToRGB(to);
    std::vector<TColor> row;
    for (int y = 0; y < bitmap.Height(); ++y) {
        bitmap.ReadRow(y, row);
        for (int x = 0; x < bitmap.Width(); ++x)
            if (row[static_cast<std::size_t>(x)] == key)
                bitmap.Canvas().SetPixel(x, y, replacement);
    }
}

TColor CornerPixelColor(const TBitmap& bitmap, TslAutoTransparentColor mode) {
    const int right = bitmap.Width() - 1;
    const int bottom = bitmap.Height() - 1;
    switch (mode) {
    case TslAutoTransparentColor::ftcLeftTopPixel:
        return bitmap.Pixel(0, 0);
    case TslAutoTransparentColor::ftcLeftBottomPixel:
        return bitmap.Pixel(0, bottom);
    case TslAutoTransparentColor::ftcRightTopPixel:
        return bitmap.Pixel(right, 0);
    case TslAutoTransparentColor::ftcRightBottomPixel:
        return bitmap.Pixel(right, bottom);
    case TslAutoTransparentColor::ftcUser:
        break;
    }
    return clNone;
}

void DrawBitmapTransparent(TCanvas& canvas, const TBitmap& bitmap, int x, int y,
                           TColor transparent) {
    if (bitmap.Empty())
        return;
    TBrush& brush = canvas.Brush();
    const TBrushStyle saved = brush.Style();
    brush.SetStyle(TBrushStyle::bsClear);
    canvas.BrushCopy({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap,
                     {0, 0, bitmap.Width(), bitmap.Height()}, ColorToRGB(transparent));
    brush.SetStyle(saved);
}

} // namespace vd
