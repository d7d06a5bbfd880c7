#pragma once

#include "framework/Graphics.h"
#include "skin/VsClasses.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vd {

class TStream;

// The skin store's data is not in its format.
class EVsSkinFormatError : public Exception {
public:
    using Exception::Exception;
};

// One named bitmap of a skin.
class TVsGraphic : public TVsPersistent {
public:
    TVsGraphic() = default;

    [[nodiscard]] const std::string& Name() const { return name_; }
    void SetName(std::string_view name) { name_ = name; }
    TBitmap& Bitmap() { return bitmap_; }
    [[nodiscard]] const TBitmap& Bitmap() const { return bitmap_; }

    // From another graphic: its name and an independent copy of its bitmap, in one bracket.
    // From anything else (or nothing): nothing, and no error.
    void Assign(const TPersistent* source) override;

private:
    std::string name_;
    TBitmap bitmap_;
};

// The ordered, owning collection of a skin's graphics, and its stored form:
//   magic 0x04B2FDB6, count, then per graphic: name length, name bytes, an empty flag byte
//   (0: a BMP file image follows) and the BMP file image; all integers 32-bit little-endian.
class TVsGraphics : public TVsPersistent {
public:
    static constexpr uint32_t kMagic = 0x04B2FDB6;

    TVsGraphics() = default;
    ~TVsGraphics() override;
    TVsGraphics(const TVsGraphics&) = delete;
    TVsGraphics& operator=(const TVsGraphics&) = delete;

    [[nodiscard]] int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // The graphic at `index`; fails with EListError out of range.
    [[nodiscard]] TVsGraphic* Items(int32_t index) const;
    // Appends a copy of `source` (an empty graphic for none) and notifies; returns its index.
    int32_t Add(const TVsGraphic* source);
    void Delete(int32_t index);
    // Deletes every graphic inside one bracket: one notification.
    void Clear();
    // The first graphic whose name equals `name` without regard to case, or -1.
    [[nodiscard]] int32_t IndexOf(std::string_view name) const;

    // From nothing: Clear. From another collection: a copy of each graphic, in one bracket.
    void Assign(const TPersistent* source) override;

    // Replaces the contents with the stored form read from `stream`. A wrong magic fails with
    // "Invalid file format."; a record that does not fit in what remains fails with
    // EVsSkinFormatError; graphics read before a failing record stay.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    // The binary property "Graphics" as a layout stores it: written only when there is a graphic.
    [[nodiscard]] bool StoresData() const { return Count() > 0; }
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

private:
    std::vector<std::unique_ptr<TVsGraphic>> items_;
};

} // namespace vd
