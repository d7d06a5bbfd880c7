#pragma once

#include "framework/Graphics.h"

#include <cstdint>
#include <span>

namespace vd {

// A picture read from a GIF file (its first image): the pixels, and the colour that stands for
// the file's transparent colour (clNone when it has none). That colour is chosen so that no
// opaque pixel has it, so a masked copy with it leaves exactly the transparent pixels out.
struct TGifPicture {
    TBitmap bitmap;
    TColor transparent_color = clNone;
};

// Reads GIF data; fails with EInvalidGraphic when it is not a GIF image that can be read.
[[nodiscard]] TGifPicture DecodeGif(std::span<const uint8_t> data);

} // namespace vd
