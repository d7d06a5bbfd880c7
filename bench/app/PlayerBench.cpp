// The main window's per-tick work: the module timer writes the position text and the row bar
// every 10 ms while a module plays.
#include "app/MainWindow.h"
#include "audio/ModLib.h"
#include "framework/Application.h"
#include "framework/Colors.h"
#include "framework/Controls.h"
#include "framework/Dialogs.h"
#include "playlist/file/PlaylistFile.h"
#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSkin.h"
#include "tests/support/AppFixture.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestModules.h"
#include "tools/modwriter/ModWriter.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Window {
    vd::test::ScratchDir folder{std::filesystem::temp_directory_path(), "vodezaru-bench"};
    std::unique_ptr<vd::TPlayer, void (*)(vd::TPlayer*)> player{
        nullptr, [](vd::TPlayer* p) { vd::FreeComponent(p); }};

    Window() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0); // run by hand, not by CTest
        vd::test::AppHarness::App();
        vd::test::SongShape shape;
        shape.orders = 24;
        const auto song = (folder / "bench.mod").string();
        vd::modwriter::save_mod(vd::test::make_song(shape), song);
        vd::TPlayer::Options options;
        options.settings_path = (folder / "bench.ini").string();
        options.arguments = {song};
        player.reset(new vd::TPlayer(nullptr, options));
        player->Show();
        player->Skin->Update();
    }
    ~Window() {
        player.reset();
        MODLIB_Free();
    }
};

// Counts what the skinned controls paint while it lives.
struct PaintCounter {
    std::uint64_t start = vd::TGraphicControl::PaintCount();
    [[nodiscard]] std::uint64_t paints() const { return vd::TGraphicControl::PaintCount() - start; }
};

// Reports paints per iteration. A changed control repaints at once, so nothing waits; the
// player's own timers, which would paint on their own, are not let run meanwhile.
void ReportPaints(benchmark::State& state, const PaintCounter& counter) {
    state.counters["paints_per_tick"] =
        static_cast<double>(counter.paints()) / static_cast<double>(state.iterations());
}

// One ModTimer tick with a new row each time: label text and row bar repainted alone (the row
// bar's fill moves by under a pixel for some rows, so slightly fewer than two paints a tick).
void BM_ModTimerTick(benchmark::State& state) {
    Window window;
    MODLIB_MusicPause();
    int row = 0;
    PaintCounter counter;
    for (auto _ : state) {
        MODLIB_MusicSetPosition(3 | (row << 16));
        window.player->ModTimerTimer(nullptr);
        row = (row + 1) % 64;
    }
    ReportPaints(state, counter);
}
BENCHMARK(BM_ModTimerTick)->Unit(benchmark::kMicrosecond);

// Both 10 ms timers ticking with nothing changed, as between two rows: no paint at all.
void BM_TimerTicksNothingChanged(benchmark::State& state) {
    Window window;
    MODLIB_MusicPause();
    MODLIB_MusicSetPosition(3 | (17 << 16));
    window.player->ModTimerTimer(nullptr);
    window.player->NextTimerTimer(nullptr);
    vd::TApplication::ProcessMessages();
    window.player->Skin->Update();
    PaintCounter counter;
    for (auto _ : state) {
        window.player->ModTimerTimer(nullptr);
        window.player->NextTimerTimer(nullptr);
    }
    ReportPaints(state, counter);
    if (counter.paints() != 0)
        state.SkipWithError("a tick with nothing changed painted");
}
BENCHMARK(BM_TimerTicksNothingChanged)->Unit(benchmark::kMicrosecond);

// A tick with a new position: the position text is painted once (and the row bar once).
void BM_TimerTicksNewPosition(benchmark::State& state) {
    Window window;
    MODLIB_MusicPause();
    int order = 10; // two digits throughout: the label keeps its width
    PaintCounter counter;
    for (auto _ : state) {
        // Same row, another order: only the text changes.
        MODLIB_MusicSetPosition(order | (17 << 16));
        window.player->ModTimerTimer(nullptr);
        window.player->NextTimerTimer(nullptr);
        order = order == 19 ? 10 : order + 1;
    }
    ReportPaints(state, counter);
}
BENCHMARK(BM_TimerTicksNewPosition)->Unit(benchmark::kMicrosecond);

// The whole window painted anew: skin, every control.
void BM_PaintWholeWindow(benchmark::State& state) {
    Window window;
    MODLIB_MusicPause();
    for (auto _ : state) {
        window.player->Skin->Invalidate();
        window.player->Skin->Update();
    }
}
BENCHMARK(BM_PaintWholeWindow)->Unit(benchmark::kMicrosecond);

std::vector<std::string> ManyPaths(std::size_t count) {
    std::vector<std::string> paths;
    paths.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        paths.push_back("/home/listener/Music/Trackers/Collection " + std::to_string(i % 97) +
                        "/song number " + std::to_string((i * 7919) % count) + ".xm");
    return paths;
}

// A 100,000-line playlist file read into both lists (paths and shown names, measured).
void BM_LoadPlaylist100k(benchmark::State& state) {
    Window window;
    const std::string file = (window.folder / "big.pvl").string();
    vd::SavePlaylistFile(file, ManyPaths(100000));
    for (auto _ : state)
        window.player->LoadPlaylistFile(file);
}
BENCHMARK(BM_LoadPlaylist100k)->Unit(benchmark::kMillisecond);

void BM_SavePlaylist100k(benchmark::State& state) {
    Window window;
    window.player->Entries().Replace(ManyPaths(100000));
    const std::string file = (window.folder / "saved.pvl").string();
    for (auto _ : state)
        window.player->Entries().SaveToFile(file);
}
BENCHMARK(BM_SavePlaylist100k)->Unit(benchmark::kMillisecond);

void BM_SortPlaylist100k(benchmark::State& state) {
    Window window;
    const std::vector<std::string> paths = ManyPaths(100000);
    for (auto _ : state) {
        state.PauseTiming();
        window.player->Entries().Replace(paths);
        state.ResumeTiming();
        window.player->SortBtnClick(nullptr);
    }
}
BENCHMARK(BM_SortPlaylist100k)->Unit(benchmark::kMillisecond);

// Ten thousand files chosen in the Add dialog, appended to a list that already has 10,000.
void BM_AddFiles10k(benchmark::State& state) {
    Window window;
    const std::vector<std::string> chosen = ManyPaths(10000);
    vd::TOpenDialog::SetScript([&](const vd::TOpenDialog&) { return std::optional(chosen); });
    for (auto _ : state) {
        state.PauseTiming();
        window.player->Entries().Replace(chosen);
        state.ResumeTiming();
        window.player->AddFilesClick(nullptr);
    }
    vd::TOpenDialog::SetScript(nullptr);
}
BENCHMARK(BM_AddFiles10k)->Unit(benchmark::kMillisecond);

} // namespace
