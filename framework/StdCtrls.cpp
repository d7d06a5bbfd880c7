#include "framework/StdCtrls.h"

namespace vd {

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetControlStyle(ControlStyle() | csOpaque);
}

TCustomLabel::~TCustomLabel() {
    BeginDestruction();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (alignment_ == value)
        return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (auto_size_ == value)
        return;
    auto_size_ = value;
    AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (layout_ == value)
        return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (show_accel_char_ == value)
        return;
    show_accel_char_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (transparent_ == value)
        return;
    transparent_ = value;
    // A transparent label leaves what lies beneath it to be painted first.
    SetControlStyle(value ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (word_wrap_ == value)
        return;
    word_wrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    if (focus_control_ == control)
        return;
    if (focus_control_ != nullptr)
        focus_control_->RemoveFreeNotification(this);
    focus_control_ = control;
    if (control != nullptr)
        control->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focus_control_)
        focus_control_ = nullptr;
}

unsigned TCustomLabel::DrawTextFlags() const {
    unsigned flags = DT_EXPANDTABS | (word_wrap_ ? DT_WORDBREAK : 0u);
    if (!show_accel_char_)
        flags |= DT_NOPREFIX;
    switch (alignment_) {
    case TAlignment::taLeftJustify:
        break;
    case TAlignment::taRightJustify:
        flags |= DT_RIGHT;
        break;
    case TAlignment::taCenter:
        flags |= DT_CENTER;
        break;
    }
    return flags;
}

void DrawLabelCaption(TCanvas& canvas, const std::string& text, const TFont& font, bool enabled,
                      TRect& r, unsigned flags) {
    canvas.Font().Assign(&font);
    if ((flags & DT_CALCRECT) != 0 || enabled) {
        canvas.DrawText(text, r, flags);
        return;
    }
    r = r.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, r, flags);
    r = r.Offset(-1, -1);
    canvas.Font().SetColor(clBtnShadow);
    canvas.DrawText(text, r, flags);
}

void TCustomLabel::DoDrawText(TCanvas& canvas, TRect& r, unsigned flags) {
    DrawLabelCaption(canvas, Caption(), Font(), Enabled(), r, flags);
}

void TCustomLabel::AdjustBounds() {
    if (Loading() || !auto_size_)
        return;
    // Measured on a scratch picture: the size is the font's, whatever the label shows.
    TBitmap scratch(1, 1);
    TRect r = ClientRect();
    DoDrawText(scratch.Canvas(), r, DrawTextFlags() | DT_CALCRECT);
    int x = Left();
    if (alignment_ == TAlignment::taRightJustify)
        x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::Paint() {
    TCanvas& c = Canvas();
    if (!transparent_) {
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(Color());
        c.FillRect(ClientRect());
    }
    c.Brush().SetStyle(TBrushStyle::bsClear);
    TRect r = ClientRect();
    const unsigned flags = DrawTextFlags();
    if (layout_ != TTextLayout::tlTop) {
        TRect measured = r;
        DoDrawText(c, measured, flags | DT_CALCRECT);
        const int free = Height() - measured.Height();
        r = r.Offset(0, layout_ == TTextLayout::tlBottom ? free : free / 2);
    }
    DoDrawText(c, r, flags);
}

void TCustomLabel::TextChanged() {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

} // namespace vd
