// What each media device costs per second of audio, next to its library decoding the same file
// alone: the device's share (byte source, playback state and lock, resampler pass-through, event
// scheduling) should stay under a tenth of the library's own work. A resampling case shows what
// the windowed-sinc filter adds for a file not at 44.1 kHz.

#include "audio/MciDeviceType.h"
#include "audio/MciPlayback.h"
#include "audio/SequencerSynth.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <benchmark/benchmark.h>
#include <fluidsynth.h>
#include <mpg123.h>
#include <sndfile.h>

namespace vd {
namespace {

constexpr int kSeconds = 10;
constexpr std::size_t kBlockFrames = 512; // what an audio device asks for per callback

// The inputs, made once: ten seconds of each kind.
struct Inputs {
    test::ScratchDir dir;
    std::filesystem::path wave_44100 = dir / "a.wav";
    std::filesystem::path wave_22050 = dir / "b.wav";
    std::filesystem::path mp3 = dir / "c.mp3";
    std::filesystem::path midi = dir / "d.mid";
    test::Bytes midi_bytes;

    Inputs() {
        const auto tones = test::tones(44100 * kSeconds, 2, 44100, 441.0);
        test::write_wave(wave_44100, SF_FORMAT_PCM_16, 44100, 2, tones);
        test::write_wave(wave_22050, SF_FORMAT_PCM_16, 22050, 2,
                         test::tones(22050 * kSeconds, 2, 22050, 441.0));
        test::write_file(mp3, test::encode_mp3(tones, 2, 44100, false, true).bytes);
        // Four instruments, a chord of three notes on each every 250 ms: a busy General MIDI song.
        test::SmfBuilder smf(0, 480);
        auto& track = smf.track();
        track.tempo(0, 500000);
        for (std::uint8_t channel = 0; channel < 4; ++channel)
            track.event(0, {static_cast<std::uint8_t>(0xC0 | channel),
                            static_cast<std::uint8_t>(channel * 8)});
        for (int beat = 0; beat < kSeconds * 4; ++beat) {
            for (std::uint8_t channel = 0; channel < 4; ++channel)
                for (std::uint8_t note = 0; note < 3; ++note)
                    track.event(0,
                                {static_cast<std::uint8_t>(0x90 | channel),
                                 static_cast<std::uint8_t>(48 + channel * 5 + note * 4 + beat % 7),
                                 100});
            track.event(240, {0xB0, 7, static_cast<std::uint8_t>(80 + beat % 40)});
        }
        track.end(0);
        midi_bytes = smf.bytes();
        test::write_file(midi, midi_bytes);
    }
};

Inputs& inputs() {
    static Inputs instance;
    return instance;
}

// Items are seconds of audio: items_per_second is how many times faster than real time.
void report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kSeconds);
}

// The device path: decoder opened as the command layer opens it, played through MciPlayback's
// render() as the audio thread calls it.
void play_device(benchmark::State& state, MciDeviceType type, const std::filesystem::path& path) {
    MciPlayback playback(open_mci_decoder(type, MciByteSource::open_file(path)), nullptr);
    std::vector<float> block(kBlockFrames * 2);
    for (auto _ : state) {
        playback.seek(0);
        (void)playback.play(playback.length_frames());
        while (playback.render(block) > 0)
            benchmark::DoNotOptimize(block.data());
    }
    report(state);
}

void BM_WaveAudioDevice(benchmark::State& state) {
    play_device(state, MciDeviceType::WaveAudio, inputs().wave_44100);
}
void BM_WaveAudioDevice22050(benchmark::State& state) {
    play_device(state, MciDeviceType::WaveAudio, inputs().wave_22050);
}
void BM_MpegAudioDevice(benchmark::State& state) {
    play_device(state, MciDeviceType::MpegVideo, inputs().mp3);
}
void BM_SequencerDevice(benchmark::State& state) {
    play_device(state, MciDeviceType::Sequencer, inputs().midi);
}

void BM_LibSndfile(benchmark::State& state) {
    std::vector<float> block(kBlockFrames * 2);
    SF_INFO info{};
    SNDFILE* file = sf_open(inputs().wave_44100.c_str(), SFM_READ, &info);
    for (auto _ : state) {
        sf_seek(file, 0, SEEK_SET);
        while (sf_readf_float(file, block.data(), kBlockFrames) > 0)
            benchmark::DoNotOptimize(block.data());
    }
    sf_close(file);
    report(state);
}

void BM_LibMpg123(benchmark::State& state) {
    std::vector<float> block(kBlockFrames * 2);
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(handle);
    mpg123_format(handle, 44100, MPG123_STEREO, MPG123_ENC_FLOAT_32);
    mpg123_open(handle, inputs().mp3.c_str());
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(handle, &rate, &channels, &encoding);
    for (auto _ : state) {
        mpg123_seek(handle, 0, SEEK_SET);
        std::size_t done = 0;
        while (mpg123_read(handle, reinterpret_cast<unsigned char*>(block.data()),
                           block.size() * sizeof(float), &done) == MPG123_OK)
            benchmark::DoNotOptimize(block.data());
    }
    mpg123_delete(handle);
    report(state);
}

void BM_FluidSynthPlayer(benchmark::State& state) {
    // FluidSynth's own MIDI file player on an equal synthesizer, rendered block by block.
    auto lease = SequencerSynth::acquire();
    fluid_synth_t* synth = lease->get();
    std::vector<float> block(kBlockFrames * 2);
    const auto total = static_cast<std::size_t>(44100) * kSeconds;
    for (auto _ : state) {
        fluid_synth_system_reset(synth);
        fluid_player_t* player = new_fluid_player(synth);
        fluid_player_add_mem(player, inputs().midi_bytes.data(), inputs().midi_bytes.size());
        fluid_player_play(player);
        for (std::size_t frames = 0; frames < total; frames += kBlockFrames) {
            fluid_synth_write_float(synth, static_cast<int>(kBlockFrames), block.data(), 0, 2,
                                    block.data(), 1, 2);
            benchmark::DoNotOptimize(block.data());
        }
        fluid_player_stop(player);
        delete_fluid_player(player);
    }
    report(state);
}

BENCHMARK(BM_LibSndfile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveAudioDevice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveAudioDevice22050)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibMpg123)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MpegAudioDevice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FluidSynthPlayer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SequencerDevice)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vd
