#include "tools/modwriter/ModWriter.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>

namespace vd::modwriter {

namespace {

// ProTracker's period table at finetune 0, C-1 to B-3.
constexpr std::array<std::uint16_t, 36> kPeriods = {
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453, // octave 1
    428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226, // octave 2
    214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113, // octave 3
};

constexpr std::array<const char*, 12> kNoteNames = {"C-", "C#", "D-", "D#", "E-", "F-",
                                                    "F#", "G-", "G#", "A-", "A#", "B-"};

constexpr std::size_t kMaxSampleBytes = 0xffff * 2;

void put_text(std::vector<std::uint8_t>& out, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

void put_words(std::vector<std::uint8_t>& out, std::size_t bytes) {
    const auto words = static_cast<std::uint16_t>(bytes / 2);
    out.push_back(static_cast<std::uint8_t>(words >> 8));
    out.push_back(static_cast<std::uint8_t>(words & 0xff));
}

void check(const Module& module) {
    if (module.samples.size() > kMaxSamples) {
        throw std::invalid_argument("A module holds at most 31 samples");
    }
    if (module.orders.empty() || module.orders.size() > kMaxOrders) {
        throw std::invalid_argument("A module needs 1 to 128 orders");
    }
    for (std::uint8_t order : module.orders) {
        if (order >= module.patterns.size()) {
            throw std::invalid_argument("An order names a pattern that does not exist");
        }
    }
    for (const Sample& s : module.samples) {
        if (s.data.size() > kMaxSampleBytes) {
            throw std::invalid_argument("Sample \"" + s.name + "\" is too long");
        }
        if (s.loop_length > 2 && (s.loop_start % 2 != 0 || s.loop_length % 2 != 0 ||
                                  s.loop_start + s.loop_length > s.data.size())) {
            throw std::invalid_argument("Sample \"" + s.name + "\" has a bad loop");
        }
        if (s.finetune < -8 || s.finetune > 7 || s.volume > 64) {
            throw std::invalid_argument("Sample \"" + s.name + "\" has a bad finetune or volume");
        }
    }
}

} // namespace

Note note(const std::string& name) {
    if (name.size() == 3 && name[2] >= '1' && name[2] <= '3') {
        const auto found = std::ranges::find(kNoteNames, name.substr(0, 2));
        if (found != kNoteNames.end()) {
            const auto index = (name[2] - '1') * 12 + (found - kNoteNames.begin());
            return static_cast<Note>(index);
        }
    }
    throw std::invalid_argument("Not a note from C-1 to B-3: " + name);
}

std::uint16_t period_of(Note n) {
    return kPeriods.at(static_cast<std::size_t>(n));
}

std::vector<std::uint8_t> write_mod(const Module& module) {
    check(module);
    std::vector<std::uint8_t> out;
    put_text(out, module.title, 20);

    for (int i = 0; i < kMaxSamples; ++i) {
        if (static_cast<std::size_t>(i) >= module.samples.size()) {
            put_text(out, "", 22);
            out.insert(out.end(), {0, 0, 0, 0, 0, 0, 0, 1}); // empty, no loop (length 1 word)
            continue;
        }
        const Sample& s = module.samples[static_cast<std::size_t>(i)];
        put_text(out, s.name, 22);
        put_words(out, s.data.size() + s.data.size() % 2);
        out.push_back(static_cast<std::uint8_t>(s.finetune & 0x0f));
        out.push_back(s.volume);
        if (s.loop_length > 2) {
            put_words(out, s.loop_start);
            put_words(out, s.loop_length);
        } else {
            put_words(out, 0);
            put_words(out, 2);
        }
    }

    out.push_back(static_cast<std::uint8_t>(module.orders.size()));
    out.push_back(127); // no restart position: the song ends after its last order
    for (int i = 0; i < kMaxOrders; ++i) {
        out.push_back(static_cast<std::size_t>(i) < module.orders.size()
                          ? module.orders[static_cast<std::size_t>(i)]
                          : 0);
    }
    put_text(out, "M.K.", 4);

    // Trackers store as many patterns as the highest order names, so the rest are left out.
    const std::size_t stored = *std::ranges::max_element(module.orders) + 1U;
    for (std::size_t p = 0; p < stored; ++p) {
        for (const Row& row : module.patterns[p]) {
            for (const Cell& c : row) {
                out.push_back(
                    static_cast<std::uint8_t>((c.sample & 0xf0) | ((c.period >> 8) & 0x0f)));
                out.push_back(static_cast<std::uint8_t>(c.period & 0xff));
                out.push_back(
                    static_cast<std::uint8_t>(((c.sample & 0x0f) << 4) | (c.effect & 0x0f)));
                out.push_back(c.param);
            }
        }
    }

    for (const Sample& s : module.samples) {
        for (std::int8_t v : s.data) {
            out.push_back(static_cast<std::uint8_t>(v));
        }
        if (s.data.size() % 2 != 0) {
            out.push_back(0);
        }
    }
    return out;
}

void save_mod(const Module& module, const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = write_mod(module);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("Cannot write " + path.string());
    }
}

} // namespace vd::modwriter
