#include "framework/core/FilePaths.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

TEST(ExtractFileName, EndsAtLastDelimiterOfAnyKind) {
    EXPECT_EQ(ExtractFileName("/home/ann/Music/song.mod"), "song.mod");
    EXPECT_EQ(ExtractFileName("E:\\a\\a.mod"), "a.mod");
    EXPECT_EQ(ExtractFileName("C:song.xm"), "song.xm");
    EXPECT_EQ(ExtractFileName("C:\\mixed/dir\\x:y.it"), "y.it");
    EXPECT_EQ(ExtractFileName("song.s3m"), "song.s3m");
    EXPECT_EQ(ExtractFileName("/music/"), "");
    EXPECT_EQ(ExtractFileName(""), "");
}

TEST(ExtractFileName, KeepsBytesThatAreNotUtf8) {
    EXPECT_EQ(ExtractFileName("/m\xFF/\xE9t\xE9.mod"), "\xE9t\xE9.mod");
}

TEST(ExtractFileExt, IsFromLastDotAfterLastDelimiter) {
    EXPECT_EQ(ExtractFileExt("/m/list.pvl"), ".pvl");
    EXPECT_EQ(ExtractFileExt("/m/archive.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/m/LIST.PVL"), ".PVL");
    EXPECT_EQ(ExtractFileExt("/m/list."), ".");
    EXPECT_EQ(ExtractFileExt("/m/.pvl"), ".pvl");
    EXPECT_EQ(ExtractFileExt("/m.d/list"), "");
    EXPECT_EQ(ExtractFileExt("C:\\m.d\\list"), "");
    EXPECT_EQ(ExtractFileExt("x.d:list"), "");
    EXPECT_EQ(ExtractFileExt("list"), "");
    EXPECT_EQ(ExtractFileExt(""), "");
}

TEST(ChangeFileExt, ReplacesOrAppends) {
    EXPECT_EQ(ChangeFileExt("/opt/vd/vodezaru", ".ini"), "/opt/vd/vodezaru.ini");
    EXPECT_EQ(ChangeFileExt("C:\\vd\\VODezaru.exe", ".ini"), "C:\\vd\\VODezaru.ini");
    EXPECT_EQ(ChangeFileExt("/opt/v.d/player", ".ini"), "/opt/v.d/player.ini");
    EXPECT_EQ(ChangeFileExt("/a/b.tar.gz", ".x"), "/a/b.tar.x");
    EXPECT_EQ(ChangeFileExt("/a/b.pvl", ""), "/a/b");
}

} // namespace
} // namespace vd
