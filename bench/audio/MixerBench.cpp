// What the output path adds to decoding: the same demo song rendered in the same blocks, once
// straight from libopenmpt and once through ModulePlayer and the Mixer as the audio thread does.
// The difference of the two is the mixer's cost; it should stay under 5 %.

#include "audio/Mixer.h"
#include "audio/ModulePlayer.h"
#include "audio/PositionStamps.h"

#include <benchmark/benchmark.h>
#include <libopenmpt/libopenmpt.hpp>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr std::size_t kBlockFrames = 512; // the null and WAV sinks' block; SDL's buffer

const std::vector<std::byte>& demo_song() {
    static const std::vector<std::byte> bytes = [] {
        std::ifstream in(VD_DEMO_SONG, std::ios::binary);
        const std::vector<char> chars{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        if (chars.empty()) {
            throw std::runtime_error("Cannot read " VD_DEMO_SONG);
        }
        const auto* begin = reinterpret_cast<const std::byte*>(chars.data());
        return std::vector<std::byte>(begin, begin + chars.size());
    }();
    return bytes;
}

void BM_LibopenmptAlone(benchmark::State& state) {
    const auto& bytes = demo_song();
    openmpt::module module(bytes.data(), bytes.size());
    std::vector<float> block(kBlockFrames * 2);
    for (auto _ : state) {
        if (module.read_interleaved_stereo(44100, kBlockFrames, block.data()) < kBlockFrames) {
            module.set_position_order_row(0, 0);
        }
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kBlockFrames));
}
BENCHMARK(BM_LibopenmptAlone);

// The demo song through the mixer, as a device that plays each block as it comes asks for it
// (`timed` false), or as the sound server's path does: each block stamped every few milliseconds
// with the moment it is heard, a piece at a time. Set against each other, the stamps' cost.
void ModuleThroughMixer(benchmark::State& state, bool timed) {
    auto player = std::make_shared<vd::ModulePlayer>(demo_song());
    player->play();
    vd::Mixer mixer;
    mixer.attach(player);
    std::vector<float> block(kBlockFrames * 2);
    for (auto _ : state) {
        if (timed)
            mixer.mix(block, vd::ModulePlayer::now_ns());
        else
            mixer.mix(block);
        if (!player->is_playing()) {
            player->set_position({0, 0});
            player->play();
        }
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kBlockFrames));
}
void BM_ModuleThroughMixer(benchmark::State& state) {
    ModuleThroughMixer(state, false);
}
BENCHMARK(BM_ModuleThroughMixer);
void BM_ModuleTimedThroughMixer(benchmark::State& state) {
    ModuleThroughMixer(state, true);
}
BENCHMARK(BM_ModuleTimedThroughMixer);

// What the display asks on each of its ticks: the stamp heard now and when the next row comes,
// with the device holding 100 ms of 6 ms pieces.
void BM_PositionStampsLookup(benchmark::State& state) {
    vd::PositionStamps stamps;
    stamps.reset({0, 0, 0, false});
    constexpr std::int64_t kPieceNs = 5'800'000;
    for (std::int64_t i = 1; i <= 40; ++i)
        stamps.add({i * kPieceNs, static_cast<std::uint32_t>(i / 20) << 16, i * 6, false});
    std::int64_t now = 10 * kPieceNs;
    for (auto _ : state) {
        benchmark::DoNotOptimize(stamps.at(now));
        benchmark::DoNotOptimize(stamps.next_change_after(now));
        now = now % (30 * kPieceNs) + 1'000;
    }
}
BENCHMARK(BM_PositionStampsLookup);

// The mixer's own work with a source that costs nothing: snapshot, sum, clamp, handshake.
class CopySource final : public vd::AudioSource {
public:
    std::size_t render(std::span<float> out) override {
        std::fill(out.begin(), out.end(), 0.25f);
        return out.size() / 2;
    }
};

void BM_MixerAlone(benchmark::State& state) {
    vd::Mixer mixer;
    mixer.attach(std::make_shared<CopySource>());
    std::vector<float> block(kBlockFrames * 2);
    for (auto _ : state) {
        mixer.mix(block);
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kBlockFrames));
}
BENCHMARK(BM_MixerAlone);

} // namespace
