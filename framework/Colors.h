#pragma once

#include <array>
#include <cstdint>

namespace vd {

// A colour is 0x00BBGGRR (red in the low byte). With the high bit set it names a system colour
// whose index is in the low byte, resolved to RGB when drawn. clNone means no colour at all.
using TColor = uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor kSystemColorFlag = 0x80000000;
inline constexpr int kSystemColorCount = 31;

inline constexpr TColor clScrollBar = kSystemColorFlag | 0;
inline constexpr TColor clBackground = kSystemColorFlag | 1;
inline constexpr TColor clActiveCaption = kSystemColorFlag | 2;
inline constexpr TColor clInactiveCaption = kSystemColorFlag | 3;
inline constexpr TColor clMenu = kSystemColorFlag | 4;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowFrame = kSystemColorFlag | 6;
inline constexpr TColor clMenuText = kSystemColorFlag | 7;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clCaptionText = kSystemColorFlag | 9;
inline constexpr TColor clActiveBorder = kSystemColorFlag | 10;
inline constexpr TColor clInactiveBorder = kSystemColorFlag | 11;
inline constexpr TColor clAppWorkSpace = kSystemColorFlag | 12;
inline constexpr TColor clHighlight = kSystemColorFlag | 13;
inline constexpr TColor clHighlightText = kSystemColorFlag | 14;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnShadow = kSystemColorFlag | 16;
inline constexpr TColor clGrayText = kSystemColorFlag | 17;
inline constexpr TColor clBtnText = kSystemColorFlag | 18;
inline constexpr TColor clInactiveCaptionText = kSystemColorFlag | 19;
inline constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
inline constexpr TColor cl3DDkShadow = kSystemColorFlag | 21;
inline constexpr TColor cl3DLight = kSystemColorFlag | 22;
inline constexpr TColor clInfoText = kSystemColorFlag | 23;
inline constexpr TColor clInfoBk = kSystemColorFlag | 24;
inline constexpr TColor clHotLight = kSystemColorFlag | 26;
inline constexpr TColor clGradientActiveCaption = kSystemColorFlag | 27;
inline constexpr TColor clGradientInactiveCaption = kSystemColorFlag | 28;
inline constexpr TColor clMenuHighlight = kSystemColorFlag | 29;
inline constexpr TColor clMenuBar = kSystemColorFlag | 30;

[[nodiscard]] constexpr TColor RGB(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
[[nodiscard]] constexpr unsigned GetRValue(TColor c) {
    return c & 0xFF;
}
[[nodiscard]] constexpr unsigned GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
[[nodiscard]] constexpr unsigned GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}
[[nodiscard]] constexpr bool IsSystemColor(TColor c) {
    return (c & kSystemColorFlag) != 0;
}

// The table system colours resolve through. Filled from the desktop's palette when the
// application starts; tests fix it with SetClassicSystemColors().
class SystemColors {
public:
    // GUI thread.
    static void Set(int index, TColor rgb);
    [[nodiscard]] static TColor Get(int index);
    // The classic desktop scheme, so that pictures do not depend on the desktop theme.
    static void SetClassic();
};

// A plain 0x00BBGGRR value: system colours looked up, clNone and clDefault as black.
[[nodiscard]] TColor ColorToRGB(TColor color);

} // namespace vd
