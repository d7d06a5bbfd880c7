#include "framework/Colors.h"

#include <array>

namespace vd {

namespace {

constexpr std::array<TColor, kSystemColorCount> kClassicScheme = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225), RGB(192, 192, 192), RGB(0, 0, 128),     RGB(166, 202, 240),
    RGB(192, 192, 192), RGB(49, 106, 197),  RGB(236, 233, 216),
};

std::array<TColor, kSystemColorCount>& Table() {
    static std::array<TColor, kSystemColorCount> table = kClassicScheme;
    return table;
}

} // namespace

void SystemColors::Set(int index, TColor rgb) {
    if (index >= 0 && index < kSystemColorCount)
        Table()[static_cast<std::size_t>(index)] = rgb & 0xFFFFFF;
}

TColor SystemColors::Get(int index) {
    if (index < 0 || index >= kSystemColorCount)
        return 0;
    return Table()[static_cast<std::size_t>(index)];
}

void SystemColors::SetClassic() {
    Table() = kClassicScheme;
}

TColor ColorToRGB(TColor color) {
    if (color == clNone || color == clDefault)
        return clBlack;
    if (IsSystemColor(color))
        return SystemColors::Get(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

} // namespace vd
