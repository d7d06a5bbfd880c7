#include "tests/support/GuiTestSupport.h"
#include "widgets/PlaylistView.h"
#include "widgets/slLBox.h"
#include "widgets/slUtils.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace vd {
namespace {

class Probe : public TslListBox {
public:
    Probe() : TslListBox(nullptr) {}
    using TslListBox::DrawItem;
};

// The playlist as the main window sets it up.
std::unique_ptr<Probe> PlaylistShow() {
    test::StartOffscreenGui();
    auto lb = std::make_unique<Probe>();
    lb->BeginLoading();
    lb->SetBounds(0, 0, 251, 116);
    ConfigurePlaylistView(*lb);
    lb->Loaded();
    return lb;
}

// The selected name's font.
TFont SelectedFont() {
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetSize(8);
    font.SetColor(clBlue);
    return font;
}

// Display names that fit on one line of the playlist, or with `long_names`, that wrap onto two.
std::vector<std::string> Names(int count, bool long_names = false) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    const std::string tail = long_names ? " - the artist of it all, live at the old music hall.mod"
                                        : " - the artist of it all.mod";
    for (int i = 0; i < count; ++i)
        names.push_back("Track " + std::to_string(i) + tail);
    return names;
}

void DrawOneItem(benchmark::State& state, unsigned item_state) {
    auto lb = PlaylistShow();
    lb->Add("12 - Some tracker module with a long name.xm");
    const TRect r = lb->ItemRect(0);
    TBitmap target(r.Width(), r.Height());
    for (auto _ : state) {
        lb->DrawItem({0, item_state, &target.Canvas(), r});
        benchmark::ClobberMemory();
    }
}

void BM_DrawSelectedItem(benchmark::State& state) {
    DrawOneItem(state, ODS_SELECTED);
}
void BM_DrawPlainItem(benchmark::State& state) {
    DrawOneItem(state, 0);
}

// The parts of a selected line: its gradient and its recessed text.
void BM_FillGradientVertical251(benchmark::State& state) {
    test::StartOffscreenGui();
    TBitmap target(251, 15);
    TGradient g;
    g.SetActive(true);
    g.SetFromColor(clYellow);
    g.SetOrientation(TslGradientDir::fgdVertical);
    for (auto _ : state) {
        FillGradient(target.Canvas(), {0, 0, 251, 15}, g, 1, TPenStyle::psSolid);
        benchmark::ClobberMemory();
    }
}

void BM_DrawStyledTextRecessed(benchmark::State& state) {
    test::StartOffscreenGui();
    TBitmap target(251, 15);
    const TFont font = SelectedFont();
    for (auto _ : state) {
        DrawStyledText(target.Canvas(), {1, 0, 249, 15}, "12 - Some tracker module.xm",
                       TslTextStyle::fstRecessed, &font, DT_NOPREFIX | DT_WORDBREAK);
        benchmark::ClobberMemory();
    }
}

void BM_Measure100kItems(benchmark::State& state) {
    auto lb = PlaylistShow();
    const std::vector<std::string> names = Names(100000, state.range(0) != 0);
    for (auto _ : state) {
        lb->AddRange(names);
        state.PauseTiming();
        lb->Clear();
        state.ResumeTiming();
    }
}

void BM_ScrollOnePageOf100k(benchmark::State& state) {
    auto lb = PlaylistShow();
    lb->AddRange(Names(100000));
    lb->SetItemIndex(50000);
    lb->Repaint();
    bool down = true;
    for (auto _ : state) {
        uint16_t key = down ? VK_NEXT : VK_PRIOR;
        lb->HandleKeyDown(key, 0);
        lb->Repaint();
        down = !down;
    }
}

BENCHMARK(BM_DrawSelectedItem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPlainItem)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillGradientVertical251)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawStyledTextRecessed)->Unit(benchmark::kMicrosecond);
// Argument 0: names that fit on a line; 1: names that wrap.
BENCHMARK(BM_Measure100kItems)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollOnePageOf100k)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vd
