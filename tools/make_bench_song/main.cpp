// make_bench_song OUT.mod
// Writes the module that `make bench-live` plays: the demo song's intro, its middle part three
// times over and its outro, so that a measurement of a minute or more never reaches the end and
// both players render the same notes all along.

#include "tools/make_demo_song/DemoSong.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bench_song OUT.mod\n");
        return 2;
    }
    try {
        auto song = vd::demo::make_demo_song();
        song.title = "Dezaru Dawn Long";
        // The demo runs intro, six middle orders, outro; the middle plays three times here.
        const std::vector<std::uint8_t> middle(song.orders.begin() + 1, song.orders.end() - 1);
        std::vector<std::uint8_t> orders{song.orders.front()};
        for (int pass = 0; pass < 3; ++pass) {
            orders.insert(orders.end(), middle.begin(), middle.end());
        }
        orders.push_back(song.orders.back());
        song.orders = std::move(orders);
        vd::modwriter::save_mod(song, argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_bench_song: %s\n", e.what());
        return 1;
    }
    return 0;
}
