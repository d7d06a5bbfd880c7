#include "base/RegularFile.h"

#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace vd {
namespace {

using Failure = RegularFile::Failure;

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[256];
    for (ssize_t got = 0; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

TEST(RegularFile, OpensARegularFileAlsoThroughALinkForBlockingReads) {
    test::ScratchDir dir;
    std::ofstream(dir / "song.mod") << "M.K.";
    std::filesystem::create_symlink("song.mod", dir / "link.mod");
    for (const std::string name : {"song.mod", "link.mod"}) {
        RegularFile file = RegularFile::Open(dir / name);
        ASSERT_TRUE(file.IsOpen()) << name << ": " << file.Reason();
        EXPECT_EQ(file.Fault(), Failure::none);
        EXPECT_EQ(file.Reason(), "");
        EXPECT_EQ(::fcntl(file.Descriptor(), F_GETFL) & O_NONBLOCK, 0);
        EXPECT_NE(::fcntl(file.Descriptor(), F_GETFD) & FD_CLOEXEC, 0);
        EXPECT_EQ(ReadAll(file.Descriptor()), "M.K.");
    }
}

TEST(RegularFile, FifoFolderDeviceAndMissingFileAreRefusedAtOnce) {
    test::ScratchDir dir;
    const std::string fifo = dir / "song.mod";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.mid");
    std::filesystem::create_symlink("song.mod", dir / "link.mod");

    struct Case {
        std::string path;
        Failure failure;
        std::string reason;
    };
    const Case cases[] = {
        {fifo, Failure::not_regular, "Not a regular file"},
        {dir / "link.mod", Failure::not_regular, "Not a regular file"},
        {dir / "folder.mid", Failure::not_regular, "Is a directory"},
        {"/dev/null", Failure::not_regular, "Not a regular file"},
        {dir / "missing.wav", Failure::missing, "No such file or directory"},
        {dir / "missing/inside.wav", Failure::missing, "No such file or directory"},
        {"", Failure::missing, "No such file or directory"},
    };
    for (const Case& c : cases) {
        const RegularFile file = RegularFile::Open(c.path);
        EXPECT_FALSE(file.IsOpen()) << c.path;
        EXPECT_EQ(file.Fault(), c.failure) << c.path;
        EXPECT_EQ(file.Reason(), c.reason) << c.path;
    }
}

TEST(RegularFile, AFileWeMayNotReadIsUnreadable) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    test::ScratchDir dir;
    const std::string path = dir / "secret.wav";
    std::ofstream(path) << "RIFF";
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    const RegularFile file = RegularFile::Open(path);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Fault(), Failure::unreadable);
    EXPECT_EQ(file.Reason(), "Permission denied");
}

} // namespace
} // namespace vd
