#include "tests/app/AppFixture.h"

#include "framework/ListBox.h"
#include "framework/Timer.h"
#include "player/ModLib.h"
#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSlider.h"
#include "tests/audio/TestModules.h"
#include "tools/modwriter/ModWriter.h"

#include <QElapsedTimer>

namespace vd::testing {
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
    // A start that succeeds lets the automatic advance work again.
    player.Entries().Append(Song("Again", 2));
    SafeCall([&] { player.PlayBtnClick(nullptr); }); // no selection: reports, still blocked
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Again - VO Dezaru");
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
    // A file the library cannot read has no title either.
    player.Entries().Append(Scratch("absent.mod").string());
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "absent.mod - VO Dezaru");
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Controller, KindsComeFromTheExactExtension) {
    EXPECT_EQ(KindOfPath("/a/b.mid"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.midi"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.wav"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.mp1"), FileKind::Media);
    EXPECT_EQ(KindOfPath("b.umx"), FileKind::Module);
    EXPECT_EQ(KindOfPath("b.s3m"), FileKind::Module);
    EXPECT_EQ(KindOfPath("b.MID"), FileKind::None);
    EXPECT_EQ(KindOfPath("b.Mod"), FileKind::None);
    EXPECT_EQ(KindOfPath("dir.mod/file"), FileKind::None);
    EXPECT_EQ(KindOfPath("C:\\music.xm\\song"), FileKind::None);
    EXPECT_EQ(KindOfPath(""), FileKind::None);
}

} // namespace
} // namespace vd::testing
