#include "base/AsciiCase.h"

#include <gtest/gtest.h>

namespace vd::test {
namespace {

TEST(AsciiCase, OnlyAsciiLettersFold) {
    EXPECT_TRUE(EqualsIgnoringAsciiCase(".MiD", ".mid"));
    EXPECT_TRUE(EqualsIgnoringAsciiCase("WaveAudio", "waveaudio"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(".mid", ".midi"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(".mid", ".mod"));
    // A byte of another encoding stays itself: 0xC9 is not 'i' plus anything, nor 0xE9.
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC9", "\xE9"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{")); // 'A'..'Z' only, not the bytes beside them
    EXPECT_EQ(AsciiLower('@'), '@');
    EXPECT_EQ(AsciiLower('Z'), 'z');
}

} // namespace
} // namespace vd::test
