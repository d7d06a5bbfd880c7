// Any bytes given to the GIF reader either decode or fail with the program's own error; what
// decodes is no larger than the reader allows, and its transparent colour, when it has one, is
// the colour of no other pixel than the see-through ones (so a masked copy leaves out exactly
// those).

#include "framework/GifImage.h"

#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using vd::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vd::TGifPicture picture;
    try {
        picture = vd::DecodeGif(std::span<const std::uint8_t>(data, size));
    } catch (const vd::Exception&) {
        return 0;
    }
    Check(!picture.bitmap.Empty());
    Check(picture.bitmap.Width() <= 4096 && picture.bitmap.Height() <= 4096);
    if (picture.transparent_color != vd::clNone)
        Check((picture.transparent_color & 0xFF000000u) == 0);
    return 0;
}
