#include "widgets/FlatControlHook.h"

#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "widgets/FlatColors.h"
#include "widgets/FlatMenu.h"

#include <QImage>

namespace vd {

namespace {

// The hook's message handler in a control's WindowProc, told apart by its type.
struct SubclassProc {
    TControlSubClass* hook;
    void operator()(TControlMessage& message) const { hook->SubclassWindowProc(message); }
};

bool IsWindowless(const TControl* control) {
    return dynamic_cast<const TGraphicControl*>(control) != nullptr;
}

} // namespace

// ---- TControlSubClass -------------------------------------------------------------------------

TControlSubClass::TControlSubClass(TFlatMenu* painter, TControl* control)
    : TComponent(painter), Control(control), Painter(painter) {
    FreeNotification(control);
}

TControlSubClass::~TControlSubClass() {
    BeginDestruction();
    Unhook();
}

bool TControlSubClass::Hooked() const {
    if (Control == nullptr)
        return false;
    const auto* proc = Control->WindowProc.target<SubclassProc>();
    return proc != nullptr && proc->hook == this;
}

bool TControlSubClass::Hook() {
    if (Control == nullptr || Control->WindowProc.target<SubclassProc>() != nullptr)
        return false; // never hooked twice
    SavedWindowProc = Control->WindowProc;
    Control->WindowProc = SubclassProc{this};
    return true;
}

void TControlSubClass::Unhook() {
    if (Hooked())
        Control->WindowProc = SavedWindowProc;
    SavedWindowProc = nullptr;
}

void TControlSubClass::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == Control) {
        // The control goes: it takes its handling with it.
        Control = nullptr;
        SavedWindowProc = nullptr;
    }
}

void TControlSubClass::CallSaved(TControlMessage& message) {
    if (SavedWindowProc)
        SavedWindowProc(message);
    else
        Control->DefaultWindowProc(message);
}

void TControlSubClass::Redraw() {
    // Window-less controls are painted by their parent: the painter draws at the paint message.
    Control->Repaint();
}

bool TControlSubClass::PassOn(TControlMessage& m) {
    using enum TControlMessageKind;
    if (m.kind == mkPaint && IsWindowless(Control))
        m.result = 1; // painted by the painter below, not by the control
    else
        CallSaved(m);
    if (Control == nullptr)
        return false;
    if (!Painter->Active()) {
        m.result = 1;
        try {
            Unhook();
            Control = nullptr;
        } catch (...) { // unhooking does not fail a message
        }
        FreeComponent(this);
        return false;
    }
    return true;
}

void TControlSubClass::Follow(const TControlMessage& m) {
    using enum TControlMessageKind;
    TControl* control = Control;
    LastMessage = m.kind;
    switch (m.kind) {
    case mkSetFocus:
        Highlighted = true;
        Redraw();
        break;
    case mkKillFocus:
        Highlighted = false;
        Redraw();
        break;
    case mkPaint:
        Recreating = false;
        Painter->PaintControl(*this);
        break;
    case mkKeyDown:
        if (m.key != nullptr && *m.key == VK_SPACE) {
            SpaceDown = true;
            if (!SpaceRepeat)
                Redraw();
            SpaceRepeat = true;
        }
        break;
    case mkMouseDown:
        if (m.button != TMouseButton::mbLeft)
            break;
        if (m.double_click && dynamic_cast<TSpeedButton*>(control) != nullptr) {
            // A double click is a second press.
            TControlMessage press = m;
            press.double_click = false;
            CallSaved(press);
        }
        MouseDown = true;
        Redraw();
        break;
    case mkMouseUp:
        if (m.button != TMouseButton::mbLeft)
            break;
        MouseDown = false;
        Redraw();
        break;
    case mkEnabledChanged:
    case mkTextChanged:
        Redraw();
        break;
    case mkMouseEnter:
        if (control->Enabled()) {
            Highlighted = true;
            Redraw();
        }
        break;
    case mkMouseLeave:
        if (control->Enabled()) {
            Highlighted = false;
            Redraw();
        }
        break;
    }
}

void TControlSubClass::SubclassWindowProc(TControlMessage& m) {
    if (Control == nullptr)
        return;
    if (PassOn(m))
        Follow(m);
}

// ---- the painter's control half ---------------------------------------------------------------

TControlSubClass* TFlatMenu::HookOf(const TControl* control) const {
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* hook = dynamic_cast<TControlSubClass*>(Components(i));
            hook != nullptr && hook->Control == control)
            return hook;
    return nullptr;
}

int TFlatMenu::HookCount() const {
    int n = 0;
    for (int i = 0; i < ComponentCount(); ++i)
        n += dynamic_cast<TControlSubClass*>(Components(i)) != nullptr ? 1 : 0;
    return n;
}

void TFlatMenu::ApplyToControl(TComponent* component, bool enable, bool repaint) {
    // The framework's kinds among those the painter restyles: speed buttons, on forms.
    auto* control = dynamic_cast<TSpeedButton*>(component);
    if (control == nullptr || (flat_controls_ & fcSpeedButton) == 0)
        return;
    TWinControl* parent = control->Parent();
    if (dynamic_cast<TForm*>(parent) == nullptr || (flat_containers_ & fccForm) == 0)
        return;
    if (enable && control->Tag() != 999 && parent->Tag() != 999) {
        // One hook object per control: an idle one left from an earlier pass is taken again.
        TControlSubClass* hook = HookOf(control);
        if (hook == nullptr)
            hook = new TControlSubClass(this, control); // owned by the painter
        if (!hook->Hooked())
            hook->Hook();
    }
    if (repaint)
        control->Invalidate();
}

void TFlatMenu::UnhookAllControls() {
    while (TControlSubClass* hook = [this]() -> TControlSubClass* {
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* h = dynamic_cast<TControlSubClass*>(Components(i)))
                return h;
        return nullptr;
    }())
        FreeComponent(hook); // puts the control's own handling back
}

void TFlatMenu::PaintControl(TControlSubClass& hook) {
    hook.Focused = false; // window-less controls never hold the focus
    if (auto* button = dynamic_cast<TSpeedButton*>(hook.Control))
        PaintSpeedButton(*button, hook);
}

void TFlatMenu::TintSpeedButton(TCanvas& c, int w, int h) const {
    const TColor tint = ColorToRGB(LightenColor(c, work_.select, c.BitsPerPixel() <= 16 ? 40 : 20));
    const QRgb mask = qRgb(static_cast<int>(GetRValue(tint)), static_cast<int>(GetGValue(tint)),
                           static_cast<int>(GetBValue(tint)));
    QImage& target = c.Target();
    const TRect clip = c.ClipRect().Intersect({0, 0, w, h});
    const TPoint o = c.Origin();
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y + o.Y));
        for (int x = clip.Left; x < clip.Right; ++x)
            line[x + o.X] = (line[x + o.X] & mask) | 0xFF000000u;
    }
}

void TFlatMenu::FrameSpeedButton(const TSpeedButton& button, TCanvas& c, TColor fill, TColor border,
                                 bool highlighted, bool pressed) const {
    const int w = button.ClientWidth();
    const int h = button.ClientHeight();
    const bool down = button.Down();
    c.Brush().SetColor(fill);
    c.Brush().SetStyle(button.Transparent() ? TBrushStyle::bsClear : TBrushStyle::bsSolid);
    c.Pen().SetStyle(TPenStyle::psSolid);
    c.Pen().SetColor(LightenColor(c, border, 30));
    if (button.Flat() && !button.Transparent() && !down && !highlighted)
        c.Pen().SetColor(fill);
    if (!(button.Transparent() && button.Flat() && !highlighted && !down))
        c.Rectangle({0, 0, w, h});

    if (button.Enabled() && !button.Flat()) {
        c.Pen().SetColor(flat::DarkenColor(border, 50));
        if (pressed || down) {
            c.MoveTo(0, h - 1);
            c.LineTo(0, 0);
            c.LineTo(w, 0);
        } else {
            c.MoveTo(w - 1, 0);
            c.LineTo(w - 1, h - 1);
            c.LineTo(0, h - 1);
        }
    }
}

void TFlatMenu::DrawSpeedButtonContent(const TSpeedButton& button, TCanvas& c,
                                       const TControlSubClass& hook) const {
    const int w = button.ClientWidth();
    const int h = button.ClientHeight();
    c.Font().Assign(&button.Font());
    const TBitmap& glyph = button.Glyph();
    const int gw = glyph.Empty() ? 0 : glyph.Width() / button.NumGlyphs();
    const int gh = glyph.Empty() ? 0 : glyph.Height();
    const std::string& caption = button.Caption();
    const int sp = caption.empty() ? 0 : button.Spacing();
    const int tw = caption.empty() ? 0 : c.TextWidth(caption);
    const int th = caption.empty() ? 0 : c.TextHeight(caption);
    const TButtonGlyphPlace place = PlaceButtonGlyph(w, h, gw, gh, tw, th, sp, button.Layout());
    if (gw > 0) {
        TBitmap first(gw, gh);
        first.Canvas().CopyRect({0, 0, gw, gh}, glyph, {0, 0, gw, gh});
        IconState icon;
        icon.selected = hook.Highlighted;
        icon.checked = button.Down() || hook.MouseDown;
        icon.pressed = hook.Focused;
        icon.enabled = button.Enabled();
        icon.menu_item = false;
        DrawItemIcon(first, c, Bounds(place.glyph.X, place.glyph.Y, gw, gh), icon);
    }
    if (!caption.empty()) {
        TextState text;
        text.enabled = button.Enabled();
        DrawItemText(c, caption, "", place.caption, DT_LEFT, text);
    }
}

void TFlatMenu::PaintSpeedButton(TSpeedButton& button, const TControlSubClass& hook) {
    TCanvas& c = button.Canvas();
    PrepareColors(c);
    const bool highlighted = hook.Highlighted;
    const bool down = button.Down();

    TColor fill = highlighted ? work_.select : work_.icon_back;
    TColor border = highlighted ? work_.select_border : clBtnShadow;
    if (down) {
        fill = highlighted ? work_.checked_area_select : work_.checked_area;
        border = work_.select_border;
    }
    if (!button.Enabled())
        border = clBtnShadow;

    if ((down || highlighted) && button.Transparent())
        TintSpeedButton(c, button.ClientWidth(), button.ClientHeight());
    FrameSpeedButton(button, c, fill, border, highlighted, hook.MouseDown);
    DrawSpeedButtonContent(button, c, hook);
}

} // namespace vd
