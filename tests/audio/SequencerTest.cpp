// The sequencer device: lengths and positions from the tempo map, seeking that restores the
// channels' settings and silences held notes, RMI files, damaged files and a missing soundfont.

#include "audio/Mci.h"
#include "audio/SequencerDecoder.h"
#include "audio/SequencerSynth.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/ScratchDir.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace vd {
namespace {

using test::Bytes;
using test::SmfBuilder;

// 1000 ticks per quarter at 1,000,000 us per quarter: one tick is one millisecond, until the
// tempo doubles at 1000 ms; from then on a tick is half a millisecond.
Bytes tempo_change_song() {
    SmfBuilder smf(1, 1000);
    smf.track().tempo(0, 1000000).tempo(1000, 500000).end(1000); // ends at 1500 ms
    smf.track()
        .event(0, {0xC0, 40})
        .event(0, {0x90, 60, 100})
        .event(500, {0xB0, 7, 77})      // 500 ms
        .event(100, {0xE0, 0x10, 0x50}) // 600 ms
        .event(400, {0x80, 60, 0})      // 1000 ms
        .event(600, {0xC0, 10});        // 1300 ms
    return smf.bytes();
}

SequencerDecoder decoder_for(const Bytes& bytes) {
    return SequencerDecoder(MciByteSource::from_memory(bytes));
}

int program_of(const SequencerDecoder& decoder, int channel) {
    int sfont = 0;
    int bank = 0;
    int program = 0;
    fluid_synth_get_program(decoder.synth(), channel, &sfont, &bank, &program);
    return program;
}

int cc_of(const SequencerDecoder& decoder, int channel, int controller) {
    int value = 0;
    fluid_synth_get_cc(decoder.synth(), channel, controller, &value);
    return value;
}

int bend_of(const SequencerDecoder& decoder, int channel) {
    int value = 0;
    fluid_synth_get_pitch_bend(decoder.synth(), channel, &value);
    return value;
}

TEST(Sequencer, LengthAndFramesFollowTheTempoMap) {
    SequencerDecoder decoder = decoder_for(tempo_change_song());
    EXPECT_EQ(decoder.length_ms(), 1500U);
    EXPECT_EQ(decoder.length_frames(), 66150U);
    // Rendering delivers exactly the length, however the blocks fall.
    EXPECT_EQ(test::read_all(decoder, SIZE_MAX, 777).size() / 2, 66150U);
}

TEST(Sequencer, EventsReachTheSynthAtTheirFrame) {
    SequencerDecoder decoder = decoder_for(tempo_change_song());
    // The controller change at 500 ms is frame 22050.
    (void)test::read_all(decoder, 22050);
    EXPECT_EQ(cc_of(decoder, 0, 7), 100); // the default volume still
    (void)test::read_all(decoder, 1);
    EXPECT_EQ(cc_of(decoder, 0, 7), 77);
}

TEST(Sequencer, SeekRestoresProgramsControllersAndPitchBend) {
    SequencerDecoder decoder = decoder_for(tempo_change_song());
    (void)test::read_all(decoder, 66150); // to the end: program 10 by now
    decoder.seek(ms_to_output_frames(1100));
    EXPECT_EQ(program_of(decoder, 0), 40);
    EXPECT_EQ(cc_of(decoder, 0, 7), 77);
    EXPECT_EQ(bend_of(decoder, 0), 0x50 << 7 | 0x10);

    // Back to the start: everything as the synthesizer's reset leaves it until the first read.
    decoder.seek(0);
    EXPECT_EQ(program_of(decoder, 0), 0);
    EXPECT_EQ(cc_of(decoder, 0, 7), 100);
    EXPECT_EQ(bend_of(decoder, 0), 8192);
    (void)test::read_all(decoder, 1);
    EXPECT_EQ(program_of(decoder, 0), 40);
}

TEST(Sequencer, SeekSilencesNotesStillHeld) {
    // A note that is held from 0 to 1000 ms, then nothing until 2000 ms.
    SmfBuilder smf(0, 1000);
    smf.track()
        .tempo(0, 1000000)
        .event(0, {0xC0, 0})
        .event(0, {0x90, 60, 127})
        .event(1000, {0x80, 60, 0})
        .end(1000);
    SequencerDecoder decoder = decoder_for(smf.bytes());
    const auto held = test::read_all(decoder, 4410);
    EXPECT_GT(test::rms(held), 0.01);
    // Into the silent second half: the note-off before it is never played, so only seeking's
    // silencing stops the note.
    decoder.seek(ms_to_output_frames(1500));
    const auto after = test::read_all(decoder, 4410);
    EXPECT_LT(test::rms(std::span(after).subspan(2000)), 1e-4);
}

TEST(Sequencer, RmiFileOpensThroughTheCommandLayer) {
    test::ManualOutput output;
    mciSetAudioOutput(&output);
    test::ScratchDir dir;
    test::write_file(dir / "song.RMI", test::wrap_rmid(tempo_change_song()));
    const std::uint32_t device = test::open_device(dir / "song.RMI");
    EXPECT_EQ(test::status_of(device, MCI_STATUS_LENGTH), 1500U);
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
    EXPECT_EQ(mciSendCommand(device, MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps), 0U);
    EXPECT_EQ(caps.dwReturn, MCI_DEVTYPE_SEQUENCER);
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
    mciSetAudioOutput(nullptr);
}

TEST(Sequencer, PositionInMillisecondsFollowsRenderedFrames) {
    test::ManualOutput output;
    mciSetAudioOutput(&output);
    test::ScratchDir dir;
    test::write_file(dir / "song.mid", tempo_change_song());
    const std::uint32_t device = test::open_device(dir / "song.mid");
    ASSERT_EQ(mciSendCommand(device, MCI_PLAY, 0, nullptr), 0U);
    (void)output.render(44100);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_POSITION), 1000U);
    (void)output.render(22050);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_POSITION), 1500U);
    EXPECT_EQ(test::status_of(device, MCI_STATUS_MODE), MCI_MODE_STOP);
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
    mciSetAudioOutput(nullptr);
}

TEST(Sequencer, TruncatedFilePlaysWhatItHas) {
    test::ScratchDir dir;
    Bytes bytes = tempo_change_song();
    bytes.resize(bytes.size() - 3); // the last program change is cut
    test::write_file(dir / "cut.mid", bytes);
    const std::uint32_t device = test::open_device(dir / "cut.mid");
    // The tempo track is whole, and its end still sets the length.
    EXPECT_EQ(test::status_of(device, MCI_STATUS_LENGTH), 1500U);
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
}

TEST(Sequencer, DamagedFileIsAnInvalidFile) {
    test::ScratchDir dir;
    Bytes bytes = tempo_change_song();
    bytes[9] = 2; // format 2
    test::write_file(dir / "bad.mid", bytes);
    test::write_file(dir / "noise.midi", Bytes{0x4D, 0x54, 0x68, 0x64, 0xFF, 0x00});
    for (const char* name : {"bad.mid", "noise.midi"}) {
        const std::string path = (dir / name).string();
        MCI_OPEN_PARMS open{};
        open.lpstrElementName = path.c_str();
        EXPECT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, &open),
                  MCIERR_INVALID_FILE)
            << name;
    }
}

class MissingSoundfont : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("VODEZARU_SOUNDFONT", "/nonexistent/none.sf2", 1);
        set_default_soundfont_paths(std::vector<std::filesystem::path>{"/nonexistent/default.sf2"});
    }
    void TearDown() override {
        ::unsetenv("VODEZARU_SOUNDFONT");
        set_default_soundfont_paths(std::nullopt);
    }
    test::ScratchDir dir;
};

TEST_F(MissingSoundfont, OpenFailsWithATextThatNamesTheFix) {
    test::write_file(dir / "song.mid", tempo_change_song());
    const std::string path = (dir / "song.mid").string();
    MCI_OPEN_PARMS open{};
    open.lpstrElementName = path.c_str();
    const std::uint32_t result = mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, &open);
    ASSERT_EQ(result, MCIERR_SEQ_NOMIDIPRESENT);
    char text[4096];
    ASSERT_TRUE(mciGetErrorString(result, text, sizeof text));
    EXPECT_NE(std::string(text).find("soundfont"), std::string::npos);
    EXPECT_NE(std::string(text).find("apt-get install timgm6mb-soundfont"), std::string::npos);
    EXPECT_NE(std::string(text).find("VODEZARU_SOUNDFONT"), std::string::npos);
}

TEST_F(MissingSoundfont, DamagedFileIsReportedAsDamagedFirst) {
    test::write_file(dir / "bad.mid", Bytes{'n', 'o', 't', ' ', 'M', 'I', 'D', 'I'});
    const std::string path = (dir / "bad.mid").string();
    MCI_OPEN_PARMS open{};
    open.lpstrElementName = path.c_str();
    EXPECT_EQ(mciSendCommand(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, &open), MCIERR_INVALID_FILE);
}

TEST_F(MissingSoundfont, EnvironmentVariableNamesTheSoundfontToUse) {
    std::filesystem::path installed;
    for (const char* candidate :
         {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"})
        if (std::filesystem::exists(candidate))
            installed = candidate;
    if (installed.empty())
        GTEST_SKIP() << "no soundfont installed";
    set_default_soundfont_paths(std::vector<std::filesystem::path>{});
    ::setenv("VODEZARU_SOUNDFONT", installed.c_str(), 1);
    test::write_file(dir / "song.mid", tempo_change_song());
    const std::uint32_t device = test::open_device(dir / "song.mid");
    EXPECT_EQ(mciSendCommand(device, MCI_CLOSE, MCI_WAIT, nullptr), 0U);
}

// The soundfont is loaded only when a MIDI file opens, kept for the next one for a while, and
// then freed: a player that has gone back to modules does not carry it.
TEST(SynthPool, AnIdleSynthesizerIsKeptForAWhileThenFreed) {
    set_idle_synth_lifetime(std::chrono::milliseconds(1500)); // long enough for a loaded machine
    struct Restore {
        ~Restore() { set_idle_synth_lifetime(std::chrono::minutes(1)); }
    } restore;
    const auto wait_until_freed = [] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (idle_synth_held() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return !idle_synth_held();
    };
    // Earlier tests may have left one with a longer time: this one replaces it.
    decoder_for(tempo_change_song());
    ASSERT_TRUE(wait_until_freed());
    {
        SequencerDecoder decoder = decoder_for(tempo_change_song());
        EXPECT_FALSE(idle_synth_held()) << "in use, not idle";
    }
    EXPECT_TRUE(idle_synth_held()) << "kept for the next MIDI file";
    {
        // Taken again before its time is up: the same one, reset.
        SequencerDecoder decoder = decoder_for(tempo_change_song());
        EXPECT_FALSE(idle_synth_held());
    }
    EXPECT_TRUE(idle_synth_held());
    EXPECT_TRUE(wait_until_freed()) << "freed after a while without MIDI";
    // And loaded anew when MIDI comes back.
    SequencerDecoder decoder = decoder_for(tempo_change_song());
    EXPECT_EQ(program_of(decoder, 0), 0);
}

} // namespace
} // namespace vd
