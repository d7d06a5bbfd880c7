#include "skin/VsLabel.h"

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/VsSysUtils.h"

namespace vd {

TVsLabel::TVsLabel(TComponent* owner) : TVsSkinGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
}

TVsLabel::~TVsLabel() {
    BeginDestruction();
}

void TVsLabel::SetAlignment(TVsAlignment value) {
    if (StoreIfChanged(alignment_, value))
        RepaintFace();
}

void TVsLabel::SetAutoSize(bool value) {
    if (StoreIfChanged(auto_size_, value))
        AdjustBounds();
}

void TVsLabel::SetLayout(TVsTextLayout value) {
    if (StoreIfChanged(layout_, value))
        RepaintFace();
}

void TVsLabel::SetWordWrap(bool value) {
    if (!StoreIfChanged(word_wrap_, value))
        return;
    AdjustBounds();
    RepaintFace();
}

unsigned TVsLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS | (word_wrap_ ? DT_WORDBREAK : 0u);
    switch (alignment_) {
    case TVsAlignment::vaLeftJustify:
        break;
    case TVsAlignment::vaRightJustify:
        flags |= DT_RIGHT;
        break;
    case TVsAlignment::vaCenter:
        flags |= DT_CENTER;
        break;
    }
    return flags;
}

void TVsLabel::DoDrawText(TCanvas& canvas, TRect& r, unsigned flags) {
    DrawLabelCaption(canvas, Caption(), Font(), Enabled(), r, flags);
}

void TVsLabel::AdjustBounds() {
    if (Loading() || !auto_size_)
        return;
    // Measured on a scratch picture: the size is the font's, whatever the label shows.
    TBitmap scratch(1, 1);
    TRect r = ClientRect();
    DoDrawText(scratch.Canvas(), r, DT_EXPANDTABS | DT_CALCRECT | (word_wrap_ ? DT_WORDBREAK : 0u));
    int x = Left();
    if (alignment_ == TVsAlignment::vaRightJustify)
        x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TVsLabel::Loaded() {
    TVsSkinGraphicControl::Loaded();
    AdjustBounds();
}

void TVsLabel::Paint() {
    CaptureBackground();
    TCanvas& face = FaceCanvas();
    face.Brush().SetStyle(TBrushStyle::bsClear);
    TRect r = ClientRect();
    const unsigned flags = TextFlags();
    if (layout_ != TVsTextLayout::vlTop) {
        TRect c = r;
        DoDrawText(face, c, flags | DT_CALCRECT);
        const int offset =
            layout_ == TVsTextLayout::vlBottom ? Height() - c.Bottom : (Height() - c.Bottom) / 2;
        r = r.Offset(0, offset);
    }
    DoDrawText(face, r, flags);
    TVsSkinGraphicControl::Paint();
}

void TVsLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TVsSkinGraphicControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && form_drag_) {
        if (Parent() != nullptr)
            Parent()->ReleaseCapture();
        if (TForm* form = ParentForm())
            form->BeginWindowDrag(ClientToScreen({x, y}));
    }
}

void TVsLabel::TextChanged() {
    AdjustBounds();
    RepaintFace();
}

void TVsLabel::FontChanged() {
    TVsSkinGraphicControl::FontChanged();
    AdjustBounds();
}

} // namespace vd
