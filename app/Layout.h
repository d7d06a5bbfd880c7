#pragma once

#include "framework/Colors.h"
#include "framework/Dialogs.h"

#include <span>
#include <string_view>
#include <variant>

// A window's layout as data: one entry per component, in layout order, each with its class's
// settings. References to other components and handlers are by name, resolved once every
// component exists.
namespace vd::layout {

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The part of a skin graphic a control uses; clip rectangles start at the graphic's left edge.
struct Clip {
    std::string_view graphic;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Font {
    std::string_view name = "MS Sans Serif";
    int points = 8;
    bool bold = false;
    TColor color = clWindowText;
};

struct Composer {
    std::string_view block; // a resource holding the skin store's stored form
};
struct Skin {
    Bounds bounds;
    std::string_view graphic;
    TColor mask = clNone;
    std::string_view composer;
    std::string_view popup;
};
struct Slider {
    Bounds bounds;
    Clip clip;
    std::string_view hint;
    int min = 0;
    int max = 100;
    int position = 0;
    TColor mask = clNone;
    std::string_view on_click;
};
struct Button {
    Bounds bounds;
    Clip clip;
    std::string_view on_click;
};
struct Label {
    Bounds bounds;
    std::string_view caption;
    bool auto_size = true;
    Font font;
    std::string_view popup;
};
struct Bar {
    Bounds bounds;
    Clip clip;
    int min = 0;
    int max = 100;
    int position = 0;
    int step = 10;
    std::string_view popup;
};
// Lit pictures of the format lamps (a resource: one under another, each the size of the bounds).
struct Lamps {
    Bounds bounds;
    std::string_view pictures;
};
struct MediaPlayer {};
struct ListBox {
    Bounds bounds;
    bool visible = true;
    int item_height = 13;
};
struct PlaylistView {
    Bounds bounds;
    std::string_view popup;
    std::string_view on_dbl_click;
    std::string_view on_change;
};
struct Dialog {
    bool save = false;
    std::string_view title;
    std::string_view filter;
    TOpenOptions options = ofHideReadOnly | ofEnableSizing;
    std::string_view default_ext;
};
struct Timer {
    bool enabled = true;
    int interval_ms = 1000;
    std::string_view on_timer;
};
struct ImageList {
    std::string_view strip; // a resource: the pictures side by side
    int width = 16;
    int height = 16;
    TColor mask = clFuchsia;
};
struct TrayIcon {
    std::string_view hint;
    std::string_view icon;
    std::string_view popup;
    std::string_view on_click;
    bool minimize_to_tray = true;
};
struct PopupMenu {
    std::string_view images;
};
struct MenuItem {
    std::string_view parent; // a popup menu or a menu item
    std::string_view caption;
    int image = -1;
    std::string_view on_click;
    bool is_default = false;
    bool enabled = true;
};
// The menu painter: read in this order, Active last.
struct FlatMenu {
    int dim_level = 30;
    int gray_level = 10;
    Font font{"Tahoma", 8, false, clMenuText};
    TColor color = clBtnFace;
    TColor icon_back_color = clBtnFace;
    TColor menu_bar_color = clBtnFace;
    TColor select_color = clHighlight;
    TColor select_border_color = clHighlight;
    TColor select_font_color = clMenuText;
    TColor disabled_color = clInactiveCaption;
    TColor separator_color = clBtnFace;
    TColor checked_color = clHighlight;
    int icon_width = 24;
    bool draw_select = true;
    bool use_system_colors = true;
    bool override_owner_draw = false;
    bool gradient = false;
    bool flat_menu = false;
    bool auto_detect = true;
    bool active = true;
};
struct VisualStyles {};
// A raised label: a highlight copy of the caption one pixel up and left, on no background.
struct ShadowLabel {
    Bounds bounds;
    std::string_view caption;
    Font font;
    bool auto_size = true;
    bool word_wrap = false;
};
// A picture from a GIF resource, its transparent colour see-through; sized to the picture.
struct Image {
    Bounds bounds;
    std::string_view gif;
};
// A flat speed button with a caption.
struct SpeedButton {
    Bounds bounds;
    std::string_view caption;
    Font font;
    std::string_view on_click;
};

using Props = std::variant<Composer, Skin, Slider, Button, Label, Bar, Lamps, MediaPlayer, ListBox,
                           PlaylistView, Dialog, Timer, ImageList, TrayIcon, PopupMenu, MenuItem,
                           FlatMenu, VisualStyles, ShadowLabel, Image, SpeedButton>;

struct Entry {
    std::string_view name;
    std::string_view parent; // the windowed control it sits on; empty: the form, or none
    Props props;
};

} // namespace vd::layout

namespace vd {

// The main window's layout.
[[nodiscard]] std::span<const layout::Entry> MainWindowLayout();
// The About dialog's layout.
[[nodiscard]] std::span<const layout::Entry> AboutDialogLayout();

} // namespace vd
