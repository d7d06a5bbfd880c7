// Painting flat menu items: one item with an image, and opening the main menu (every item
// measured, then painted, as the menu window does).
#include "framework/Application.h"
#include "framework/Colors.h"
#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/SourceFiles.h"
#include "widgets/FlatMenu.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace vd {
namespace {

// The main window's menu: its images, its eight items and their submenus, and its painter.
struct MainMenuFixture {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TPopupMenu* menu = TComponent::Create<TPopupMenu>(form.get());
    TFlatMenu* painter = nullptr;

    MainMenuFixture() {
        auto* images = TComponent::Create<TImageList>(form.get());
        images->SetSize(16, 16);
        TBitmap strip;
        strip.LoadFromFile(test::SourcePath("resources/menu/menu_thumbs.bmp"));
        images->AddMasked(strip, clFuchsia);
        menu->SetImages(images);
        auto add = [&](TMenuItem* parent, const char* caption, int image) {
            auto* item = TComponent::Create<TMenuItem>(form.get());
            item->SetCaption(caption);
            item->SetImageIndex(image);
            parent->Add(item);
            return item;
        };
        TMenuItem* root = menu->Items();
        add(root, "\xC2\xAB\xC2\xAB VO Dezaru \xC2\xBB\xC2\xBB", -1)->SetEnabled(false);
        add(root, "-", -1);
        TMenuItem* playback = add(root, "Playback  ", 3);
        for (const auto& [caption, image] :
             {std::pair{"Previous", 2}, {"Play", 3}, {"Pause", 4}, {"Stop", 5}, {"Next", 6}})
            add(playback, caption, image);
        TMenuItem* playlist = add(root, "Playlist  ", 7);
        for (const auto& [caption, image] :
             {std::pair{"New Playlist", 7}, {"Load Playlist", 8}, {"Save Playlist", 9}})
            add(playlist, caption, image);
        add(root, "-", -1);
        add(root, "About", 10);
        add(root, "Minimize", 0);
        add(root, "Close", 1);
        painter = TComponent::Create<TFlatMenu>(form.get());
        painter->SetActive(true);
    }
};

void BM_PaintMenuItemWithImage(benchmark::State& state) {
    test::StartOffscreenGui();
    MainMenuFixture f;
    TMenuItem* about = f.menu->Items()->Items(5);
    const bool selected = state.range(0) != 0;
    QImage picture(160, 30, QImage::Format_RGB32);
    TCanvas canvas(&picture);
    for (auto _ : state) {
        about->Draw(canvas, {2, 2, 158, 24},
                    selected ? TOwnerDrawState{odSelected} : TOwnerDrawState{0});
        canvas.Release();
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_OpenMainMenu(benchmark::State& state) {
    test::StartOffscreenGui();
    MainMenuFixture f;
    TMenuItem* root = f.menu->Items();
    for (auto _ : state) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        TCanvas measure(&scratch);
        int width = 0;
        int y = 2;
        std::vector<TRect> rects;
        for (int i = 0; i < root->Count(); ++i) {
            int w = 0;
            int h = 0;
            root->Items(i)->Measure(measure, w, h);
            rects.push_back({2, y, 0, y + h});
            width = std::max(width, w);
            y += h;
        }
        QImage picture(width + 4, y + 2, QImage::Format_RGB32);
        TCanvas canvas(&picture);
        for (int i = 0; i < root->Count(); ++i) {
            rects[static_cast<std::size_t>(i)].Right = 2 + width;
            root->Items(i)->Draw(canvas, rects[static_cast<std::size_t>(i)], 0);
        }
        canvas.Release();
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// Argument: 0 at rest (dimmed icon), 1 under the mouse (lifted icon with its shadow).
BENCHMARK(BM_PaintMenuItemWithImage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenMainMenu)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vd
