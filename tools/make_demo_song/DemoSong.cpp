#include "tools/make_demo_song/DemoSong.h"

#include "tools/make_demo_song/Instruments.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vd::demo {

namespace {

using modwriter::Cell;
using modwriter::Pattern;
namespace fx = modwriter::effect;

// Channels.
constexpr int kLeadCh = 0;
constexpr int kBassCh = 1;
constexpr int kPluckCh = 2;
constexpr int kDrumCh = 3;

// Sample numbers.
constexpr std::uint8_t kLead = 1;
constexpr std::uint8_t kPluck = 2;
constexpr std::uint8_t kBass = 3;
constexpr std::uint8_t kKick = 4;
constexpr std::uint8_t kSnare = 5;
constexpr std::uint8_t kHat = 6;

constexpr int kBarRows = 16; // four beats of four rows

// Semitone number of a pitch name such as "A4" or "G#3" (C0 = 0).
int semitone(std::string_view name) {
    static constexpr std::string_view kLetters = "C D EF G A B";
    const auto letter = kLetters.find(name.at(0));
    if (letter == std::string_view::npos || name.size() < 2) {
        throw std::invalid_argument("Not a pitch: " + std::string(name));
    }
    const bool sharp = name[1] == '#';
    const int octave = name.at(sharp ? 2 : 1) - '0';
    return octave * 12 + static_cast<int>(letter) + (sharp ? 1 : 0);
}

// The period that makes an instrument sound `semitones` above C0, for an instrument whose
// tracker C-1 sounds `c1_semitone` above C0 (see Instruments.h).
std::uint16_t period(int semitones, int c1_semitone) {
    const int index = semitones - c1_semitone;
    if (index < 0 || index >= 36) {
        throw std::out_of_range("Pitch outside the instrument's range");
    }
    return modwriter::period_of(static_cast<modwriter::Note>(index));
}

constexpr int kLeadC1 = 3 * 12;  // C-2 sounds as C4
constexpr int kPluckC1 = 2 * 12; // C-2 sounds as C3
constexpr int kBassC1 = 1 * 12;  // C-2 sounds as C2

struct Chord {
    std::array<std::string_view, 4> voicing; // pluck arpeggio notes, low to high
    std::string_view bass_root;
    std::string_view root; // the chord's root for the pluck's tracker arpeggio
    std::uint8_t arpeggio; // 0xy: the chord's third and fifth over `root`
};

const Chord kAm{{"A3", "C4", "E4", "A4"}, "A1", "A3", 0x37};
const Chord kF{{"F3", "A3", "C4", "F4"}, "F1", "F3", 0x47};
const Chord kC{{"G3", "C4", "E4", "G4"}, "C2", "C3", 0x47};
const Chord kG{{"G3", "B3", "D4", "G4"}, "G1", "G3", 0x47};
const Chord kDm{{"A3", "D4", "F4", "A4"}, "D2", "D3", 0x37};
const Chord kEm{{"G3", "B3", "E4", "G4"}, "E2", "E3", 0x37};
const Chord kE{{"G#3", "B3", "E4", "G#4"}, "E2", "E3", 0x47};

enum class Drums { hats, basic, drive, half, fill, last };
enum class Bass { held, bounce, half, last };
enum class Pluck { quarters, eighths, sixteenths, shimmer, last };

struct Bar {
    const Chord& chord;
    Drums drums;
    Bass bass;
    Pluck pluck;
};

struct LeadNote {
    int row;
    std::string_view pitch;
    int length_rows;
};

class Writer {
public:
    explicit Writer(Pattern& pattern) : pattern_(pattern) {}

    void note(int channel, int row, std::uint16_t period, std::uint8_t sample,
              std::uint8_t effect = 0, std::uint8_t param = 0) {
        if (row < modwriter::kRows) {
            cell(channel, row) = Cell{period, sample, effect, param};
        }
    }

    // Sets an effect on a row where no note starts.
    void effect_if_free(int channel, int row, std::uint8_t effect, std::uint8_t param) {
        if (row < modwriter::kRows && cell(channel, row).period == 0) {
            cell(channel, row).effect = effect;
            cell(channel, row).param = param;
        }
    }

    Cell& cell(int channel, int row) {
        return pattern_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(channel));
    }

private:
    Pattern& pattern_;
};

void write_drums(Writer& w, int bar_row, Drums style) {
    const std::uint16_t c3 = modwriter::period_of(modwriter::note("C-3"));
    const std::uint16_t b3 = modwriter::period_of(modwriter::note("B-3"));
    auto kick = [&](int r, std::uint8_t v = 0x40) {
        w.note(kDrumCh, bar_row + r, c3, kKick, fx::kVolume, v);
    };
    auto snare = [&](int r, std::uint8_t v = 0x30) {
        w.note(kDrumCh, bar_row + r, c3, kSnare, fx::kVolume, v);
    };
    auto hat = [&](int r, std::uint8_t v = 0x16) {
        w.note(kDrumCh, bar_row + r, b3, kHat, fx::kVolume, v);
    };
    switch (style) {
    case Drums::hats:
        for (int r = 0; r < kBarRows; r += 2) {
            hat(r, r % 4 == 2 ? 0x18 : 0x0e);
        }
        break;
    case Drums::basic:
    case Drums::fill:
        kick(0);
        hat(2);
        snare(4);
        hat(6);
        kick(8);
        hat(10);
        if (style == Drums::fill) {
            snare(12, 0x20);
            snare(13, 0x26);
            snare(14, 0x2c);
            snare(15, 0x34);
        } else {
            snare(12);
            hat(14);
            hat(15, 0x0c);
        }
        break;
    case Drums::drive:
        kick(0);
        hat(2);
        snare(4);
        hat(6);
        kick(8);
        kick(10, 0x30);
        snare(12);
        hat(14);
        hat(15, 0x0e);
        break;
    case Drums::half:
        kick(0);
        hat(4, 0x12);
        snare(8);
        hat(12, 0x12);
        kick(14, 0x2c);
        break;
    case Drums::last:
        kick(0);
        break;
    }
}

void write_bass(Writer& w, int bar_row, const Chord& chord, Bass style) {
    const int root = semitone(chord.bass_root);
    struct Hit {
        int row;
        int interval;
        int length_rows;
    };
    auto play = [&](std::initializer_list<Hit> hits) {
        for (const Hit& h : hits) {
            w.note(kBassCh, bar_row + h.row, period(root + h.interval, kBassC1), kBass);
        }
        for (const Hit& h : hits) {
            w.effect_if_free(kBassCh, bar_row + h.row + h.length_rows, fx::kVolume, 0);
        }
    };
    switch (style) {
    case Bass::held:
        play({{0, 0, 14}});
        break;
    case Bass::bounce:
        play({{0, 0, 2}, {3, 0, 2}, {6, 12, 1}, {8, 0, 2}, {11, 0, 1}, {12, 12, 2}, {14, 7, 2}});
        break;
    case Bass::half:
        play({{0, 0, 6}, {8, 12, 3}, {12, 0, 4}});
        break;
    case Bass::last:
        play({{0, 0, 14}});
        for (int r = 4; r < 14; ++r) {
            w.effect_if_free(kBassCh, bar_row + r, fx::kVolumeSlide, 0x01);
        }
        break;
    }
}

void write_pluck(Writer& w, int bar_row, const Chord& chord, Pluck style) {
    auto pitch = [&](int i) {
        return period(semitone(chord.voicing.at(static_cast<std::size_t>(i))), kPluckC1);
    };
    switch (style) {
    case Pluck::quarters:
        for (int i = 0; i < 4; ++i) {
            w.note(kPluckCh, bar_row + 4 * i, pitch(i), kPluck, fx::kVolume, 0x38);
        }
        break;
    case Pluck::eighths: {
        static constexpr std::array<int, 8> kRoll = {0, 2, 1, 3, 0, 2, 1, 3};
        for (int i = 0; i < 8; ++i) {
            w.note(kPluckCh, bar_row + 2 * i, pitch(kRoll[static_cast<std::size_t>(i)]), kPluck,
                   fx::kVolume, i % 2 == 0 ? 0x3c : 0x2c);
        }
        break;
    }
    case Pluck::sixteenths: {
        static constexpr std::array<int, 8> kRun = {0, 1, 2, 3, 2, 1, 2, 3};
        for (int i = 0; i < kBarRows; ++i) {
            w.note(kPluckCh, bar_row + i, pitch(kRun[static_cast<std::size_t>(i % 8)]), kPluck,
                   fx::kVolume, i % 2 == 0 ? 0x32 : 0x22);
        }
        break;
    }
    case Pluck::shimmer:
        for (int beat = 0; beat < 4; ++beat) {
            const int row = bar_row + 4 * beat;
            w.note(kPluckCh, row, period(semitone(chord.root), kPluckC1), kPluck, fx::kArpeggio,
                   chord.arpeggio);
            for (int r = 1; r < 4; ++r) {
                w.effect_if_free(kPluckCh, row + r, fx::kArpeggio, chord.arpeggio);
            }
        }
        break;
    case Pluck::last:
        for (int i = 0; i < 4; ++i) {
            w.note(kPluckCh, bar_row + 2 * i, pitch(i), kPluck, fx::kVolume, 0x3c - 2 * i);
        }
        break;
    }
}

// A lead note starts at its volume, gains vibrato from its third row on while slowly fading,
// and is silenced after its length unless the next note starts right there.
void write_lead(Writer& w, std::initializer_list<LeadNote> notes, std::uint8_t volume) {
    for (const LeadNote& n : notes) {
        w.note(kLeadCh, n.row, period(semitone(n.pitch), kLeadC1), kLead, fx::kVolume, volume);
    }
    for (const LeadNote& n : notes) {
        if (n.length_rows >= 4) {
            w.effect_if_free(kLeadCh, n.row + 2, fx::kVibrato, 0x43);
            for (int r = 3; r < n.length_rows; ++r) {
                const bool fade = r % 2 == 1;
                w.effect_if_free(kLeadCh, n.row + r, fade ? fx::kVibratoVolumeSlide : fx::kVibrato,
                                 fade ? 0x01 : 0x00);
            }
        }
        w.effect_if_free(kLeadCh, n.row + n.length_rows, fx::kVolume, 0);
    }
}

Pattern section(std::initializer_list<Bar> bars, std::initializer_list<LeadNote> lead,
                std::uint8_t lead_volume) {
    Pattern pattern{};
    Writer w(pattern);
    int bar_row = 0;
    for (const Bar& bar : bars) {
        write_drums(w, bar_row, bar.drums);
        write_bass(w, bar_row, bar.chord, bar.bass);
        write_pluck(w, bar_row, bar.chord, bar.pluck);
        bar_row += kBarRows;
    }
    write_lead(w, lead, lead_volume);
    return pattern;
}

Pattern intro() {
    return section({{kAm, Drums::hats, Bass::held, Pluck::quarters},
                    {kF, Drums::hats, Bass::held, Pluck::quarters},
                    {kC, Drums::basic, Bass::bounce, Pluck::eighths},
                    {kG, Drums::fill, Bass::bounce, Pluck::eighths}},
                   {{56, "B4", 2}, {58, "C5", 2}, {60, "D5", 4}}, 0x34);
}

// The hook: E-E-D-E and a leap to A, answered a third lower, then down to rest on B.
Pattern verse() {
    return section({{kAm, Drums::basic, Bass::bounce, Pluck::eighths},
                    {kF, Drums::basic, Bass::bounce, Pluck::eighths},
                    {kC, Drums::basic, Bass::bounce, Pluck::eighths},
                    {kG, Drums::fill, Bass::bounce, Pluck::eighths}},
                   {{0, "E5", 3},
                    {3, "E5", 3},
                    {6, "D5", 2},
                    {8, "E5", 4},
                    {12, "A5", 4},
                    {16, "G5", 3},
                    {19, "F5", 3},
                    {22, "E5", 2},
                    {24, "C5", 8},
                    {32, "E5", 3},
                    {35, "E5", 3},
                    {38, "D5", 2},
                    {40, "E5", 4},
                    {44, "G5", 4},
                    {48, "D5", 6},
                    {54, "C5", 2},
                    {56, "B4", 8}},
                   0x38);
}

Pattern chorus() {
    return section({{kF, Drums::drive, Bass::bounce, Pluck::sixteenths},
                    {kG, Drums::drive, Bass::bounce, Pluck::sixteenths},
                    {kC, Drums::drive, Bass::bounce, Pluck::sixteenths},
                    {kE, Drums::fill, Bass::bounce, Pluck::sixteenths}},
                   {{0, "A5", 6},
                    {6, "G5", 2},
                    {8, "F5", 2},
                    {10, "E5", 2},
                    {12, "F5", 4},
                    {16, "G5", 6},
                    {22, "F5", 2},
                    {24, "E5", 2},
                    {26, "D5", 2},
                    {28, "B4", 4},
                    {32, "C5", 4},
                    {36, "E5", 4},
                    {40, "G5", 4},
                    {44, "A5", 2},
                    {46, "G5", 2},
                    {48, "B4", 4},
                    {52, "E5", 4},
                    {56, "G#5", 8}},
                   0x3c);
}

Pattern bridge() {
    return section({{kDm, Drums::half, Bass::half, Pluck::shimmer},
                    {kEm, Drums::half, Bass::half, Pluck::shimmer},
                    {kF, Drums::half, Bass::half, Pluck::shimmer},
                    {kG, Drums::fill, Bass::bounce, Pluck::eighths}},
                   {{0, "F5", 8},
                    {8, "E5", 4},
                    {12, "D5", 4},
                    {16, "G5", 8},
                    {24, "F5", 4},
                    {28, "E5", 4},
                    {32, "A5", 12},
                    {44, "G5", 4},
                    {48, "B5", 6},
                    {54, "A5", 2},
                    {56, "G5", 8}},
                   0x34);
}

Pattern outro() {
    return section({{kAm, Drums::basic, Bass::bounce, Pluck::eighths},
                    {kF, Drums::basic, Bass::bounce, Pluck::eighths},
                    {kG, Drums::fill, Bass::bounce, Pluck::eighths},
                    {kAm, Drums::last, Bass::last, Pluck::last}},
                   {{0, "E5", 3},
                    {3, "E5", 3},
                    {6, "D5", 2},
                    {8, "E5", 4},
                    {12, "A5", 4},
                    {16, "G5", 3},
                    {19, "F5", 3},
                    {22, "E5", 2},
                    {24, "C5", 8},
                    {32, "D5", 6},
                    {38, "C5", 2},
                    {40, "B4", 8},
                    {48, "A4", 14}},
                   0x38);
}

// Spreads the channels a little from the Amiga's hard left and right.
void set_panning(Pattern& first) {
    constexpr std::array<std::uint8_t, modwriter::kChannels> kPan = {0x60, 0x80, 0xa8, 0x80};
    for (int ch = 0; ch < modwriter::kChannels; ++ch) {
        Cell& c = first[0][static_cast<std::size_t>(ch)];
        c.effect = fx::kPanning;
        c.param = kPan[static_cast<std::size_t>(ch)];
    }
}

} // namespace

modwriter::Module make_demo_song() {
    modwriter::Module song;
    song.title = "Dezaru Dawn";
    song.samples = {make_pulse_lead(), make_pluck(), make_bass(),
                    make_kick(),       make_snare(), make_hihat()};
    song.patterns = {intro(), verse(), chorus(), bridge(), outro()};
    set_panning(song.patterns[0]);
    song.orders = {0, 1, 2, 1, 3, 2, 1, 4};
    return song;
}

} // namespace vd::demo
