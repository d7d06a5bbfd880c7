// The skin engine's costs on the real picture: building the window's shape from the 518 x 425
// background, painting the whole skinned main window, and repainting one label alone after its
// caption changes (with proof that the skin beneath is not painted again).

#include "framework/Application.h"
#include "framework/Stream.h"
#include "skin/VsGraphics.h"
#include "skin/VsMask.h"
#include "tests/support/CountingSkin.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/MainWindowLayout.h"
#include "tests/support/SourceFiles.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vd {
namespace {

const std::vector<uint8_t>& Block() {
    static const std::vector<uint8_t> block = [] {
        std::vector<uint8_t> bytes = test::RealSkinBlock();
        if (bytes.empty())
            throw std::runtime_error("cannot read the skin block of " + test::SourcePath(""));
        return bytes;
    }();
    return block;
}

const TBitmap& PlayerSkin() {
    static TVsGraphics graphics;
    if (graphics.Count() == 0) {
        TMemoryStream in(Block());
        graphics.LoadFromStream(in);
    }
    return graphics.Items(0)->Bitmap();
}

struct Window {
    test::ComponentPtr<TForm> form = test::MakeUnowned<TForm>();
    test::CountingSkin* skin = new test::CountingSkin(form.get()); // owned by the form
    test::MainWindowLayout layout = test::BuildMainWindow(form.get(), Block(), skin);

    void Show() {
        form->Show();
        TApplication::ProcessMessages();
        skin->Repaint();
    }
};

void BM_LoadSkinBlock(benchmark::State& state) {
    test::StartOffscreenGui();
    for (auto _ : state) {
        TVsGraphics graphics;
        TMemoryStream in(Block());
        graphics.LoadFromStream(in);
        benchmark::DoNotOptimize(graphics.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Block().size()));
}
BENCHMARK(BM_LoadSkinBlock)->Unit(benchmark::kMillisecond);

// Target: under 2 ms.
void BM_BuildMaskRegion(benchmark::State& state) {
    test::StartOffscreenGui();
    const TBitmap& background = PlayerSkin();
    for (auto _ : state) {
        TRgnData data;
        BuildMaskRegion(0, 0, background, data, clFuchsia);
        benchmark::DoNotOptimize(data.Size());
    }
}
BENCHMARK(BM_BuildMaskRegion)->Unit(benchmark::kMicrosecond);

// The scan alone, without the union.
void BM_MaskRuns(benchmark::State& state) {
    test::StartOffscreenGui();
    const TBitmap& background = PlayerSkin();
    for (auto _ : state)
        benchmark::DoNotOptimize(MaskRuns(0, 0, background, clFuchsia).size());
}
BENCHMARK(BM_MaskRuns)->Unit(benchmark::kMicrosecond);

// Target: under 3 ms. The skin, twelve buttons, the slider, the bar and three labels composed
// into the window's picture (arg 0: window hidden; arg 1: shown, so also presented).
void BM_PaintWholeWindow(benchmark::State& state) {
    test::StartOffscreenGui();
    Window w;
    w.layout.title->SetCaption("Some Artist - A Rather Long Song Title.mod");
    w.layout.pos_label->SetCaption("01:23 / 04:56");
    w.layout.rows->SetPosition(64);
    w.layout.progress->SetPosition(30);
    if (state.range(0) != 0)
        w.Show();
    for (auto _ : state)
        w.skin->Repaint();
    state.counters["skin_paints_per_iter"] =
        benchmark::Counter(w.skin->paints, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PaintWholeWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Target: under 100 us. A fixed-size label's caption changes; only the label is repainted.
void BM_RepaintLabelAfterCaptionChange(benchmark::State& state) {
    test::StartOffscreenGui();
    Window w;
    w.Show();
    const int skin_paints = w.skin->paints;
    int i = 0;
    for (auto _ : state)
        w.layout.pos_label->SetCaption((++i % 2) != 0 ? "01:23 / 04:56" : "01:24 / 04:56");
    state.counters["skin_paints"] = static_cast<double>(w.skin->paints - skin_paints);
}
BENCHMARK(BM_RepaintLabelAfterCaptionChange)->Unit(benchmark::kMicrosecond);

// The row bar as the playback controller updates it every 10 ms.
void BM_ProgressBarPosition(benchmark::State& state) {
    test::StartOffscreenGui();
    Window w;
    w.Show();
    const int skin_paints = w.skin->paints;
    int32_t p = 0;
    for (auto _ : state)
        w.layout.rows->SetPosition(p = (p + 1) % 128);
    state.counters["skin_paints"] = static_cast<double>(w.skin->paints - skin_paints);
}
BENCHMARK(BM_ProgressBarPosition)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vd
