#include "framework/Graphics.h"

#include "framework/BmpCodec.h"
#include "framework/QtConvert.h"
#include "framework/Stream.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <vector>

// Bitmaps: a picture of 32-bit pixels with a canvas over it, read from and written to BMP files
// (the file format itself is BmpCodec.cpp's).

namespace vd {

TBitmap::TBitmap() : image_(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int width, int height) : TBitmap() {
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other)
    : TGraphicsObject(), image_(std::make_unique<QImage>(other.Image())) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other)
        SetImage(other.Image());
    return *this;
}

TBitmap::~TBitmap() {
    canvas_.reset();
}

void TBitmap::Assign(const TPersistent* source) {
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        SetImage(bitmap->Image());
        return;
    }
    if (source == nullptr) {
        SetImage(QImage());
        return;
    }
    TGraphicsObject::Assign(source);
}

int TBitmap::Width() const {
    return image_->width();
}
int TBitmap::Height() const {
    return image_->height();
}
bool TBitmap::Empty() const {
    return image_->isNull() || Width() == 0 || Height() == 0;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    if (canvas_)
        canvas_->Release();
    if (width == 0 || height == 0) {
        *image_ = QImage();
    } else {
        QImage resized(width, height, QImage::Format_RGB32);
        resized.fill(0xFF000000u);
        if (!image_->isNull()) {
            QPainter p(&resized);
            p.drawImage(0, 0, *image_);
        }
        *image_ = std::move(resized);
    }
    Changed();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>(image_.get());
    return *canvas_;
}

TColor TBitmap::Pixel(int x, int y) const {
    const QImage& img = Image();
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return clNone;
    return FromQRgb(img.pixel(x, y));
}

void TBitmap::ReadRow(int y, std::vector<TColor>& out) const {
    const QImage& img = Image();
    out.resize(static_cast<std::size_t>(std::max(0, img.width())));
    if (y < 0 || y >= img.height())
        return;
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
        out[static_cast<std::size_t>(x)] = FromQRgb(line[x]);
}

QImage& TBitmap::Image() const {
    if (canvas_)
        canvas_->Release();
    return *image_;
}

void TBitmap::SetImage(const QImage& image) {
    if (canvas_)
        canvas_->Release();
    if (image.isNull() || image.format() == QImage::Format_RGB32)
        *image_ = image;
    else
        *image_ = image.convertToFormat(QImage::Format_RGB32);
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
    uint8_t header[14];
    stream.ReadBuffer(header, sizeof header);
    const uint32_t total = BmpDeclaredSize(header);
    if (total < sizeof header || static_cast<int64_t>(total - sizeof header) > stream.Remaining())
        throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<uint8_t> file(total);
    std::copy(std::begin(header), std::end(header), file.begin());
    stream.ReadBuffer(file.data() + sizeof header, total - sizeof header);
    SetImage(DecodeBmp(file));
}

void TBitmap::SaveToStream(TStream& stream) const {
    if (Empty())
        return;
    const std::vector<uint8_t> bytes = EncodeBmp24(Image());
    stream.WriteBuffer(bytes.data(), bytes.size());
}

void TBitmap::LoadFromFile(const std::string& path) {
    TFileStream stream(path, TFileStream::Mode::OpenRead);
    LoadFromStream(stream);
}

void TBitmap::SaveToFile(const std::string& path) const {
    TFileStream stream(path, TFileStream::Mode::Create);
    SaveToStream(stream);
}

} // namespace vd
