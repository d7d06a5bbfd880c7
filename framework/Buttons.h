#pragma once

#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace vd {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where a button's glyph and caption go: the glyph's top-left corner and the caption's
// rectangle, for a client of width x height, glyph gw x gh, caption tw x th and the spacing
// between them (used only when there is a caption).
struct TButtonGlyphPlace {
    TPoint glyph;
    TRect caption;
};
[[nodiscard]] TButtonGlyphPlace PlaceButtonGlyph(int width, int height, int gw, int gh, int tw,
                                                 int th, int spacing, TButtonLayout layout);

// A window-less push button with a glyph and a caption. Flat, it shows its frame only while the
// mouse is over it; transparent, its parent shows through at rest. `Down` holds it pressed.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    [[nodiscard]] bool Flat() const { return flat_; }
    void SetFlat(bool value);
    [[nodiscard]] bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // A strip of NumGlyphs pictures side by side: up, disabled, pressed, down. The bottom-left
    // pixel's colour is transparent.
    [[nodiscard]] const TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap& glyph);
    [[nodiscard]] int NumGlyphs() const { return num_glyphs_; }
    void SetNumGlyphs(int value);
    [[nodiscard]] TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    [[nodiscard]] int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    [[nodiscard]] bool Down() const { return down_; }
    void SetDown(bool value);

    // The mouse is over the button; the left button is held on it.
    [[nodiscard]] bool MouseInControl() const { return mouse_in_; }
    [[nodiscard]] bool Pressed() const { return pressed_; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    // The glyph for the button's state (up, disabled, pressed or down) at `dest`.
    void PaintGlyph(const TRect& dest, bool sunken);
    // The caption in `r`, centred on its height; embossed while disabled.
    void PaintCaption(TRect r, int text_height);

    TBitmap glyph_;
    int num_glyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int spacing_ = 4;
    bool flat_ = false;
    bool transparent_ = true;
    bool down_ = false;
    bool mouse_in_ = false;
    bool pressed_ = false;
};

} // namespace vd
