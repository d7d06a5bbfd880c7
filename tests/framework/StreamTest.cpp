// Streams: little-endian integers, exact reads that fail when the bytes are not there, memory
// streams that grow as they are written, and file streams that report why they cannot open.

#include "framework/Stream.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vd {
namespace {

TEST(StreamTest, IntegersAreLittleEndian) {
    TMemoryStream s;
    s.WriteUInt32(0x04B2FDB6);
    s.WriteInt32(-2);
    s.WriteByte(0xAB);
    EXPECT_EQ(s.Bytes(),
              (std::vector<uint8_t>{0xB6, 0xFD, 0xB2, 0x04, 0xFE, 0xFF, 0xFF, 0xFF, 0xAB}));
    s.SetPosition(0);
    EXPECT_EQ(s.ReadUInt32(), 0x04B2FDB6u);
    EXPECT_EQ(s.ReadInt32(), -2);
    EXPECT_EQ(s.ReadByte(), 0xAB);
    EXPECT_EQ(s.Remaining(), 0);
}

TEST(StreamTest, ExactReadsFailWhenTheBytesAreNotThere) {
    TMemoryStream s(std::vector<uint8_t>{1, 2, 3});
    uint8_t buffer[4] = {};
    EXPECT_EQ(s.Read(buffer, 4), 3u);
    EXPECT_EQ(s.Read(buffer, 4), 0u);
    s.SetPosition(0);
    EXPECT_THROW((void)s.ReadInt32(), EReadError);
    s.SetPosition(3);
    EXPECT_THROW((void)s.ReadByte(), EReadError);
    EXPECT_NO_THROW(s.ReadBuffer(buffer, 0));
    try {
        s.ReadBuffer(buffer, 1);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
}

TEST(StreamTest, MemoryStreamGrowsWhenWrittenPastItsEnd) {
    TMemoryStream s;
    s.SetPosition(5);
    EXPECT_EQ(s.Size(), 0);
    uint8_t byte = 9;
    s.Read(&byte, 1); // nothing there
    EXPECT_EQ(byte, 9);
    s.WriteByte(7);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{0, 0, 0, 0, 0, 7}));
    s.SetPosition(-3);
    EXPECT_EQ(s.Position(), 0);
    s.WriteByte(1); // overwrites, does not insert
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Bytes()[0], 1);
}

TEST(StreamTest, FileStreamRoundTripAndSize) {
    const test::ScratchDir dir;
    const std::string path = dir / "stream-test.bin";
    {
        TFileStream out(path, TFileStream::Mode::Create);
        out.WriteUInt32(0x01020304);
        out.WriteByte(5);
        EXPECT_EQ(out.Position(), 5);
    }
    {
        TFileStream in(path, TFileStream::Mode::OpenRead);
        EXPECT_EQ(in.Size(), 5);
        EXPECT_EQ(in.ReadUInt32(), 0x01020304u);
        EXPECT_EQ(in.Remaining(), 1);
        in.SetPosition(4);
        EXPECT_EQ(in.ReadByte(), 5);
        EXPECT_THROW((void)in.ReadByte(), EReadError);
    }
    std::remove(path.c_str());
}

TEST(StreamTest, OpeningAMissingFileNamesIt) {
    const test::ScratchDir dir;
    const std::string path = dir / "no such folder/x.bin";
    try {
        TFileStream in(path, TFileStream::Mode::OpenRead);
        FAIL() << "opened";
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_THROW(TFileStream(path, TFileStream::Mode::Create), EFOpenError);
}

} // namespace
} // namespace vd
