#pragma once

#include <QImage>

// State strips of the skinned buttons. Each strip row holds five images side by side, left to
// right: normal, pressed, disabled, disabled and down, hot. The buttons are copied opaque, so
// every image carries the skin beneath the button in its corners.
namespace vd::art {

// "2. buttons.bmp", 115 x 94: Next, Previous, Play, Pause, Stop, Eject at tops 0, 16, .., 80.
[[nodiscard]] QImage drawTransportButtons(const QImage& skin);

// "2. playlist_btn.bmp", 225 x 74: Add, Remove, Sort, Save, Load at tops 0, 15, .., 60.
[[nodiscard]] QImage drawPlaylistButtons(const QImage& skin);

// "RoundBtn.bmp", 45 x 8: the small round menu button.
[[nodiscard]] QImage drawRoundButton(const QImage& skin);

} // namespace vd::art
