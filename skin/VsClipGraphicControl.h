#pragma once

#include "skin/VsClasses.h"
#include "skin/VsSkin.h"

#include <string>
#include <string_view>

namespace vd {

// Base of the skinned controls that draw from a clipped part of a named skin graphic (the button,
// the slider and the progress bar): the graphic's name and its lookup on the surface, the clip
// rectangle, the mask colour and the masked copy from the graphic onto the face. What each
// control derives from its graphic (its size, thumb or strip) it does in GraphicUpdated. GUI
// thread.
class TVsClipGraphicControl : public TVsSkinGraphicControl {
public:
    explicit TVsClipGraphicControl(TComponent* owner);
    ~TVsClipGraphicControl() override;

    [[nodiscard]] const std::string& GraphicName() const { return graphic_name_; }
    // A different name (compared exactly) looks the graphic up anew and resets the clip rectangle
    // to the whole graphic.
    void SetGraphicName(std::string_view name);
    TVsClipRect& ClipRect() { return clip_rect_; }
    [[nodiscard]] const TVsClipRect& ClipRect() const { return clip_rect_; }
    void SetClipRect(const TVsClipRect& value) { clip_rect_.Assign(&value); }
    // The surface's graphic of GraphicName as last looked up, or nullptr; not owned.
    [[nodiscard]] TVsGraphic* Graphic() const { return graphic_; }

    // Looks the graphic up on the surface (none without one); `reload` with a graphic found sets
    // the clip rectangle to the whole graphic; then GraphicUpdated.
    void UpdateGraphic(bool reload) override;

protected:
    // What the control derives from its graphic and clip rectangle, after every lookup.
    virtual void GraphicUpdated() {}
    // The clip rectangle's change notice (not sent while it is being assigned in one bracket
    // until the bracket closes); repaints unless the control says otherwise.
    virtual void ClipRectChanged() { RepaintFace(); }

    // The colour left transparent by DrawMasked; clNone copies opaque. The controls that draw
    // masked publish these two.
    [[nodiscard]] TColor MaskColor() const { return mask_color_; }
    void SetMaskColor(TColor color);

    // The image `index` of a row of images `width` × `height` side by side from the clip
    // rectangle's top-left corner, in the graphic's coordinates.
    [[nodiscard]] TRect ClipImage(int index, int width, int height) const;
    // Copies `source` of `bitmap` onto `dest` of the face, leaving out the pixels of the mask
    // colour (so that the captured background shows there).
    void DrawMasked(const TRect& dest, const TBitmap& bitmap, const TRect& source);

private:
    TVsGraphic* graphic_ = nullptr;
    std::string graphic_name_;
    TColor mask_color_ = clNone;
    TVsClipRect clip_rect_;
};

} // namespace vd
