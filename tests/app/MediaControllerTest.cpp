#include "tests/app/AppFixture.h"

#include "framework/ListBox.h"
#include "framework/Timer.h"
#include "player/MediaPlayer.h"
#include "skin/VsLabel.h"
#include "skin/VsSlider.h"
#include "tests/media/MediaTestSupport.h"

#include <QElapsedTimer>

#include <sndfile.h>

namespace vd::testing {
namespace {

class MediaController : public PlayerFixture {
protected:
    // A WAV file of `ms` milliseconds of tones.
    std::string Wave(const std::string& name, int ms) {
        const std::string path = Scratch(name).string();
        const auto frames = static_cast<std::size_t>(44100 * ms / 1000);
        test::write_wave(path, SF_FORMAT_PCM_16, 44100, 2, test::tones(frames, 2, 44100, 440.0));
        return path;
    }
    // A MIDI file of `seconds` seconds: one long note per second on a piano.
    std::string Midi(const std::string& name, int seconds) {
        test::SmfBuilder smf(0, 480);
        auto& track = smf.track();
        track.tempo(0, 500000); // 120 beats a minute: a quarter is 500 ms
        track.event(0, {0xC0, 0});
        for (int i = 0; i < seconds; ++i) {
            track.event(0, {0x90, 60, 100});
            track.event(960, {0x80, 60, 0});
        }
        track.end(0);
        const std::string path = Scratch(name).string();
        test::write_file(path, smf.bytes());
        return path;
    }
    std::string Mp3(const std::string& name, int ms) {
        const auto frames = static_cast<std::size_t>(44100 * ms / 1000);
        const test::Mp3 mp3 =
            test::encode_mp3(test::tones(frames, 2, 44100, 440.0), 2, 44100, false, true);
        const std::string path = Scratch(name).string();
        test::write_file(path, mp3.bytes);
        return path;
    }
    void WaitUntil(const std::function<bool()>& done, int limit_ms) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < limit_ms)
            Pump(5);
    }
};

TEST_F(MediaController, AMediaFileShowsItsNameAndPositionOfLength) {
    TPlayer& player = Start({Wave("tone.wav", 1500)});
    EXPECT_EQ(player.Controller().Kind(), FileKind::Media);
    EXPECT_EQ(player.TitleLabel->Caption(), "tone.wav - VO Dezaru");
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->MaxValue(), 1500);
    const std::string text = player.PosLabel->Caption();
    EXPECT_NE(text.find(" of 1500"), std::string::npos) << text;
    EXPECT_EQ(text, std::to_string(player.ProgressBar->Position()) + " of 1500");
}

TEST_F(MediaController, TheEndOfATrackStartsTheNextWithinOneTickOfTheRefresh) {
    TPlayer& player = Start();
    player.Entries().Append({Wave("first.wav", 300), Wave("second.wav", 3000)});
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "first.wav - VO Dezaru");
    WaitUntil([&] { return player.MIDIPlayer->Position() >= 300; }, 3000);
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), player.ProgressBar->MaxValue());
    player.NextTimer->Tick();
    EXPECT_EQ(player.TitleLabel->Caption(), "second.wav - VO Dezaru");
    // The slider still shows the first track's end until the next refresh.
    player.NextTimer->Tick();
    EXPECT_EQ(player.TitleLabel->Caption(), "second.wav - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 1);
}

TEST_F(MediaController, ASliderClickSeeksAMidiFileAndPlaysOn) {
    TPlayer& player = Start({Midi("long.mid", 6)});
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->MaxValue(), 6000);
    player.ProgressBar->SetPosition(4000);
    player.ProgressBarClick(player.ProgressBar);
    EXPECT_GE(player.MIDIPlayer->Position(), 4000u);
    EXPECT_LT(player.MIDIPlayer->Position(), 4300u);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
}

TEST_F(MediaController, ASliderClickSeeksMpegAudioLikeAnyMediaFile) {
    TPlayer& player = Start({Mp3("song.mp3", 4000)});
    player.DisplayPosition(nullptr);
    player.ProgressBar->SetPosition(3000);
    player.ProgressBarClick(player.ProgressBar);
    EXPECT_GE(player.MIDIPlayer->Position(), 3000u);
    EXPECT_LT(player.MIDIPlayer->Position(), 3300u);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
}

TEST_F(MediaController, ASliderClickNearTheEndOfMpegAudioPlaysTheRestThenAdvances) {
    TPlayer& player = Start();
    player.Entries().Append({Mp3("first.mp3", 4000), Mp3("second.mp3", 4000)});
    player.NextBtnClick(nullptr);
    player.DisplayPosition(nullptr);
    const int32_t length = player.ProgressBar->MaxValue();
    player.ProgressBar->SetPosition(length - 300);
    player.ProgressBarClick(player.ProgressBar);
    EXPECT_GE(player.MIDIPlayer->Position(), static_cast<uint32_t>(length - 300));
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
    player.NextTimer->Tick();
    EXPECT_EQ(player.TitleLabel->Caption(), "first.mp3 - VO Dezaru");
    WaitUntil([&] { return player.MIDIPlayer->Mode() == TMPModes::mpStopped; }, 3000);
    player.DisplayPosition(nullptr);
    player.NextTimer->Tick();
    EXPECT_EQ(player.TitleLabel->Caption(), "second.mp3 - VO Dezaru");
}

TEST_F(MediaController, PauseTogglesThroughTheMediaPausedFlag) {
    TPlayer& player = Start({Wave("pause.wav", 3000)});
    player.PauseBtnClick(nullptr);
    EXPECT_EQ(player.Controller().MediaPaused(), 1);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPaused);
    player.PauseBtnClick(nullptr);
    EXPECT_EQ(player.Controller().MediaPaused(), 0);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
    // Stop rewinds to the start and keeps the flag.
    player.StopBtnClick(nullptr);
    EXPECT_EQ(player.MIDIPlayer->Position(), 0u);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpStopped);
}

TEST_F(MediaController, AFileThatCannotBeOpenedIsReportedOnceAndNotAskedAgain) {
    TPlayer& player = Start({Scratch("missing.wav").string()});
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_FALSE(AppHarness::Errors()[0].empty());
    EXPECT_EQ(player.Controller().Kind(), FileKind::Media);
    EXPECT_FALSE(player.MIDIPlayer->IsOpen());
    for (int tick = 0; tick < 5; ++tick) {
        player.PositionTimer->Tick();
        player.NextTimer->Tick();
    }
    EXPECT_EQ(AppHarness::Errors().size(), 1u);
}

TEST_F(MediaController, ACorruptFileGivesAClearOpenError) {
    const std::string path = Scratch("broken.mid").string();
    test::write_file(path, test::Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0});
    Start({path});
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_GT(AppHarness::Errors()[0].size(), 10u);
}

} // namespace
} // namespace vd::testing
