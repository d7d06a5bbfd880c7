#include "playlist/file/PlaylistFile.h"
#include "playlist/file/PlaylistSort.h"
#include "tests/support/ScratchDir.h"

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

namespace vd {
namespace {

constexpr std::size_t kEntries = 100000;

// Paths shaped like a real music folder: long shared prefixes, mixed case, some accented names,
// in shuffled order.
std::vector<std::string> MakePaths() {
    std::vector<std::string> paths;
    paths.reserve(kEntries);
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (std::size_t i = 0; i < kEntries; ++i) {
        std::string path = (next() % 2 ? "/home/ann/Music/" : "/home/ann/music/");
        path += "Artist " + std::to_string(next() % 500);
        path +=
            (next() % 10 == 0 ? "/Caf\xC3\xA9 Album " : "/Album ") + std::to_string(next() % 20);
        path += "/" + std::to_string(next() % 30) + " - Track Title " + std::to_string(next());
        static constexpr const char* kExtensions[] = {".mod", ".XM", ".it", ".mp3", ".mid"};
        path += kExtensions[next() % 5];
        paths.push_back(std::move(path));
    }
    return paths;
}

const std::vector<std::string>& Paths() {
    static const std::vector<std::string> paths = MakePaths();
    return paths;
}

void BM_LoadPlaylistFile(benchmark::State& state) {
    const test::ScratchDir dir(VD_BENCH_SCRATCH_ROOT, "playlist");
    const std::string path = dir / "load.pvl";
    SavePlaylistFile(path, Paths());
    for (auto _ : state) {
        auto loaded = LoadPlaylistFile(path);
        benchmark::DoNotOptimize(loaded.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kEntries));
}
BENCHMARK(BM_LoadPlaylistFile)->Unit(benchmark::kMillisecond);

void BM_ParsePlaylist(benchmark::State& state) {
    const std::string bytes = FormatPlaylist(Paths());
    for (auto _ : state) {
        auto parsed = ParsePlaylist(bytes);
        benchmark::DoNotOptimize(parsed.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParsePlaylist)->Unit(benchmark::kMillisecond);

// Includes building the text, writing a temporary file, fsync and the rename.
void BM_SavePlaylistFile(benchmark::State& state) {
    const test::ScratchDir dir(VD_BENCH_SCRATCH_ROOT, "playlist");
    const std::string path = dir / "save.pvl";
    for (auto _ : state) {
        SavePlaylistFile(path, Paths());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kEntries));
}
BENCHMARK(BM_SavePlaylistFile)->Unit(benchmark::kMillisecond);

void BM_SortedOrder(benchmark::State& state) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, state.range(0) ? "C.UTF-8" : "C");
    for (auto _ : state) {
        auto order = SortedOrder(Paths());
        benchmark::DoNotOptimize(order.data());
    }
    std::setlocale(LC_ALL, previous.c_str());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kEntries));
}
BENCHMARK(BM_SortedOrder)->ArgName("utf8")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vd
