#pragma once

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/VsComposer.h"
#include "skin/VsMask.h"

#include <memory>
#include <string>

namespace vd {

class TForm;
class TVsGraphic;

// The face of a skinned window: paints the background graphic, cuts the window to the shape of
// its non-mask pixels, and drags the window by a left press. Parent of all skinned controls.
class TVsSkin : public TCustomControl {
public:
    explicit TVsSkin(TComponent* owner);
    ~TVsSkin() override;

    // Only a form can carry a skin; the form loses its border.
    void SetParent(TWinControl* parent) override;
    // The surface lies at 0, 0 and takes its graphic's size.
    void SetBounds(int left, int top, int width, int height) override;

    [[nodiscard]] const std::string& GraphicName() const { return graphic_name_; }
    void SetGraphicName(std::string_view name);
    [[nodiscard]] TColor MaskColor() const { return mask_color_; }
    void SetMaskColor(TColor color);
    [[nodiscard]] TVsComposer* Composer() const { return composer_; }
    void SetComposer(TVsComposer* composer);
    [[nodiscard]] bool FormDrag() const { return form_drag_; }
    void SetFormDrag(bool value) { form_drag_ = value; }

    [[nodiscard]] TVsGraphic* Graphic() const { return graphic_; }
    [[nodiscard]] TForm* Form() const { return form_; }
    [[nodiscard]] const TRgnData& RegionData() const { return region_data_; }
    [[nodiscard]] bool HasRegion() const { return region_applied_; }

    // The store's graphic of that name, or nullptr.
    [[nodiscard]] TVsGraphic* FindGraphic(std::string_view name) const;
    // Looks up the graphic again, reshapes the window, refreshes every skinned control and
    // takes the graphic's size.
    void UpdateSkin();

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void ApplyRegion();
    TVsChangeLink change_link_;
    TRgnData region_data_;
    bool region_applied_ = false;
    bool form_drag_ = true;
    TForm* form_ = nullptr;
    TColor mask_color_ = clNone;
    TVsGraphic* graphic_ = nullptr;
    std::string graphic_name_;
    TVsComposer* composer_ = nullptr;
};

// Common base of the skinned controls: a face bitmap composed over a copy of what lies beneath
// the control, so that mask-coloured pixels show the skin behind them, and repainted alone on
// state changes.
class TVsSkinGraphicControl : public TGraphicControl {
public:
    explicit TVsSkinGraphicControl(TComponent* owner);
    ~TVsSkinGraphicControl() override;

    // Only a skin surface can carry a skinned control.
    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

    [[nodiscard]] TVsSkin* Skin() const { return skin_; }
    TBitmap& Face() { return face_; }
    TCanvas& FaceCanvas() { return face_.Canvas(); }
    [[nodiscard]] const TBitmap& Background() const { return background_; }
    [[nodiscard]] TColor DesignColor() const { return design_color_; }
    void SetDesignColor(TColor color);
    [[nodiscard]] bool CursorTracking() const { return cursor_tracking_; }
    void SetCursorTracking(bool value) { cursor_tracking_ = value; }
    [[nodiscard]] TCursor SavedCursor() const { return saved_cursor_; }

    // Looks the control's graphic up again; `reload` also resets the clip rectangle to it.
    virtual void UpdateGraphic(bool reload) { (void)reload; }
    // Derives the size again and redraws.
    virtual void RefreshBounds();
    // Redraws the control alone, over the background captured last.
    void RepaintFace();
    void CopyBackgroundTo(TBitmap& bitmap) const { bitmap.Assign(&background_); }

    void Loaded() override;

protected:
    // Copies what the parent painted beneath the control into Background (unless repainting
    // opaquely), then starts the face from it.
    void CaptureBackground();
    static void SetMaskBrush(TBrush& brush, TColor color);
    void SetTrackingCursor(TCursor cursor);
    void Paint() override;
    void MouseLeave() override;
    void CursorChanged() override;

private:
    TVsSkin* skin_ = nullptr;
    TBitmap face_;
    TBitmap background_;
    TColor design_color_ = clRed;
    TCursor saved_cursor_ = crDefault;
    bool cursor_tracking_ = false;
};

} // namespace vd
