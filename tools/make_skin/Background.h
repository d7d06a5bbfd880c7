#pragma once

#include <QImage>

namespace vd::art {

// The window's outline as a coverage image (255 = part of the window), 518 x 425.
[[nodiscard]] QImage skinShape();

// "playerSkin.bmp": the face of the main window; pixels outside `shape` are the mask colour.
[[nodiscard]] QImage drawBackground(const QImage& shape);

} // namespace vd::art
