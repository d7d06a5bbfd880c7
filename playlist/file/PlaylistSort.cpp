#include "playlist/file/PlaylistSort.h"

#include <algorithm>
#include <array>
#include <cwchar>
#include <cwctype>
#include <numeric>
#include <string_view>

namespace vd {
namespace {

// Sort keys are byte strings whose plain byte order is the wanted order, built once per path so
// the comparisons themselves are memcmp. A folded character is stored in UTF-8, whose byte order
// is code point order. A byte that does not decode is stored as 0xF5 and the byte: 0xF5 never
// starts a UTF-8 sequence and is above every byte that does, so such bytes sort after all
// characters and among themselves by value.
constexpr unsigned char kUndecodableMark = 0xF5;

void AppendUtf8(std::string& key, char32_t c) {
    if (c < 0x80) {
        key += static_cast<char>(c);
    } else if (c < 0x800) {
        key += static_cast<char>(0xC0 | (c >> 6));
        key += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        key += static_cast<char>(0xE0 | (c >> 12));
        key += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        key += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        key += static_cast<char>(0xF0 | (c >> 18));
        key += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        key += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        key += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendFolded(std::string& key, wint_t c) {
    const wint_t lower = std::towlower(c);
    // wchar_t holds Unicode on this platform; anything outside it is kept as an undecodable mark.
    if (lower > 0x10FFFF || (lower >= 0xD800 && lower <= 0xDFFF)) {
        AppendUtf8(key, 0xFFFD);
    } else {
        AppendUtf8(key, static_cast<char32_t>(lower));
    }
}

class SortKeyBuilder {
public:
    SortKeyBuilder() {
        // ASCII decodes to itself in every locale this program runs in, but folding it is still
        // the locale's business (a Turkish "I" does not fold to "i"). Asking towlower once per
        // character here keeps the common case out of mbrtowc.
        for (unsigned c = 0; c < 0x80; ++c) {
            std::string folded;
            AppendFolded(folded, static_cast<wint_t>(c));
            ascii_[c] = folded;
        }
    }

    void Append(std::string& key, std::string_view path) const {
        std::mbstate_t state{};
        std::size_t i = 0;
        while (i < path.size()) {
            const auto byte = static_cast<unsigned char>(path[i]);
            if (byte < 0x80) {
                key += ascii_[byte];
                ++i;
                continue;
            }
            wchar_t wide = 0;
            const std::size_t used = std::mbrtowc(&wide, path.data() + i, path.size() - i, &state);
            if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
                used == 0) {
                key += static_cast<char>(kUndecodableMark);
                key += static_cast<char>(byte);
                state = std::mbstate_t{};
                ++i;
                continue;
            }
            AppendFolded(key, static_cast<wint_t>(wide));
            i += used;
        }
    }

private:
    std::array<std::string, 0x80> ascii_;
};

} // namespace

std::vector<std::size_t> SortedOrder(std::span<const std::string> paths) {
    // All keys live in one buffer; offsets mark where each ends.
    const SortKeyBuilder builder;
    std::string keys;
    std::size_t total = 0;
    for (const auto& path : paths) {
        total += path.size();
    }
    keys.reserve(total + total / 8);
    std::vector<std::size_t> ends;
    ends.reserve(paths.size());
    for (const auto& path : paths) {
        builder.Append(keys, path);
        ends.push_back(keys.size());
    }

    const std::string_view all_keys = keys;
    auto key_of = [&](std::size_t index) {
        const std::size_t begin = index == 0 ? 0 : ends[index - 1];
        return all_keys.substr(begin, ends[index] - begin);
    };

    std::vector<std::size_t> order(paths.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return key_of(a) < key_of(b); });
    return order;
}

} // namespace vd
