#include "tests/support/TestModules.h"

#include <array>

namespace vd::test {

namespace fx = modwriter::effect;

namespace {

// 64 samples, half at +amplitude and half at -amplitude, looped.
[[nodiscard]] modwriter::Sample square_wave(std::int8_t amplitude) {
    modwriter::Sample square;
    square.name = "square";
    square.data.resize(64);
    for (std::size_t i = 0; i < square.data.size(); ++i)
        square.data[i] = i % 32 < 16 ? amplitude : static_cast<std::int8_t>(-amplitude);
    square.loop_start = 0;
    square.loop_length = square.data.size();
    return square;
}

void set_timing(modwriter::Pattern& first, int speed, int tempo) {
    first[0][1] = {0, 0, fx::kSpeed, static_cast<std::uint8_t>(speed)};
    first[0][2] = {0, 0, fx::kSpeed, static_cast<std::uint8_t>(tempo)};
}

// A small linear congruential generator: the same seed always gives the same song.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    [[nodiscard]] std::uint32_t next(std::uint32_t bound) {
        state_ = state_ * 1664525U + 1013904223U;
        return (state_ >> 8) % bound;
    }

private:
    std::uint32_t state_;
};

} // namespace

modwriter::Module make_song(const SongShape& shape) {
    modwriter::Module m;
    m.title = shape.title;
    m.samples.push_back(square_wave(90));

    const std::uint16_t a2 = modwriter::period_of(modwriter::note("A-2"));
    for (int order = 0; order < shape.orders; ++order) {
        modwriter::Pattern p{};
        for (int row = 0; row < modwriter::kRows; row += 4) {
            p[static_cast<std::size_t>(row)][0] = {a2, 1, 0, 0};
        }
        if (order == 0)
            set_timing(p, shape.speed, shape.tempo);
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

modwriter::Module rhythm_song(const std::string& title, std::uint32_t seed) {
    static const std::array<const char*, 8> kNotes = {"C-2", "D-2", "E-2", "G-2",
                                                      "A-2", "C-3", "D-3", "E-3"};
    constexpr int kOrders = 4;
    modwriter::Module m;
    m.title = title;
    m.samples.push_back(square_wave(100));
    Lcg random(seed);
    bool rested = true; // the song starts with a note
    for (int order = 0; order < kOrders; ++order) {
        modwriter::Pattern p{};
        for (std::size_t row = 0; row < modwriter::kRows; ++row) {
            if (!rested && random.next(6) == 0) {
                p[row][0] = {0, 0, fx::kVolume, 0};
                rested = true;
                continue;
            }
            const std::uint16_t period =
                modwriter::period_of(modwriter::note(kNotes[random.next(8)]));
            const auto volume = static_cast<std::uint8_t>(12 + random.next(53));
            p[row][0] = {period, 1, fx::kVolume, volume};
            rested = false;
        }
        if (order == 0)
            set_timing(p, 2, 125);
        m.patterns.push_back(p);
        m.orders.push_back(static_cast<std::uint8_t>(order));
    }
    return m;
}

modwriter::Module tone_song(const std::string& title, const std::string& note, int speed,
                            int tempo) {
    modwriter::Module m;
    m.title = title;
    m.samples.push_back(square_wave(100));
    modwriter::Pattern p{};
    p[0][0] = {modwriter::period_of(modwriter::note(note)), 1, 0, 0};
    set_timing(p, speed, tempo);
    p[60][3] = {0, 0, fx::kPatternBreak, 0};
    m.patterns.push_back(p);
    m.orders.push_back(0);
    return m;
}

} // namespace vd::test
