#include "framework/core/AtomicFile.h"

#include "tests/support/ScratchDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vd {
namespace {

using ::testing::ElementsAre;
using ::testing::StrEq;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFilePlainly(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
}

std::string ErrorMessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EFileError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no EFileError thrown";
    return {};
}

TEST(WriteFileAtomically, CreatesFileWithExactBytesAndLeavesNothingElse) {
    test::ScratchDir dir;
    const std::string bytes("one\r\ntwo\0three\xFF", 15);
    WriteFileAtomically(dir / "list.pvl", bytes);
    EXPECT_EQ(ReadWholeFile(dir / "list.pvl"), bytes);
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("list.pvl"));
}

TEST(WriteFileAtomically, EmptyContentGivesEmptyFile) {
    test::ScratchDir dir;
    WriteFilePlainly(dir / "list.pvl", "old content");
    WriteFileAtomically(dir / "list.pvl", "");
    EXPECT_EQ(std::filesystem::file_size(dir / "list.pvl"), 0u);
}

TEST(WriteFileAtomically, ReplacesExistingFileAndKeepsItsPermissions) {
    test::ScratchDir dir;
    const std::string path = dir / "settings.ini";
    WriteFilePlainly(path, "a much longer old content than the new one");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(ReadWholeFile(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("settings.ini"));
}

TEST(WriteFileAtomically, FileNameBytesThatAreNotUtf8AreKept) {
    test::ScratchDir dir;
    const std::string name = "list\xE9\xFF\x80.pvl";
    WriteFileAtomically(dir / name, "x");
    EXPECT_THAT(Entries(dir.Path()), ElementsAre(name));
    EXPECT_EQ(ReadWholeFile(dir / name), "x");
}

TEST(WriteFileAtomically, WritingThroughSymbolicLinkUpdatesTheLinkedFile) {
    test::ScratchDir dir;
    WriteFilePlainly(dir / "real.pvl", "old");
    std::filesystem::create_symlink("real.pvl", dir / "link.pvl");
    WriteFileAtomically(dir / "link.pvl", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.pvl"));
    EXPECT_EQ(ReadWholeFile(dir / "real.pvl"), "new");
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("link.pvl", "real.pvl"));
}

TEST(WriteFileAtomically, TargetThatIsFolderFailsAndStays) {
    test::ScratchDir dir;
    const std::string path = dir / "folder";
    std::filesystem::create_directory(path);
    WriteFilePlainly(dir / "folder/inside", "kept");
    EXPECT_THAT(ErrorMessageOf([&] { WriteFileAtomically(path, "x"); }),
                StrEq("Cannot create file \"" + path + "\". Is a directory"));
    EXPECT_EQ(ReadWholeFile(dir / "folder/inside"), "kept");
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("folder"));
}

TEST(WriteFileAtomically, FifoInTheTargetsPlaceFailsAndStays) {
    test::ScratchDir dir;
    const std::string fifo = dir / "vodezaru.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THAT(ErrorMessageOf([&] { WriteFileAtomically(fifo, "x"); }),
                StrEq("Cannot create file \"" + fifo + "\". Not a regular file"));
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("vodezaru.ini"));
}

TEST(WriteFileAtomically, ReadOnlyTargetIsLeftAsItIsAlsoForTheSuperuser) {
    test::ScratchDir dir;
    const std::string path = dir / "vodezaru.ini";
    WriteFilePlainly(path, "[Config]\nLeft=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_THAT(ErrorMessageOf([&] { WriteFileAtomically(path, "[Config]\nLeft=2\n"); }),
                StrEq("Cannot write file \"" + path + "\". Permission denied"));
    EXPECT_EQ(ReadWholeFile(path), "[Config]\nLeft=1\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("vodezaru.ini"));

    // Writable for its owner only: replaced as before.
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    WriteFileAtomically(path, "new");
    EXPECT_EQ(ReadWholeFile(path), "new");
}

TEST(WriteFileAtomically, MissingFolderOrFileAsFolderFails) {
    test::ScratchDir dir;
    const std::string missing = dir / "no/such/list.pvl";
    EXPECT_THAT(ErrorMessageOf([&] { WriteFileAtomically(missing, "x"); }),
                StrEq("Cannot create file \"" + missing + "\". No such file or directory"));
    WriteFilePlainly(dir / "plain", "");
    const std::string under_file = dir / "plain/list.pvl";
    EXPECT_THAT(ErrorMessageOf([&] { WriteFileAtomically(under_file, "x"); }),
                StrEq("Cannot create file \"" + under_file + "\". Not a directory"));
    EXPECT_THAT(ErrorMessageOf([&] { WriteFileAtomically("", "x"); }),
                StrEq("Cannot create file \"\". No such file or directory"));
}

TEST(WriteFileAtomically, ReadOnlyFolderFailsAndOldFileStaysWhole) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    test::ScratchDir dir;
    const std::string path = dir / "list.pvl";
    WriteFilePlainly(path, "old\r\n");
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
    EXPECT_THAT(ErrorMessageOf([&] { WriteFileAtomically(path, "new\r\n"); }),
                StrEq("Cannot create file \"" + path + "\". Permission denied"));
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    EXPECT_EQ(ReadWholeFile(path), "old\r\n");
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("list.pvl"));
}

// A write that fails half-way (here: over the file size limit, which binds every user) must not
// touch the old file nor leave the partial temporary behind.
TEST(WriteFileAtomically, FailedWriteLeavesOldFileWholeAndNoTemporary) {
    test::ScratchDir dir;
    const std::string path = dir / "list.pvl";
    WriteFilePlainly(path, "old\r\n");

    rlimit old_limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_limit;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message =
        ErrorMessageOf([&] { WriteFileAtomically(path, std::string(1000, 'n')); });
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_THAT(message, StrEq("Cannot write file \"" + path + "\". File too large"));
    EXPECT_EQ(ReadWholeFile(path), "old\r\n");
    EXPECT_THAT(Entries(dir.Path()), ElementsAre("list.pvl"));
}

TEST(ReadWholeFile, ReadsEveryByte) {
    test::ScratchDir dir;
    std::string bytes;
    for (int i = 0; i < 300000; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    WriteFilePlainly(dir / "big", bytes);
    EXPECT_EQ(ReadWholeFile(dir / "big"), bytes);
    WriteFilePlainly(dir / "empty", "");
    EXPECT_EQ(ReadWholeFile(dir / "empty"), "");
}

TEST(ReadWholeFile, FilesWhoseSizeIsUnknownAreReadToTheEnd) {
    // The kernel's files report size 0 and are read all the same.
    const std::string status = ReadWholeFile("/proc/self/status");
    EXPECT_NE(status.find("Name:"), std::string::npos);
    EXPECT_NE(status.find("VmSize:"), std::string::npos) << "stopped before the end";
}

TEST(ReadWholeFile, FifoOrDeviceIsRefusedWithoutWaiting) {
    test::ScratchDir dir;
    const std::string fifo = dir / "list.pvl";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Nobody writes: an open that waited for a writer would never return.
    EXPECT_THAT(ErrorMessageOf([&] { (void)ReadWholeFile(fifo); }),
                StrEq("Cannot open file \"" + fifo + "\". Not a regular file"));
    EXPECT_THAT(ErrorMessageOf([&] { (void)ReadWholeFile("/dev/null"); }),
                StrEq("Cannot open file \"/dev/null\". Not a regular file"));
}

TEST(ReadWholeFile, FailuresNameFileAndReason) {
    test::ScratchDir dir;
    const std::string missing = dir / "missing.pvl";
    EXPECT_THAT(ErrorMessageOf([&] { (void)ReadWholeFile(missing); }),
                StrEq("Cannot open file \"" + missing + "\". No such file or directory"));
    EXPECT_THAT(ErrorMessageOf([&] { (void)ReadWholeFile(dir.Path()); }),
                StrEq("Cannot open file \"" + dir.Path() + "\". Is a directory"));
}

} // namespace
} // namespace vd
