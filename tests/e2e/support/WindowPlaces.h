#pragma once

// Where things are in the player's window with the skin it comes with, and the menus' measures,
// in window pixels at scale 1: the places tests click and look at.
namespace vd::e2e {

// The shown playlist and its row height.
inline constexpr int kListLeft = 6;
inline constexpr int kListTop = 224;
inline constexpr int kRowHeight = 15;

// The position slider and its thumb (the 40-pixel picture holds the enabled and the disabled
// thumb side by side): a click at x puts the thumb's middle there.
inline constexpr int kSliderLeft = 4;
inline constexpr int kSliderTop = 182;
inline constexpr int kSliderWidth = 295;
inline constexpr int kSliderHeight = 8;
inline constexpr int kThumbWidth = 20;

// A point of the skin that is neither a control nor cut away.
inline constexpr int kBareSkinX = 400;
inline constexpr int kBareSkinY = 60;

// The menus' own measures: a frame of 2 pixels, items 19 high.
inline constexpr int kMenuFrame = 2;
inline constexpr int kMenuItemHeight = 19;

} // namespace vd::e2e
