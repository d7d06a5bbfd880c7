#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"

#include <cstdint>

namespace vd {

// A set of bevel colours a caller can put in place of the desktop's for the bevel routine:
// pushed before one bevel call and popped after it. Setters store without notifying.
class Tsl3DLocalColors : public TComponent {
public:
    Tsl3DLocalColors();
    // Clears Current3DColors(), whichever set it referred to.
    ~Tsl3DLocalColors() override;

    [[nodiscard]] TColor DkShadow() const { return dk_shadow_; }
    void SetDkShadow(TColor color) { dk_shadow_ = color; }
    [[nodiscard]] TColor Highlight() const { return highlight_; }
    void SetHighlight(TColor color) { highlight_ = color; }
    [[nodiscard]] TColor Shadow() const { return shadow_; }
    void SetShadow(TColor color) { shadow_ = color; }

    [[nodiscard]] uint8_t ShadowDelta() const { return shadow_delta_; }
    [[nodiscard]] uint8_t HighlightDelta() const { return highlight_delta_; }

private:
    friend void Push3DColors(Tsl3DLocalColors& colors);
    friend void Pop3DColors(Tsl3DLocalColors& colors);
    TColor dk_shadow_ = cl3DDkShadow;
    TColor highlight_ = clBtnHighlight;
    TColor shadow_ = clBtnShadow;
    uint8_t shadow_delta_ = 60;
    uint8_t highlight_delta_ = 60;
    Tsl3DLocalColors* saved_ = nullptr;
};

// The colour set the bevel routine uses instead of the desktop's, or nullptr. GUI thread.
[[nodiscard]] Tsl3DLocalColors* Current3DColors();

// Shadow := base darker by ShadowDelta, Highlight := base lighter by HighlightDelta, each channel
// clamped; DkShadow stays. System colours are resolved first.
void Derive3DColors(Tsl3DLocalColors& colors, TColor base);
// Makes `colors` current, remembering the set that was.
void Push3DColors(Tsl3DLocalColors& colors);
// Puts back the set that was current before the matching push.
void Pop3DColors(Tsl3DLocalColors& colors);

} // namespace vd
