#include "skin/VsClipGraphicControl.h"

#include "skin/VsGraphics.h"
#include "skin/VsSysUtils.h"

namespace vd {

TVsClipGraphicControl::TVsClipGraphicControl(TComponent* owner) : TVsSkinGraphicControl(owner) {
    clip_rect_.OnChange = [this](TVsPersistent*) { ClipRectChanged(); };
}

TVsClipGraphicControl::~TVsClipGraphicControl() {
    // The control that derived from this one is gone: no notice may reach it.
    clip_rect_.OnChange = nullptr;
}

void TVsClipGraphicControl::SetGraphicName(std::string_view name) {
    if (!StoreIfChanged(graphic_name_, name))
        return;
    UpdateGraphic(true);
}

void TVsClipGraphicControl::UpdateGraphic(bool reload) {
    graphic_ = Skin() != nullptr ? Skin()->FindGraphic(graphic_name_) : nullptr;
    if (graphic_ != nullptr && reload)
        clip_rect_.SetRect({0, 0, graphic_->Bitmap().Width(), graphic_->Bitmap().Height()});
    GraphicUpdated();
}

void TVsClipGraphicControl::SetMaskColor(TColor color) {
    if (StoreIfChanged(mask_color_, color))
        RepaintFace();
}

TRect TVsClipGraphicControl::ClipImage(int index, int width, int height) const {
    const int sx = index * width + clip_rect_.Left();
    const int sy = clip_rect_.Top();
    return {sx, sy, sx + width, sy + height};
}

void TVsClipGraphicControl::DrawMasked(const TRect& dest, const TBitmap& bitmap,
                                       const TRect& source) {
    SetMaskBrush(FaceCanvas().Brush(), mask_color_);
    FaceCanvas().BrushCopy(dest, bitmap, source, mask_color_);
}

} // namespace vd
