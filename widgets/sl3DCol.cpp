#include "widgets/sl3DCol.h"

#include <algorithm>

namespace vd {

namespace {

// GUI thread only: valid between one push and its pop around a bevel call.
Tsl3DLocalColors* g_current = nullptr;

} // namespace

Tsl3DLocalColors::Tsl3DLocalColors() : TComponent(nullptr) {}

Tsl3DLocalColors::~Tsl3DLocalColors() {
    BeginDestruction();
    g_current = nullptr;
}

Tsl3DLocalColors* Current3DColors() {
    return g_current;
}

void Derive3DColors(Tsl3DLocalColors& colors, TColor base) {
    const TColor rgb = ColorToRGB(base);
    const int r = static_cast<int>(GetRValue(rgb));
    const int g = static_cast<int>(GetGValue(rgb));
    const int b = static_cast<int>(GetBValue(rgb));
    const int dark = colors.ShadowDelta();
    const int light = colors.HighlightDelta();
    auto darker = [dark](int c) { return static_cast<unsigned>(std::max(c - dark, 0)); };
    auto lighter = [light](int c) { return static_cast<unsigned>(std::min(c + light, 255)); };
    colors.SetShadow(RGB(darker(r), darker(g), darker(b)));
    colors.SetHighlight(RGB(lighter(r), lighter(g), lighter(b)));
}

void Push3DColors(Tsl3DLocalColors& colors) {
    colors.saved_ = g_current;
    g_current = &colors;
}

void Pop3DColors(Tsl3DLocalColors& colors) {
    g_current = colors.saved_;
}

} // namespace vd
