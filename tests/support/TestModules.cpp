#include "tests/support/TestModules.h"

namespace vd::testing {

modwriter::Module make_song(const SongShape& shape) {
    namespace fx = modwriter::effect;
    modwriter::Module m;
    m.title = shape.title;

    modwriter::Sample square;
    square.name = "square";
    square.data.resize(64);
    for (std::size_t i = 0; i < square.data.size(); ++i) {
        square.data[i] = i % 32 < 16 ? 90 : -90;
    }
    square.loop_start = 0;
    square.loop_length = square.data.size();
    m.samples.push_back(square);

    const std::uint16_t a2 = modwriter::period_of(modwriter::note("A-2"));
    for (int order = 0; order < shape.orders; ++order) {
        modwriter::Pattern p{};
        for (int row = 0; row < modwriter::kRows; row += 4) {
            p[static_cast<std::size_t>(row)][0] = {a2, 1, 0, 0};
        }
        if (order == 0) {
            p[0][1] = {0, 0, fx::kSpeed, static_cast<std::uint8_t>(shape.speed)};
            p[0][2] = {0, 0, fx::kSpeed, static_cast<std::uint8_t>(shape.tempo)};
        }
        if (order == shape.orders - 1 && shape.last_row < modwriter::kRows - 1) {
            p[static_cast<std::size_t>(shape.last_row)][3] = {0, 0, fx::kPatternBreak, 0};
        }
        m.patterns.push_back(p);
        m.orders.push_back(static_cast<std::uint8_t>(order));
    }
    return m;
}

std::vector<std::uint8_t> make_song_bytes(const SongShape& shape) {
    return modwriter::write_mod(make_song(shape));
}

} // namespace vd::testing
