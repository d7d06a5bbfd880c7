#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Region.h"

#include <cstdint>
#include <vector>

namespace vd {

class TBitmap;

// The region data of a window's shape, as the platform gives it (header, then rectangles).
class TRgnData : public TPersistent {
public:
    [[nodiscard]] int32_t Size() const { return static_cast<int32_t>(data_.size()); }
    // Resizes the buffer to `size` bytes; 0 frees it.
    void SetSize(int32_t size);
    [[nodiscard]] uint8_t* Data() { return data_.data(); }
    [[nodiscard]] const std::vector<uint8_t>& Bytes() const { return data_; }
    // A platform region made from the data.
    [[nodiscard]] TRegion CreateRegion() const { return TRegion::FromData(data_); }

private:
    std::vector<uint8_t> data_;
};

// The rectangles of the runs of pixels in `bitmap` that differ from `mask_color`, one row at a
// time, offset by (offset_x, offset_y): a run that is a row's last pixel alone is left out.
[[nodiscard]] std::vector<TRect> MaskRuns(int offset_x, int offset_y, const TBitmap& bitmap,
                                          TColor mask_color);

// Builds the region of the pixels of `bitmap` that differ from `mask_color` (compared as raw
// values) into `region_data`; with no such pixel `region_data` stays empty. Shows the busy
// cursor while it scans.
void BuildMaskRegion(int offset_x, int offset_y, const TBitmap& bitmap, TRgnData& region_data,
                     TColor mask_color);

} // namespace vd
