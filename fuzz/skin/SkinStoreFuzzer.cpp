// Any bytes given to the skin store either load or fail with the program's own error, never
// crash or allocate without bound; what loads writes out and reads back the same.

#include "framework/Stream.h"
#include "skin/VsGraphics.h"

#include "fuzz/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

using vd::fuzz::Check;

namespace {

std::vector<uint8_t> Save(const vd::TVsGraphics& graphics) {
    vd::TMemoryStream out;
    graphics.SaveToStream(out);
    return out.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vd::TVsGraphics graphics;
    int notices = 0;
    graphics.OnChange = [&](vd::TVsPersistent*) { ++notices; };
    vd::TMemoryStream in(std::span<const uint8_t>(data, size));
    try {
        graphics.LoadFromStream(in);
    } catch (const vd::Exception&) {
        Check(graphics.UpdateCount() == 0);
        return 0;
    }
    Check(in.Position() <= static_cast<int64_t>(size));
    Check(notices == 1 + graphics.Count()); // the clear, then one per graphic

    const std::vector<uint8_t> saved = Save(graphics);
    vd::TVsGraphics back;
    vd::TMemoryStream again(saved);
    back.LoadFromStream(again); // must not fail on what we wrote
    Check(again.Position() == static_cast<int64_t>(saved.size()));
    Check(back.Count() == graphics.Count());
    for (int32_t i = 0; i < graphics.Count(); ++i) {
        const vd::TVsGraphic* a = graphics.Items(i);
        const vd::TVsGraphic* b = back.Items(i);
        Check(a->Name() == b->Name());
        Check(a->Bitmap().Width() == b->Bitmap().Width());
        Check(a->Bitmap().Height() == b->Bitmap().Height());
        Check(graphics.IndexOf(a->Name()) <= i);
    }
    Check(Save(back) == saved);
    return 0;
}
