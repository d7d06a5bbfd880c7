#include "app/WindowScale.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

TEST(WindowScale, WholeMultiplesUpToThreeOnly) {
    EXPECT_EQ(ParseWindowScale("1"), 1);
    EXPECT_EQ(ParseWindowScale("2"), 2);
    EXPECT_EQ(ParseWindowScale(" 3 "), 3);
    EXPECT_EQ(ParseWindowScale("4"), std::nullopt);
    EXPECT_EQ(ParseWindowScale("0"), std::nullopt);
    EXPECT_EQ(ParseWindowScale("1.5"), std::nullopt) << "a fraction would blur the skin";
    EXPECT_EQ(ParseWindowScale(""), std::nullopt);
}

} // namespace
} // namespace vd
