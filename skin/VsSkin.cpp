#include "skin/VsSkin.h"

#include "framework/Forms.h"
#include "skin/VsSysUtils.h"

namespace vd {

// ---- TVsSkin ----------------------------------------------------------------------------------

TVsSkin::TVsSkin(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    change_link_.OnChange = [this](TVsSharedComponent*) { UpdateSkin(); };
    SetBounds(0, 0, 300, 200);
}

TVsSkin::~TVsSkin() {
    BeginDestruction();
    if (composer_ != nullptr)
        composer_->UnregisterLink(&change_link_);
}

void TVsSkin::SetParent(TWinControl* parent) {
    if (parent != nullptr) {
        auto* form = dynamic_cast<TForm*>(parent);
        if (form == nullptr)
            throw Exception("TVsSkin needs to be placed on a form.");
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form_ = form;
    }
    TCustomControl::SetParent(parent);
}

void TVsSkin::SetBounds(int, int, int width, int height) {
    if (graphic_ != nullptr) {
        width = graphic_->Bitmap().Width();
        height = graphic_->Bitmap().Height();
    }
    TCustomControl::SetBounds(0, 0, width, height);
}

void TVsSkin::SetGraphicName(std::string_view name) {
    if (StoreIfChanged(graphic_name_, name))
        UpdateSkin();
}

void TVsSkin::SetMaskColor(TColor color) {
    if (StoreIfChanged(mask_color_, color))
        UpdateSkin();
}

void TVsSkin::SetComposer(TVsComposer* composer) {
    if (composer_ != nullptr) {
        composer_->UnregisterLink(&change_link_);
        RemoveFreeNotification(composer_);
    }
    composer_ = composer;
    if (composer_ != nullptr) {
        composer_->RegisterLink(&change_link_);
        FreeNotification(composer_);
    }
    UpdateSkin();
}

TVsGraphic* TVsSkin::FindGraphic(std::string_view name) const {
    if (composer_ == nullptr)
        return nullptr;
    const int32_t index = composer_->Graphics().IndexOf(name);
    return index < 0 ? nullptr : composer_->Graphics().Items(index);
}

void TVsSkin::UpdateSkin() {
    if (Loading() || Destroying() || (form_ != nullptr && form_->Destroying()))
        return;
    graphic_ = FindGraphic(graphic_name_);
    region_data_.SetSize(0);
    if (graphic_ != nullptr && mask_color_ != clNone)
        BuildMaskRegion(Left(), Top(), graphic_->Bitmap(), region_data_, mask_color_);
    ApplyRegion();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* control = dynamic_cast<TVsSkinGraphicControl*>(Controls(i)))
            control->UpdateGraphic(false);
    const TRect before = ClientRect();
    SetBounds(Left(), Top(), Width(), Height());
    if (form_ != nullptr) {
        form_->SetClientWidth(Width());
        form_->SetClientHeight(Height());
    }
    if (ClientRect() == before)
        Invalidate();
}

void TVsSkin::ApplyRegion() {
    if (form_ == nullptr)
        return;
    if (region_applied_) {
        form_->SetWindowRegion(nullptr);
        region_applied_ = false;
    }
    if (region_data_.Size() > 0) {
        const TRegion region = region_data_.CreateRegion();
        form_->SetWindowRegion(&region);
        region_applied_ = true;
    }
}

void TVsSkin::Loaded() {
    TCustomControl::Loaded();
    UpdateSkin();
}

void TVsSkin::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == composer_)
        SetComposer(nullptr);
}

void TVsSkin::Paint() {
    TCanvas& canvas = Canvas();
    if (graphic_ != nullptr) {
        canvas.Draw(0, 0, graphic_->Bitmap());
        return;
    }
    canvas.Pen().SetStyle(TPenStyle::psDot);
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(clWindow);
    canvas.Rectangle({0, 0, Width(), Height()});
}

void TVsSkin::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && form_drag_ && form_ != nullptr) {
        ReleaseCapture();
        form_->BeginWindowDrag(ClientToScreen({x, y}));
    }
}

// ---- TVsSkinGraphicControl --------------------------------------------------------------------

TVsSkinGraphicControl::TVsSkinGraphicControl(TComponent* owner) : TGraphicControl(owner) {}

TVsSkinGraphicControl::~TVsSkinGraphicControl() {
    BeginDestruction();
}

void TVsSkinGraphicControl::SetParent(TWinControl* parent) {
    auto* skin = dynamic_cast<TVsSkin*>(parent);
    if (parent != nullptr && skin == nullptr)
        throw Exception("Control needs to be placed on a TVsSkin component.");
    skin_ = skin;
    TGraphicControl::SetParent(parent);
}

void TVsSkinGraphicControl::SetBounds(int left, int top, int width, int height) {
    face_.SetSize(width, height);
    TGraphicControl::SetBounds(left, top, width, height);
}

void TVsSkinGraphicControl::SetDesignColor(TColor color) {
    if (StoreIfChanged(design_color_, color))
        RepaintFace();
}

void TVsSkinGraphicControl::CaptureBackground() {
    if ((ControlStyle() & csOpaque) == 0) {
        background_.SetSize(Width(), Height());
        const TRect r = Canvas().ClipRect();
        background_.Canvas().CopyRect(r, Canvas(), r);
    }
    face_.Assign(&background_);
    if (face_.Width() != Width() || face_.Height() != Height())
        face_.SetSize(Width(), Height());
}

void TVsSkinGraphicControl::SetMaskBrush(TBrush& brush, TColor color) {
    brush.SetColor(color);
    brush.SetStyle(TBrushStyle::bsSolid);
    if (color != clNone)
        brush.SetStyle(TBrushStyle::bsClear);
}

void TVsSkinGraphicControl::RepaintFace() {
    if (Loading())
        return;
    SetControlStyle(ControlStyle() | csOpaque);
    struct Restore {
        TVsSkinGraphicControl* c;
        ~Restore() { c->SetControlStyle(c->ControlStyle() & ~csOpaque); }
    } restore{this};
    Repaint();
}

void TVsSkinGraphicControl::RefreshBounds() {
    if (Loading())
        return;
    const TRect before = ClientRect();
    SetBounds(Left(), Top(), Width(), Height());
    if (ClientRect() == before)
        Invalidate();
}

void TVsSkinGraphicControl::Paint() {
    Canvas().Draw(0, 0, face_);
}

void TVsSkinGraphicControl::Loaded() {
    TGraphicControl::Loaded();
    SetTrackingCursor(crDefault);
}

void TVsSkinGraphicControl::MouseLeave() {
    TGraphicControl::MouseLeave();
    SetTrackingCursor(crDefault);
}

void TVsSkinGraphicControl::CursorChanged() {
    TGraphicControl::CursorChanged();
    saved_cursor_ = Cursor();
}

void TVsSkinGraphicControl::SetTrackingCursor(TCursor cursor) {
    if (Designing() || !cursor_tracking_)
        return;
    const TCursor saved = saved_cursor_;
    struct Restore {
        TCursor& target;
        TCursor value;
        ~Restore() { target = value; }
    } restore{saved_cursor_, saved};
    SetCursor(cursor);
}

} // namespace vd
