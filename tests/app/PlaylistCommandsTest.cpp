#include "tests/support/AppFixture.h"

#include "audio/ModLib.h"
#include "framework/ListBox.h"
#include "playlist/file/PlaylistFile.h"
#include "skin/VsLabel.h"
#include "tests/support/TestModules.h"
#include "tools/modwriter/ModWriter.h"

#include <fstream>
#include <optional>

namespace vd::test {
namespace {

class PlaylistCommands : public PlayerFixture {
protected:
    void TearDown() override {
        MODLIB_Free();
        PlayerFixture::TearDown();
    }
    std::string Song(const std::string& title) {
        SongShape shape;
        shape.title = title;
        shape.orders = 2;
        const std::string path = Scratch(title + ".mod").string();
        modwriter::save_mod(make_song(shape), path);
        return path;
    }
    // The next dialog answers with `paths` (nothing: cancel) and records its title.
    void Answer(std::optional<std::vector<std::string>> paths) {
        TOpenDialog::SetScript([this, paths](const TOpenDialog& dialog) {
            dialog_titles.push_back(dialog.Title);
            return paths;
        });
    }
    [[nodiscard]] static std::vector<std::string> Lines(const TListBox& list) {
        return list.Lines();
    }
    std::vector<std::string> dialog_titles;
};

TEST_F(PlaylistCommands, AddAppendsTheChosenFilesInOrderToBothLists) {
    TPlayer& player = Start();
    Answer(std::vector<std::string>{"/m/b.xm", "C:\\m\\a.mod", "/m/b.xm"});
    player.AddFilesClick(nullptr);
    EXPECT_EQ(dialog_titles, (std::vector<std::string>{"Add file(s) to playlist..."}));
    EXPECT_EQ(Lines(*player.Playlist),
              (std::vector<std::string>{"/m/b.xm", "C:\\m\\a.mod", "/m/b.xm"}));
    EXPECT_EQ(Lines(*player.PlaylistShow), (std::vector<std::string>{"b.xm", "a.mod", "b.xm"}));
    EXPECT_EQ(player.Playlist->ItemIndex(), -1);
    Answer(std::nullopt); // cancelled: nothing changes
    player.AddFilesClick(nullptr);
    EXPECT_EQ(player.Playlist->Count(), 3);
}

TEST_F(PlaylistCommands, SortAndRemoveKeepThePlayingEntrySelected) {
    TPlayer& player = Start();
    player.Entries().Append({Song("Zulu"), Song("Mike"), Song("Alpha")});
    player.NextBtnClick(nullptr); // Zulu
    player.SortBtnClick(nullptr);
    EXPECT_EQ(player.PlaylistShow->Items(2), "Zulu.mod");
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 2);
    EXPECT_EQ(player.Playlist->ItemIndex(), 2);
    player.Entries().Select(0); // Alpha chosen, Zulu plays on
    player.RemovefileClick(nullptr);
    EXPECT_EQ(player.PlaylistShow->Items(1), "Zulu.mod");
    EXPECT_EQ(player.Playlist->ItemIndex(), 1);
    // Stopped, Play starts the playing entry again, not the first one.
    player.StopBtnClick(nullptr);
    player.PlayBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Zulu - VO Dezaru");
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(PlaylistCommands, RemovingTheEntryThatPlaysLetsItPlayOn) {
    TPlayer& player = Start();
    player.Entries().Append({Song("One"), Song("Two")});
    player.Entries().Select(0);
    player.PlayBtnClick(nullptr);
    player.RemovefileClick(nullptr);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(player.Playlist->Count(), 1);
    EXPECT_EQ(player.PlaylistShow->Items(0), "Two.mod");
    EXPECT_EQ(player.Playlist->ItemIndex(), -1);
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), -1);
    player.RemovefileClick(nullptr); // no selection: nothing
    EXPECT_EQ(player.Playlist->Count(), 1);
}

TEST_F(PlaylistCommands, SortOrdersByTheWholePathAndClearsTheSelection) {
    TPlayer& player = Start();
    player.Entries().Append(
        std::vector<std::string>{"E:\\a\\a.mod", "D:\\b\\z.mod", "d:\\B\\y.mod"});
    player.Entries().Select(1);
    player.SortBtnClick(nullptr);
    EXPECT_EQ(Lines(*player.Playlist),
              (std::vector<std::string>{"d:\\B\\y.mod", "D:\\b\\z.mod", "E:\\a\\a.mod"}));
    EXPECT_EQ(Lines(*player.PlaylistShow), (std::vector<std::string>{"y.mod", "z.mod", "a.mod"}));
    EXPECT_EQ(player.Playlist->ItemIndex(), -1);
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), -1);
}

TEST_F(PlaylistCommands, AfterASortNextPlaysTheFirstAndPreviousTheLast) {
    TPlayer& player = Start();
    player.Entries().Append({Song("Zulu"), Song("Alpha")});
    player.SortBtnClick(nullptr);
    player.NextBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Alpha - VO Dezaru");
    player.SortBtnClick(nullptr);
    player.PrevBtnClick(nullptr);
    EXPECT_EQ(player.TitleLabel->Caption(), "Zulu - VO Dezaru");
}

TEST_F(PlaylistCommands, NewPlaylistEmptiesTheListsAndTheSongPlaysOn) {
    TPlayer& player = Start({Song("Keeps")});
    player.MenuNewPlaylistClick(nullptr);
    EXPECT_EQ(player.Playlist->Count(), 0);
    EXPECT_EQ(player.PlaylistShow->Count(), 0);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
}

TEST_F(PlaylistCommands, ADoubleClickWhereNoEntryIsDoesNothing) {
    TPlayer& player = Start({Song("Plays on")});
    DoubleClickList(player, 15 + 7); // the second row: there is only one entry
    DoubleClickList(player, 100);
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_EQ(player.TitleLabel->Caption(), "Plays on - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 0);
    player.MenuNewPlaylistClick(nullptr);
    DoubleClickList(player, 7); // an empty list
    EXPECT_NE(MODLIB_MusicIsActive(), 0);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(PlaylistCommands, ADoubleClickPlaysTheEntryUnderIt) {
    TPlayer& player = Start();
    player.Entries().Append({Song("Left"), Song("Right")});
    DoubleClickList(player, 15 + 7);
    EXPECT_EQ(player.TitleLabel->Caption(), "Right - VO Dezaru");
    EXPECT_EQ(player.Playlist->ItemIndex(), 1);
    DoubleClickList(player, 7);
    EXPECT_EQ(player.TitleLabel->Caption(), "Left - VO Dezaru");
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 0);
}

TEST_F(PlaylistCommands, SaveAndLoadRoundTripThroughTheDialogs) {
    TPlayer& player = Start();
    const std::vector<std::string> paths = {"/a/one.mod", "", "C:\\x\\two.xm",
                                            "/\xff\xfe/bytes.it"};
    player.Entries().Append(paths);
    const std::string typed = Scratch("mine").string();
    Answer(std::vector<std::string>{typed});
    player.SaveBtnClick(nullptr);
    EXPECT_EQ(dialog_titles.back(), "Save VO Dezaru Playlist...");
    ASSERT_TRUE(std::filesystem::exists(typed + ".pvl")) << "the default extension is added";
    player.MenuNewPlaylistClick(nullptr);
    Answer(std::vector<std::string>{typed + ".pvl"});
    player.LoadBtnClick(nullptr);
    EXPECT_EQ(dialog_titles.back(), "Open VO Dezaru Playlist...");
    EXPECT_EQ(Lines(*player.Playlist), paths);
    EXPECT_EQ(player.PlaylistShow->Items(1), "");
    EXPECT_EQ(player.Playlist->ItemIndex(), -1);
}

TEST_F(PlaylistCommands, AFailingLoadKeepsBothLists) {
    TPlayer& player = Start();
    player.Entries().Append(std::vector<std::string>{"/keep/me.mod"});
    Answer(std::vector<std::string>{Scratch("absent.pvl").string()});
    SafeCall([&] { player.LoadBtnClick(nullptr); });
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_NE(AppHarness::Errors()[0].find("absent.pvl"), std::string::npos);
    EXPECT_EQ(Lines(*player.Playlist), (std::vector<std::string>{"/keep/me.mod"}));
    EXPECT_EQ(Lines(*player.PlaylistShow), (std::vector<std::string>{"me.mod"}));
}

TEST_F(PlaylistCommands, AFailingSaveLeavesTheOldFileWhole) {
    TPlayer& player = Start();
    const std::string target = Scratch("old.pvl").string();
    SavePlaylistFile(target, std::vector<std::string>{"/old/entry.mod"});
    player.Entries().Append(std::vector<std::string>{"/new/entry.mod"});
    // Writing beside the target fails when its folder is read-only (not for root, who may write
    // anywhere; then a target that is a folder fails instead).
    const std::string blocked = Scratch("folder.pvl").string();
    std::filesystem::create_directories(blocked);
    Answer(std::vector<std::string>{blocked});
    SafeCall([&] { player.SaveBtnClick(nullptr); });
    EXPECT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(LoadPlaylistFile(target), (std::vector<std::string>{"/old/entry.mod"}));
}

} // namespace
} // namespace vd::test
