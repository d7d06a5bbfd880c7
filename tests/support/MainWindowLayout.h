#pragma once

// The main window's skinned part as its layout builds it: the store with the real skin block,
// the surface, the transport and playlist buttons, the menu button, the position slider, the row
// bar and the three labels, each at its place with its clip rectangle. Used by the tests and the
// benchmarks to work on the real picture.

#include "framework/Forms.h"
#include "framework/Stream.h"
#include "skin/VsButtons.h"
#include "skin/VsComposer.h"
#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSkin.h"
#include "skin/VsSlider.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vd::test {

struct MainWindowLayout {
    TForm* form = nullptr;
    TVsComposer* composer = nullptr;
    TVsSkin* skin = nullptr;
    std::vector<TVsButton*> buttons;
    TVsSlider* progress = nullptr;
    TVsProgressBar* rows = nullptr;
    TVsLabel* title = nullptr;
    TVsLabel* position_label = nullptr;
    TVsLabel* pos_label = nullptr;
};

// Builds the layout into `form` (which owns everything) from the skin block `block`, the way a
// layout is read: every component loading, then each told Loaded(). `skin` may be a subclass
// made by the caller (placed on the form already); nullptr makes a plain one.
inline MainWindowLayout BuildMainWindow(TForm* form, std::span<const uint8_t> block,
                                        TVsSkin* skin = nullptr) {
    MainWindowLayout w;
    w.form = form;
    form->SetBounds(202, 107, 518, 425);
    w.composer = new TVsComposer(form); // owned by the form
    w.composer->SetName("MainComposer");
    {
        TMemoryStream in(block);
        w.composer->Graphics().ReadData(in);
    }
    w.skin = skin != nullptr ? skin : new TVsSkin(form); // owned by the form
    w.skin->SetName("Skin");
    w.skin->SetParent(form);

    std::vector<TComponent*> loading = {w.skin};
    w.skin->BeginLoading();
    w.skin->SetMaskColor(clFuchsia);
    w.skin->SetGraphicName("playerSkin.bmp");

    struct ButtonRow {
        const char* name;
        int left, top, width, height;
        const char* graphic;
        int clip_top, clip_width, clip_height;
    };
    const ButtonRow rows[] = {
        {"PrevBtn", 15, 195, 22, 14, "2. buttons.bmp", 16, 110, 14},
        {"PlayBtn", 37, 195, 21, 14, "2. buttons.bmp", 32, 105, 14},
        {"PauseBtn", 58, 195, 23, 14, "2. buttons.bmp", 48, 115, 14},
        {"StopBtn", 81, 195, 22, 14, "2. buttons.bmp", 64, 110, 14},
        {"NextBtn", 103, 195, 23, 14, "2. buttons.bmp", 0, 115, 14},
        {"EjectBtn", 126, 195, 22, 14, "2. buttons.bmp", 80, 110, 14},
        {"MenuBtn", 4, 88, 9, 8, "RoundBtn.bmp", 0, 45, 8},
        {"AddFiles", 10, 349, 45, 14, "2. playlist_btn.bmp", 0, 225, 14},
        {"Removefile", 55, 349, 45, 14, "2. playlist_btn.bmp", 15, 225, 14},
        {"SortBtn", 100, 349, 45, 14, "2. playlist_btn.bmp", 30, 225, 14},
        {"LoadBtn", 170, 349, 45, 14, "2. playlist_btn.bmp", 60, 225, 14},
        {"SaveBtn", 215, 349, 45, 14, "2. playlist_btn.bmp", 45, 225, 14},
    };
    for (const ButtonRow& r : rows) {
        auto* b = new TVsButton(form); // owned by the form
        b->SetName(r.name);
        b->BeginLoading();
        b->SetParent(w.skin);
        b->SetBounds(r.left, r.top, r.width, r.height);
        b->SetGraphicName(r.graphic);
        b->ClipRect().SetBounds(0, r.clip_top, r.clip_width, r.clip_height);
        w.buttons.push_back(b);
        loading.push_back(b);
    }

    w.progress = new TVsSlider(form); // owned by the form
    w.progress->SetName("ProgressBar");
    w.progress->BeginLoading();
    w.progress->SetParent(w.skin);
    w.progress->SetBounds(4, 182, 295, 8);
    w.progress->SetGraphicName("3. thumb.bmp");
    w.progress->ClipRect().SetBounds(0, 0, 40, 6);
    w.progress->SetMaskColor(clFuchsia);
    loading.push_back(w.progress);

    w.rows = new TVsProgressBar(form); // owned by the form
    w.rows->SetName("ProgressBar2");
    w.rows->BeginLoading();
    w.rows->SetParent(w.skin);
    w.rows->SetBounds(226, 168, 73, 9);
    w.rows->SetGraphicName("mod_progress2.bmp");
    w.rows->ClipRect().SetBounds(0, 0, 14, 4);
    w.rows->SetMaxValue(127);
    w.rows->SetStep(1);
    loading.push_back(w.rows);

    auto label = [&](const char* name, int left, int top, int width, int height,
                     const char* caption, bool auto_size) {
        auto* l = new TVsLabel(form); // owned by the form
        l->SetName(name);
        l->BeginLoading();
        l->SetParent(w.skin);
        l->SetBounds(left, top, width, height);
        l->SetAutoSize(auto_size);
        l->Font().SetSize(8);
        l->SetCaption(caption);
        loading.push_back(l);
        return l;
    };
    w.title = label("TitleLabel", 36, 85, 265, 13, "VO Dezaru", false);
    w.title->Font().SetStyle(fsBold);
    w.position_label = label("Position_Label", 7, 107, 40, 13, "Position:", true);
    w.pos_label = label("PosLabel", 48, 107, 105, 13, "", false);

    // References are resolved last, then everything is told the layout is complete.
    w.skin->SetComposer(w.composer);
    for (TComponent* c : loading)
        c->Loaded();
    return w;
}

} // namespace vd::test
