// The main window's per-tick work: the module timer writes the position text and the row bar
// every 10 ms while a module plays.
#include "app/Main.h"
#include "framework/Application.h"
#include "framework/Colors.h"
#include "player/ModLib.h"
#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSkin.h"
#include "tests/audio/TestModules.h"
#include "tools/modwriter/ModWriter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

vd::TApplication& App() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static vd::TApplication* app = [] {
        setenv("VODEZARU_AUDIO_OUT", "null", 1);
        return new vd::TApplication(argc, argv); // lives for the whole program
    }();
    return *app;
}

struct Window {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "vodezaru-bench";
    std::unique_ptr<vd::TPlayer, void (*)(vd::TPlayer*)> player{
        nullptr, [](vd::TPlayer* p) { vd::FreeComponent(p); }};

    Window() {
        App();
        std::filesystem::create_directories(folder);
        vd::testing::SongShape shape;
        shape.orders = 24;
        const auto song = (folder / "bench.mod").string();
        vd::modwriter::save_mod(vd::testing::make_song(shape), song);
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
        std::filesystem::remove_all(folder);
    }
};

// One ModTimer tick with a new row each time: label text and row bar repainted alone.
void BM_ModTimerTick(benchmark::State& state) {
    Window window;
    MODLIB_MusicPause();
    int row = 0;
    for (auto _ : state) {
        MODLIB_MusicSetPosition(3 | (row << 16));
        window.player->ModTimerTimer(nullptr);
        row = (row + 1) % 64;
    }
}
BENCHMARK(BM_ModTimerTick)->Unit(benchmark::kMicrosecond);

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

} // namespace
