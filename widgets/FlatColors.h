#pragma once

#include "framework/Colors.h"
#include "framework/Graphics.h"

namespace vd::flat {

// The colour arithmetic of the flat menu painter. Every function resolves system colours first.

// The nearest colour a surface of `bits_per_pixel` shows: itself from 24 bits up, 5-6-5 steps at
// 16 bits, 5-5-5 steps at 15, and the nearest of the twenty fixed palette colours below that.
[[nodiscard]] TColor NearestColor(int bits_per_pixel, TColor color);

// Each channel x becomes x + Round((255 - x) * p / 100); p is capped at 100 (a negative p
// darkens). The result is the nearest colour the surface shows.
[[nodiscard]] TColor LightenColor(int bits_per_pixel, TColor color, int p);
// Red and blue lose v, green loses v - 2; each channel is clamped to 0..255.
[[nodiscard]] TColor DarkenColor(TColor color, int v);
// Grey at the channels' average plus v, at most 240.
[[nodiscard]] TColor GrayColor(TColor color, int v);

// Replace every pixel by GrayColor(pixel, v), respectively LightenColor(pixel, p) on the
// bitmap's own surface; a run of equal pixels is converted once.
void GrayBitmap(TBitmap& bitmap, int v);
void DimBitmap(TBitmap& bitmap, int p);
// Every pixel of `bitmap` that differs from its bottom-left pixel (its transparent colour) sets
// the pixel at (x + column, y + row) of `canvas` to `color`.
void DrawBitmapShadow(const TBitmap& bitmap, TCanvas& canvas, int x, int y, TColor color);

} // namespace vd::flat
