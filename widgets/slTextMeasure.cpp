#include "widgets/slTextMeasure.h"

#include <array>
#include <bitset>
#include <deque>
#include <string>

namespace vd {

namespace {

constexpr int kFirstPrintable = ' ';
constexpr int kPastPrintable = 0x7F;

// What text of one font measures: character widths and the pairs that are not their sum.
struct WidthTable {
    std::string name;
    int height = 0;
    TFontStyles style = 0;
    int line_height = 0;
    int extra = 0; // added once to every non-empty width (overstruck bold)
    std::array<int, 128> widths{};
    // Pairs whose width is not the sum of their characters' widths, at first * 128 + second.
    std::bitset<128 * 128> odd_pairs;
};

bool Printable(std::string_view text, bool allow_prefix) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < kFirstPrintable || c >= kPastPrintable || (!allow_prefix && c == '&'))
            return false;
    }
    return true;
}

// GUI thread: the tables of the fonts last asked for.
const WidthTable& TableFor(const TFont& font) {
    static std::deque<WidthTable> tables;
    static TBitmap surface(1, 1);
    for (const WidthTable& t : tables)
        if (t.name == font.Name() && t.height == font.Height() && t.style == font.Style())
            return t;
    constexpr std::size_t kKept = 4;
    if (tables.size() == kKept)
        tables.pop_front();
    WidthTable t;
    t.name = font.Name();
    t.height = font.Height();
    t.style = font.Style();
    TCanvas& canvas = surface.Canvas();
    canvas.Font().Assign(&font);
    t.line_height = canvas.TextHeight("");
    t.extra = font.SimulatedBold() ? 1 : 0;
    for (int c = kFirstPrintable; c < kPastPrintable; ++c) {
        const char ch = static_cast<char>(c);
        t.widths[static_cast<std::size_t>(c)] =
            canvas.TextWidth(std::string_view(&ch, 1)) - t.extra;
    }
    char pair[2];
    for (int a = kFirstPrintable; a < kPastPrintable; ++a)
        for (int b = kFirstPrintable; b < kPastPrintable; ++b) {
            pair[0] = static_cast<char>(a);
            pair[1] = static_cast<char>(b);
            const int sum =
                t.widths[static_cast<std::size_t>(a)] + t.widths[static_cast<std::size_t>(b)];
            if (canvas.TextWidth(std::string_view(pair, 2)) != sum + t.extra)
                t.odd_pairs.set(static_cast<std::size_t>(a * 128 + b));
        }
    tables.push_back(std::move(t));
    return tables.back();
}

} // namespace

int TextLineHeight(const TFont& font) {
    return TableFor(font).line_height;
}

int CountTextLines(const TFont& font, std::string_view text, int width, bool word_wrap) {
    if (text.empty() || !Printable(text, !word_wrap))
        return 0;
    if (!word_wrap)
        return 1; // one paragraph, whatever its width
    const WidthTable& t = TableFor(font);
    for (std::size_t i = 1; i < text.size(); ++i)
        if (t.odd_pairs.test(static_cast<unsigned char>(text[i - 1]) * 128u +
                             static_cast<unsigned char>(text[i])))
            return 0;
    auto advance = [&t](std::string_view part) {
        int sum = 0;
        for (char ch : part)
            sum += t.widths[static_cast<unsigned char>(ch)];
        return sum;
    };
    // DrawText's rule: a paragraph that fits is one line; otherwise words are added to a line
    // while it stays within the width (a line always takes at least one word), and the blanks
    // after a word stay with it.
    if (advance(text) + t.extra <= width)
        return 1;
    int lines = 0;
    int line = 0;
    bool line_empty = true;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ')
            ++j;
        std::size_t k = j;
        while (k < text.size() && text[k] == ' ')
            ++k;
        const int word = advance(text.substr(i, j - i));
        const bool candidate_empty = line_empty && j == i;
        const int candidate = candidate_empty ? 0 : line + word + t.extra;
        if (!line_empty && candidate > width) {
            ++lines;
            line = word;
            line_empty = j == i;
        } else {
            line += word;
            line_empty = candidate_empty;
        }
        line += static_cast<int>(k - j) * t.widths[' '];
        line_empty = line_empty && k == j;
        i = k;
    }
    return lines + 1;
}

} // namespace vd
