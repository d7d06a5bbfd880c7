#include "playlist/file/PlaylistSort.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>

namespace vd {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Paths = std::vector<std::string>;

// Runs a test under a given character locale and puts the previous one back afterwards.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
    ~LocaleScope() { std::setlocale(LC_ALL, previous_.c_str()); }
    [[nodiscard]] bool Active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

Paths InOrder(const Paths& paths) {
    Paths sorted;
    for (const std::size_t index : SortedOrder(paths)) {
        sorted.push_back(paths[index]);
    }
    return sorted;
}

TEST(SortedOrder, WholePathDecidesNotTheShownName) {
    EXPECT_THAT(SortedOrder(Paths{"E:\\a\\a.mod", "D:\\b\\z.mod"}), ElementsAre(1, 0));
    EXPECT_THAT(InOrder({"/music/b/a.mod", "/music/a/z.mod", "/music/a.mod"}),
                ElementsAre("/music/a.mod", "/music/a/z.mod", "/music/b/a.mod"));
}

TEST(SortedOrder, LetterCaseIsIgnoredAndEqualPathsKeepTheirOrder) {
    EXPECT_THAT(SortedOrder(Paths{"b.mod", "A.mod", "a.mod", "B.MOD", "A.mod"}),
                ElementsAre(1, 2, 4, 0, 3));
}

TEST(SortedOrder, PrefixSortsFirst) {
    EXPECT_THAT(InOrder({"/m/ab", "/m/a", "/m/", "/m/A"}),
                ElementsAre("/m/", "/m/a", "/m/A", "/m/ab"));
}

TEST(SortedOrder, EmptyAndSingleLists) {
    EXPECT_THAT(SortedOrder(Paths{}), IsEmpty());
    EXPECT_THAT(SortedOrder(Paths{""}), ElementsAre(0));
    EXPECT_THAT(SortedOrder(Paths{"x", ""}), ElementsAre(1, 0));
}

TEST(SortedOrder, LargeListWithManyEqualKeysIsStable) {
    Paths paths;
    for (int i = 0; i < 2000; ++i) {
        paths.push_back((i % 2 ? "/M/" : "/m/") + std::to_string(i % 7));
    }
    const auto order = SortedOrder(paths);
    ASSERT_EQ(order.size(), paths.size());
    for (std::size_t i = 1; i < order.size(); ++i) {
        const char previous = paths[order[i - 1]].back();
        const char current = paths[order[i]].back();
        ASSERT_LE(previous, current);
        if (previous == current) {
            ASSERT_LT(order[i - 1], order[i]);
        }
    }
}

TEST(SortedOrder, NonAsciiLettersFoldInUtf8Locale) {
    LocaleScope locale("C.UTF-8");
    if (!locale.Active()) {
        GTEST_SKIP() << "no C.UTF-8 locale";
    }
    EXPECT_THAT(SortedOrder(Paths{"/m/\xC3\xA9mile", "/m/\xC3\x89MILE", "/m/\xC3\x89mile"}),
                ElementsAre(0, 1, 2));
    EXPECT_THAT(SortedOrder(Paths{"/m/\xC3\x89tude", "/m/zebra", "/m/\xC3\xA0 la"}),
                ElementsAre(1, 2, 0));
}

TEST(SortedOrder, UndecodableBytesSortAfterCharactersByByteValue) {
    LocaleScope locale("C.UTF-8");
    if (!locale.Active()) {
        GTEST_SKIP() << "no C.UTF-8 locale";
    }
    // Lone 0xFF and 0xE9 are not UTF-8; "\xC3\xA9" is e-acute.
    EXPECT_THAT(SortedOrder(Paths{"/\xFF", "/\xE9", "/z", "/\xC3\xA9", "/\xC3"}),
                ElementsAre(2, 3, 4, 1, 0));
}

TEST(SortedOrder, PlainCLocaleStillFoldsAsciiAndOrdersOtherBytes) {
    LocaleScope locale("C");
    ASSERT_TRUE(locale.Active());
    EXPECT_THAT(SortedOrder(Paths{"/\xFF", "/B", "/\xE9", "/a"}), ElementsAre(3, 1, 2, 0));
}

} // namespace
} // namespace vd
