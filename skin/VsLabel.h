#pragma once

#include "skin/VsSkin.h"

namespace vd {

enum class TVsAlignment { vaLeftJustify, vaRightJustify, vaCenter };
enum class TVsTextLayout { vlTop, vlCenter, vlBottom };

// A text label drawn over the skin with no background of its own; a left press on it drags the
// window.
class TVsLabel : public TVsSkinGraphicControl {
public:
    explicit TVsLabel(TComponent* owner);
    ~TVsLabel() override;

    [[nodiscard]] TVsAlignment Alignment() const { return alignment_; }
    void SetAlignment(TVsAlignment value);
    [[nodiscard]] bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool value);
    [[nodiscard]] TVsTextLayout Layout() const { return layout_; }
    void SetLayout(TVsTextLayout value);
    [[nodiscard]] bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool value);
    [[nodiscard]] bool FormDrag() const { return form_drag_; }
    void SetFormDrag(bool value) { form_drag_ = value; }

    // Sizes the label to its caption when AutoSize is on (not while loading).
    void AdjustBounds();
    void Loaded() override;

protected:
    // Draws (or with DT_CALCRECT measures into `r`) the caption on `canvas` in the label's font:
    // greyed with a highlight when disabled.
    void DoDrawText(TCanvas& canvas, TRect& r, unsigned flags);
    [[nodiscard]] unsigned TextFlags() const;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void TextChanged() override;
    void FontChanged() override;

private:
    TVsAlignment alignment_ = TVsAlignment::vaLeftJustify;
    bool auto_size_ = true;
    TVsTextLayout layout_ = TVsTextLayout::vlTop;
    bool word_wrap_ = false;
    bool form_drag_ = true;
};

} // namespace vd
