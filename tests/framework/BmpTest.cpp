// BMP file images: what the bitmap writes, every depth and row order it reads, and the malformed
// images it must refuse without reading or allocating past what they hold.

#include "framework/BmpCodec.h"
#include "framework/Graphics.h"
#include "framework/Stream.h"
#include "tests/support/BmpBuilder.h"
#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

namespace vd {
namespace {

using test::BmpSpec;
using test::MakeBmp;

uint32_t Get32(const std::vector<uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TColor At(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(static_cast<unsigned>(qRed(p)), static_cast<unsigned>(qGreen(p)),
               static_cast<unsigned>(qBlue(p)));
}

// 0x00RRGGBB as the colour value 0x00BBGGRR.
TColor FromRgb(uint32_t rgb) {
    return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class BmpTest : public ::testing::Test {
protected:
    void SetUp() override { test::StartGui(); }
};

TEST_F(BmpTest, WritesTwentyFourBitRowsBottomUpPaddedToFourBytes) {
    TBitmap b(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            b.Canvas().SetPixel(x, y, RGB(x * 40, y * 80, 200));
    TMemoryStream out;
    b.SaveToStream(out);
    const std::vector<uint8_t>& bytes = out.Bytes();
    const std::size_t stride = 16; // 15 bytes of pixels, one of padding
    ASSERT_EQ(bytes.size(), 54 + 3 * stride);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Get32(bytes, 2), bytes.size());
    EXPECT_EQ(Get32(bytes, 10), 54u);
    EXPECT_EQ(Get32(bytes, 14), 40u);
    EXPECT_EQ(Get32(bytes, 18), 5u);
    EXPECT_EQ(Get32(bytes, 22), 3u); // positive: bottom-up
    EXPECT_EQ(bytes[26], 1);
    EXPECT_EQ(bytes[28], 24);
    EXPECT_EQ(Get32(bytes, 30), 0u);
    // The first stored row is the bottom one; blue, green, red per pixel; padding is zero.
    EXPECT_EQ(bytes[54], 200);
    EXPECT_EQ(bytes[55], 160);
    EXPECT_EQ(bytes[56], 0);
    EXPECT_EQ(bytes[54 + 3 * 4 + 2], 160);
    EXPECT_EQ(bytes[54 + 15], 0);
    EXPECT_EQ(bytes[54 + 2 * stride + 1], 0); // top row, green 0

    TBitmap back;
    TMemoryStream in(bytes);
    back.LoadFromStream(in);
    ASSERT_EQ(back.Width(), 5);
    ASSERT_EQ(back.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(back.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

TEST_F(BmpTest, ReadingTakesExactlyTheDeclaredSizeFromALongerStream) {
    std::vector<uint8_t> bytes = MakeBmp({.width = 2, .height = 2, .bit_count = 24});
    const std::size_t size = bytes.size();
    bytes.insert(bytes.end(), {1, 2, 3});
    TMemoryStream in(bytes);
    TBitmap b;
    b.LoadFromStream(in);
    EXPECT_EQ(in.Position(), static_cast<int64_t>(size));
    EXPECT_EQ(in.ReadByte(), 1);
}

TEST_F(BmpTest, AnEmptyBitmapWritesNothing) {
    TMemoryStream out;
    TBitmap().SaveToStream(out);
    EXPECT_EQ(out.Size(), 0);
}

TEST_F(BmpTest, OneBitRowsBothWays) {
    for (const int32_t h : {3, -3}) {
        BmpSpec s{.width = 11, .height = h, .bit_count = 1, .palette = {0x102030, 0xF0E0D0}};
        s.pixel = [](int x, int y) { return static_cast<uint32_t>((x + y) % 3 == 0); };
        const QImage image = DecodeBmp(MakeBmp(s));
        ASSERT_EQ(image.width(), 11);
        ASSERT_EQ(image.height(), 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 11; ++x)
                EXPECT_EQ(At(image, x, y), FromRgb((x + y) % 3 == 0 ? 0xF0E0D0 : 0x102030))
                    << h << ":" << x << "," << y;
    }
}

TEST_F(BmpTest, FourBitHighNibbleFirst) {
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 16; ++i)
        palette.push_back(i * 0x0F0F0F);
    BmpSpec s{.width = 5, .height = -2, .bit_count = 4, .palette = palette};
    s.pixel = [](int x, int y) { return static_cast<uint32_t>(x * 3 + y) & 0xF; };
    const QImage image = DecodeBmp(MakeBmp(s));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(At(image, x, y), FromRgb(((x * 3 + y) & 0xF) * 0x0F0F0F)) << x << "," << y;
}

TEST_F(BmpTest, EightBitWithAShortColourTable) {
    BmpSpec s{.width = 3,
              .height = 2,
              .bit_count = 8,
              .palette = {0xFF0000, 0x00FF00, 0x0000FF},
              .colors_used = 3};
    s.pixel = [](int x, int y) { return static_cast<uint32_t>((x + y) % 3); };
    const QImage image = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(At(image, 0, 0), clRed);
    EXPECT_EQ(At(image, 1, 0), clLime);
    EXPECT_EQ(At(image, 2, 0), clBlue);
    EXPECT_EQ(At(image, 0, 1), clLime);
}

TEST_F(BmpTest, CoreHeaderWithThreeByteColourTable) {
    BmpSpec s{.width = 2, .height = 2, .bit_count = 8, .info_size = 12};
    s.palette.resize(256, 0);
    s.palette[7] = 0x123456;
    s.pixel = [](int x, int y) { return x == 1 && y == 0 ? 7u : 0u; };
    const QImage image = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(At(image, 1, 0), FromRgb(0x123456));
    EXPECT_EQ(At(image, 0, 0), clBlack);
}

TEST_F(BmpTest, SixteenBitIsFiveFiveFiveUnlessBitFieldsSayOtherwise) {
    BmpSpec s{.width = 3, .height = 1, .bit_count = 16};
    const uint32_t values[] = {0x7C00, 0x03E0, 0x001F};
    s.pixel = [&](int x, int) { return values[x]; };
    const QImage plain = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(At(plain, 0, 0), clRed);
    EXPECT_EQ(At(plain, 1, 0), clLime);
    EXPECT_EQ(At(plain, 2, 0), clBlue);

    BmpSpec f{.width = 3,
              .height = -1,
              .bit_count = 16,
              .compression = 3,
              .masks = {0xF800, 0x07E0, 0x001F}};
    const uint32_t v565[] = {0xF800, 0x07E0, 0x0400}; // red, green, 32 of 63 green
    f.pixel = [&](int x, int) { return v565[x]; };
    const QImage fields = DecodeBmp(MakeBmp(f));
    EXPECT_EQ(At(fields, 0, 0), clRed);
    EXPECT_EQ(At(fields, 1, 0), clLime);
    EXPECT_EQ(At(fields, 2, 0), RGB(0, 0x82, 0)); // 32 of 63 green
}

TEST_F(BmpTest, TwentyFourBitTopDown) {
    BmpSpec s{.width = 2, .height = -2, .bit_count = 24};
    s.pixel = [](int x, int y) { return static_cast<uint32_t>(0x010203 * (1 + x + 2 * y)); };
    const QImage image = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(At(image, 0, 0), FromRgb(0x010203));
    EXPECT_EQ(At(image, 1, 1), FromRgb(0x04080C)); // 4 * 0x010203
}

TEST_F(BmpTest, ThirtyTwoBitPlainAndWithMasksInAVersionFiveHeader) {
    BmpSpec s{.width = 2, .height = 1, .bit_count = 32};
    s.pixel = [](int x, int) { return x == 0 ? 0xAA112233u : 0x00FF0000u; };
    const QImage plain = DecodeBmp(MakeBmp(s));
    EXPECT_EQ(At(plain, 0, 0), FromRgb(0x112233));
    EXPECT_EQ(At(plain, 1, 0), clRed);

    // Red in the low byte, as some writers store RGBA.
    BmpSpec f{.width = 2,
              .height = 1,
              .bit_count = 32,
              .compression = 3,
              .info_size = 124,
              .masks = {0x000000FF, 0x0000FF00, 0x00FF0000}};
    f.pixel = [](int x, int) { return x == 0 ? 0xFF0000FFu : 0xFF332211u; };
    const QImage fields = DecodeBmp(MakeBmp(f));
    EXPECT_EQ(At(fields, 0, 0), clRed);
    EXPECT_EQ(At(fields, 1, 0), RGB(0x11, 0x22, 0x33));
}

TEST_F(BmpTest, BitFieldsAfterAFortyByteHeader) {
    BmpSpec f{.width = 1,
              .height = 1,
              .bit_count = 32,
              .compression = 3,
              .masks = {0x0000FF00, 0x00FF0000, 0xFF000000}};
    f.pixel = [](int, int) { return 0x10203040u; };
    EXPECT_EQ(At(DecodeBmp(MakeBmp(f)), 0, 0), RGB(0x30, 0x20, 0x10));
}

TEST_F(BmpTest, DeclaredSizeOfTheFileHeader) {
    const std::vector<uint8_t> bytes = MakeBmp({.width = 3, .height = 3});
    EXPECT_EQ(BmpDeclaredSize(bytes), bytes.size());
    const uint8_t not_bmp[14] = {'B', 'A', 9, 9, 9, 9};
    EXPECT_EQ(BmpDeclaredSize(not_bmp), 0u);
    EXPECT_EQ(BmpDeclaredSize(std::span<const uint8_t>(bytes.data(), 13)), 0u);
}

// ---- refusals ---------------------------------------------------------------------------------

class BmpRefusalTest : public BmpTest {
protected:
    static void ExpectRefused(const std::vector<uint8_t>& bytes, const char* what) {
        EXPECT_THROW((void)DecodeBmp(bytes), EInvalidGraphic) << what;
        // Through the bitmap, which reads the declared size from a stream first.
        TMemoryStream in(bytes);
        TBitmap b;
        EXPECT_THROW(b.LoadFromStream(in), Exception) << what;
    }
    static std::vector<uint8_t> Good() {
        return MakeBmp(
            {.width = 4, .height = 4, .bit_count = 8, .palette = {0, 0xFFFFFF}, .colors_used = 2});
    }
};

TEST_F(BmpRefusalTest, WrongSignatureAndTooShort) {
    std::vector<uint8_t> b = Good();
    b[1] = 'A';
    ExpectRefused(b, "signature");
    ExpectRefused({}, "nothing");
    const std::vector<uint8_t> good = Good();
    ExpectRefused(std::vector<uint8_t>(good.begin(), good.begin() + 20), "headers cut");
}

TEST_F(BmpRefusalTest, ZeroNegativeAndHugeDimensions) {
    // A good 1 x 1 picture with other dimensions written over its own.
    auto with = [](uint32_t width, uint32_t height) {
        std::vector<uint8_t> b = MakeBmp({.width = 1, .height = 1});
        test::Put32(b, 18, width);
        test::Put32(b, 22, height);
        return b;
    };
    for (const int32_t w : {0, -4, 32769, INT32_MIN})
        ExpectRefused(with(static_cast<uint32_t>(w), 1), "width");
    for (const int32_t h : {0, 32769, -32769, INT32_MIN})
        ExpectRefused(with(1, static_cast<uint32_t>(h)), "height");
}

TEST_F(BmpRefusalTest, SizesWhoseProductOverflowsDoNotAllocate) {
    // 32768 x 32768 at 32 bits would be 4 GiB of pixels: the data is not there, so no picture.
    std::vector<uint8_t> b = MakeBmp({.width = 1, .height = 1, .bit_count = 32});
    test::Put32(b, 18, 32768);
    test::Put32(b, 22, 32768);
    ExpectRefused(b, "huge");
    test::Put32(b, 22, static_cast<uint32_t>(-32768));
    ExpectRefused(b, "huge top-down");
}

TEST_F(BmpRefusalTest, UnknownDepthsPlanesCompressionAndHeaders) {
    for (const uint16_t bits : {0, 2, 7, 48, 64})
        ExpectRefused(MakeBmp({.width = 2, .height = 2, .bit_count = bits}), "bit count");
    ExpectRefused(MakeBmp({.width = 2, .height = 2, .planes = 2}), "planes");
    ExpectRefused(
        MakeBmp({.width = 2, .height = 2, .bit_count = 8, .compression = 1, .palette = {0, 1}}),
        "RLE8");
    ExpectRefused(
        MakeBmp({.width = 2, .height = 2, .bit_count = 24, .compression = 3, .masks = {1, 2, 4}}),
        "bit fields on 24 bits");
    std::vector<uint8_t> b = Good();
    test::Put32(b, 14, 11);
    ExpectRefused(b, "info size 11");
    test::Put32(b, 14, 39);
    ExpectRefused(b, "info size 39");
    test::Put32(b, 14, 0xFFFFFFF0u);
    ExpectRefused(b, "info size past the end");
}

TEST_F(BmpRefusalTest, TruncatedPixelsPaletteAndMasks) {
    std::vector<uint8_t> b = Good();
    b.pop_back();
    test::Put32(b, 2, static_cast<uint32_t>(b.size()));
    ExpectRefused(b, "pixels one byte short");

    std::vector<uint8_t> far = Good();
    test::Put32(far, 10, static_cast<uint32_t>(far.size() + 1));
    ExpectRefused(far, "pixel offset past the end");
    test::Put32(far, 10, 0xFFFFFFFFu);
    ExpectRefused(far, "pixel offset huge");

    // An 8-bit picture whose colour table (256 entries by default) runs off the end.
    std::vector<uint8_t> palette = MakeBmp({.width = 1, .height = 1, .bit_count = 8});
    ExpectRefused(palette, "colour table missing");

    // Bit fields declared after a 40-byte header, but the file ends right after the header.
    std::vector<uint8_t> masks(54, 0);
    masks[0] = 'B';
    masks[1] = 'M';
    test::Put32(masks, 2, 54);
    test::Put32(masks, 14, 40);
    test::Put32(masks, 18, 1);
    test::Put32(masks, 22, 1);
    test::Put16(masks, 26, 1);
    test::Put16(masks, 28, 32);
    test::Put32(masks, 30, 3);
    ExpectRefused(masks, "masks missing");
}

TEST_F(BmpRefusalTest, DeclaredSizeThatTheStreamDoesNotHoldOrThatIsTooSmall) {
    std::vector<uint8_t> b = Good();
    test::Put32(b, 2, static_cast<uint32_t>(b.size() + 1));
    TMemoryStream longer(b);
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromStream(longer), Exception);

    test::Put32(b, 2, 0xFFFFFFFFu);
    TMemoryStream huge(b);
    EXPECT_THROW(bitmap.LoadFromStream(huge), Exception);

    for (const uint32_t small : {0u, 13u, 14u, 60u}) {
        test::Put32(b, 2, small);
        TMemoryStream in(b);
        EXPECT_THROW(bitmap.LoadFromStream(in), Exception) << small;
    }
    TMemoryStream short_header(std::vector<uint8_t>(b.begin(), b.begin() + 10));
    EXPECT_THROW(bitmap.LoadFromStream(short_header), Exception);
}

} // namespace
} // namespace vd
