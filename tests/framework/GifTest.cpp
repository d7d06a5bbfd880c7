// The GIF reader: a tiny picture made here, byte by byte, reads back pixel for pixel with its
// transparent pixels in a key colour that no opaque pixel has, even when the file gives the
// transparent entry the colour of an opaque one; what is not a GIF fails with the program's error.
#include "framework/GifImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace vd {
namespace {

// Codes of the given widths, packed from the low bit up.
std::vector<uint8_t> PackCodes(const std::vector<std::pair<int, int>>& codes) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    for (const auto& [code, width] : codes) {
        bits |= static_cast<uint32_t>(code) << count;
        count += width;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0)
        out.push_back(static_cast<uint8_t>(bits & 0xFF));
    return out;
}

// A 2 x 2 GIF: red, green / transparent, black; the transparent entry is black as well. The
// screen it declares may be taller than the image.
std::vector<uint8_t> TinyGif(bool transparent, uint16_t screen_height = 2) {
    std::vector<uint8_t> gif = {'G',
                                'I',
                                'F',
                                '8',
                                '9',
                                'a',
                                2,
                                0,
                                static_cast<uint8_t>(screen_height & 0xFF),
                                static_cast<uint8_t>(screen_height >> 8),
                                0x81,
                                0,
                                0};
    const uint8_t table[] = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0};
    gif.insert(gif.end(), std::begin(table), std::end(table));
    if (transparent) {
        const uint8_t control[] = {0x21, 0xF9, 4, 1, 0, 0, 2, 0};
        gif.insert(gif.end(), std::begin(control), std::end(control));
    }
    const uint8_t descriptor[] = {',', 0, 0, 0, 0, 2, 0, 2, 0, 0};
    gif.insert(gif.end(), std::begin(descriptor), std::end(descriptor));
    gif.push_back(2); // minimum code size: clear is 4, end is 5
    // The reader widens its codes to 4 bits once its table reaches 8 entries (after the third).
    const std::vector<uint8_t> data = PackCodes({{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}});
    gif.push_back(static_cast<uint8_t>(data.size()));
    gif.insert(gif.end(), data.begin(), data.end());
    gif.push_back(0);
    gif.push_back(';');
    return gif;
}

TEST(Gif, ReadsPixelsAndKeysTheTransparentOnesApart) {
    const TGifPicture picture = DecodeGif(TinyGif(true));
    ASSERT_EQ(picture.bitmap.Width(), 2);
    ASSERT_EQ(picture.bitmap.Height(), 2);
    EXPECT_EQ(picture.bitmap.Pixel(0, 0), clRed);
    EXPECT_EQ(picture.bitmap.Pixel(1, 0), clLime);
    EXPECT_EQ(picture.bitmap.Pixel(1, 1), clBlack);
    ASSERT_NE(picture.transparent_color, clNone);
    EXPECT_NE(picture.transparent_color, clBlack); // the opaque black stays black
    EXPECT_EQ(picture.bitmap.Pixel(0, 1), picture.transparent_color);
}

TEST(Gif, WithoutTransparencyThereIsNoKey) {
    const TGifPicture picture = DecodeGif(TinyGif(false));
    EXPECT_EQ(picture.transparent_color, clNone);
    EXPECT_EQ(picture.bitmap.Pixel(0, 1), clBlack);
}

TEST(Gif, WhatIsNotAGifFails) {
    std::vector<uint8_t> broken = TinyGif(true);
    broken.resize(20);
    EXPECT_THROW((void)DecodeGif(broken), EInvalidGraphic);
    const std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0, 0};
    EXPECT_THROW((void)DecodeGif(bmp), EInvalidGraphic);
    EXPECT_THROW((void)DecodeGif({}), EInvalidGraphic);
}

// The picture is as large as the screen the file declares, whatever its image's size.
TEST(Gif, AScreenBeyondTheLimitIsRefusedWhateverTheImage) {
    EXPECT_EQ(DecodeGif(TinyGif(true, 100)).bitmap.Height(), 100);
    EXPECT_THROW((void)DecodeGif(TinyGif(true, 5000)), EInvalidGraphic);
}

} // namespace
} // namespace vd
