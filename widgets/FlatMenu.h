#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Graphics.h"

#include <cstdint>
#include <string_view>

namespace vd {

class TForm;
class TMenuItem;
class TBitmap;
class TControl;
class TControlSubClass;
class TSpeedButton;

// The containers whose controls the painter restyles, bit 0 first.
enum TFlatContainer : uint16_t {
    fccForm = 1u << 0,
    fccFrame = 1u << 1,
    fccToolbar = 1u << 2,
    fccCoolbar = 1u << 3,
    fccControlbar = 1u << 4,
    fccPanel = 1u << 5,
    fccScrollBox = 1u << 6,
    fccGroupBox = 1u << 7,
    fccTabSheet = 1u << 8,
    fccPageScroller = 1u << 9,
};
using TFlatContainers = uint16_t;
inline constexpr TFlatContainers kAllFlatContainers = 1023;

// The menus and controls the painter takes over, bit 0 first.
enum TFlatControl : uint16_t {
    fcMainMenu = 1u << 0,
    fcPopupMenu = 1u << 1,
    fcToolbar = 1u << 2,
    fcControlbar = 1u << 3,
    fcCombo = 1u << 4,
    fcEdit = 1u << 5,
    fcMaskEdit = 1u << 6,
    fcMemo = 1u << 7,
    fcRichEdit = 1u << 8,
    fcCheckBox = 1u << 9,
    fcRadioButton = 1u << 10,
    fcButton = 1u << 11,
    fcBitBtn = 1u << 12,
    fcSpeedButton = 1u << 13,
    fcPanel = 1u << 14,
    fcGroupBox = 1u << 15,
};
using TFlatControls = uint16_t;
inline constexpr TFlatControls kAllFlatControls = 65535;

// Options a control bar's band paint handler may leave to the bar (frame, grabber).
enum TBandPaintOption : unsigned { bpoGrabber = 1, bpoFrame = 2 };
using TBandPaintOptions = unsigned;

// The flat menu painter: while active it owner-draws every menu item of its form (icon column,
// selection box, dimmed and lifted icons, check and radio marks, shaded default item) and
// restyles the form's speed buttons in the same colours.
class TFlatMenu : public TComponent {
public:
    // `owner` must be a form; GUI thread.
    explicit TFlatMenu(TComponent* owner);
    ~TFlatMenu() override;

    // Settings, in the order a layout sets them (Active last).
    [[nodiscard]] int DimLevel() const { return dim_level_; }
    void SetDimLevel(int value) { dim_level_ = static_cast<uint8_t>(value); }
    [[nodiscard]] int GrayLevel() const { return gray_level_; }
    void SetGrayLevel(int value) { gray_level_ = static_cast<uint8_t>(value); }
    [[nodiscard]] const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    [[nodiscard]] TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    [[nodiscard]] TColor IconBackColor() const { return icon_back_color_; }
    void SetIconBackColor(TColor value) { icon_back_color_ = value; }
    [[nodiscard]] TColor MenuBarColor() const { return menu_bar_color_; }
    void SetMenuBarColor(TColor value);
    [[nodiscard]] TColor SelectColor() const { return select_color_; }
    void SetSelectColor(TColor value) { select_color_ = value; }
    [[nodiscard]] TColor SelectBorderColor() const { return select_border_color_; }
    void SetSelectBorderColor(TColor value) { select_border_color_ = value; }
    [[nodiscard]] TColor SelectFontColor() const { return select_font_color_; }
    void SetSelectFontColor(TColor value) { select_font_color_ = value; }
    [[nodiscard]] TColor DisabledColor() const { return disabled_color_; }
    void SetDisabledColor(TColor value) { disabled_color_ = value; }
    [[nodiscard]] TColor SeparatorColor() const { return separator_color_; }
    void SetSeparatorColor(TColor value) { separator_color_ = value; }
    [[nodiscard]] TColor CheckedColor() const { return checked_color_; }
    void SetCheckedColor(TColor value) { checked_color_ = value; }
    [[nodiscard]] int IconWidth() const { return icon_width_; }
    void SetIconWidth(int value) { icon_width_ = value; }
    [[nodiscard]] bool DrawSelect() const { return draw_select_; }
    void SetDrawSelect(bool value) { draw_select_ = value; }
    [[nodiscard]] bool UseSystemColors() const { return use_system_colors_; }
    void SetUseSystemColors(bool value);
    [[nodiscard]] bool OverrideOwnerDraw() const { return override_owner_draw_; }
    void SetOverrideOwnerDraw(bool value);
    [[nodiscard]] bool Gradient() const { return gradient_; }
    void SetGradient(bool value) { gradient_ = value; }
    [[nodiscard]] bool FlatMenu() const { return flat_menu_; }
    void SetFlatMenu(bool value) { flat_menu_ = value; }
    [[nodiscard]] bool AutoDetect() const { return auto_detect_; }
    void SetAutoDetect(bool value) { auto_detect_ = value; }
    [[nodiscard]] TFlatContainers FlatContainers() const { return flat_containers_; }
    void SetFlatContainers(TFlatContainers value);
    [[nodiscard]] TFlatControls FlatControls() const { return flat_controls_; }
    void SetFlatControls(TFlatControls value);
    [[nodiscard]] bool Active() const { return active_; }
    void SetActive(bool value);

    // The working colours of the last paint.
    struct WorkColors {
        TColor color = 0;
        TColor icon_back = 0;
        TColor select = 0;
        TColor select_border = 0;
        TColor select_font = 0;
        TColor checked_area = 0;
        TColor checked_area_select = 0;
        TColor checked = 0;
        TColor menu_bar = 0;
        TColor disabled = 0;
        TColor separator = 0;
        TColor menu_border = 0;
        TColor menu_shadow = 0;
    };
    [[nodiscard]] const WorkColors& Work() const { return work_; }
    [[nodiscard]] bool IsHighColor() const { return high_color_; }
    // Derives the working colours for painting on `canvas` (and, with UseSystemColors, takes
    // the desktop's menu font).
    void PrepareColors(const TCanvas& canvas);

    // The handlers the painter installs on menu items. GUI thread.
    void MeasureMenuItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void DrawMenuItem(TMenuItem* item, TCanvas& canvas, const TRect& rect, bool selected);
    // Whether the item's events hold this painter's handlers.
    [[nodiscard]] bool DrawsItem(const TMenuItem* item) const;
    [[nodiscard]] bool MeasuresItem(const TMenuItem* item) const;

    // The hook pass: hooks (enable) or unhooks the menus and controls of `form`.
    void ApplyToForm(TForm& form, bool enable, bool repaint);

    // Drawing routines, shared by menu items and restyled controls.
    [[nodiscard]] TColor LightenColor(const TCanvas& surface, TColor color, int p) const;
    [[nodiscard]] TColor ContrastTextColor(const TCanvas& surface, TColor background) const;
    void FillGradient(TCanvas& canvas, const TRect& r, bool rtl) const;
    void DrawCheckMark(const TMenuItem& item, TCanvas& canvas, bool selected, const TRect& mark,
                       bool has_image, bool enabled) const;
    // `lifts` tells a menu item or a button (whose icon sits where it is told) apart.
    struct IconState {
        bool selected = false;
        bool enabled = true;
        bool checked = false;
        bool top_level = false;
        bool rtl = false;
        bool pressed = false;
        bool menu_item = true;
    };
    void DrawItemIcon(TBitmap& bitmap, TCanvas& canvas, const TRect& icon_rect,
                      const IconState& state) const;
    struct TextState {
        bool selected = false;
        bool enabled = true;
        bool is_default = false;
        bool top_level = false;
        bool rtl = false;
    };
    void DrawItemText(TCanvas& canvas, std::string_view label, std::string_view shortcut,
                      TRect text_rect, unsigned format, const TextState& state) const;
    // A selected item of a menu bar.
    void DrawMenuBarItem(TCanvas& canvas, const TRect& r, bool rtl) const;
    // The flat frame of a popup menu's window, drawn on that window's own picture.
    void DrawFlatBorder(TCanvas& canvas, bool rtl) const;
    // A control bar's band: filled in the bar's colour with a grip; the bar adds nothing.
    void PaintControlBarBand(TColor bar_color, TCanvas& canvas, const TRect& band,
                             TBandPaintOptions& options);

    // The restyled controls.
    [[nodiscard]] TControlSubClass* HookOf(const TControl* control) const;
    [[nodiscard]] int HookCount() const;
    void PaintControl(TControlSubClass& hook);

    void Notification(TComponent* component, TOperation operation) override;

private:
    void RedrawMenuBar();
    // A new set of restyled containers or controls: while active, the form is restyled off
    // under the old set and on again under the new one.
    void ChangeRestyled(uint16_t& setting, uint16_t value);
    void HookItem(TMenuItem* item, bool enable, bool recurse);
    void HookFamily(TMenuItem* item);
    void ApplyToControl(TComponent* component, bool enable, bool repaint);
    void PaintSpeedButton(TSpeedButton& button, const TControlSubClass& hook);
    // The steps of PaintSpeedButton. A light tint of the selection colour multiplied into the
    // client area `w` × `h` (a transparent button that is down or under the pointer).
    void TintSpeedButton(TCanvas& canvas, int w, int h) const;
    // The button's rectangle in `fill` and `border`, and its 3-D edge unless it is flat.
    void FrameSpeedButton(const TSpeedButton& button, TCanvas& canvas, TColor fill, TColor border,
                          bool highlighted, bool pressed) const;
    // The first of its glyphs and its caption, placed by its layout.
    void DrawSpeedButtonContent(const TSpeedButton& button, TCanvas& canvas,
                                const TControlSubClass& hook) const;
    void UnhookAllControls();
    [[nodiscard]] bool IsTopLevel(const TMenuItem* item) const;

    // The steps of drawing one menu item (DrawMenuItem). Where its parts go.
    struct ItemLayout {
        TRect icon;
        TRect mark;
        TRect text;
    };
    // The item's picture in `picture` (its own bitmap, or its image of the menu's list over the
    // menu's colour at (2, 2) of `canvas`); whether it has one.
    [[nodiscard]] static bool ItemPicture(const TMenuItem& item, const TCanvas& canvas,
                                          TBitmap& picture);
    [[nodiscard]] ItemLayout LayOutItem(const TRect& r, bool rtl, bool top_level, bool has_image,
                                        int picture_width) const;
    void DrawItemBackground(TCanvas& canvas, const TRect& r, const TRect& icon_rect, bool top_level,
                            bool rtl) const;
    void DrawItemSelection(TCanvas& canvas, const TRect& r, bool top_level, bool enabled,
                           bool rtl) const;
    // A separator's line across the middle of `text_rect`.
    void DrawSeparator(TCanvas& canvas, const TRect& text_rect, bool rtl) const;

    TForm* form_;
    uint8_t dim_level_ = 30;
    uint8_t gray_level_ = 10;
    TFont font_;
    TColor color_ = clBtnFace;
    TColor icon_back_color_ = clBtnFace;
    TColor menu_bar_color_ = clBtnFace;
    TColor select_color_ = clHighlight;
    TColor select_border_color_ = clHighlight;
    TColor select_font_color_ = clMenuText;
    TColor disabled_color_ = clInactiveCaption;
    TColor separator_color_ = clBtnFace;
    TColor checked_color_ = clHighlight;
    int icon_width_ = 24;
    bool draw_select_ = true;
    bool use_system_colors_ = true;
    bool override_owner_draw_ = false;
    bool gradient_ = false;
    bool flat_menu_ = false;
    bool auto_detect_ = false;
    TFlatContainers flat_containers_ = 0;
    TFlatControls flat_controls_ = 0;
    bool active_ = false;

    bool high_color_ = true;
    WorkColors work_;
};

} // namespace vd
