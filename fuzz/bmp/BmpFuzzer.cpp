// Any bytes given to the BMP reader either decode or fail with the program's own error, never
// read past the bytes or allocate without bound; what decodes writes out as 24 bits and reads
// back pixel for pixel.

#include "framework/BmpCodec.h"
#include "framework/Graphics.h"
#include "framework/Stream.h"

#include "fuzz/FuzzCheck.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using vd::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    QImage image;
    try {
        image = vd::DecodeBmp(bytes);
    } catch (const vd::Exception&) {
        image = QImage();
    }
    if (!image.isNull()) {
        Check(image.width() > 0 && image.height() > 0);
        Check(image.width() <= 32768 && image.height() <= 32768);
        Check(image.format() == QImage::Format_RGB32);
        const std::vector<uint8_t> written = vd::EncodeBmp24(image);
        Check(vd::BmpDeclaredSize(written) == written.size());
        const QImage back = vd::DecodeBmp(written);
        Check(back.size() == image.size());
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                Check((back.pixel(x, y) & 0xFFFFFFu) == (image.pixel(x, y) & 0xFFFFFFu));
    }

    // Through the bitmap, which takes the declared size from a stream first.
    vd::TMemoryStream in(bytes);
    vd::TBitmap bitmap;
    try {
        bitmap.LoadFromStream(in);
        Check(!bitmap.Empty());
        Check(in.Position() == static_cast<int64_t>(vd::BmpDeclaredSize(bytes)));
    } catch (const vd::Exception&) {
    }
    return 0;
}
