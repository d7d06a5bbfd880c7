#pragma once

#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/ListBox.h"
#include "widgets/sl3DCol.h"
#include "widgets/slCommCl.h"
#include "widgets/slTypes.h"

#include <functional>
#include <memory>

namespace vd {

// How one kind of line looks: background colour, bevel, font and 3-D text effect. Every setter
// notifies the owner unless the value is unchanged; Font and TextStyle notify always. Changes made
// inside the owned Font (its colour, say) notify nothing.
class TslCustomListBoxItemStyle : public TslStyleObject {
public:
    TslCustomListBoxItemStyle() = default;
    TslCustomListBoxItemStyle(const TslCustomListBoxItemStyle&) = delete;
    TslCustomListBoxItemStyle& operator=(const TslCustomListBoxItemStyle&) = delete;

    [[nodiscard]] TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Stored; it has no effect on drawing.
    [[nodiscard]] TColor DelineateColor() const { return delineate_color_; }
    void SetDelineateColor(TColor color);
    [[nodiscard]] TFont& Font() { return font_; }
    [[nodiscard]] const TFont& Font() const { return font_; }
    // Copies `font` into the owned one.
    void SetFont(const TFont& font);
    [[nodiscard]] TslBevel& Bevel() { return bevel_; }
    [[nodiscard]] const TslBevel& Bevel() const { return bevel_; }
    [[nodiscard]] TslTextStyle TextStyle() const { return text_style_; }
    void SetTextStyle(TslTextStyle style);

    // Stores the owner's change handler here and in the owned parts that report changes.
    virtual void SetChangeHandler(TslChangeEvent handler);

    void Assign(const TPersistent* source) override;

private:
    TColor color_ = clBlack;
    TColor delineate_color_ = clBlack;
    TFont font_;
    TslBevel bevel_;
    TslTextStyle text_style_ = TslTextStyle::fstNone;
};

// An item style with a gradient drawn over its background.
class TslListBoxItemStyle : public TslCustomListBoxItemStyle {
public:
    [[nodiscard]] TGradient& Gradient() { return gradient_; }
    [[nodiscard]] const TGradient& Gradient() const { return gradient_; }
    void SetChangeHandler(TslChangeEvent handler) override;
    void Assign(const TPersistent* source) override;

private:
    TGradient gradient_;
};

// A component that shows a picture (an image control), which a list box can take its wallpaper
// from.
class TslPictureSource {
public:
    virtual ~TslPictureSource() = default;
    // The picture, or nullptr when there is none.
    [[nodiscard]] virtual const TBitmap* PictureBitmap() const = 0;
};

class TslListBox;

using TslLBOnDrawEvent = std::function<void(TComponent* sender, const TDrawItemStruct& message)>;
using TslLBChangeEvent =
    std::function<void(TComponent* sender, int old_sel_item_index, int sel_item_index)>;
using TslOnGetItemColorEvent = std::function<void(TComponent* sender, int index, TColor& color)>;
using TslOnGetDragImageEvent =
    std::function<void(TComponent* sender, TBitmap& bitmap, TColor& transparent_color,
                       int& hot_spot_x, int& hot_spot_y)>;

// The styled list: an owner-drawn list box of measured line heights whose lines are painted from
// ItemStyle, and the selected one from ItemSelStyle, with gradients, bevels, 3-D text, glyphs
// from an image list, a wallpaper, hot-tracking of the line under the mouse and a drag image.
// The selection is reported through OnChange as (old index, new index) once for every change,
// as soon as it happens and whether or not the list is painted.
class TslListBox : public TListBox {
public:
    explicit TslListBox(TComponent* owner);
    ~TslListBox() override;

    [[nodiscard]] TslAutoTransparentColor AutoTransparentColor() const { return auto_transparent_; }
    void SetAutoTransparentColor(TslAutoTransparentColor value);
    // The own wallpaper bitmap, created empty on first use.
    [[nodiscard]] TBitmap& Wallpaper();
    // Replaces the own wallpaper with a copy of `bitmap` (nullptr: empty) and makes it current
    // (or, without one, the picture of WallpaperImage).
    void SetWallpaper(const TBitmap* bitmap);
    [[nodiscard]] TComponent* WallpaperImage() const { return wallpaper_image_; }
    // A component that is a TslPictureSource; its picture becomes the current wallpaper when it
    // has one, else the own wallpaper does.
    void SetWallpaperImage(TComponent* image);
    [[nodiscard]] TslLBWallpaperOption WallpaperOption() const { return wallpaper_option_; }
    void SetWallpaperOption(TslLBWallpaperOption value);
    [[nodiscard]] int NumGlyphs() const { return num_glyphs_; }
    // 0 is ignored.
    void SetNumGlyphs(int value);
    [[nodiscard]] T2DAlign& GlyphsAlign() { return glyphs_align_; }
    [[nodiscard]] TslListBoxItemStyle& ItemStyle() { return item_style_; }
    [[nodiscard]] TslListBoxItemStyle& ItemSelStyle() { return item_sel_style_; }
    [[nodiscard]] TImageList* Glyphs() const { return glyphs_; }
    void SetGlyphs(TImageList* glyphs);
    [[nodiscard]] T2DAlign& TextAlign() { return text_align_; }
    // 0 measures every line from its text; any other value makes every line that high.
    [[nodiscard]] int ItemHeight() const override { return sl_item_height_; }
    void SetItemHeight(int height) override;
    [[nodiscard]] TColor TransparentColor() const { return transparent_color_; }
    void SetTransparentColor(TColor color);
    [[nodiscard]] TColor HotTrackColor() const { return hot_track_color_; }
    void SetHotTrackColor(TColor color);
    [[nodiscard]] TslListBoxOptions Options() const { return options_; }
    void SetOptions(TslListBoxOptions options);
    [[nodiscard]] TTwainColors& ChangeGlyphColor() { return change_glyph_color_; }

    // Called after each line is drawn, with the draw request.
    TslLBOnDrawEvent OnDrawItem;
    TslLBChangeEvent OnChange;
    // May change a line's background colour.
    TslOnGetItemColorEvent OnGetItemColor;
    // May change a line's text colour; the colour given stays in the style's font.
    TslOnGetItemColorEvent OnGetItemFontColor;
    // Paints a custom drag image into the bitmap and sets its transparent colour and hot spot.
    TslOnGetDragImageEvent OnGetDragImage;

    // How many lines are selected.
    [[nodiscard]] int SelectedCount() const;
    // The line under the mouse when hot-tracking, -1 for none.
    [[nodiscard]] int HotIndex() const { return hot_index_; }
    // The DrawText flags of line text, from the options and TextAlign.
    [[nodiscard]] unsigned TextFormat() const { return text_format_; }
    [[nodiscard]] const TBitmap* CurrentWallpaper() const { return current_wallpaper_; }
    [[nodiscard]] bool HasWallpaper() const { return has_wallpaper_; }

    // At the start of a drag from `cursor` (item-area coordinates): the picture of the selected
    // line, or the owner's, with its hot spot.
    void BuildDragImage(TPoint cursor);
    // The drag image list when it holds an image, else nullptr.
    [[nodiscard]] TImageList* GetDragImages() const;
    [[nodiscard]] TPoint DragHotSpot() const { return drag_hot_spot_; }

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void MeasureItem(int index, int& height) override;
    void DrawItem(const TDrawItemStruct& item) override;
    void SelectionChanged() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave() override;

    // Every line measured anew (text, order and selection stay), then one repaint.
    void RemeasureItems();
    void UpdateTextFormat();

private:
    void StyleChanged();
    void ReportSelection();
    void SelectWallpaper(const TBitmap* bitmap);
    void CaptureBackground();
    [[nodiscard]] const TBitmap* ImagePicture() const;
    // The wallpaper in the line's rectangle `g`, and (for the last line) in the space below it;
    // `to_control` maps the drawing canvas's coordinates to the control's.
    void DrawWallpaper(TCanvas& canvas, const TRect& g, const TRect& item_rect, TPoint to_control);
    void DrawWallpaperBelow(TCanvas& canvas, const TRect& g, const TRect& item_rect,
                            TPoint to_control);
    void TileWallpaper(TCanvas& canvas, const TRect& area, int first_row);
    // Draws the line's glyph (if it has one) in `g`.
    void DrawGlyph(TCanvas& canvas, const TRect& g, int index, bool selected);

    // The steps of drawing one line (DrawItem). The area no line covers: the wallpaper.
    void DrawEmptyArea(TCanvas& target) const;
    // The bevel inside the line's rectangle `r` (in the 3-D colours derived from `item_color`
    // when asked to) and, unless the wallpaper shows, the line's colour inside it; returns the
    // rectangle the rest of the line is drawn in.
    TRect DrawItemFrame(TCanvas& canvas, const TRect& r, const TslListBoxItemStyle& style,
                        TColor item_color, bool use_wallpaper);
    // The style's gradient in `g`, from or to the line's own colour when the options say so.
    void FillItemGradient(TCanvas& canvas, const TRect& g, const TslListBoxItemStyle& style,
                          TColor item_color) const;
    // The glyph in `g`; then `g` without the glyph's column when glyphs are kept apart.
    void DrawItemGlyph(TCanvas& canvas, TRect& g, int index, bool selected);
    // The line's text in `text_rect`, in the style's font (its colour as the application asks
    // for it, the hot-track colour under the pointer).
    void DrawItemText(TCanvas& canvas, const TRect& text_rect, TslListBoxItemStyle& style,
                      int index);

    TslAutoTransparentColor auto_transparent_ = TslAutoTransparentColor::ftcLeftBottomPixel;
    std::unique_ptr<TBitmap> wallpaper_;
    TComponent* wallpaper_image_ = nullptr;
    TslLBWallpaperOption wallpaper_option_ = TslLBWallpaperOption::fwlNone;
    int num_glyphs_ = 1;
    T2DAlign glyphs_align_;
    TslListBoxItemStyle item_style_;
    TslListBoxItemStyle item_sel_style_;
    TImageList* glyphs_ = nullptr;
    T2DAlign text_align_;
    int sl_item_height_ = 0;
    TColor transparent_color_ = clOlive;
    TColor hot_track_color_ = clBlue;
    TslListBoxOptions options_{TslListBoxOptions_::fboExcludeGlyphs,
                               TslListBoxOptions_::fboHotTrack, TslListBoxOptions_::fboWordWrap};
    TTwainColors change_glyph_color_;

    int hot_index_ = -1;
    int last_sel_index_ = 0;
    int prev_sel_index_ = 0;
    unsigned text_format_ = 0;
    const TBitmap* current_wallpaper_ = nullptr;
    bool has_wallpaper_ = false;
    TBitmap glyph_work_;
    // The canvas lines are measured on; its font is ItemStyle's once loaded.
    TBitmap measure_surface_;
    std::unique_ptr<TImageList> drag_images_;
    TPoint drag_hot_spot_;
    std::unique_ptr<Tsl3DLocalColors> local_3d_colors_;
};

// Paints what lies beneath `list` (its parent's face and the window-less controls on it) for
// `rect` (parent coordinates) into `target`, from its origin.
void CaptureParentBackground(TslListBox& list, const TRect& rect, TCanvas& target);

} // namespace vd
