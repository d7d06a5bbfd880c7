// The MIDI file reader: merging, running status, the tempo map, SysEx and meta events, the RMI
// wrapper, and refusal or partial reading of damaged files.

#include "audio/SmfReader.h"
#include "tests/support/MediaTestSupport.h"

#include <gtest/gtest.h>

namespace vd {
namespace {

using test::Bytes;
using test::SmfBuilder;

std::vector<std::uint64_t> times_us(const MidiSequence& seq) {
    std::vector<std::uint64_t> out;
    for (const auto& e : seq.events)
        out.push_back(seq.to_us(e.time));
    return out;
}

TEST(SmfReader, RunningStatusRepeatsTheLastStatus) {
    SmfBuilder smf(0, 96);
    smf.track()
        .event(0, {0x90, 60, 100})
        .event(0, {62, 90}) // running status: another note on
        .event(10, {60, 0})
        .event(0, {0xC3, 5})
        .event(0, {7}) // running status with one data byte
        .end(0);
    const MidiSequence seq = read_smf(smf.bytes());
    ASSERT_EQ(seq.events.size(), 5U);
    EXPECT_EQ(seq.events[1].status, 0x90);
    EXPECT_EQ(seq.events[1].data1, 62);
    EXPECT_EQ(seq.events[1].data2, 90);
    EXPECT_EQ(seq.events[2].data2, 0);
    EXPECT_EQ(seq.events[4].status, 0xC3);
    EXPECT_EQ(seq.events[4].data1, 7);
    EXPECT_FALSE(seq.truncated);
}

TEST(SmfReader, TempoChangesGiveExactTimes) {
    // 480 ticks per quarter; 120 bpm until tick 960 (one second), then 240 bpm.
    SmfBuilder smf(0, 480);
    smf.track()
        .event(480, {0x90, 60, 100}) // 0.5 s
        .tempo(480, 250000)          // at 1 s
        .event(240, {0x80, 60, 0})   // 1 s + 240 * 250000 / 480 us = 1.125 s
        .end(480);                   // 1.375 s
    const MidiSequence seq = read_smf(smf.bytes());
    EXPECT_EQ(times_us(seq), (std::vector<std::uint64_t>{500000, 1125000}));
    EXPECT_EQ(seq.to_us(seq.length), 1375000U);
    EXPECT_EQ(seq.to_ms(seq.length), 1375U);
    EXPECT_EQ(seq.to_frame(seq.events[0].time, 44100), 22050U);
}

TEST(SmfReader, TempoOfUnevenTicksRoundsOnlyAtTheEnd) {
    // 96 ticks per quarter at 500001 us: one tick is 5208.34375 us; 96 ticks exactly 500001 us.
    SmfBuilder smf(0, 96);
    smf.track().tempo(0, 500001).event(1, {0x90, 1, 1}).end(95);
    const MidiSequence seq = read_smf(smf.bytes());
    EXPECT_EQ(seq.to_us(seq.events[0].time), 5208U);
    EXPECT_EQ(seq.to_us(seq.length), 500001U);
}

TEST(SmfReader, FormatOneMergesTracksInTimeOrderKeepingTrackOrderOnTies) {
    SmfBuilder smf(1, 100);
    smf.track().tempo(0, 1000000).end(300); // 100 ticks per second
    smf.track().event(100, {0xC0, 1}).event(100, {0x90, 60, 1}).end(0);
    smf.track().event(50, {0xC1, 2}).event(50, {0xC2, 3}).end(400);
    const MidiSequence seq = read_smf(smf.bytes());
    std::vector<std::uint8_t> statuses;
    for (const auto& e : seq.events)
        statuses.push_back(e.status);
    // At tick 100 track 2's program change precedes track 3's.
    EXPECT_EQ(statuses, (std::vector<std::uint8_t>{0xC1, 0xC0, 0xC2, 0x90}));
    EXPECT_EQ(times_us(seq), (std::vector<std::uint64_t>{500000, 1000000, 1000000, 2000000}));
    // The longest track (the third, ending at tick 500) sets the length.
    EXPECT_EQ(seq.to_ms(seq.length), 5000U);
}

TEST(SmfReader, TempoInALaterTrackAppliesToAllTracks) {
    SmfBuilder smf(1, 100);
    smf.track().event(200, {0x90, 60, 1}).end(0);
    smf.track().tempo(100, 250000).end(0);
    const MidiSequence seq = read_smf(smf.bytes());
    // 100 ticks at 500000 us per 100 ticks, then 100 ticks at 250000.
    EXPECT_EQ(times_us(seq), (std::vector<std::uint64_t>{750000}));
}

TEST(SmfReader, SysExIsKeptAndMetaEventsAreSkipped) {
    SmfBuilder smf(0, 96);
    smf.track()
        .event(0, {0xFF, 0x03, 0x04, 'n', 'a', 'm', 'e'})     // track name
        .event(0, {0xFF, 0x7F, 0x02, 0x00, 0x01})             // sequencer specific
        .event(0, {0xFF, 0x60, 0x00})                         // unknown type
        .event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}) // GM on
        .event(0, {0xF7, 0x02, 0x01, 0x02})                   // escape packet: not sent
        .event(0, {0xF0, 0x02, 0x43, 0x10})                   // split message, no F7: not sent
        .event(0, {0x90, 60, 1})                              // still a plain event afterwards
        .end(0);
    const MidiSequence seq = read_smf(smf.bytes());
    ASSERT_EQ(seq.events.size(), 2U);
    EXPECT_EQ(seq.events[0].status, 0xF0);
    const auto& sysex = seq.events[0];
    EXPECT_EQ(Bytes(seq.sysex.begin() + sysex.sysex_offset,
                    seq.sysex.begin() + sysex.sysex_offset + sysex.sysex_length),
              (Bytes{0x7E, 0x7F, 0x09, 0x01}));
    EXPECT_EQ(seq.events[1].status, 0x90);
}

TEST(SmfReader, EndOfTrackSetsTheLengthAndEndsTheTrack) {
    SmfBuilder smf(0, 1000);
    smf.track().tempo(0, 1000000).event(10, {0x90, 60, 1}).end(990).event(0, {0x90, 61, 1});
    const MidiSequence seq = read_smf(smf.bytes());
    EXPECT_EQ(seq.events.size(), 1U);
    EXPECT_EQ(seq.to_ms(seq.length), 1000U);
}

TEST(SmfReader, RmiWrapperHoldsTheSameSequence) {
    SmfBuilder smf(0, 96);
    smf.track().event(96, {0x90, 60, 1}).end(96);
    const MidiSequence plain = read_smf(smf.bytes());
    const MidiSequence wrapped = read_smf(test::wrap_rmid(smf.bytes()));
    EXPECT_EQ(times_us(wrapped), times_us(plain));
    EXPECT_EQ(wrapped.length, plain.length);
}

TEST(SmfReader, SmpteTimeBaseIgnoresTempo) {
    // 25 frames per second, 40 ticks per frame: 1000 ticks a second.
    SmfBuilder smf(0, static_cast<std::uint16_t>((0x100 - 25) << 8 | 40));
    smf.track().tempo(0, 250000).event(500, {0x90, 60, 1}).end(500);
    const MidiSequence seq = read_smf(smf.bytes());
    EXPECT_EQ(times_us(seq), (std::vector<std::uint64_t>{500000}));
    EXPECT_EQ(seq.to_ms(seq.length), 1000U);

    // 29.97 frames per second: 30 frames of ticks take 1.001 s.
    SmfBuilder drop(0, static_cast<std::uint16_t>((0x100 - 29) << 8 | 10));
    drop.track().end(300);
    EXPECT_EQ(read_smf(drop.bytes()).to_ms(read_smf(drop.bytes()).length), 1001U);
}

TEST(SmfReader, TruncatedTrackKeepsWhatWasRead) {
    SmfBuilder smf(0, 96);
    smf.track().event(0, {0x90, 60, 1}).event(96, {0x90, 62, 1}).event(96, {0x80, 60, 0}).end(0);
    Bytes bytes = smf.bytes();
    bytes.resize(bytes.size() - 5); // cuts into the third event
    const MidiSequence seq = read_smf(bytes);
    EXPECT_TRUE(seq.truncated);
    ASSERT_EQ(seq.events.size(), 2U);
    EXPECT_EQ(seq.to_us(seq.length), seq.to_us(seq.events[1].time));
}

TEST(SmfReader, FewerTracksThanDeclaredAndUnknownChunksAreTolerated) {
    SmfBuilder smf(1, 96);
    smf.track().event(0, {0x90, 60, 1}).end(96);
    Bytes bytes = smf.bytes();
    bytes[11] = 3; // header claims three tracks
    // An unknown chunk between header and track.
    const Bytes junk{'J', 'U', 'N', 'K', 0, 0, 0, 2, 0xAA, 0xBB};
    bytes.insert(bytes.begin() + 14, junk.begin(), junk.end());
    const MidiSequence seq = read_smf(bytes);
    EXPECT_EQ(seq.events.size(), 1U);
}

struct BadFile {
    const char* name;
    Bytes bytes;
};

class SmfReaderRefuses : public ::testing::TestWithParam<BadFile> {};

TEST_P(SmfReaderRefuses, WithAnError) {
    EXPECT_THROW((void)read_smf(GetParam().bytes), SmfError);
}

Bytes with_track(std::uint16_t format, std::initializer_list<std::uint8_t> events,
                 std::uint16_t division = 96) {
    SmfBuilder smf(format, division);
    smf.track().raw(events);
    return smf.bytes();
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, SmfReaderRefuses,
    ::testing::Values(
        BadFile{"Empty", {}},
        BadFile{"NotMidi", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        BadFile{"HeaderOnly", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}},
        BadFile{"ShortHeader", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1, 0, 96}},
        BadFile{"FormatTwo", with_track(2, {0x00, 0xFF, 0x2F, 0x00})},
        BadFile{"ZeroDivision", with_track(0, {0x00, 0xFF, 0x2F, 0x00}, 0)},
        BadFile{"BadSmpteRate", with_track(0, {0x00, 0xFF, 0x2F, 0x00}, 0xE628)},
        BadFile{"DataWithoutStatus", with_track(0, {0x00, 0x40, 0x40})},
        BadFile{"SystemMessage", with_track(0, {0x00, 0xF2, 0x00, 0x00})},
        BadFile{"FiveByteDelta", with_track(0, {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 1, 1})},
        BadFile{"StatusInsideMessage", with_track(0, {0x00, 0x90, 60, 0x80})},
        BadFile{"LongerThanADay",
                with_track(0, {0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F,
                               0x90, 1,    1,    0xFF, 0xFF, 0xFF, 0x7F, 0x90, 1,    1})},
        BadFile{"RiffNotRmid", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}},
        BadFile{"RmidWithoutData", Bytes{'R', 'I', 'F', 'F', 12,  0,   0, 0, 'R', 'M',
                                         'I', 'D', 'L', 'I', 'S', 'T', 0, 0, 0,   0}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vd
