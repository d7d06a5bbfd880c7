#include "widgets/FlatColors.h"

#include <QImage>

#include <array>
#include <cmath>
#include <cstdlib>

namespace vd::flat {

namespace {

// The twenty colours a palette display always has.
constexpr std::array<TColor, 20> kStaticPalette = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
    RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
    RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255),
};

unsigned Quantize(unsigned channel, int bits) {
    const unsigned top = channel >> (8 - bits);
    return (top << (8 - bits)) | (top >> (2 * bits - 8));
}

int Clamp(int v) {
    return std::clamp(v, 0, 255);
}

// x + Round((255 - x) * p / 100), halves to the even neighbour.
int LightenChannel(int x, int p) {
    const double step = std::nearbyint(static_cast<double>((255 - x) * p) / 100.0);
    return Clamp(x + static_cast<int>(step));
}

QRgb ToQRgb(TColor c) {
    return qRgb(static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                static_cast<int>(GetBValue(c)));
}

TColor FromQRgb(QRgb q) {
    return RGB(static_cast<unsigned>(qRed(q)), static_cast<unsigned>(qGreen(q)),
               static_cast<unsigned>(qBlue(q)));
}

// Runs `convert` over every pixel, converting each run of equal pixels once.
template <class Convert>
void ConvertPixels(TBitmap& bitmap, Convert convert) {
    if (bitmap.Empty())
        return;
    QImage& image = bitmap.Image();
    QRgb last_source = 0;
    QRgb last_result = 0;
    bool have_last = false;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb source = line[x] | 0xFF000000u;
            if (!have_last || source != last_source) {
                last_source = source;
                last_result = ToQRgb(convert(FromQRgb(source))) | 0xFF000000u;
                have_last = true;
            }
            line[x] = last_result;
        }
    }
}

} // namespace

TColor NearestColor(int bits_per_pixel, TColor color) {
    const TColor c = ColorToRGB(color);
    const unsigned r = GetRValue(c);
    const unsigned g = GetGValue(c);
    const unsigned b = GetBValue(c);
    if (bits_per_pixel >= 24)
        return c;
    if (bits_per_pixel == 16)
        return RGB(Quantize(r, 5), Quantize(g, 6), Quantize(b, 5));
    if (bits_per_pixel == 15)
        return RGB(Quantize(r, 5), Quantize(g, 5), Quantize(b, 5));
    TColor best = kStaticPalette[0];
    long best_distance = -1;
    for (const TColor p : kStaticPalette) {
        const long dr = static_cast<long>(GetRValue(p)) - static_cast<long>(r);
        const long dg = static_cast<long>(GetGValue(p)) - static_cast<long>(g);
        const long db = static_cast<long>(GetBValue(p)) - static_cast<long>(b);
        const long distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best_distance = distance;
            best = p;
        }
    }
    return best;
}

TColor LightenColor(int bits_per_pixel, TColor color, int p) {
    p = std::min(p, 100);
    const TColor c = ColorToRGB(color);
    const TColor lighter =
        RGB(static_cast<unsigned>(LightenChannel(static_cast<int>(GetRValue(c)), p)),
            static_cast<unsigned>(LightenChannel(static_cast<int>(GetGValue(c)), p)),
            static_cast<unsigned>(LightenChannel(static_cast<int>(GetBValue(c)), p)));
    return NearestColor(bits_per_pixel, lighter);
}

TColor DarkenColor(TColor color, int v) {
    const TColor c = ColorToRGB(color);
    return RGB(static_cast<unsigned>(Clamp(static_cast<int>(GetRValue(c)) - v)),
               static_cast<unsigned>(Clamp(static_cast<int>(GetGValue(c)) - v + 2)),
               static_cast<unsigned>(Clamp(static_cast<int>(GetBValue(c)) - v)));
}

TColor GrayColor(TColor color, int v) {
    const TColor c = ColorToRGB(color);
    const int sum = static_cast<int>(GetRValue(c) + GetGValue(c) + GetBValue(c));
    const auto level = static_cast<unsigned>(std::clamp(sum / 3 + v, 0, 240));
    return RGB(level, level, level);
}

void GrayBitmap(TBitmap& bitmap, int v) {
    ConvertPixels(bitmap, [v](TColor c) { return GrayColor(c, v); });
}

void DimBitmap(TBitmap& bitmap, int p) {
    const int bits = bitmap.Canvas().BitsPerPixel();
    ConvertPixels(bitmap, [bits, p](TColor c) { return LightenColor(bits, c, p); });
}

void DrawBitmapShadow(const TBitmap& bitmap, TCanvas& canvas, int x, int y, TColor color) {
    if (bitmap.Empty())
        return;
    const QImage& image = bitmap.Image();
    const QRgb transparent = image.pixel(0, image.height() - 1) | 0xFF000000u;
    const TRect clip = canvas.ClipRect();
    QImage& target = canvas.Target();
    const TPoint origin = canvas.Origin();
    const QRgb shadow = ToQRgb(ColorToRGB(color)) | 0xFF000000u;
    for (int row = 0; row < image.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        for (int column = 0; column < image.width(); ++column) {
            if ((line[column] | 0xFF000000u) == transparent)
                continue;
            const TPoint p{x + column, y + row};
            if (clip.Contains(p))
                target.setPixel(p.X + origin.X, p.Y + origin.Y, shadow);
        }
    }
}

} // namespace vd::flat
