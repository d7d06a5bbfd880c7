#pragma once

#include "framework/Controls.h"

namespace vd {

class TWinControl;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// A window-less text label: its caption in its font, aligned in its rectangle, optionally word
// wrapped; sized to its caption while AutoSize is on; its background filled with its colour
// unless it is transparent. A disabled label shows its caption embossed.
// Draws a label's caption in `font` into `r` with DrawText `flags`; a disabled caption is
// embossed (a highlight copy one pixel down-right under a shadow copy). With DT_CALCRECT it only
// measures. Shared by the framework's label and the skinned one.
void DrawLabelCaption(TCanvas& canvas, const std::string& text, const TFont& font, bool enabled,
                      TRect& r, unsigned flags);

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);
    ~TCustomLabel() override;

    [[nodiscard]] TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    [[nodiscard]] bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool value);
    [[nodiscard]] TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    [[nodiscard]] bool ShowAccelChar() const { return show_accel_char_; }
    void SetShowAccelChar(bool value);
    [[nodiscard]] bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    [[nodiscard]] bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool value);
    // The control a press of the caption's accelerator focuses.
    [[nodiscard]] TWinControl* FocusControl() const { return focus_control_; }
    void SetFocusControl(TWinControl* control);

    // Sizes the label to its caption when AutoSize is on (not while loading).
    void AdjustBounds();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    // The drawing format: alignment, tab expansion, word breaking, prefix processing.
    [[nodiscard]] unsigned DrawTextFlags() const;
    // Draws (or with DT_CALCRECT measures into `r`) the caption on `canvas` in the label's
    // font; disabled, embossed.
    virtual void DoDrawText(TCanvas& canvas, TRect& r, unsigned flags);
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool auto_size_ = true;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool show_accel_char_ = true;
    bool transparent_ = false;
    bool word_wrap_ = false;
    TWinControl* focus_control_ = nullptr;
};

} // namespace vd
