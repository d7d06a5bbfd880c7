#include "tests/support/AppFixture.h"

#include "framework/ListBox.h"
#include "framework/Timer.h"
#include "player/MediaPlayer.h"
#include "skin/VsLabel.h"
#include "skin/VsSlider.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/MediaTestSupport.h"

#include <QElapsedTimer>

#include <sndfile.h>

namespace vd::test {
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

TEST_F(MediaController, MediaFilesNamedInCapitalsOpenOnTheirDevice) {
    TPlayer& player = Start();
    player.Entries().Append({Wave("TONE.WAV", 1500), Midi("Song.Mid", 2), Mp3("SONG.Mp3", 1500)});
    for (const char* name : {"TONE.WAV", "Song.Mid", "SONG.Mp3"}) {
        player.NextBtnClick(nullptr);
        EXPECT_EQ(player.Controller().Kind(), FileKind::Media) << name;
        EXPECT_EQ(player.TitleLabel->Caption(), std::string(name) + " - VO Dezaru");
        EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying) << name;
    }
    EXPECT_TRUE(AppHarness::Errors().empty())
        << (AppHarness::Errors().empty() ? "" : AppHarness::Errors().front());
}

TEST_F(MediaController, AHeldSliderKeepsItsPlaceWhileTheTextFollowsPlaybackThenSeeks) {
    TPlayer& player = Start();
    player.Entries().Append({Midi("held.mid", 6), Wave("after.wav", 1000)});
    player.NextBtnClick(nullptr);
    player.DisplayPosition(nullptr);
    ASSERT_EQ(player.ProgressBar->MaxValue(), 6000);
    player.Show(); // the thumb is placed where it is painted
    TApplication::ProcessMessages();
    player.Skin->Update();
    QWidget* surface = player.Skin->Widget();
    const int left = player.ProgressBar->Left() + player.ProgressBar->ThumbRect().Left;
    const int top = player.ProgressBar->Top() + 4;
    // The thumb dragged to the end, where a refreshed slider would mean the end of the track.
    test::Press(surface, left + 10, top);
    test::Move(surface, left + 10 + 300, top);
    EXPECT_EQ(player.ProgressBar->Position(), 6000);
    WaitUntil([&] { return player.MIDIPlayer->Position() >= 200; }, 3000);
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), 6000);
    const std::string text = player.PosLabel->Caption();
    EXPECT_NE(text.rfind("6000 of 6000", 0), 0u) << "the text shows playback: " << text;
    EXPECT_NE(text.find(" of 6000"), std::string::npos) << text;
    player.NextTimer->Tick();
    EXPECT_EQ(player.TitleLabel->Caption(), "held.mid - VO Dezaru");

    // Back to two thirds and let go there: playback goes on from the released position.
    const int at = player.ProgressBar->Left() + player.ProgressBar->PositionToPixel(4000) + 10;
    test::Move(surface, at, top);
    const auto released = static_cast<uint32_t>(player.ProgressBar->Position());
    EXPECT_NEAR(released, 4000, 20);
    test::Release(surface, at, top);
    EXPECT_FALSE(player.ProgressBar->Held());
    EXPECT_GE(player.MIDIPlayer->Position(), released);
    EXPECT_LT(player.MIDIPlayer->Position(), released + 300);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
    EXPECT_EQ(player.TitleLabel->Caption(), "held.mid - VO Dezaru");
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

// After a media file fails to open no device is open: the commands that would ask it skip it,
// and every way of starting the next file works.
TEST_F(MediaController, AFailedOpenLeavesEveryCommandWorking) {
    const std::string broken = Scratch("broken.mid").string();
    test::write_file(broken, test::Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0});
    TPlayer& player = Start();
    player.Entries().Append({broken, Wave("good.wav", 3000), Midi("tune.mid", 3)});
    SafeCall([&] { player.NextBtnClick(nullptr); });
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_EQ(AppHarness::Errors()[0].rfind("\"broken.mid\" could not be played.\n", 0), 0u)
        << AppHarness::Errors()[0];
    EXPECT_FALSE(player.MIDIPlayer->IsOpen());
    // Stop, Pause and a slider click have no device to act on: nothing happens, nothing fails.
    SafeCall([&] { player.StopBtnClick(nullptr); });
    SafeCall([&] { player.PauseBtnClick(nullptr); });
    SafeCall([&] { player.ProgressBarClick(player.ProgressBar); });
    EXPECT_EQ(AppHarness::Errors().size(), 1u);
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "good.wav - VO Dezaru");
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
    // Failing again from a playing file, then each command in turn.
    player.Entries().Select(0);
    SafeCall([&] { player.PlayBtnClick(nullptr); });
    EXPECT_EQ(AppHarness::Errors().size(), 2u);
    player.PrevBtnClick(nullptr); // from the first: the last
    EXPECT_EQ(player.TitleLabel->Caption(), "tune.mid - VO Dezaru");
    SafeCall([&] { player.PrevBtnClick(nullptr); });
    SafeCall([&] { player.PrevBtnClick(nullptr); });
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);
    DoubleClickList(player, 15 + 7);
    EXPECT_EQ(player.TitleLabel->Caption(), "good.wav - VO Dezaru");
    player.Entries().Select(0);
    SafeCall([&] { player.PlayBtnClick(nullptr); });
    const std::string again = Wave("again.wav", 3000);
    TOpenDialog::SetScript(
        [&](const TOpenDialog&) { return std::optional(std::vector<std::string>{again}); });
    player.EjectBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "again.wav - VO Dezaru");
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
    EXPECT_EQ(AppHarness::Errors().size(), 4u);
}

// The pause flag is the device's state: stopping, starting, seeking and changing tracks all leave
// a device that plays, so the next Pause pauses.
TEST_F(MediaController, PauseFollowsTheDeviceAcrossTrackChangesStopsAndSeeks) {
    TPlayer& player = Start();
    player.Entries().Append({Wave("one.wav", 4000), Midi("two.mid", 4)});
    player.NextBtnClick(nullptr);
    auto expect_pause_pauses = [&](const char* after) {
        EXPECT_EQ(player.Controller().MediaPaused(), 0) << after;
        player.PauseBtnClick(nullptr);
        EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPaused) << after;
        EXPECT_EQ(player.Controller().MediaPaused(), 1) << after;
    };
    expect_pause_pauses("the first start");
    player.NextBtnClick(nullptr);
    expect_pause_pauses("Next");
    player.PrevBtnClick(nullptr);
    expect_pause_pauses("Previous");
    player.PlayBtnClick(nullptr);
    expect_pause_pauses("Play");
    player.DisplayPosition(nullptr);
    player.ProgressBar->SetPosition(2000);
    player.ProgressBarClick(player.ProgressBar);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying) << "the slider click plays on";
    expect_pause_pauses("a slider click");
    DoubleClickList(player, 15 + 7);
    expect_pause_pauses("a double-click");
    // Stop: the next Pause plays from the start, as it does for a module.
    player.StopBtnClick(nullptr);
    EXPECT_EQ(player.Controller().MediaPaused(), 0);
    player.PauseBtnClick(nullptr);
    EXPECT_EQ(player.MIDIPlayer->Mode(), TMPModes::mpPlaying);
    EXPECT_EQ(player.Controller().MediaPaused(), 0);
    expect_pause_pauses("Stop and Pause");
    // Paused, then the module engine takes over and the media device stays stopped.
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(MediaController, ACorruptFileGivesAClearOpenError) {
    const std::string path = Scratch("broken.mid").string();
    test::write_file(path, test::Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0});
    Start({path});
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_GT(AppHarness::Errors()[0].size(), 10u);
}

} // namespace
} // namespace vd::test
