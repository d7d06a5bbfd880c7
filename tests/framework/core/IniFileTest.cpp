#include "framework/core/IniFile.h"

#include "framework/core/AtomicFile.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <stdexcept>

namespace vd {
namespace {

using namespace std::string_literals;

TEST(IniFileRead, SectionsAndKeysIgnoreLetterCase) {
    const auto ini = TIniFile::FromBytes("[config]\r\nleft=12\r\nTOP=34\r\n");
    EXPECT_EQ(ini.ReadString("Config", "Left", "none"), "12");
    EXPECT_EQ(ini.ReadString("CONFIG", "top", "none"), "34");
    EXPECT_EQ(ini.ReadString("Other", "Left", "none"), "none");
    EXPECT_EQ(ini.ReadString("Config", "Right", "none"), "none");
}

TEST(IniFileRead, ValueIsTextAfterFirstEqualsWithoutSurroundingBlanks) {
    const auto ini = TIniFile::FromBytes("[ S ]\n  Key \t=  a = b \t\nEmpty=\n");
    EXPECT_EQ(ini.ReadString("S", "Key", ""), "a = b");
    EXPECT_EQ(ini.ReadString("S", "Empty", "default"), "");
}

TEST(IniFileRead, CommentsAndKeysOutsideSectionsAreNotSettings) {
    const auto ini = TIniFile::FromBytes("Left=1\n[Config]\n;Left=2\n  #Top=3\n[Broken\nTop=4\n");
    EXPECT_EQ(ini.ReadString("Config", "Left", "none"), "none");
    // "[Broken" is no header, so Top still belongs to Config.
    EXPECT_EQ(ini.ReadString("Config", "Top", "none"), "4");
}

TEST(IniFileRead, FirstOfDuplicateKeysWinsAcrossRepeatedSections) {
    const auto ini = TIniFile::FromBytes("[A]\nx=1\nx=2\n[B]\ny=0\n[a]\nx=3\nz=4\n");
    EXPECT_EQ(ini.ReadString("A", "x", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "z", ""), "4");
}

TEST(IniFileRead, AnyLineBreakAndByteOrderMarkAreUnderstood) {
    const auto ini = TIniFile::FromBytes("\xEF\xBB\xBF[Config]\rLeft=5\r\nTop=6\nName=\xFF\x00!"s);
    EXPECT_EQ(ini.ReadString("Config", "Left", ""), "5");
    EXPECT_EQ(ini.ReadString("Config", "Top", ""), "6");
    EXPECT_EQ(ini.ReadString("Config", "Name", ""), std::string("\xFF\x00!", 3));
}

TEST(IniFileRead, IntegerIsDecimalWithOptionalSign) {
    const auto ini = TIniFile::FromBytes("[N]\n"
                                         "plain=202\n"
                                         "negative= -5 \n"
                                         "plus=+7\n"
                                         "zeros=007\n"
                                         "min=-2147483648\n"
                                         "max=2147483647\n"
                                         "over=2147483648\n"
                                         "huge=99999999999\n"
                                         "trailing=12x\n"
                                         "inner=1 2\n"
                                         "hex=0x10\n"
                                         "dollar=$10\n"
                                         "signs=+-5\n"
                                         "spaced=- 5\n"
                                         "sign=-\n"
                                         "empty=\n");
    EXPECT_EQ(ini.ReadInteger("N", "plain", 0), 202);
    EXPECT_EQ(ini.ReadInteger("N", "negative", 0), -5);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 7);
    EXPECT_EQ(ini.ReadInteger("N", "zeros", 0), 7);
    EXPECT_EQ(ini.ReadInteger("N", "min", 0), INT_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "max", 0), INT_MAX);
    for (const char* key : {"over", "huge", "trailing", "inner", "hex", "dollar", "signs", "spaced",
                            "sign", "empty", "missing"}) {
        EXPECT_EQ(ini.ReadInteger("N", key, 107), 107) << key;
    }
}

TEST(IniFileWrite, UntouchedContentIsKeptByteForByte) {
    const std::string bytes = "\xEF\xBB\xBF; settings\r\n\r\n[Other]\r\nKey = v ; not a comment\r\n"
                              "# note\r\n[Config]\rLeft=1\nstray line\r\n\xFF\x00\x01=2"s;
    auto ini = TIniFile::FromBytes(bytes);
    EXPECT_EQ(ini.ToBytes(), bytes);
    (void)ini.ReadString("Config", "Left", "");
    EXPECT_EQ(ini.ToBytes(), bytes);
}

TEST(IniFileWrite, ExistingKeyChangesOnlyItsValue) {
    auto ini =
        TIniFile::FromBytes("; pos\r\n[CONFIG]\r\nLEFT = 100 \r\nTop=5\r\n[Next]\r\nLeft=9\r\n");
    ini.WriteInteger("Config", "Left", -250);
    ini.WriteString("config", "top", "");
    EXPECT_EQ(ini.ToBytes(), "; pos\r\n[CONFIG]\r\nLEFT = -250 \r\nTop=\r\n[Next]\r\nLeft=9\r\n");
    EXPECT_EQ(ini.ReadInteger("Config", "Left", 0), -250);
}

TEST(IniFileWrite, DuplicateKeyUpdatesTheFirst) {
    auto ini = TIniFile::FromBytes("[A]\nx=1\nx=2\n");
    ini.WriteString("A", "X", "9");
    EXPECT_EQ(ini.ToBytes(), "[A]\nx=9\nx=2\n");
}

TEST(IniFileWrite, NewKeyFollowsLastKeyOfItsSectionWithTheFilesLineBreak) {
    auto ini = TIniFile::FromBytes("[Config]\r\n; c\r\nLeft=1\r\n\r\n; about next\r\n[Next]\r\n");
    ini.WriteInteger("Config", "Top", 2);
    EXPECT_EQ(ini.ToBytes(),
              "[Config]\r\n; c\r\nLeft=1\r\nTop=2\r\n\r\n; about next\r\n[Next]\r\n");
    auto empty_section = TIniFile::FromBytes("[Config]\n\n[Next]\nx=1\n");
    empty_section.WriteInteger("Config", "Top", 2);
    EXPECT_EQ(empty_section.ToBytes(), "[Config]\nTop=2\n\n[Next]\nx=1\n");
}

TEST(IniFileWrite, NewSectionGoesAtTheEnd) {
    auto ini = TIniFile::FromBytes("[Other]\r\nx=1");
    ini.WriteInteger("Config", "Left", 202);
    ini.WriteInteger("Config", "Top", 107);
    EXPECT_EQ(ini.ToBytes(), "[Other]\r\nx=1\r\n\r\n[Config]\r\nLeft=202\r\nTop=107\r\n");

    auto empty = TIniFile::FromBytes("");
    empty.WriteInteger("Config", "Left", 1);
    EXPECT_EQ(empty.ToBytes(), "[Config]\nLeft=1\n");

    auto no_break = TIniFile::FromBytes("[Config]\nLeft=1");
    no_break.WriteInteger("Config", "Top", 2);
    EXPECT_EQ(no_break.ToBytes(), "[Config]\nLeft=1\nTop=2\n");
}

TEST(IniFileWrite, NamesAndValuesThatCouldNotBeReadBackAreRefused) {
    auto ini = TIniFile::FromBytes("");
    EXPECT_THROW(ini.WriteString("", "k", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("a]b", "k", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString(" s", "k", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("s", "", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("s", "a=b", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("s", ";k", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("s", "[k", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("s", "k\n", "v"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("s", "k", "line\rbreak"), std::invalid_argument);
    EXPECT_EQ(ini.ToBytes(), "");
}

TEST(IniFileOnDisk, MissingFileReadsEmptyAndIsCreatedOnUpdate) {
    test::ScratchDir dir;
    const std::string path = dir / "vodezaru.ini";
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Config", "Left", 202), 202);
    ini.WriteInteger("Config", "Left", 10);
    ini.WriteInteger("Config", "Top", 20);
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(path), "[Config]\nLeft=10\nTop=20\n");
    EXPECT_EQ(TIniFile(path).ReadInteger("Config", "Top", 0), 20);
}

TEST(IniFileOnDisk, UpdateKeepsWhatOthersWrote) {
    test::ScratchDir dir;
    const std::string path = dir / "vodezaru.ini";
    WriteFileAtomically(path, "; hand-made\r\n[config]\r\nleft=1\r\n[Extra]\r\nkeep=me\r\n");
    TIniFile ini(path);
    ini.WriteInteger("Config", "Left", 300);
    ini.WriteInteger("Config", "Top", 400);
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(path),
              "; hand-made\r\n[config]\r\nleft=300\r\nTop=400\r\n[Extra]\r\nkeep=me\r\n");
}

TEST(IniFileOnDisk, UpdateFailureIsFileError) {
    test::ScratchDir dir;
    const std::string path = dir / "missing-folder/vodezaru.ini";
    TIniFile ini(path);
    ini.WriteInteger("Config", "Left", 1);
    EXPECT_THROW(ini.UpdateFile(), EFileError);
    auto in_memory = TIniFile::FromBytes("[Config]\n");
    EXPECT_THROW(in_memory.UpdateFile(), EFileError);
}

// What cannot be read cannot be kept, so it must not be replaced either.
TEST(IniFileOnDisk, UnreadableFileIsNotOverwritten) {
    test::ScratchDir dir;
    const std::string path = dir / "vodezaru.ini";
    std::filesystem::create_directory(path);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Config", "Left", 202), 202);
    ini.WriteInteger("Config", "Left", 1);
    try {
        ini.UpdateFile();
        FAIL() << "no EFileError thrown";
    } catch (const EFileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path + "\". Is a directory");
    }
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(IniFileOnDisk, FifoOrDeviceAsSettingsFileReadsEmptyAtOnceAndIsNotReplaced) {
    test::ScratchDir dir;
    const std::string fifo = dir / "vodezaru.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/null")}) {
        TIniFile ini(path); // nobody writes to the FIFO: this must not wait
        EXPECT_EQ(ini.ReadString("Config", "Left", "none"), "none") << path;
        ini.WriteInteger("Config", "Left", 1);
        try {
            ini.UpdateFile();
            ADD_FAILURE() << path << ": no EFileError thrown";
        } catch (const EFileError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Cannot open file \"" + path + "\". Not a regular file");
        }
    }
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(IniFileOnDisk, ReadOnlySettingsFileIsLeftUnchanged) {
    test::ScratchDir dir;
    const std::string path = dir / "vodezaru.ini";
    const std::string bytes = "[Config]\nLeft=10\nTop=20\n";
    WriteFileAtomically(path, bytes);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Config", "Left", 0), 10);
    ini.WriteInteger("Config", "Left", 300);
    EXPECT_THROW(ini.UpdateFile(), EFileError);
    EXPECT_EQ(ReadWholeFile(path), bytes);
}

TEST(IniFileOnDisk, WritesMadeWhileUnreadableAreAppliedToTheContentOnceReadable) {
    test::ScratchDir dir;
    const std::string path = dir / "vodezaru.ini";
    std::filesystem::create_directory(path);
    TIniFile ini(path);
    ini.WriteInteger("Config", "Left", 1);
    std::filesystem::remove(path);
    WriteFileAtomically(path, "[Config]\r\nLeft=0\r\nTop=7\r\n");
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(path), "[Config]\r\nLeft=1\r\nTop=7\r\n");
}

} // namespace
} // namespace vd
