#include "widgets/slUtils.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vd {
namespace {

TFont FontOf(const char* name, int height, TFontStyles style) {
    TFont font;
    font.SetName(name);
    font.SetHeight(height);
    font.SetStyle(style);
    return font;
}

// Words of random letters and lengths with one or more blanks between, sometimes leading or
// trailing blanks, now and then a word longer than a line.
std::string RandomText(std::mt19937& random) {
    std::string text;
    const int words = 1 + static_cast<int>(random() % 14);
    for (int w = 0; w < words; ++w) {
        const int blanks =
            w == 0 ? static_cast<int>(random() % 4 == 0) : 1 + static_cast<int>(random() % 3 == 0);
        text.append(static_cast<std::size_t>(blanks), ' ');
        const int length = random() % 20 == 0 ? 40 + static_cast<int>(random() % 20)
                                              : 1 + static_cast<int>(random() % 10);
        for (int c = 0; c < length; ++c)
            text.push_back(static_cast<char>("aeimnorstwAMW.,-()0123456789"[random() % 28]));
    }
    if (random() % 5 == 0)
        text.append("  ");
    return text;
}

TEST(TextMeasure, CountsTheLinesDrawTextMakes) {
    TBitmap surface(1, 1);
    std::mt19937 random(11);
    const TFont fonts[] = {FontOf("MS Sans Serif", -11, 0), FontOf("MS Sans Serif", -11, fsBold),
                           FontOf("Tahoma", -11, 0), FontOf("Tahoma", -13, fsBold),
                           FontOf("Arial", -12, 0)};
    int answered = 0;
    for (const TFont& font : fonts) {
        surface.Canvas().Font().Assign(&font);
        const int line = surface.Canvas().TextHeight("");
        EXPECT_EQ(TextLineHeight(font), line);
        for (int n = 0; n < 300; ++n) {
            const std::string text = RandomText(random);
            const int width = 20 + static_cast<int>(random() % 260);
            for (bool wrap : {true, false}) {
                const int lines = CountTextLines(font, text, width, wrap);
                if (lines == 0)
                    continue;
                ++answered;
                TRect r{0, 0, width, 0};
                surface.Canvas().DrawText(text, r, DT_CALCRECT | (wrap ? DT_WORDBREAK : 0u));
                ASSERT_EQ(lines * line, r.Height()) << font.Name() << " " << font.Style()
                                                    << " width " << width << " \"" << text << "\"";
            }
        }
    }
    EXPECT_GT(answered, 2500);
}

TEST(TextMeasure, ThePlaylistFontIsCountedWithoutLayingOutText) {
    const TFont font = FontOf("MS Sans Serif", -11, 0);
    EXPECT_EQ(CountTextLines(font, std::string(30, 'm') + " " + std::string(30, 'm'), 251, true),
              2);
    EXPECT_EQ(CountTextLines(font, "short", 251, true), 1);
    // Drawn as one trademark sign: not the sum of T and M.
    EXPECT_EQ(CountTextLines(font, "Song TM", 251, true), 0);
}

TEST(TextMeasure, LeavesWhatItCannotBeSureOfToDrawText) {
    const TFont font = FontOf("MS Sans Serif", -11, 0);
    EXPECT_EQ(CountTextLines(font, "", 100, true), 0);
    EXPECT_EQ(CountTextLines(font, "two\r\nlines", 100, false), 0);
    EXPECT_EQ(CountTextLines(font, "tab\there", 100, true), 0);
    EXPECT_EQ(CountTextLines(font, "caf\xc3\xa9", 100, true), 0);
    EXPECT_EQ(CountTextLines(font, "Rock & Roll", 100, true), 0);
    EXPECT_EQ(CountTextLines(font, "Rock & Roll", 100, false), 1);
}

} // namespace
} // namespace vd
