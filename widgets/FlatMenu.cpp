#include "widgets/FlatMenu.h"

#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/SystemFonts.h"
#include "widgets/FlatColors.h"

#include <QPainter>

#include <cmath>
#include <string>

namespace vd {

namespace {

// The painter's item handlers, told apart from foreign ones by their type and painter.
struct DrawHandler {
    TFlatMenu* painter;
    void operator()(TMenuItem* item, TCanvas& canvas, const TRect& rect, bool selected) const {
        painter->DrawMenuItem(item, canvas, rect, selected);
    }
};

struct MeasureHandler {
    TFlatMenu* painter;
    void operator()(TMenuItem* item, TCanvas& canvas, int& width, int& height) const {
        painter->MeasureMenuItem(item, canvas, width, height);
    }
};

int Round(double v) {
    return static_cast<int>(std::nearbyint(v));
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Outline in the pen's colour, inside in the brush's (unless the brush is clear).
void Box(TCanvas& canvas, const TRect& r, TColor pen, TColor brush, bool fill = true) {
    canvas.Pen().SetColor(pen);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.Brush().SetColor(brush);
    canvas.Brush().SetStyle(fill ? TBrushStyle::bsSolid : TBrushStyle::bsClear);
    canvas.Rectangle(r);
}

void Line(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2) {
    canvas.Pen().SetColor(color);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

QColor ToQColor(TColor color) {
    const TColor c = ColorToRGB(color);
    return QColor(static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                  static_cast<int>(GetBValue(c)));
}

// Ellipses and rounded boxes in the classic way: inside the rectangle, right and bottom edges
// excluded, outline in the pen and inside in the brush.
void Ellipse(TCanvas& canvas, const TRect& r, int corner_w = -1, int corner_h = -1) {
    if (r.IsEmpty())
        return;
    QPainter& p = canvas.Painter();
    p.save();
    p.setPen(QPen(ToQColor(canvas.Pen().Color()), 0));
    if (canvas.Brush().Style() == TBrushStyle::bsClear)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(ToQColor(canvas.Brush().Color()));
    const QRect q(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    if (corner_w < 0)
        p.drawEllipse(q);
    else
        p.drawRoundedRect(q, corner_w / 2.0, corner_h / 2.0);
    p.restore();
}

} // namespace

TFlatMenu::TFlatMenu(TComponent* owner) : TComponent(owner), form_(dynamic_cast<TForm*>(owner)) {
    if (form_ == nullptr)
        throw Exception("Invalid class typecast: the menu painter needs a form as its owner");
    font_ = SystemMenuFont();
    select_font_color_ = font_.Color();
    SetFlatContainers(kAllFlatContainers);
    SetFlatControls(kAllFlatControls);
}

TFlatMenu::~TFlatMenu() {
    BeginDestruction();
    ApplyToForm(*form_, false, false);
    UnhookAllControls();
}

void TFlatMenu::RedrawMenuBar() {
    // The framework shows no menu bar: there is nothing of the form's to redraw.
}

void TFlatMenu::SetFont(const TFont& font) {
    font_.Assign(&font);
    RedrawMenuBar();
}

void TFlatMenu::SetMenuBarColor(TColor value) {
    menu_bar_color_ = value;
    RedrawMenuBar();
}

void TFlatMenu::SetUseSystemColors(bool value) {
    use_system_colors_ = value;
    RedrawMenuBar();
}

void TFlatMenu::SetOverrideOwnerDraw(bool value) {
    override_owner_draw_ = value;
    if (active_)
        SetActive(true); // already active: no pass runs
}

void TFlatMenu::SetActive(bool value) {
    if (value == active_)
        return;
    active_ = value;
    ApplyToForm(*form_, value, true);
    RedrawMenuBar();
}

void TFlatMenu::ChangeRestyled(uint16_t& setting, uint16_t value) {
    if (value != setting && active_) {
        active_ = false;
        ApplyToForm(*form_, false, true);
        active_ = true;
        setting = value;
        ApplyToForm(*form_, true, true);
    }
    setting = value;
}

void TFlatMenu::SetFlatContainers(TFlatContainers value) {
    ChangeRestyled(flat_containers_, value);
}

void TFlatMenu::SetFlatControls(TFlatControls value) {
    ChangeRestyled(flat_controls_, value);
}

void TFlatMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opInsert && active_ && auto_detect_ &&
        dynamic_cast<TMenuItem*>(component) != nullptr && !Designing())
        SetActive(true); // already active: items added later are hooked when a sibling paints
}

// ---- colours ----------------------------------------------------------------------------------

TColor TFlatMenu::LightenColor(const TCanvas& surface, TColor color, int p) const {
    return flat::LightenColor(surface.BitsPerPixel(), color, p);
}

TColor TFlatMenu::ContrastTextColor(const TCanvas& surface, TColor background) const {
    const TColor c = ColorToRGB(background);
    if ((GetRValue(c) + GetBValue(c)) / 2 > 150 || GetGValue(c) > 200)
        return font_.Color();
    return LightenColor(surface, background, 90);
}

void TFlatMenu::PrepareColors(const TCanvas& canvas) {
    using flat::DarkenColor;
    high_color_ = canvas.BitsPerPixel() >= 16;
    auto lighten = [&](TColor c, int p) { return LightenColor(canvas, c, p); };
    WorkColors& w = work_;
    w.color = color_;
    w.icon_back = icon_back_color_;
    if (high_color_) {
        w.select = lighten(select_color_, 68);
        w.checked_area = lighten(select_color_, 80);
        w.checked_area_select = lighten(select_color_, 50);
        w.menu_border = DarkenColor(clBtnFace, 90);
        w.menu_shadow = DarkenColor(clBtnFace, 76);
    } else {
        w.select = select_color_;
        w.checked_area = clWhite;
        w.checked_area_select = clSilver;
        w.menu_border = clBtnShadow;
        w.menu_shadow = clBtnShadow;
    }
    w.select_border = select_border_color_;
    w.select_font = select_font_color_;
    w.menu_bar = menu_bar_color_;
    w.disabled = disabled_color_;
    w.checked = checked_color_;
    w.separator = separator_color_;
    if (!use_system_colors_)
        return;
    const TFont menu_font = SystemMenuFont();
    font_.Assign(&menu_font);
    w.select_font = font_.Color();
    if (!high_color_) {
        w.color = clWhite;
        w.icon_back = clBtnFace;
        w.select = clWhite;
        w.select_border = clHighlight;
        w.menu_bar = clBtnFace;
        w.disabled = clBtnShadow;
        w.checked = clHighlight;
        w.separator = clBtnShadow;
        w.checked_area = clWhite;
        w.checked_area_select = clWhite;
    } else {
        w.color = lighten(clBtnFace, 86);
        w.icon_back = lighten(clBtnFace, 16);
        w.select = lighten(clHighlight, 68);
        w.select_border = clHighlight;
        w.menu_bar = clBtnFace;
        w.disabled = lighten(clBtnShadow, 10);
        w.separator = lighten(clBtnShadow, 25);
        w.checked = clHighlight;
        w.checked_area = lighten(clHighlight, 80);
        w.checked_area_select = lighten(clHighlight, 50);
    }
}

// ---- hooking menus ----------------------------------------------------------------------------

bool TFlatMenu::DrawsItem(const TMenuItem* item) const {
    const auto* handler = item->OnDrawItem.target<DrawHandler>();
    return handler != nullptr && handler->painter == this;
}

bool TFlatMenu::MeasuresItem(const TMenuItem* item) const {
    const auto* handler = item->OnMeasureItem.target<MeasureHandler>();
    return handler != nullptr && handler->painter == this;
}

void TFlatMenu::HookItem(TMenuItem* item, bool enable, bool recurse) {
    if (enable) {
        if (item->Tag() != 999) {
            if (!item->OnDrawItem || override_owner_draw_)
                item->OnDrawItem = DrawHandler{this};
            if (!item->OnMeasureItem || override_owner_draw_)
                item->OnMeasureItem = MeasureHandler{this};
        }
    } else {
        if (DrawsItem(item))
            item->OnDrawItem = nullptr;
        if (MeasuresItem(item))
            item->OnMeasureItem = nullptr;
    }
    if (recurse)
        for (int i = 0; i < item->Count(); ++i)
            HookItem(item->Items(i), enable, true);
}

void TFlatMenu::HookFamily(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    auto visit = [this](auto& self, TMenuItem* level) -> void {
        for (int i = 0; i < level->Count(); ++i) {
            TMenuItem* child = level->Items(i);
            if (!DrawsItem(child))
                HookItem(child, true, false);
            self(self, child);
        }
    };
    if (parent == nullptr) {
        if (!DrawsItem(item))
            HookItem(item, true, false);
        visit(visit, item);
        return;
    }
    visit(visit, parent);
}

bool TFlatMenu::IsTopLevel(const TMenuItem* item) const {
    const TPopupMenu* menu = item->ParentMenu();
    return dynamic_cast<const TMainMenu*>(menu) != nullptr && item->Parent() == menu->Items();
}

void TFlatMenu::ApplyToForm(TForm& form, bool enable, bool repaint) {
    for (int i = 0; i < form.ComponentCount(); ++i) {
        TComponent* component = form.Components(i);
        auto* menu = dynamic_cast<TPopupMenu*>(component);
        const bool main_menu = dynamic_cast<TMainMenu*>(component) != nullptr;
        const bool take =
            menu != nullptr && (main_menu ? menu->Tag() != 999 && (flat_controls_ & fcMainMenu) != 0
                                          : (flat_controls_ & fcPopupMenu) != 0);
        if (take) {
            TMenuItem* root = menu->Items();
            for (int k = 0; k < root->Count(); ++k) {
                menu->SetOwnerDraw(enable);
                HookItem(root->Items(k), enable, true);
            }
        }
        if (Designing())
            continue;
        ApplyToControl(component, enable, repaint);
    }
}

// ---- measuring and drawing menu items ---------------------------------------------------------

void TFlatMenu::MeasureMenuItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    if (!active_)
        return;
    std::string text = item->Caption();
    const bool separator = text == "-";
    if (separator)
        text.clear();
    const std::string shortcut = Trimmed(ShortCutToText(item->ShortCut()));
    if (!shortcut.empty())
        text += shortcut + "WWW";
    canvas.Font().Assign(&font_);
    int w = canvas.TextWidth(text) + 5;
    if (text.find('&') != std::string::npos)
        w -= canvas.TextWidth("&");
    const TPopupMenu* menu = item->ParentMenu();
    int extent_w = 0;
    int extent_h = 0;
    if (menu != nullptr && menu->Images() != nullptr && item->ImageIndex() != -1) {
        extent_w = menu->Images()->Width();
        extent_h = menu->Images()->Height();
    } else if (!item->Bitmap().Empty()) {
        extent_w = item->Bitmap().Width();
        extent_h = item->Bitmap().Height();
    }
    const bool top_level = IsTopLevel(item);
    if (!top_level)
        extent_w = std::max(extent_w, icon_width_);
    if (extent_w > 0)
        w += extent_w;
    if (top_level)
        w += 8; // the bar's items of the NT family's menus
    if (width < w)
        width = w;
    if (separator) {
        height = 4;
        return;
    }
    const int th = canvas.TextHeight(text.empty() ? std::string_view("W") : text);
    int h = th + Round(0.75 * th);
    if (h < extent_h + 6)
        h = extent_h + 6;
    if (height < h)
        height = h;
}

bool TFlatMenu::ItemPicture(const TMenuItem& item, const TCanvas& canvas, TBitmap& picture) {
    bool has_image = false;
    if (!item.Bitmap().Empty()) {
        picture = item.Bitmap();
        has_image = true;
    }
    const TPopupMenu* menu = item.ParentMenu();
    if (menu != nullptr && menu->Images() != nullptr && item.ImageIndex() != -1) {
        const TImageList* images = menu->Images();
        picture.SetSize(images->Width(), images->Height());
        TCanvas& bc = picture.Canvas();
        bc.Brush().SetStyle(TBrushStyle::bsSolid);
        bc.Brush().SetColor(canvas.Pixel(2, 2));
        bc.FillRect({0, 0, picture.Width(), picture.Height()});
        images->Draw(bc, 0, 0, item.ImageIndex(), true);
        has_image = true;
    }
    return has_image;
}

TFlatMenu::ItemLayout TFlatMenu::LayOutItem(const TRect& r, bool rtl, bool top_level,
                                            bool has_image, int picture_width) const {
    const int iw = icon_width_;
    const int bw = picture_width;
    ItemLayout layout;
    layout.icon = rtl ? TRect{r.Right - iw, r.Top, r.Right, r.Bottom}
                      : TRect{r.Left, r.Top, r.Left + iw, r.Bottom};
    const TRect& icon_r = layout.icon;
    TRect& mark_r = layout.mark;
    if (has_image) {
        mark_r = {icon_r.Left + 1, icon_r.Top + 2, icon_r.Right - 3, icon_r.Bottom - 2};
    } else {
        const int left = icon_r.Left + (icon_r.Width() - 10) / 2;
        const int top = icon_r.Top + (icon_r.Height() - 10) / 2;
        mark_r = {left, top, left + 10, top + 10};
    }
    if (bw > iw) {
        if (rtl)
            mark_r.Left = mark_r.Right - bw;
        else
            mark_r.Right = mark_r.Left + bw;
    }
    if (top_level)
        mark_r.Top -= 1;

    TRect& text_r = layout.text;
    text_r = r;
    if (rtl) {
        text_r.Right = r.Right - iw - (top_level ? 4 : 0);
        if (r.Right - bw - 8 < text_r.Right)
            text_r.Right = r.Right - bw - 8;
    } else {
        text_r.Left = r.Left + iw + (top_level ? 4 : 0);
        if (r.Left + bw + 4 > text_r.Left)
            text_r.Left = r.Left + bw + 4;
    }
    if (top_level) {
        if (!has_image)
            text_r = r;
        else if (rtl)
            text_r.Right += 5;
        else
            text_r.Left -= 5;
    }
    return layout;
}

void TFlatMenu::DrawItemBackground(TCanvas& canvas, const TRect& r, const TRect& icon_rect,
                                   bool top_level, bool rtl) const {
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    if (top_level) {
        canvas.Brush().SetColor(work_.menu_bar);
        canvas.Pen().SetColor(work_.menu_bar);
        canvas.FillRect(r);
    } else if (high_color_ && gradient_) {
        FillGradient(canvas, {r.Left, r.Top, r.Right + 2, r.Bottom}, rtl);
    } else {
        canvas.Brush().SetColor(work_.color);
        canvas.FillRect(r);
        canvas.Brush().SetColor(work_.icon_back);
        canvas.FillRect(icon_rect);
    }
}

void TFlatMenu::DrawItemSelection(TCanvas& canvas, const TRect& r, bool top_level, bool enabled,
                                  bool rtl) const {
    if (top_level) {
        DrawMenuBarItem(canvas, r, rtl);
    } else if (enabled) {
        const TRect s{r.Left, r.Top + 1, r.Right - (flat_menu_ ? 1 : 0), r.Bottom - 1};
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Brush().SetColor(work_.select);
        canvas.FillRect(s);
        canvas.Brush().SetColor(work_.select_border);
        canvas.FrameRect(s);
    }
}

void TFlatMenu::DrawSeparator(TCanvas& canvas, const TRect& text_rect, bool rtl) const {
    const int y = text_rect.Top + Round((text_rect.Bottom - text_rect.Top) / 2.0);
    if (rtl)
        Line(canvas, work_.separator, text_rect.Left, y, text_rect.Right - 7, y);
    else
        Line(canvas, work_.separator, text_rect.Left + 7, y, text_rect.Right, y);
}

void TFlatMenu::DrawMenuItem(TMenuItem* item, TCanvas& canvas, const TRect& rect, bool selected) {
    if (!active_)
        return;
    PrepareColors(canvas);
    const bool separator = item->Caption() == "-";
    const bool top_level = IsTopLevel(item);
    const TPopupMenu* menu = item->ParentMenu();
    const bool rtl = menu != nullptr && menu->RightToLeft();
    const bool enabled = item->Enabled();

    canvas.Font().Assign(&font_);
    TRect r = rect;
    r.Bottom += 1;

    TBitmap b;
    const bool has_image = ItemPicture(*item, canvas, b);
    ItemLayout layout = LayOutItem(r, rtl, top_level, has_image, b.Empty() ? 0 : b.Width());

    DrawItemBackground(canvas, r, layout.icon, top_level, rtl);
    if (selected && draw_select_)
        DrawItemSelection(canvas, r, top_level, enabled, rtl);

    DrawCheckMark(*item, canvas, selected, layout.mark, has_image, enabled);
    const IconState icon{.selected = selected,
                         .enabled = enabled,
                         .checked = item->Checked(),
                         .top_level = top_level,
                         .rtl = rtl};
    DrawItemIcon(b, canvas, layout.icon, icon);

    if (!separator) {
        TRect& text_r = layout.text;
        unsigned format = DT_LEFT;
        if (rtl) {
            text_r.Right -= 3;
            format = DT_RIGHT;
        } else {
            text_r.Left += 3;
        }
        const TextState text{.selected = selected,
                             .enabled = enabled,
                             .is_default = item->Default(),
                             .top_level = top_level,
                             .rtl = rtl};
        DrawItemText(canvas, " " + item->Caption(), ShortCutToText(item->ShortCut()), text_r,
                     format, text);
    } else {
        DrawSeparator(canvas, layout.text, rtl);
    }

    if (flat_menu_ && !Designing() && !top_level && &canvas.Target() != &form_->Picture())
        DrawFlatBorder(canvas, rtl);

    HookFamily(item);
}

void TFlatMenu::FillGradient(TCanvas& canvas, const TRect& r, bool rtl) const {
    int level = 0;
    auto column = [&](int x, bool steep) {
        level = std::min(96, level + (steep ? 3 : 1));
        Line(canvas, LightenColor(canvas, work_.icon_back, level), x, r.Top, x, r.Bottom);
    };
    if (!rtl) {
        for (int x = r.Left; x <= r.Right; ++x)
            column(x, r.Left < x && x < r.Left + icon_width_ + 5);
    } else {
        for (int x = r.Right; x >= r.Left; --x)
            column(x, r.Right - icon_width_ + 5 < x && x < r.Right);
    }
}

void TFlatMenu::DrawCheckMark(const TMenuItem& item, TCanvas& canvas, bool selected,
                              const TRect& mark, bool has_image, bool enabled) const {
    if (!item.Checked())
        return;
    const bool radio = item.RadioItem();
    TColor pen = work_.disabled;
    if (enabled)
        pen = radio || has_image ? work_.select_border : work_.checked;
    canvas.Pen().SetColor(pen);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    if (enabled)
        canvas.Brush().SetColor(selected ? work_.checked_area_select : work_.checked_area);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    if (radio) {
        if (has_image)
            Ellipse(canvas, mark, 6, 6);
        else
            Ellipse(canvas, mark);
        return;
    }
    canvas.Rectangle(mark);
    if (has_image)
        return;
    const int l = mark.Left;
    const int t = mark.Top;
    const int rt = mark.Right;
    const int bt = mark.Bottom;
    const TColor tick = enabled ? clBlack : work_.disabled;
    Line(canvas, tick, l + 1, t + 5, l + 4, bt - 2);
    Line(canvas, tick, l + 2, t + 5, l + 4, bt - 3);
    Line(canvas, tick, l + 2, t + 4, l + 5, bt - 3);
    Line(canvas, tick, l + 4, bt - 3, rt + 2, t - 1);
    Line(canvas, tick, l + 4, bt - 2, rt - 2, t + 3);
}

void TFlatMenu::DrawItemIcon(TBitmap& b, TCanvas& canvas, const TRect& icon_r,
                             const IconState& s) const {
    if (b.Empty())
        return;
    int x = icon_r.Left;
    int y = icon_r.Top + 1;
    if (s.menu_item) {
        y += 2;
        if (b.Width() < icon_width_)
            x = icon_r.Left + (icon_width_ - b.Width()) / 2 - 1;
        else
            x = s.rtl ? icon_r.Right - b.Width() - 2 : icon_r.Left + 2;
    }
    if (s.top_level)
        x = s.rtl ? icon_r.Right - b.Width() - 5 : icon_r.Left + 1;
    if (s.selected && !s.top_level && s.enabled && !s.checked && !s.pressed) {
        --x;
        --y;
    }
    if (!s.selected && s.enabled && !s.checked && high_color_)
        flat::DimBitmap(b, dim_level_);
    if (!s.enabled) {
        flat::GrayBitmap(b, gray_level_);
        flat::DimBitmap(b, 40);
    }
    if (s.selected && s.enabled && !s.checked)
        flat::DrawBitmapShadow(b, canvas, x + 2, y + 2, flat::DarkenColor(work_.select, 50));
    const TColor transparent = b.Pixel(0, b.Height() - 1);
    const TBrushStyle saved = canvas.Brush().Style();
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.BrushCopy({x, y, x + b.Width(), y + b.Height()}, b, {0, 0, b.Width(), b.Height()},
                     transparent);
    canvas.Brush().SetStyle(saved);
}

void TFlatMenu::DrawItemText(TCanvas& canvas, std::string_view label, std::string_view shortcut,
                             TRect text_r, unsigned format, const TextState& s) const {
    TColor color = canvas.Font().Color();
    if (s.selected)
        color = work_.select_font;
    if (!s.enabled)
        color = work_.disabled;
    if (s.selected && s.top_level && use_system_colors_)
        color = ContrastTextColor(canvas, work_.icon_back);
    text_r.Top += (text_r.Height() - canvas.TextHeight("W")) / 2;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (s.is_default && s.enabled) {
        struct Copy {
            int dx;
            int dy;
            int darken;
        };
        static constexpr Copy kCopies[] = {{1, 0, 30}, {1, 2, 30}, {0, 1, 40}, {1, 1, 60}};
        bool first = true;
        for (const Copy& c : kCopies) {
            TRect at = text_r.Offset(c.dx, c.dy);
            if (first)
                at.Right = text_r.Right;
            first = false;
            canvas.Font().SetColor(flat::DarkenColor(canvas.Pixel(at.Left, at.Top), c.darken));
            canvas.DrawText(label, at, format);
        }
    }
    canvas.Font().SetColor(color);
    TRect label_r = text_r;
    canvas.DrawText(label, label_r, format);
    canvas.Font().SetColor(high_color_ ? flat::DarkenColor(color, -40) : color);
    const std::string tail = std::string(shortcut) + " ";
    TRect shortcut_r = text_r;
    if (s.rtl) {
        shortcut_r.Left += 10;
        canvas.DrawText(tail, shortcut_r, DT_LEFT);
    } else {
        shortcut_r.Right -= 10;
        canvas.DrawText(tail, shortcut_r, DT_RIGHT);
    }
}

// ---- menu bar, flat border and control bar bands ----------------------------------------------

void TFlatMenu::DrawMenuBarItem(TCanvas& canvas, const TRect& rect, bool rtl) const {
    using flat::DarkenColor;
    const int l = rect.Left;
    const int t = rect.Top;
    const int r = rect.Right;
    const int b = rect.Bottom;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(work_.select);
    canvas.FillRect(rect);
    canvas.Pen().SetColor(work_.select_border);
    canvas.Pen().SetStyle(TPenStyle::psSolid);
    auto fill = [&](TColor color, const TRect& area) {
        canvas.Brush().SetColor(color);
        canvas.Pen().SetColor(color);
        canvas.Rectangle(area);
    };
    auto polyline = [&](TColor color, std::initializer_list<TPoint> points) {
        canvas.Pen().SetColor(color);
        auto it = points.begin();
        canvas.MoveTo(it->X, it->Y);
        for (++it; it != points.end(); ++it)
            canvas.LineTo(it->X, it->Y);
    };
    if (!rtl && high_color_) {
        polyline(work_.select_border, {{l, b - 1}, {l, t}, {r - 8, t}, {r - 8, b}});
        const TColor base = work_.menu_bar;
        fill(DarkenColor(base, 10), {r - 7, t, r, b});
        fill(DarkenColor(base, 30), {r - 7, t + 3, r - 2, b});
        fill(DarkenColor(base, 60), {r - 7, t + 5, r - 3, b});
        fill(DarkenColor(base, 100), {r - 7, t + 6, r - 5, b});
        polyline(base, {{r - 5, t + 1}, {r - 1, t + 1}, {r - 1, t + 6}});
        polyline(base, {{r - 3, t + 2}, {r - 2, t + 2}, {r - 2, t + 3}, {r - 3, t + 3}});
        polyline(DarkenColor(base, 10),
                 {{r - 6, t + 3}, {r - 3, t + 3}, {r - 3, t + 6}, {r - 4, t + 6}, {r - 4, t + 3}});
        polyline(DarkenColor(base, 30), {{r - 5, t + 5}, {r - 4, t + 5}, {r - 4, t + 9}});
        polyline(DarkenColor(base, 40), {{r - 6, t + 5}, {r - 6, t + 7}});
        return;
    }
    polyline(work_.select_border, {{l, b - 1}, {l, t}, {r - 3, t}, {r - 3, b}});
    canvas.Brush().SetColor(DarkenColor(menu_bar_color_, 70));
    canvas.FillRect({r - 2, t + 2, r, b});
    canvas.Brush().SetColor(menu_bar_color_);
    canvas.FillRect({r - 2, t, r, t + 2});
}

void TFlatMenu::DrawFlatBorder(TCanvas& canvas, bool rtl) const {
    // The popup window's own picture, whole: its rectangle in the canvas's coordinates.
    const QImage& target = canvas.Target();
    const int l = -canvas.Origin().X;
    const int t = -canvas.Origin().Y;
    const int r = l + target.width();
    const int b = t + target.height();
    auto outline = [&](TColor color, const TRect& area) { Box(canvas, area, color, color, false); };
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        Line(canvas, color, x1, y1, x2, y2);
    };
    outline(work_.menu_border, {l, t, r - 2, b - 2});
    if (!rtl) {
        if (!gradient_) {
            outline(work_.color, {l + 1, t + 1, r - 3, t + 3});
            line(work_.icon_back, l + 1, t + 2, l + 3 + icon_width_, t + 2);
        } else {
            FillGradient(canvas, {l + 1, t + 1, r - 5, t + 3}, false);
        }
        outline(work_.icon_back, {l + 1, t + 2, l + 3, b - 3});
    } else {
        outline(work_.color, {l + 1, t + 1, r - 4, t + 3});
        line(work_.color, l + 2, t + 2, l + 2, b - 4);
        line(work_.icon_back, r - 4, t + 2, r - 4, b - 4);
        line(work_.icon_back, r - 4, t + 2, r - 3 - icon_width_, t + 2);
    }
    outline(work_.menu_shadow, {l + 2, b - 2, r, b});
    outline(work_.menu_shadow, {r - 2, t + 2, r, b});
    outline(clBtnFace, {l, b - 2, l + 2, b});
    outline(clBtnFace, {r - 2, t, r, t + 2});
}

void TFlatMenu::PaintControlBarBand(TColor bar_color, TCanvas& canvas, const TRect& band,
                                    TBandPaintOptions& options) {
    PrepareColors(canvas);
    options = 0;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(high_color_ ? LightenColor(canvas, bar_color, 6) : bar_color);
    canvas.FillRect(band);
    int level = 30;
    for (int y = band.Top + 5; y <= band.Bottom - 5; ++y) {
        if (y % 2 != 0)
            continue;
        Line(canvas, flat::DarkenColor(bar_color, level), band.Left + 3, y, band.Left + 6, y);
        level += 7;
    }
}

} // namespace vd
