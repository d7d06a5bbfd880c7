#include "framework/ImageList.h"

#include <QImage>
#include <QPainter>

namespace vd {

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

void TImageList::SetSize(int width, int height) {
    width_ = std::max(1, width);
    height_ = std::max(1, height);
    images_.clear();
}

int TImageList::AddMasked(const TBitmap& strip, TColor mask) {
    const int first = Count();
    for (int x = 0; x + width_ <= strip.Width(); x += width_) {
        Picture picture;
        picture.bitmap.SetSize(width_, height_);
        picture.bitmap.Canvas().CopyRect({0, 0, width_, height_}, strip,
                                         {x, 0, x + width_, std::min(height_, strip.Height())});
        picture.mask = mask;
        images_.push_back(std::move(picture));
    }
    return first;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count())
        return;
    const Picture& picture = images_[static_cast<std::size_t>(index)];
    if (enabled) {
        const TBrushStyle saved = canvas.Brush().Style();
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.BrushCopy({x, y, x + width_, y + height_}, picture.bitmap, {0, 0, width_, height_},
                         picture.mask);
        canvas.Brush().SetStyle(saved);
        return;
    }
    // Greyed: each opaque pixel becomes a light grey value of its brightness.
    QImage grey(width_, height_, QImage::Format_ARGB32);
    const QImage& src = picture.bitmap.Image();
    const TColor key = picture.mask & 0xFFFFFF;
    for (int py = 0; py < height_; ++py)
        for (int px = 0; px < width_; ++px) {
            const QRgb p = src.pixel(px, py);
            const TColor c = RGB(static_cast<unsigned>(qRed(p)), static_cast<unsigned>(qGreen(p)),
                                 static_cast<unsigned>(qBlue(p)));
            if (picture.mask != clNone && c == key) {
                grey.setPixel(px, py, 0);
                continue;
            }
            const int v = 128 + qGray(p) / 2;
            grey.setPixel(px, py, qRgb(v, v, v));
        }
    canvas.Painter().drawImage(x, y, grey);
}

} // namespace vd
