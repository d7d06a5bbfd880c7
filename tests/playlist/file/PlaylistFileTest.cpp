#include "playlist/file/PlaylistFile.h"

#include "framework/core/AtomicFile.h"
#include "framework/core/FilePaths.h"
#include "tests/support/ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace vd {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Paths = std::vector<std::string>;

TEST(ParsePlaylist, EveryKindOfLineBreakEndsOneLine) {
    const Paths expected{"C:\\a.mod", "/b.xm", "c.it"};
    EXPECT_EQ(ParsePlaylist("C:\\a.mod\r\n/b.xm\r\nc.it\r\n"), expected);
    EXPECT_EQ(ParsePlaylist("C:\\a.mod\n/b.xm\nc.it\n"), expected);
    EXPECT_EQ(ParsePlaylist("C:\\a.mod\r/b.xm\rc.it\r"), expected);
    EXPECT_EQ(ParsePlaylist("C:\\a.mod\r/b.xm\nc.it\r\n"), expected);
}

TEST(ParsePlaylist, LastLineNeedsNoBreakAndFinalBreakAddsNoEntry) {
    EXPECT_THAT(ParsePlaylist("a.mod\r\nb.mod"), ElementsAre("a.mod", "b.mod"));
    EXPECT_THAT(ParsePlaylist("a.mod\r\nb.mod\r\n"), ElementsAre("a.mod", "b.mod"));
    EXPECT_THAT(ParsePlaylist("a.mod\n"), ElementsAre("a.mod"));
}

TEST(ParsePlaylist, EmptyLinesBetweenOthersAreEntries) {
    EXPECT_THAT(ParsePlaylist("a.mod\r\n\r\nb.mod\r\n"), ElementsAre("a.mod", "", "b.mod"));
    // LF CR is two breaks, unlike CR LF.
    EXPECT_THAT(ParsePlaylist("a.mod\n\rb.mod"), ElementsAre("a.mod", "", "b.mod"));
    EXPECT_THAT(ParsePlaylist("\r\n"), ElementsAre(""));
    EXPECT_THAT(ParsePlaylist("\r\n\r\n"), ElementsAre("", ""));
}

TEST(ParsePlaylist, EmptyInputHasNoEntries) {
    EXPECT_THAT(ParsePlaylist(""), IsEmpty());
}

TEST(ParsePlaylist, NulByteEndsTheText) {
    EXPECT_THAT(ParsePlaylist("a.mod\r\nb.m\0od\r\nc.mod\r\n"s), ElementsAre("a.mod", "b.m"));
    EXPECT_THAT(ParsePlaylist("a.mod\r\n\0b.mod"s), ElementsAre("a.mod"));
    EXPECT_THAT(ParsePlaylist("\0a.mod"s), IsEmpty());
}

TEST(ParsePlaylist, LinesAreNeitherTrimmedNorDecoded) {
    EXPECT_THAT(ParsePlaylist(" /a b.mod \t\r\n\"q.xm\"\r\n\xE9\xFF.mod\r\n"),
                ElementsAre(" /a b.mod \t", "\"q.xm\"", "\xE9\xFF.mod"));
}

TEST(FormatPlaylist, EveryPathEndsWithCrLf) {
    EXPECT_EQ(FormatPlaylist(Paths{"E:\\a\\a.mod", "", "/b.xm"}), "E:\\a\\a.mod\r\n\r\n/b.xm\r\n");
    EXPECT_EQ(FormatPlaylist(Paths{}), "");
}

TEST(PlaylistFile, SaveLoadSaveGivesTheSameListAndBytes) {
    test::ScratchDir dir;
    const Paths paths{"/home/ann/Music/dezaru dawn.mod", "E:\\a\\a.mod",   "", "C:song.s3m",
                      "/m/\xE9t\xE9\xFF\x80.wav",        "trailing blank "};
    const std::string first = dir / "first.pvl";
    const std::string second = dir / "second.pvl";
    SavePlaylistFile(first, paths);
    const Paths loaded = LoadPlaylistFile(first);
    EXPECT_EQ(loaded, paths);
    SavePlaylistFile(second, loaded);
    EXPECT_EQ(ReadWholeFile(second), ReadWholeFile(first));
    EXPECT_EQ(LoadPlaylistFile(second), paths);
}

TEST(PlaylistFile, EmptyPlaylistIsEmptyFile) {
    test::ScratchDir dir;
    const std::string path = dir / "empty.pvl";
    SavePlaylistFile(path, Paths{});
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_THAT(LoadPlaylistFile(path), IsEmpty());
}

TEST(PlaylistFile, SavingReplacesExistingFile) {
    test::ScratchDir dir;
    const std::string path = dir / "list.pvl";
    SavePlaylistFile(path, Paths{"one.mod", "two.mod", "three.mod"});
    SavePlaylistFile(path, Paths{"four.mod"});
    EXPECT_EQ(ReadWholeFile(path), "four.mod\r\n");
}

TEST(PlaylistFile, FailedSaveLeavesOldFileWhole) {
    test::ScratchDir dir;
    const std::string path = dir / "list.pvl";
    SavePlaylistFile(path, Paths{"old.mod"});
    const std::string folder_as_target = dir / "folder.pvl";
    std::filesystem::create_directory(folder_as_target);
    try {
        SavePlaylistFile(folder_as_target, Paths{"new.mod"});
        FAIL() << "no EFileError thrown";
    } catch (const EFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + folder_as_target + "\". Is a directory");
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder_as_target));
    EXPECT_EQ(ReadWholeFile(path), "old.mod\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(PlaylistFile, FailedLoadThrowsBeforeTheCallersListChanges) {
    test::ScratchDir dir;
    const std::string missing = dir / "missing.pvl";
    Paths playlist{"kept.mod"};
    try {
        playlist = LoadPlaylistFile(missing);
        FAIL() << "no EFileError thrown";
    } catch (const EFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_THAT(playlist, ElementsAre("kept.mod"));
}

TEST(PlaylistFile, FilesFromOtherProgramsLoadTheSameEntries) {
    test::ScratchDir dir;
    WriteFileAtomically(dir / "lf.pvl", "a.mod\nb.mod");
    WriteFileAtomically(dir / "crlf.pvl", "a.mod\r\nb.mod\r\n");
    EXPECT_EQ(LoadPlaylistFile(dir / "lf.pvl"), LoadPlaylistFile(dir / "crlf.pvl"));
}

TEST(ResolvePlaylistEntries, RelativeEntriesAreTakenFromTheListsFolder) {
    const Paths entries{"beside.mod",     "sub/below.xm",   "../above.it", "./here.wav",
                        "/abs/olute.mod", "\\\\srv\\x.mod", "D:\\a.mod",   "",
                        "n\xE9\xFF.mid"};
    EXPECT_THAT(ResolvePlaylistEntries(entries, "/m/lists/mix.pvl"),
                ElementsAre("/m/lists/beside.mod", "/m/lists/sub/below.xm", "/m/lists/../above.it",
                            "/m/lists/./here.wav", "/abs/olute.mod", "\\\\srv\\x.mod", "D:\\a.mod",
                            "", "/m/lists/n\xE9\xFF.mid"));
    // A list in the root folder: one slash between.
    EXPECT_THAT(ResolvePlaylistEntries({"a.mod"}, "/top.pvl"), ElementsAre("/a.mod"));
}

TEST(ResolvePlaylistEntries, AListNamedRelativelyIsFoundFromTheCurrentFolder) {
    test::ScratchDir dir;
    std::filesystem::create_directories(dir / "lists/sub");
    std::filesystem::create_directories(dir / "other");
    SavePlaylistFile(dir / "lists/mix.pvl", Paths{"sub/song.mod", "../song.xm", "/abs.mod"});
    WriteFileAtomically(dir / "lists/sub/song.mod", "module");
    WriteFileAtomically(dir / "song.xm", "module");
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(dir / "other");
    const Paths resolved =
        ResolvePlaylistEntries(LoadPlaylistFile("../lists/mix.pvl"), "../lists/mix.pvl");
    std::filesystem::current_path(was);
    ASSERT_EQ(resolved.size(), 3u);
    // From yet another folder, the entries still name the files beside and above the list.
    EXPECT_EQ(ReadWholeFile(resolved[0]), "module");
    EXPECT_EQ(ReadWholeFile(resolved[1]), "module");
    EXPECT_EQ(resolved[0], dir / "other/../lists/sub/song.mod");
    EXPECT_EQ(resolved[2], "/abs.mod");
    // The file itself keeps what it held.
    EXPECT_THAT(LoadPlaylistFile(dir / "lists/mix.pvl"),
                ElementsAre("sub/song.mod", "../song.xm", "/abs.mod"));
}

TEST(IsAbsolutePlaylistPath, FromTheRootOrWithADrive) {
    EXPECT_TRUE(IsAbsolutePlaylistPath("/a"));
    EXPECT_TRUE(IsAbsolutePlaylistPath("\\a"));
    EXPECT_TRUE(IsAbsolutePlaylistPath("C:\\a"));
    EXPECT_TRUE(IsAbsolutePlaylistPath("z:a"));
    EXPECT_FALSE(IsAbsolutePlaylistPath("a/b"));
    EXPECT_FALSE(IsAbsolutePlaylistPath("../a"));
    EXPECT_FALSE(IsAbsolutePlaylistPath("1:a"));
    EXPECT_FALSE(IsAbsolutePlaylistPath("\xC3:a"));
    EXPECT_FALSE(IsAbsolutePlaylistPath(""));
}

} // namespace
} // namespace vd
