#include "app/LayoutBuilder.h"

#include "app/FormatLamps.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/GifImage.h"
#include "framework/Graphics.h"
#include "framework/ImageList.h"
#include "framework/ListBox.h"
#include "framework/Menus.h"
#include "framework/Resources.h"
#include "framework/Stream.h"
#include "framework/Timer.h"
#include "player/MediaPlayer.h"
#include "skin/VsButtons.h"
#include "skin/VsComposer.h"
#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSkin.h"
#include "skin/VsSlider.h"
#include "widgets/FlatMenu.h"
#include "widgets/PlacesDialogs.h"
#include "widgets/PlaylistView.h"
#include "widgets/ShadowLabel.h"
#include "widgets/TrayIcon.h"
#include "widgets/VisualStyles.h"

#include <stdexcept>
#include <vector>

namespace vd {

namespace {

using namespace layout;

template <class T>
T* Find(TForm& form, std::string_view name) {
    return LayoutComponent<T>(form, name);
}

TNotifyEvent Handler(const LayoutHandlers& handlers, std::string_view name) {
    const auto it = handlers.notify.find(name);
    if (it == handlers.notify.end())
        MissingFromLayout("handler", name);
    return it->second;
}

void SetBounds(TControl& control, const layout::Bounds& b) {
    control.SetBounds(b.left, b.top, b.width, b.height);
}

void SetClip(TVsClipRect& clip, const Clip& c) {
    clip.SetLeft(0);
    clip.SetTop(c.top);
    clip.SetWidth(c.width);
    clip.SetHeight(c.height);
}

void SetFont(TFont& font, const layout::Font& f) {
    font.SetName(f.name);
    font.SetSize(f.points);
    font.SetStyle(f.bold ? TFontStyles{fsBold} : TFontStyles{0});
    font.SetColor(f.color);
}

// Creates the component of one entry and applies its settings.
struct Creator {
    TForm& form;
    const Entry& entry;

    template <class T>
    T* Make() {
        T* component = TComponent::Create<T>(&form);
        component->BeginLoading();
        component->SetName(entry.name);
        if constexpr (std::is_base_of_v<TControl, T>) {
            TWinControl* parent = &form;
            if (!entry.parent.empty())
                parent = Find<TWinControl>(form, entry.parent);
            component->SetParent(parent);
            component->SetCursor(crDrag);
        }
        return component;
    }

    void operator()(const Composer& p) {
        auto* composer = Make<TVsComposer>();
        const std::vector<uint8_t> block = LoadResource(std::string(p.block));
        TMemoryStream stream(block);
        composer->Graphics().ReadData(stream);
    }
    void operator()(const layout::Skin& p) {
        auto* skin = Make<TVsSkin>();
        SetBounds(*skin, p.bounds);
        skin->SetMaskColor(p.mask);
        skin->SetGraphicName(p.graphic);
    }
    void operator()(const Slider& p) {
        auto* slider = Make<TVsSlider>();
        SetBounds(*slider, p.bounds);
        slider->SetGraphicName(p.clip.graphic);
        SetClip(slider->ClipRect(), p.clip);
        slider->SetHint(p.hint);
        slider->SetShowHint(true);
        slider->SetMaxValue(p.max);
        slider->SetMinValue(p.min);
        slider->SetPosition(p.position);
        slider->SetMaskColor(p.mask);
    }
    void operator()(const layout::Button& p) {
        auto* button = Make<TVsButton>();
        SetBounds(*button, p.bounds);
        button->SetGraphicName(p.clip.graphic);
        SetClip(button->ClipRect(), p.clip);
    }
    void operator()(const layout::Label& p) {
        auto* label = Make<TVsLabel>();
        SetBounds(*label, p.bounds);
        label->SetAutoSize(p.auto_size);
        SetFont(label->Font(), p.font);
        label->SetCaption(p.caption);
    }
    void operator()(const Bar& p) {
        auto* bar = Make<TVsProgressBar>();
        SetBounds(*bar, p.bounds);
        bar->SetGraphicName(p.clip.graphic);
        SetClip(bar->ClipRect(), p.clip);
        bar->SetMaxValue(p.max);
        bar->SetMinValue(p.min);
        bar->SetPosition(p.position);
        bar->SetStep(p.step);
    }
    void operator()(const Lamps& p) {
        auto* lamps = Make<TFormatLamps>();
        SetBounds(*lamps, p.bounds);
        const std::vector<uint8_t> bytes = LoadResource(std::string(p.pictures));
        TMemoryStream stream(bytes);
        TBitmap pictures;
        pictures.LoadFromStream(stream);
        lamps->SetPictures(pictures);
    }
    void operator()(const layout::MediaPlayer&) { Make<TMediaPlayer>(); }
    void operator()(const layout::ListBox& p) {
        auto* list = Make<TListBox>();
        SetBounds(*list, p.bounds);
        list->SetVisible(p.visible);
        list->SetItemHeight(p.item_height);
    }
    void operator()(const PlaylistView& p) {
        auto* view = Make<TPlaylistView>();
        SetBounds(*view, p.bounds);
        ConfigurePlaylistView(*view);
    }
    void operator()(const Dialog& p) {
        TOpenDialog* dialog = p.save ? static_cast<TOpenDialog*>(Make<TPlacesSaveDialog>())
                                     : static_cast<TOpenDialog*>(Make<TPlacesOpenDialog>());
        dialog->Title = p.title;
        dialog->Filter = p.filter;
        dialog->Options = p.options;
        dialog->DefaultExt = p.default_ext;
    }
    void operator()(const layout::Timer& p) {
        auto* timer = Make<TTimer>();
        timer->SetEnabled(p.enabled);
        timer->SetInterval(p.interval_ms);
    }
    void operator()(const layout::ImageList& p) {
        auto* images = Make<TImageList>();
        images->SetSize(p.width, p.height);
        const std::vector<uint8_t> bytes = LoadResource(std::string(p.strip));
        TMemoryStream stream(bytes);
        TBitmap strip;
        strip.LoadFromStream(stream);
        images->AddMasked(strip, p.mask);
    }
    void operator()(const layout::TrayIcon& p) {
        auto* tray = Make<TTrayIcon>();
        tray->SetHint(std::string(p.hint));
        tray->SetIcon(std::string(p.icon));
        tray->SetMinimizeToTray(p.minimize_to_tray);
    }
    void operator()(const layout::PopupMenu&) { Make<TPopupMenu>()->SetOwnerDraw(true); }
    void operator()(const layout::MenuItem& p) {
        auto* item = Make<TMenuItem>();
        item->SetCaption(p.caption);
        item->SetImageIndex(p.image);
        item->SetDefault(p.is_default);
        item->SetEnabled(p.enabled);
    }
    void operator()(const layout::FlatMenu& p) {
        auto* painter = Make<TFlatMenu>();
        painter->SetDimLevel(p.dim_level);
        painter->SetGrayLevel(p.gray_level);
        TFont font;
        SetFont(font, p.font);
        painter->SetFont(font);
        painter->SetColor(p.color);
        painter->SetIconBackColor(p.icon_back_color);
        painter->SetMenuBarColor(p.menu_bar_color);
        painter->SetSelectColor(p.select_color);
        painter->SetSelectBorderColor(p.select_border_color);
        painter->SetSelectFontColor(p.select_font_color);
        painter->SetDisabledColor(p.disabled_color);
        painter->SetSeparatorColor(p.separator_color);
        painter->SetCheckedColor(p.checked_color);
        painter->SetIconWidth(p.icon_width);
        painter->SetDrawSelect(p.draw_select);
        painter->SetUseSystemColors(p.use_system_colors);
        painter->SetOverrideOwnerDraw(p.override_owner_draw);
        painter->SetGradient(p.gradient);
        painter->SetFlatMenu(p.flat_menu);
        painter->SetAutoDetect(p.auto_detect);
    }
    void operator()(const layout::VisualStyles&) { Make<TVisualStyles>(); }
    void operator()(const layout::ShadowLabel& p) {
        auto* label = Make<TShadowLabel>();
        SetBounds(*label, p.bounds);
        label->SetAutoSize(p.auto_size);
        label->SetWordWrap(p.word_wrap);
        label->SetTransparent(true);
        SetFont(label->Font(), p.font);
        label->SetCaption(p.caption);
        label->SetHighlightDirection(TDirection::drUpLeft);
        label->SetHighlightDepth(1);
        label->SetShadowStyle(TShadowStyle::ssRaised);
    }
    void operator()(const layout::Image& p) {
        auto* image = Make<TImage>();
        SetBounds(*image, p.bounds);
        image->SetAutoSize(true);
        image->SetTransparent(true);
        const std::vector<uint8_t> bytes = LoadResource(std::string(p.gif));
        const TGifPicture picture = DecodeGif(bytes);
        image->SetPicture(picture.bitmap, picture.transparent_color);
    }
    void operator()(const layout::SpeedButton& p) {
        auto* button = Make<TSpeedButton>();
        SetBounds(*button, p.bounds);
        button->SetFlat(true);
        SetFont(button->Font(), p.font);
        button->SetCaption(p.caption);
    }
};

// Resolves one entry's references to other components and handlers.
struct Resolver {
    TForm& form;
    const Entry& entry;
    const LayoutHandlers& handlers;

    template <class T>
    T* Self() {
        return Find<T>(form, entry.name);
    }
    void Popup(TControl& control, std::string_view menu) {
        if (!menu.empty())
            control.SetPopupMenu(Find<TPopupMenu>(form, menu));
    }
    void Click(TControl& control, std::string_view handler) {
        if (!handler.empty())
            control.OnClick = Handler(handlers, handler);
    }

    void operator()(const Composer&) {}
    void operator()(const layout::Skin& p) {
        auto* skin = Self<TVsSkin>();
        skin->SetComposer(Find<TVsComposer>(form, p.composer));
        Popup(*skin, p.popup);
    }
    void operator()(const Slider& p) { Click(*Self<TVsSlider>(), p.on_click); }
    void operator()(const layout::Button& p) { Click(*Self<TVsButton>(), p.on_click); }
    void operator()(const layout::Label& p) { Popup(*Self<TVsLabel>(), p.popup); }
    void operator()(const Bar& p) { Popup(*Self<TVsProgressBar>(), p.popup); }
    void operator()(const Lamps&) {}
    void operator()(const layout::MediaPlayer&) {}
    void operator()(const layout::ListBox&) {}
    void operator()(const PlaylistView& p) {
        auto* view = Self<TPlaylistView>();
        Popup(*view, p.popup);
        view->OnDblClick = Handler(handlers, p.on_dbl_click);
        if (!p.on_change.empty())
            view->OnChange = handlers.playlist_change;
    }
    void operator()(const Dialog&) {}
    void operator()(const layout::Timer& p) {
        Self<TTimer>()->SetOnTimer(Handler(handlers, p.on_timer));
    }
    void operator()(const layout::ImageList&) {}
    void operator()(const layout::TrayIcon& p) {
        auto* tray = Self<TTrayIcon>();
        tray->SetPopupMenu(Find<TPopupMenu>(form, p.popup));
        tray->OnClick = Handler(handlers, p.on_click);
    }
    void operator()(const layout::PopupMenu& p) {
        if (!p.images.empty())
            Self<TPopupMenu>()->SetImages(Find<TImageList>(form, p.images));
    }
    void operator()(const layout::MenuItem& p) {
        auto* item = Self<TMenuItem>();
        if (auto* menu = dynamic_cast<TPopupMenu*>(form.FindComponent(p.parent)))
            menu->Items()->Add(item);
        else
            Find<TMenuItem>(form, p.parent)->Add(item);
        if (!p.on_click.empty())
            item->OnClick = Handler(handlers, p.on_click);
    }
    // Items join their menus while references resolve; the painter, last in the layout, takes
    // the menus over once they are whole.
    void operator()(const layout::FlatMenu& p) { Self<TFlatMenu>()->SetActive(p.active); }
    void operator()(const layout::VisualStyles&) {}
    void operator()(const layout::ShadowLabel&) {}
    void operator()(const layout::Image&) {}
    void operator()(const layout::SpeedButton& p) { Click(*Self<TSpeedButton>(), p.on_click); }
};

} // namespace

void MissingFromLayout(std::string_view what, std::string_view name) {
    throw std::logic_error("layout names an unknown " + std::string(what) + " \"" +
                           std::string(name) + "\"");
}

void BuildLayout(TForm& form, std::span<const Entry> entries, const LayoutHandlers& handlers) {
    form.BeginLoading();
    for (const Entry& entry : entries)
        std::visit(Creator{form, entry}, entry.props);
    for (const Entry& entry : entries)
        std::visit(Resolver{form, entry, handlers}, entry.props);
    for (const Entry& entry : entries)
        form.FindComponent(entry.name)->Loaded();
    form.Loaded();
}

} // namespace vd
