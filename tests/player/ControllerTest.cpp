#include "tests/support/AppFixture.h"

#include "audio/ModLib.h"
#include "framework/ListBox.h"
#include "framework/Timer.h"
#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSlider.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/MediaTestSupport.h"
#include "tests/support/TestModules.h"
#include "tools/modwriter/ModWriter.h"

#include <QElapsedTimer>

#include <filesystem>
#include <random>

namespace vd::test {
namespace {

class Controller : public PlayerFixture {
protected:
    // A module file in the scratch folder.
    std::string Song(const std::string& title, int orders, int last_row = 63, int speed = 6,
                     int tempo = 125) {
        SongShape shape;
        shape.title = title;
        shape.orders = orders;
        shape.last_row = last_row;
        shape.speed = speed;
        shape.tempo = tempo;
        const std::string path = Scratch(title + ".mod").string();
        modwriter::save_mod(make_song(shape), path);
        return path;
    }
    void TearDown() override {
        MODLIB_Free();
        PlayerFixture::TearDown();
    }
    // A file of random bytes named like a module: no module library takes it.
    std::string Noise(const std::string& name) {
        std::mt19937 random(7);
        test::Bytes bytes(3000);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(random());
        const std::string path = Scratch(name).string();
        test::write_file(path, bytes);
        return path;
    }
    // The playing module reaches row 60 of its last order, as the row bar and the slider show
    // it, and the end-of-track timer ticks once.
    static void EndTheModule(TPlayer& player) {
        player.PauseBtnClick(nullptr);
        const int32_t last = (MODLIB_MusicGetLength(0) & 0xFFFF) - 1;
        MODLIB_MusicSetPosition(last | (60 << 16));
        player.ModTimerTimer(nullptr);
        player.DisplayPosition(nullptr);
        player.NextTimer->Tick();
    }
    static int32_t Order() { return MODLIB_MusicGetPosition() & 0xFFFF; }
    static int32_t Row() {
        return static_cast<int32_t>(static_cast<uint32_t>(MODLIB_MusicGetPosition()) >> 16);
    }
};

TEST_F(Controller, NextAndPreviousWrapAroundTheList) {
    TPlayer& player = Start();
    player.Entries().Append({Song("Alpha", 2), Song("Beta", 2), Song("Gamma", 2)});
    player.NextBtnClick(nullptr); // no selection: the first entry
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 0);
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);
    EXPECT_EQ(player.TitleLabel->Caption(), "Alpha - VO Dezaru");
    player.NextBtnClick(nullptr);
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Gamma - VO Dezaru");
    player.NextBtnClick(nullptr); // last: wraps to the first
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);
    EXPECT_EQ(player.TitleLabel->Caption(), "Alpha - VO Dezaru");
    player.PrevBtnClick(nullptr); // first: wraps to the last
    EXPECT_EQ(player.Playlist->ItemIndex(), 2);
    EXPECT_EQ(player.TitleLabel->Caption(), "Gamma - VO Dezaru");
    EXPECT_TRUE(player.ModTimer->Enabled());
    EXPECT_TRUE(player.PositionTimer->Enabled());
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Controller, PlayWithNothingToPlayReportsTheIndexAndChangesNothing) {
    TPlayer& player = Start();
    // As the framework calls handlers: an error that escapes is shown.
    SafeCall([&] { player.PlayBtnClick(nullptr); });
    SafeCall([&] { player.NextBtnClick(nullptr); });
    SafeCall([&] { player.PrevBtnClick(nullptr); });
    ASSERT_EQ(AppHarness::Errors().size(), 3u);
    for (const std::string& error : AppHarness::Errors())
        EXPECT_EQ(error, "Playlist error: -1 files in playlist");
    EXPECT_EQ(player.Controller().Kind(), FileKind::None);
    EXPECT_FALSE(player.PositionTimer->Enabled());
}

TEST_F(Controller, StopThenPauseResumesAtOrderOneRowOne) {
    TPlayer& player = Start({Song("Stopper", 4)});
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    player.StopBtnClick(nullptr);
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(MODLIB_MusicGetPosition(), 65537);
    EXPECT_FALSE(player.ModTimer->Enabled());
    EXPECT_EQ(player.ProgressBar2->Position(), 0);
    player.PauseBtnClick(nullptr);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(Order(), 1);
    EXPECT_FALSE(player.ModTimer->Enabled()) << "the row bar waits for the next start";
    player.PauseBtnClick(nullptr);
    EXPECT_EQ(MODLIB_MusicIsActive(), 0);
}

TEST_F(Controller, ASliderClickJumpsToThatOrderAtRowZero) {
    TPlayer& player = Start({Song("Jumper", 8)});
    player.PauseBtnClick(nullptr);
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->MaxValue(), 8);
    player.ProgressBar->SetPosition(5);
    player.ProgressBarClick(player.ProgressBar);
    EXPECT_EQ(Order(), 5);
    EXPECT_EQ(Row(), 0);
}

TEST_F(Controller, TheModuleTimerShowsOrderRowAndOrders) {
    TPlayer& player = Start({Song("Counter", 24)});
    player.PauseBtnClick(nullptr);
    MODLIB_MusicSetPosition(3 | (17 << 16));
    player.ModTimerTimer(nullptr);
    EXPECT_EQ(player.PosLabel->Caption(), "3.17 of 24");
    EXPECT_EQ(player.ProgressBar2->Position(), 17);
}

TEST_F(Controller, RowSixtyOfTheLastOrderAdvancesOnceOnly) {
    TPlayer& player = Start();
    player.Entries().Append({Song("First", 2), Song("Second", 2)});
    player.NextBtnClick(nullptr);
    player.PauseBtnClick(nullptr);
    MODLIB_MusicSetPosition(1 | (60 << 16));
    player.ModTimerTimer(nullptr);
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), 1);
    EXPECT_EQ(player.ProgressBar2->Position(), 60);
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Second - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 1);
    // The slider and the row bar still show the first song's end until they are refreshed:
    // the next tick must not take them for the second song's.
    player.StopBtnClick(nullptr);
    player.ProgressBar2->SetPosition(60);
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.Playlist->ItemIndex(), 1);
}

TEST_F(Controller, AFailedAdvanceIsReportedOnceAndNotRetried) {
    TPlayer& player = Start({Song("Lonely", 2)});
    player.PauseBtnClick(nullptr);
    player.MenuNewPlaylistClick(nullptr); // the song plays on; its end finds an empty list
    MODLIB_MusicSetPosition(1 | (60 << 16));
    player.ModTimerTimer(nullptr);
    player.DisplayPosition(nullptr);
    for (int tick = 0; tick < 20; ++tick)
        player.NextTimer->Tick();
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_EQ(AppHarness::Errors()[0], "Playlist error: -1 files in playlist");
    // A start that succeeds lets the automatic advance work again; Play without a selection
    // plays the first entry.
    player.Entries().Append({Song("Again", 2), Song("After", 2)});
    player.PlayBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Again - VO Dezaru");
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 0);
    EndTheModule(player);
    EXPECT_EQ(player.TitleLabel->Caption(), "After - VO Dezaru");
    EXPECT_EQ(AppHarness::Errors().size(), 1u);
}

// A module the library rejects is an error that names the file; nothing counts as started.
TEST_F(Controller, AModuleThatCannotBeLoadedIsReportedByItsFileName) {
    TPlayer& player = Start();
    const std::string noise = Noise("noise.mod");
    player.Entries().Append({noise, Scratch("gone.xm").string(), Song("Fine", 2)});
    SafeCall([&] { player.NextBtnClick(nullptr); });
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    const std::string& error = AppHarness::Errors()[0];
    EXPECT_EQ(error.rfind("\"noise.mod\" could not be played.\n", 0), 0u) << error;
    EXPECT_EQ(error.find(folder_->Path()), std::string::npos) << "the whole path: " << error;
    EXPECT_GT(error.size(), std::string("\"noise.mod\" could not be played.\n").size() + 10)
        << "no reason given: " << error;
    EXPECT_EQ(player.TitleLabel->Caption(), "VO Dezaru");
    EXPECT_FALSE(player.ModTimer->Enabled());
    // The position refresh and the end test find nothing to go on: no advance, no messages.
    for (int tick = 0; tick < 5; ++tick) {
        player.PositionTimer->Tick();
        player.NextTimer->Tick();
    }
    EXPECT_EQ(player.PosLabel->Caption(), "");
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);
    EXPECT_EQ(AppHarness::Errors().size(), 1u);
    // A file that is not there says so.
    SafeCall([&] { player.NextBtnClick(nullptr); });
    ASSERT_EQ(AppHarness::Errors().size(), 2u);
    EXPECT_EQ(AppHarness::Errors()[1].rfind("\"gone.xm\" could not be played.\n", 0), 0u);
    EXPECT_NE(AppHarness::Errors()[1].find("could not be found"), std::string::npos);
    // The next command works.
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Fine - VO Dezaru");
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(AppHarness::Errors().size(), 2u);
}

// The end of a song moves on past an entry that fails: one message, then the following entry.
TEST_F(Controller, TheAutomaticAdvanceGoesPastAnEntryThatFails) {
    TPlayer& player = Start();
    player.Entries().Append({Song("Opening", 2), Noise("broken.mod"), Song("Closing", 2)});
    player.NextBtnClick(nullptr);
    // While the message is open its loop runs the timers: they must not advance too.
    int ticks_inside = 0;
    AppHarness::App().SetErrorDisplay([&](const std::string&, const std::string& text) {
        AppHarness::Errors().push_back(text);
        for (int tick = 0; tick < 3; ++tick, ++ticks_inside) {
            player.PositionTimer->Tick();
            player.NextTimer->Tick();
        }
        EXPECT_EQ(player.Playlist->ItemIndex(), 1) << "advanced while the message was open";
    });
    EndTheModule(player);
    AppHarness::App().SetErrorDisplay(
        [](const std::string&, const std::string& text) { AppHarness::Errors().push_back(text); });
    EXPECT_EQ(ticks_inside, 3);
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_EQ(AppHarness::Errors()[0].rfind("\"broken.mod\"", 0), 0u);
    EXPECT_EQ(player.TitleLabel->Caption(), "Closing - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 2);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
}

// When every entry fails in a row, one more message says so and the advance rests until a
// start succeeds.
TEST_F(Controller, TheAutomaticAdvanceStopsWhenEveryEntryFailedInARow) {
    TPlayer& player = Start();
    const std::string spoilt = Song("Spoilt", 2);
    player.Entries().Append({spoilt, Noise("bad.mod"), Scratch("absent.wav").string()});
    player.NextBtnClick(nullptr);
    // The song plays from memory; its file is damaged meanwhile.
    test::write_file(spoilt, test::Bytes{'n', 'o', 'p', 'e'});
    EndTheModule(player);
    ASSERT_EQ(AppHarness::Errors().size(), 4u);
    EXPECT_EQ(AppHarness::Errors()[0].rfind("\"bad.mod\"", 0), 0u);
    EXPECT_EQ(AppHarness::Errors()[1].rfind("\"absent.wav\"", 0), 0u);
    EXPECT_EQ(AppHarness::Errors()[2].rfind("\"Spoilt.mod\"", 0), 0u);
    EXPECT_EQ(AppHarness::Errors()[3], "None of the files in the playlist could be played.");
    for (int tick = 0; tick < 20; ++tick) {
        player.PositionTimer->Tick();
        player.ModTimer->Tick();
        player.NextTimer->Tick();
    }
    EXPECT_EQ(AppHarness::Errors().size(), 4u);
    // A good entry added and chosen plays, and ends into the next as before.
    player.Entries().Append({Song("Rescue", 2), Song("Onward", 2)});
    player.Entries().Select(3);
    player.PlayBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Rescue - VO Dezaru");
    EndTheModule(player);
    EXPECT_EQ(player.TitleLabel->Caption(), "Onward - VO Dezaru");
    EXPECT_EQ(AppHarness::Errors().size(), 4u);
}

// The entry that starts becomes the selection, so Play after Stop resumes it.
TEST_F(Controller, TheEntryThatStartsIsSelected) {
    const std::string song = Song("Chosen", 3);
    TPlayer& player = Start({song});
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 0);
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);
    player.StopBtnClick(nullptr);
    player.PlayBtnClick(nullptr);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(player.TitleLabel->Caption(), "Chosen - VO Dezaru");
    // Eject's Open: the one entry is selected too.
    const std::string other = Song("Ejected", 2);
    TOpenDialog::SetScript(
        [&](const TOpenDialog&) { return std::optional(std::vector<std::string>{other}); });
    player.EjectBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Ejected - VO Dezaru");
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 0);
    // A loaded list plays nothing and selects nothing; Play then starts its first entry.
    player.Entries().Replace({Song("First", 2), Song("Second", 2)});
    EXPECT_EQ(player.Playlist->ItemIndex(), -1);
    player.PlayBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "First - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Controller, ASongThatEndsBeforeRowSixtyStillAdvances) {
    TPlayer& player = Start();
    // The last pattern breaks after row 20: the row-60 test never fires.
    player.Entries().Append({Song("Short", 1, 20, 1, 255), Song("Next", 2)});
    player.NextBtnClick(nullptr);
    QElapsedTimer clock;
    clock.start();
    while (player.TitleLabel->Caption() != "Next - VO Dezaru" && clock.elapsed() < 5000)
        Pump(10);
    EXPECT_EQ(player.TitleLabel->Caption(), "Next - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 1);
}

TEST_F(Controller, AModuleWithoutATitleGoesByItsFileName) {
    // Titles of nothing but blanks count as none; a real title wins over the file's name.
    const auto save = [&](const std::string& title, const std::string& file) {
        SongShape shape;
        shape.title = title;
        shape.orders = 1;
        const std::string path = Scratch(file).string();
        modwriter::save_mod(make_song(shape), path);
        return path;
    };
    TPlayer& player = Start();
    player.Entries().Append(
        {save("", "no title.mod"), save("    ", "blank-title.mod"), save("Named", "named.mod")});
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.PlaylistShow->Items(0), "no title.mod");
    EXPECT_EQ(player.TitleLabel->Caption(), "no title.mod - VO Dezaru");
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "blank-title.mod - VO Dezaru");
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Named - VO Dezaru");
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Controller, KindsComeFromTheExtensionWhateverItsCase) {
    EXPECT_EQ(KindOfPath("/a/b.mid"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.midi"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.wav"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.mp1"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.umx"), FileKind::Module);
    EXPECT_EQ(KindOfPath("b.s3m"), FileKind::Module);
    EXPECT_EQ(KindOfPath("b.MID"), FileKind::Media);
    EXPECT_EQ(KindOfPath("SONG.MP3"), FileKind::Media);
    EXPECT_EQ(KindOfPath("Song.Mid"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.Mod"), FileKind::Module);
    EXPECT_EQ(KindOfPath("Tune.XM"), FileKind::Module);
    EXPECT_EQ(KindOfPath("b.mod~"), FileKind::None);
    EXPECT_EQ(KindOfPath("b.pvl"), FileKind::None);
    EXPECT_EQ(KindOfPath("dir.mod/file"), FileKind::None);
    EXPECT_EQ(KindOfPath("C:\\music.xm\\song"), FileKind::None);
    EXPECT_EQ(KindOfPath(""), FileKind::None);
}

TEST_F(Controller, AModuleNamedInCapitalsPlays) {
    TPlayer& player = Start();
    const std::string upper = Song("Shouted", 2);
    const std::string mixed = Song("Mixed", 2);
    std::filesystem::rename(upper, Scratch("SHOUTED.MOD"));
    std::filesystem::rename(mixed, Scratch("Mixed.Mod"));
    player.Entries().Append({Scratch("SHOUTED.MOD").string(), Scratch("Mixed.Mod").string()});
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.Controller().Kind(), FileKind::Module);
    EXPECT_EQ(player.TitleLabel->Caption(), "Shouted - VO Dezaru");
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_TRUE(player.ModTimer->Enabled());
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Mixed - VO Dezaru");
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

// The position slider held by the mouse, as a person drags it: the refresh and the end-of-track
// test leave it alone, and the release seeks to where it was let go.
class HeldSlider : public Controller {
protected:
    // Mouse input at the position slider's own coordinates (the skin fills the window).
    void Press(TPlayer& player, int x) {
        test::Press(player.Skin->Widget(), player.ProgressBar->Left() + x,
                    player.ProgressBar->Top() + 4);
    }
    void Move(TPlayer& player, int x) {
        test::Move(player.Skin->Widget(), player.ProgressBar->Left() + x,
                   player.ProgressBar->Top() + 4);
    }
    void Release(TPlayer& player, int x) {
        test::Release(player.Skin->Widget(), player.ProgressBar->Left() + x,
                      player.ProgressBar->Top() + 4);
    }
};

TEST_F(HeldSlider, TheRefreshLeavesItAloneAndTheReleaseSeeksToTheOrderLetGo) {
    TPlayer& player = Start();
    player.Entries().Append({Song("Dragged", 8), Song("Following", 2)});
    player.NextBtnClick(nullptr);
    player.PauseBtnClick(nullptr); // playback stays at order 0 while the thumb moves
    MODLIB_MusicSetPosition(0 | (60 << 16));
    player.ModTimerTimer(nullptr);
    player.DisplayPosition(nullptr);
    ASSERT_EQ(player.ProgressBar->MaxValue(), 8);
    ASSERT_EQ(player.ProgressBar->Position(), 0);

    Press(player, 10); // the thumb's middle: nothing moves yet
    EXPECT_TRUE(player.ProgressBar->Held());
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), 0);

    // To the last order: the thumb follows the pointer, and the refresh leaves it there.
    Move(player, 10 + player.ProgressBar->PositionToPixel(7));
    EXPECT_EQ(player.ProgressBar->Position(), 7);
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), 7);
    // The last order with the row bar at 60 would read as the song's end: not while held.
    player.NextTimerTimer(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Dragged - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);

    Move(player, 10 + player.ProgressBar->PositionToPixel(5));
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), 5);
    EXPECT_EQ(Order(), 0) << "nothing seeks before the release";
    Release(player, 10 + player.ProgressBar->PositionToPixel(5));
    EXPECT_FALSE(player.ProgressBar->Held());
    EXPECT_EQ(Order(), 5);
    EXPECT_EQ(Row(), 0);
    // Let go, the slider follows playback again.
    MODLIB_MusicSetPosition(2);
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), 2);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(HeldSlider, APressHeldStillSeeksToTheThumbsOrderAtTheRelease) {
    TPlayer& player = Start({Song("Still", 8)});
    player.PauseBtnClick(nullptr);
    MODLIB_MusicSetPosition(3);
    player.DisplayPosition(nullptr);
    // The thumb is placed where it is painted: the window shows.
    player.Show();
    TApplication::ProcessMessages();
    player.Skin->Update();
    const int thumb = player.ProgressBar->ThumbRect().Left;
    ASSERT_EQ(thumb, player.ProgressBar->PositionToPixel(3));
    Press(player, thumb + 10);
    // Playback moves on meanwhile; the held thumb stays where it was pressed.
    MODLIB_MusicSetPosition(4 | (12 << 16));
    player.DisplayPosition(nullptr);
    EXPECT_EQ(player.ProgressBar->Position(), 3);
    Release(player, thumb + 10);
    EXPECT_EQ(Order(), 3);
    EXPECT_EQ(Row(), 0);
}

} // namespace
} // namespace vd::test
