#include "widgets/slLBox.h"

#include "widgets/slUtils.h"

#include <algorithm>
#include <cstdint>

namespace vd {

// ---- item styles ------------------------------------------------------------------------------

void TslCustomListBoxItemStyle::SetColor(TColor color) {
    if (color_ == color)
        return;
    color_ = color;
    Changed();
}

void TslCustomListBoxItemStyle::SetDelineateColor(TColor color) {
    if (delineate_color_ == color)
        return;
    delineate_color_ = color;
    Changed();
}

void TslCustomListBoxItemStyle::SetFont(const TFont& font) {
    font_.Assign(&font);
    Changed();
}

void TslCustomListBoxItemStyle::SetTextStyle(TslTextStyle style) {
    text_style_ = style;
    Changed();
}

void TslCustomListBoxItemStyle::SetChangeHandler(TslChangeEvent handler) {
    OnChange = handler;
    bevel_.OnChange = std::move(handler);
}

void TslCustomListBoxItemStyle::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TslCustomListBoxItemStyle*>(source)) {
        SetColor(other->Color());
        SetDelineateColor(other->DelineateColor());
        SetFont(other->Font());
        bevel_.Assign(&other->Bevel());
        SetTextStyle(other->TextStyle());
        return;
    }
    TslStyleObject::Assign(source);
}

void TslListBoxItemStyle::SetChangeHandler(TslChangeEvent handler) {
    gradient_.OnChange = handler;
    TslCustomListBoxItemStyle::SetChangeHandler(std::move(handler));
}

void TslListBoxItemStyle::Assign(const TPersistent* source) {
    TslCustomListBoxItemStyle::Assign(source);
    if (const auto* other = dynamic_cast<const TslListBoxItemStyle*>(source))
        gradient_.Assign(&other->Gradient());
}

// ---- construction -----------------------------------------------------------------------------

TslListBox::TslListBox(TComponent* owner)
    : TListBox(owner), measure_surface_(1, 1), drag_images_(std::make_unique<TImageList>(nullptr)),
      local_3d_colors_(std::make_unique<Tsl3DLocalColors>()) {
    drag_images_->SetSize(32, 32);
    change_glyph_color_.SetFromColor(clBlack);
    change_glyph_color_.SetToColor(clWhite);
    const TslChangeEvent changed = [this](TPersistent*) { StyleChanged(); };
    glyphs_align_.OnChange = changed;
    text_align_.OnChange = changed;
    item_style_.SetChangeHandler(changed);
    item_sel_style_.SetChangeHandler(changed);
    change_glyph_color_.OnChange = changed;
    SetStyle(TListBoxStyle::lbOwnerDrawVariable);
    UpdateTextFormat();
}

TslListBox::~TslListBox() {
    BeginDestruction();
    if (wallpaper_image_ != nullptr)
        RemoveFreeNotification(wallpaper_image_);
    if (glyphs_ != nullptr)
        RemoveFreeNotification(glyphs_);
    current_wallpaper_ = nullptr;
    wallpaper_.reset();
    local_3d_colors_.reset();
    drag_images_.reset();
}

void TslListBox::Loaded() {
    TListBox::Loaded();
    Font().Assign(&item_style_.Font());
    measure_surface_.Canvas().Font().Assign(&item_style_.Font());
    UpdateTextFormat();
    RemeasureItems();
    if (options_.Contains(TslListBoxOptions_::fboTransparent)) {
        CaptureBackground();
    } else if (wallpaper_ && !wallpaper_->Empty()) {
        current_wallpaper_ = wallpaper_.get();
    }
    has_wallpaper_ = current_wallpaper_ != nullptr && !current_wallpaper_->Empty();
}

void TslListBox::Notification(TComponent* component, TOperation operation) {
    TListBox::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == wallpaper_image_) {
        wallpaper_image_ = nullptr;
        if (!Destroying())
            SetWallpaperImage(nullptr);
    }
    if (component == glyphs_) {
        glyphs_ = nullptr;
        if (!Destroying())
            Invalidate();
    }
}

// ---- properties -------------------------------------------------------------------------------

void TslListBox::SetAutoTransparentColor(TslAutoTransparentColor value) {
    if (auto_transparent_ == value)
        return;
    auto_transparent_ = value;
    Invalidate();
}

TBitmap& TslListBox::Wallpaper() {
    if (!wallpaper_)
        wallpaper_ = std::make_unique<TBitmap>();
    return *wallpaper_;
}

void TslListBox::SetWallpaper(const TBitmap* bitmap) {
    Wallpaper().Assign(bitmap);
    SelectWallpaper(bitmap != nullptr ? wallpaper_.get() : ImagePicture());
    Invalidate();
}

const TBitmap* TslListBox::ImagePicture() const {
    const auto* source = dynamic_cast<const TslPictureSource*>(wallpaper_image_);
    if (source == nullptr)
        return nullptr;
    const TBitmap* picture = source->PictureBitmap();
    return picture != nullptr && !picture->Empty() ? picture : nullptr;
}

void TslListBox::SetWallpaperImage(TComponent* image) {
    if (wallpaper_image_ != nullptr && wallpaper_image_ != image)
        RemoveFreeNotification(wallpaper_image_);
    wallpaper_image_ = image;
    if (image != nullptr)
        FreeNotification(image);
    const TBitmap* picture = ImagePicture();
    SelectWallpaper(picture != nullptr ? picture : wallpaper_.get());
    Invalidate();
}

void TslListBox::SelectWallpaper(const TBitmap* bitmap) {
    current_wallpaper_ = bitmap;
    has_wallpaper_ = bitmap != nullptr && !bitmap->Empty();
}

void TslListBox::SetWallpaperOption(TslLBWallpaperOption value) {
    wallpaper_option_ = value;
    Invalidate();
}

void TslListBox::SetNumGlyphs(int value) {
    if (value == 0)
        return;
    num_glyphs_ = std::clamp(value, 0, 0xFFFF);
    Invalidate();
}

void TslListBox::SetGlyphs(TImageList* glyphs) {
    if (glyphs_ != nullptr && glyphs_ != glyphs)
        RemoveFreeNotification(glyphs_);
    glyphs_ = glyphs;
    if (glyphs != nullptr)
        FreeNotification(glyphs);
    Invalidate();
}

void TslListBox::SetItemHeight(int height) {
    sl_item_height_ = std::clamp(height, 0, 0xFFFF);
    RemeasureItems();
}

void TslListBox::SetTransparentColor(TColor color) {
    transparent_color_ = color;
    if (auto_transparent_ == TslAutoTransparentColor::ftcUser)
        Invalidate();
}

void TslListBox::SetHotTrackColor(TColor color) {
    if (hot_track_color_ == color)
        return;
    hot_track_color_ = color;
    InvalidateItem(hot_index_);
}

void TslListBox::SetOptions(TslListBoxOptions options) {
    if (options == options_)
        return;
    const bool transparent_added = options.Contains(TslListBoxOptions_::fboTransparent) &&
                                   !options_.Contains(TslListBoxOptions_::fboTransparent);
    if (!Loading() && transparent_added)
        CaptureBackground();
    options_ = options;
    UpdateTextFormat();
    RemeasureItems();
    Invalidate();
}

int TslListBox::SelectedCount() const {
    int count = 0;
    for (int i = 0; i < Count(); ++i)
        if (Selected(i))
            ++count;
    return count;
}

// ---- measuring and formats --------------------------------------------------------------------

void TslListBox::StyleChanged() {
    if (Loading())
        return;
    RemeasureItems();
    UpdateTextFormat();
    Invalidate();
}

void TslListBox::RemeasureItems() {
    RemeasureAll();
}

void TslListBox::UpdateTextFormat() {
    unsigned format = DT_NOPREFIX;
    format |= options_.Contains(TslListBoxOptions_::fboWordWrap) ? DT_WORDBREAK : DT_SINGLELINE;
    if (text_align_.Horizontal() == TslHorAlign::fhaCenter)
        format |= DT_CENTER;
    else if (text_align_.Horizontal() == TslHorAlign::fhaRight)
        format |= DT_RIGHT;
    if (text_align_.Vertical() == TslVertAlign::fvaCenter)
        format |= DT_VCENTER;
    else if (text_align_.Vertical() == TslVertAlign::fvaBottom)
        format |= DT_BOTTOM;
    text_format_ = format;
}

void TslListBox::MeasureItem(int index, int& height) {
    if (Loading())
        return;
    // A fixed height wins over whatever the text gives, so the text need not be measured.
    if (sl_item_height_ != 0) {
        height = sl_item_height_;
        return;
    }
    TRect r{0, 0, Width(), 0};
    if (options_.Contains(TslListBoxOptions_::fboExcludeGlyphs) && glyphs_ != nullptr) {
        if (glyphs_align_.Horizontal() == TslHorAlign::fhaLeft)
            r.Left = glyphs_->Width();
        else if (glyphs_align_.Horizontal() == TslHorAlign::fhaRight)
            r.Right -= glyphs_->Width();
    }
    const std::string& text = Items(index);
    if (!text.empty()) {
        const bool wrap = options_.Contains(TslListBoxOptions_::fboWordWrap);
        TCanvas& canvas = measure_surface_.Canvas();
        const int lines = CountTextLines(canvas.Font(), text, r.Width(), wrap);
        if (lines > 0) // what DrawText would give, without laying the text out
            r.Bottom = r.Top + lines * TextLineHeight(canvas.Font());
        else
            canvas.DrawText(text, r, DT_CALCRECT | (wrap ? DT_WORDBREAK : 0u));
    }
    if (r.Bottom == 0) // an empty line
        r.Bottom = 14;
    int h = r.Bottom - r.Top;

    const TslListBoxItemStyle& a = item_style_;
    const TslListBoxItemStyle& b = item_sel_style_;
    const int ring = a.Bevel().Bold() || b.Bevel().Bold() ? 2 : 1;
    int extra = 0;
    if (a.Bevel().Inner() != TBevelCut::bvNone || b.Bevel().Inner() != TBevelCut::bvNone)
        extra += ring;
    if (a.Bevel().Outer() != TBevelCut::bvNone || b.Bevel().Outer() != TBevelCut::bvNone)
        extra += ring;
    if (a.TextStyle() != TslTextStyle::fstNone || b.TextStyle() != TslTextStyle::fstNone)
        extra += 2;
    if (glyphs_ != nullptr && h < glyphs_->Height())
        h = glyphs_->Height();
    height = h + extra;
}

// ---- selection reports ------------------------------------------------------------------------

void TslListBox::ReportSelection() {
    if (!OnChange)
        return;
    prev_sel_index_ = last_sel_index_;
    last_sel_index_ = ItemIndex();
    if (prev_sel_index_ != last_sel_index_)
        OnChange(this, prev_sel_index_, last_sel_index_);
}

void TslListBox::SelectionChanged() {
    // Reported at once, not only when a line is next painted: a list in a hidden window would
    // otherwise never report a selection made by a command.
    ReportSelection();
}

// ---- hot-tracking -----------------------------------------------------------------------------

void TslListBox::MouseMove(TShiftState shift, int x, int y) {
    TListBox::MouseMove(shift, x, y);
    if (!options_.Contains(TslListBoxOptions_::fboHotTrack) &&
        !options_.Contains(TslListBoxOptions_::fboHotTrackSelect))
        return;
    const int index = ItemAtPos(ControlToItemArea(x, y), true);
    if (index == hot_index_)
        return;
    if (options_.Contains(TslListBoxOptions_::fboHotTrackSelect)) {
        SetItemIndex(index);
        Invalidate();
        return;
    }
    InvalidateItem(hot_index_);
    hot_index_ = index;
    InvalidateItem(index);
}

void TslListBox::MouseLeave() {
    TListBox::MouseLeave();
    if (hot_index_ == -1)
        return;
    InvalidateItem(hot_index_);
    hot_index_ = -1;
}

// ---- wallpaper --------------------------------------------------------------------------------

void TslListBox::CaptureBackground() {
    TBitmap& bitmap = Wallpaper();
    bitmap.SetSize(Width(), Height());
    CaptureParentBackground(*this, BoundsRect(), bitmap.Canvas());
    SelectWallpaper(&bitmap);
}

void CaptureParentBackground(TslListBox& list, const TRect& rect, TCanvas& target) {
    TWinControl* parent = list.Parent();
    if (parent == nullptr || rect.IsEmpty())
        return;
    // The parent's picture holds its face with its window-less controls painted over it in
    // their order, once what is waiting to be painted is done.
    parent->Update();
    TCanvas source(&parent->Picture());
    target.CopyRect({0, 0, rect.Width(), rect.Height()}, source, rect);
}

void TslListBox::TileWallpaper(TCanvas& canvas, const TRect& area, int first_row) {
    const TBitmap& bitmap = *current_wallpaper_;
    const int bw = bitmap.Width();
    const int bh = bitmap.Height();
    for (int x = area.Left; x < area.Right; x += bw) {
        const int tw = std::min(bw, area.Right - x);
        int source_row = first_row;
        for (int y = area.Top; y < area.Bottom;) {
            const int th = std::min(bh - source_row, area.Bottom - y);
            canvas.CopyRect({x, y, x + tw, y + th}, bitmap, {0, source_row, tw, source_row + th});
            y += th;
            source_row = 0;
        }
    }
}

void TslListBox::DrawWallpaper(TCanvas& canvas, const TRect& g, const TRect& item_rect,
                               TPoint to_control) {
    const TBitmap& bitmap = *current_wallpaper_;
    const int bw = bitmap.Width();
    const int bh = bitmap.Height();
    if (options_.Contains(TslListBoxOptions_::fboTransparent)) {
        const int source_top = g.Top + to_control.Y;
        canvas.CopyRect({g.Left + 1, g.Top, g.Right, g.Bottom}, bitmap,
                        {0, source_top, g.Width() - 1, source_top + g.Height()});
        return;
    }
    switch (wallpaper_option_) {
    case TslLBWallpaperOption::fwlNone: {
        const int w = std::min(bw, g.Width());
        const int h = std::min(bh, g.Height());
        canvas.CopyRect({g.Left, g.Top, g.Left + w, g.Top + h}, bitmap, {0, 0, w, h});
        break;
    }
    case TslLBWallpaperOption::fwlStretch:
        canvas.CopyRect(g, bitmap, {0, 0, bw, bh});
        break;
    case TslLBWallpaperOption::fwlTile:
        TileWallpaper(canvas, g, 0);
        break;
    case TslLBWallpaperOption::fwlGlobal:
        // The pattern runs on from line to line: its phase is the line's place in the control.
        TileWallpaper(canvas, g, (item_rect.Top + to_control.Y) % bh);
        break;
    }
}

void TslListBox::DrawWallpaperBelow(TCanvas& canvas, const TRect& g, const TRect& item_rect,
                                    TPoint to_control) {
    const TBitmap& bitmap = *current_wallpaper_;
    if (options_.Contains(TslListBoxOptions_::fboTransparent)) {
        const TRect below{item_rect.Left, item_rect.Bottom, item_rect.Right,
                          item_rect.Bottom + Height()};
        canvas.CopyRect(below, bitmap, below.Offset(to_control.X, to_control.Y));
    } else if (wallpaper_option_ == TslLBWallpaperOption::fwlGlobal) {
        TileWallpaper(canvas, {g.Left - 1, g.Bottom + 2, g.Right + 1, Height() - to_control.Y},
                      (item_rect.Bottom + to_control.Y) % bitmap.Height());
    }
}

// ---- glyphs -----------------------------------------------------------------------------------

void TslListBox::DrawGlyph(TCanvas& canvas, const TRect& g, int index, bool selected) {
    const int gw = glyphs_->Width();
    const int gh = glyphs_->Height();
    TPoint p{g.Left + 1, g.Top + 1};
    switch (glyphs_align_.Horizontal()) {
    case TslHorAlign::fhaCenter:
        p.X += (g.Right - p.X - gw) / 2;
        break;
    case TslHorAlign::fhaRight:
        p.X += g.Right - p.X - gw - 1;
        break;
    case TslHorAlign::fhaLeft:
        break;
    }
    switch (glyphs_align_.Vertical()) {
    case TslVertAlign::fvaCenter:
        p.Y += (g.Bottom - p.Y - gh) / 2;
        break;
    case TslVertAlign::fvaBottom:
        p.Y += g.Bottom - p.Y - gh - 1;
        break;
    case TslVertAlign::fvaTop:
        break;
    }
    int number = 0;
    if (!options_.Contains(TslListBoxOptions_::fboSingleGlyph)) {
        if (index >= num_glyphs_)
            return;
        number = index;
    }
    // The image list draws its masked pixels transparently: the work bitmap starts in the
    // list's transparent colour, so those pixels read as transparent at the corners too.
    glyph_work_.SetSize(gw, gh);
    TCanvas& work = glyph_work_.Canvas();
    work.Brush().SetStyle(TBrushStyle::bsSolid);
    work.Brush().SetColor(transparent_color_);
    work.FillRect({0, 0, gw, gh});
    glyphs_->Draw(work, 0, 0, number);
    if (selected && options_.Contains(TslListBoxOptions_::fboChangeGlyphColor))
        RecolorBitmap(glyph_work_, change_glyph_color_.RGBFromColor(),
                      change_glyph_color_.RGBToColor());
    const TColor transparent = auto_transparent_ == TslAutoTransparentColor::ftcUser
                                   ? transparent_color_
                                   : CornerPixelColor(glyph_work_, auto_transparent_);
    DrawBitmapTransparent(canvas, glyph_work_, p.X, p.Y, transparent);
}

// ---- drawing ----------------------------------------------------------------------------------

void TslListBox::DrawEmptyArea(TCanvas& target) const {
    if (!has_wallpaper_)
        return;
    const int w = std::min(Width(), current_wallpaper_->Width());
    const int h = std::min(Height(), current_wallpaper_->Height());
    target.CopyRect({0, 0, w, h}, *current_wallpaper_, {0, 0, w, h});
}

TRect TslListBox::DrawItemFrame(TCanvas& canvas, const TRect& r, const TslListBoxItemStyle& style,
                                TColor item_color, bool use_wallpaper) {
    const bool auto_3d = options_.Contains(TslListBoxOptions_::fboAutoCtl3DColors);
    if (auto_3d) {
        Derive3DColors(*local_3d_colors_, item_color);
        Push3DColors(*local_3d_colors_);
    }
    const TslBevel& bevel = style.Bevel();
    const TRect inner =
        DrawBevelFrame(canvas, {r.Left + 1, r.Top, r.Right - 1, r.Bottom - 1}, bevel.Sides(),
                       bevel.Inner(), bevel.Outer(), bevel.Bold(), item_color, use_wallpaper);
    if (auto_3d)
        Pop3DColors(*local_3d_colors_);
    return {inner.Left - 1, inner.Top, inner.Right + 1, inner.Bottom + 1};
}

void TslListBox::FillItemGradient(TCanvas& canvas, const TRect& g, const TslListBoxItemStyle& style,
                                  TColor item_color) const {
    const TGradient& gradient = style.Gradient();
    if (!gradient.Active())
        return;
    TColor from = gradient.RGBFromColor();
    TColor to = gradient.RGBToColor();
    // Only a plain colour other than black stands in for a gradient colour.
    if (static_cast<int32_t>(item_color) > 0) {
        if (options_.Contains(TslListBoxOptions_::fboItemColorAsGradientFrom))
            from = item_color;
        if (options_.Contains(TslListBoxOptions_::fboItemColorAsGradientTo))
            to = item_color;
    }
    FillGradient(canvas, g, gradient, from, to, 1, TPenStyle::psSolid);
}

void TslListBox::DrawItemGlyph(TCanvas& canvas, TRect& g, int index, bool selected) {
    if (glyphs_ == nullptr)
        return;
    if (glyphs_->Count() > 0)
        DrawGlyph(canvas, g, index, selected);
    if (options_.Contains(TslListBoxOptions_::fboExcludeGlyphs)) {
        if (glyphs_align_.Horizontal() == TslHorAlign::fhaLeft)
            g.Left += glyphs_->Width();
        else if (glyphs_align_.Horizontal() == TslHorAlign::fhaRight)
            g.Right -= glyphs_->Width();
    }
}

void TslListBox::DrawItemText(TCanvas& canvas, const TRect& text_rect, TslListBoxItemStyle& style,
                              int index) {
    TFont& font = style.Font();
    if (OnGetItemFontColor) {
        TColor color = font.Color();
        OnGetItemFontColor(this, index, color);
        font.SetColor(color);
    }
    const TColor saved = font.Color();
    if (hot_index_ == index)
        font.SetColor(hot_track_color_);
    // Text that fits on its line draws the same without the word-break search.
    const std::string& text = Items(index);
    unsigned format = text_format_;
    if ((format & DT_WORDBREAK) != 0 && CountTextLines(font, text, text_rect.Width(), true) == 1)
        format &= ~DT_WORDBREAK;
    DrawStyledText(canvas, text_rect, text, style.TextStyle(), &font, format);
    font.SetColor(saved);
}

void TslListBox::DrawItem(const TDrawItemStruct& item) {
    if (Count() == 0)
        return;
    const TRect area = ItemAreaRect();
    TCanvas& target = *item.Canvas;
    if (item.ItemID == -1) {
        DrawEmptyArea(target);
        return;
    }
    if (item.ItemID < 0 || item.ItemID >= Count())
        return;

    constexpr unsigned kStates = ODS_SELECTED | ODS_GRAYED | ODS_DISABLED | ODS_CHECKED | ODS_FOCUS;
    const unsigned state = item.ItemState & kStates;
    const bool selected = state == ODS_SELECTED || state == (ODS_SELECTED | ODS_FOCUS);

    TRect r = item.ItemRect;
    const bool buffered = options_.Contains(TslListBoxOptions_::fboBufferedDraw);
    std::unique_ptr<TBitmap> buffer;
    if (buffered) {
        buffer = std::make_unique<TBitmap>(std::max(1, r.Width()), std::max(1, r.Height()));
        r = r.Offset(0, -r.Top);
    }
    TCanvas& canvas = buffered ? buffer->Canvas() : target;
    // From the drawing canvas to the control: the line area's place, and the buffer's shift.
    const TPoint to_control{area.Left, area.Top + item.ItemRect.Top - r.Top};

    TslListBoxItemStyle& style = selected ? item_sel_style_ : item_style_;
    const bool use_wallpaper =
        has_wallpaper_ && !(selected && item_style_.Color() != item_sel_style_.Color());
    TColor item_color = style.Color();
    if (OnGetItemColor)
        OnGetItemColor(this, item.ItemID, item_color);

    TRect g = DrawItemFrame(canvas, r, style, item_color, use_wallpaper);
    FillItemGradient(canvas, g, style, item_color);
    const TRect wallpaper_area = g;
    if (use_wallpaper)
        DrawWallpaper(canvas, g, r, to_control);
    DrawItemGlyph(canvas, g, item.ItemID, selected);
    if (!options_.Contains(TslListBoxOptions_::fboHideText))
        DrawItemText(canvas, {g.Left + 1, g.Top, g.Right - 2, g.Bottom}, style, item.ItemID);

    if (buffered)
        target.Draw(item.ItemRect.Left, item.ItemRect.Top, *buffer);
    // Below the last line, outside any buffer: the wallpaper goes on there too.
    if (use_wallpaper && item.ItemID == Count() - 1)
        DrawWallpaperBelow(target, wallpaper_area.Offset(0, item.ItemRect.Top - r.Top),
                           item.ItemRect, {area.Left, area.Top});
    if ((item.ItemState & ODS_FOCUS) != 0 && options_.Contains(TslListBoxOptions_::fboShowFocus))
        DrawFocusRect(target, item.ItemRect);
    buffer.reset();
    if (OnDrawItem)
        OnDrawItem(this, item);
    ReportSelection();
}

// ---- drag image -------------------------------------------------------------------------------

void TslListBox::BuildDragImage(TPoint cursor) {
    drag_images_->Clear();
    if (ItemIndex() == -1)
        return;
    const TRect r = ItemRect(ItemIndex());
    int hot_x = cursor.X - r.Left;
    int hot_y = cursor.Y - r.Top;
    TBitmap bitmap;
    TColor transparent = clWhite;
    if (OnGetDragImage) {
        OnGetDragImage(this, bitmap, transparent, hot_x, hot_y);
    } else {
        bitmap.SetSize(r.Width(), r.Height());
        TCanvas& c = bitmap.Canvas();
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(clWhite);
        c.FillRect({0, 0, r.Width(), r.Height()});
        c.Font().Assign(&item_sel_style_.Font());
        DrawFocusRect(c, {0, 0, r.Width(), r.Height()});
        c.Brush().SetStyle(TBrushStyle::bsClear);
        c.TextOut(1, 1, Items(ItemIndex()));
        transparent = clWhite;
    }
    if (bitmap.Empty())
        return;
    drag_images_->SetSize(bitmap.Width(), bitmap.Height());
    drag_images_->AddMasked(bitmap, ColorToRGB(transparent));
    drag_hot_spot_ = {hot_x, hot_y};
}

TImageList* TslListBox::GetDragImages() const {
    return drag_images_ && drag_images_->Count() > 0 ? drag_images_.get() : nullptr;
}

} // namespace vd
