// make_demo_song OUT.mod [--preview-wav OUT.wav]
// Writes the demo module; with --preview-wav also renders it once through libopenmpt, as the
// player would, into a 16-bit WAV file for checking by ear or by tool.

#include "audio/WavFileWriter.h"
#include "tools/make_demo_song/DemoSong.h"

#include <libopenmpt/libopenmpt.hpp>

#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

namespace {

void render_preview(const std::vector<std::uint8_t>& mod, const char* wav_path) {
    openmpt::module module(mod);
    vd::WavFileWriter wav(wav_path);
    std::vector<float> block(2 * 4096);
    for (;;) {
        const std::size_t frames =
            module.read_interleaved_stereo(44100, block.size() / 2, block.data());
        if (frames == 0) {
            break;
        }
        wav.append({block.data(), frames * 2});
    }
    std::printf("%s: %.1f s\n", wav_path, static_cast<double>(wav.frames_written()) / 44100.0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::string_view(argv[2]) == "--preview-wav")) {
        std::fprintf(stderr, "usage: make_demo_song OUT.mod [--preview-wav OUT.wav]\n");
        return 2;
    }
    try {
        const auto song = vd::demo::make_demo_song();
        vd::modwriter::save_mod(song, argv[1]);
        if (argc == 4) {
            render_preview(vd::modwriter::write_mod(song), argv[3]);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo_song: %s\n", e.what());
        return 1;
    }
    return 0;
}
