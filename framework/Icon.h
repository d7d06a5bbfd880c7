#pragma once

#include "framework/Graphics.h"

#include <memory>
#include <string>
#include <vector>

class QIcon;
class QImage;

namespace vd {

class TImageList;

// An icon: one picture in as many sizes as it comes in, so that a desktop asking for 16, 22, 24
// or 32 pixels gets a picture drawn for that size rather than a shrunken one. Tells its owner
// (OnChange) whenever its pictures change.
class TIcon : public TGraphicsObject {
public:
    TIcon();
    TIcon(const TIcon& other);
    TIcon& operator=(const TIcon& other);
    ~TIcon() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] bool Empty() const;
    // The widths of its pictures, smallest first.
    [[nodiscard]] std::vector<int> Sizes() const;

    // Reads a picture file (a resource path ":/..." or a file). A file named for its size,
    // "name-48.png", brings along its siblings of the other sizes ("name-16.png", ...). Throws
    // EInvalidGraphic when the file cannot be read.
    void LoadFromFile(const std::string& path);
    // Picture `index` of `list`, with its transparency; an index out of range empties the icon.
    void LoadFromImageList(const TImageList& list, int index);
    void Clear();

    // framework: the pictures as the platform takes them.
    [[nodiscard]] QIcon ToQIcon() const;
    [[nodiscard]] const std::vector<QImage>& Images() const;

    friend bool operator==(const TIcon& a, const TIcon& b);

private:
    struct Pictures;
    std::unique_ptr<Pictures> pictures_;
};

} // namespace vd
