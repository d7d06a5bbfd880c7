#include "skin/VsMask.h"

#include "framework/Graphics.h"
#include "framework/ScreenCursor.h"

namespace vd {

void TRgnData::SetSize(int32_t size) {
    if (size < 0)
        size = 0;
    if (size == Size())
        return;
    data_.resize(static_cast<std::size_t>(size));
    if (size == 0)
        data_.shrink_to_fit();
}

std::vector<TRect> MaskRuns(int offset_x, int offset_y, const TBitmap& bitmap, TColor mask_color) {
    std::vector<TRect> runs;
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    std::vector<TColor> row(static_cast<std::size_t>(std::max(0, w)));
    for (int y = 0; y < h; ++y) {
        bitmap.ReadRow(y, row);
        int x = 0;
        while (true) {
            while (x <= w - 1 && row[static_cast<std::size_t>(x)] == mask_color)
                ++x;
            const int start = x;
            ++x;
            while (x <= w - 1 && row[static_cast<std::size_t>(x)] != mask_color)
                ++x;
            const int end = x;
            if (start < w - 1)
                runs.push_back({offset_x + start, offset_y + y, offset_x + end, offset_y + y + 1});
            if (x >= w - 1)
                break;
        }
    }
    return runs;
}

void BuildMaskRegion(int offset_x, int offset_y, const TBitmap& bitmap, TRgnData& region_data,
                     TColor mask_color) {
    TScreenCursorScope busy(crHourGlass);
    const std::vector<TRect> runs = MaskRuns(offset_x, offset_y, bitmap, mask_color);
    if (runs.empty())
        return;
    const std::vector<uint8_t> data = TRegion::Union(runs).Data();
    region_data.SetSize(static_cast<int32_t>(data.size()));
    std::copy(data.begin(), data.end(), region_data.Data());
}

} // namespace vd
