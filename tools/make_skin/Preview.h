#pragma once

#include <QImage>

namespace vd::art {

struct SkinParts {
    QImage background;
    QImage transport;
    QImage playlist_buttons;
    QImage round_button;
    QImage thumb;
    QImage cell;
};

// The window as the player would show it at rest (normal button images, a thumb part-way,
// a half-full row meter, sample captions and playlist lines), doubled, on a desktop-like
// backdrop where the window is cut away.
[[nodiscard]] QImage previewWindow(const SkinParts& parts);

// Every state strip, enlarged four times, one under the other.
[[nodiscard]] QImage previewStrips(const SkinParts& parts, const QImage& menu_thumbs);

} // namespace vd::art
