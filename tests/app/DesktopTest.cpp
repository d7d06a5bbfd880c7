// The player as the desktop reaches it: files handed over by a later start, drops of files,
// folders and playlists, the control actions, the keys, and coming to the front.
#include "tests/support/AppFixture.h"

#include "audio/ModLib.h"
#include "framework/ListBox.h"
#include "playlist/file/PlaylistFile.h"
#include "tests/support/TestModules.h"
#include "tools/modwriter/ModWriter.h"
#include "widgets/TrayIcon.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <fstream>

namespace vd::test {
namespace {

using Paths = std::vector<std::string>;

class Desktop : public PlayerFixture {
protected:
    void TearDown() override {
        MODLIB_Free();
        PlayerFixture::TearDown();
    }
    std::string Song(const std::string& name, int orders = 3) {
        SongShape shape;
        shape.title = name;
        shape.orders = orders;
        shape.speed = 6;
        shape.tempo = 60;
        const std::filesystem::path path = Scratch(name);
        std::filesystem::create_directories(path.parent_path());
        modwriter::save_mod(make_song(shape), path.string());
        return path.string();
    }
    // A drop of `urls` on the window, as the window system delivers it, and the events after it.
    static bool Drop(TPlayer& player, const Paths& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& p : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(p));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(player.Widget(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(player.Widget(), &drop);
        Pump(20);
        return drop.isAccepted();
    }
    static void Key(TPlayer& player, int qt_key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, qt_key, mods);
        QCoreApplication::sendEvent(player.Widget(), &press);
    }
    static int Order() { return MODLIB_MusicGetPosition() & 0xFFFF; }
};

TEST_F(Desktop, SeveralFilesAtStartAreListedAndTheFirstPlays) {
    const std::string a = Song("a.mod");
    const std::string b = Song("b.mod");
    TPlayer::Options options;
    options.settings_path = SettingsPath();
    options.files = {b, a};
    player_.reset(new TPlayer(nullptr, std::move(options)));
    EXPECT_EQ(player_->Playlist->Lines(), (Paths{b, a}));
    EXPECT_EQ(player_->Entries().PlayingIndex(), 0);
    EXPECT_TRUE(player_->Controller().Playing());
}

TEST_F(Desktop, FilesHandedOverAreAppendedAndTheFirstOfThemPlaysUnlessOnlyEnqueued) {
    const std::string a = Song("a.mod");
    const std::string b = Song("b.mod");
    const std::string c = Song("c.mod");
    const std::string list = Scratch("two.pvl").string();
    SavePlaylistFile(list, Paths{c, a});
    TPlayer& player = Start({a});
    ASSERT_EQ(player.Entries().PlayingIndex(), 0);

    player.OpenFiles({b}, false);
    EXPECT_EQ(player.Playlist->Lines(), (Paths{a, b}));
    EXPECT_EQ(player.Entries().PlayingIndex(), 0) << "an enqueued file must not start";

    // A playlist's entries take its place among the files.
    player.OpenFiles({list, b}, true);
    EXPECT_EQ(player.Playlist->Lines(), (Paths{a, b, c, a, b}));
    EXPECT_EQ(player.Entries().PlayingIndex(), 2);
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 2);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Desktop, ActionsFromOutsideControlPlayback) {
    const std::string a = Song("a.mod");
    const std::string b = Song("b.mod");
    TPlayer& player = Start();
    player.OpenFiles({a, b}, false);
    EXPECT_TRUE(player.PerformAction("play-pause"));
    EXPECT_TRUE(player.Controller().Playing()) << "play-pause with nothing loaded plays";
    EXPECT_TRUE(player.PerformAction("next"));
    EXPECT_EQ(player.Entries().PlayingIndex(), 1);
    EXPECT_TRUE(player.PerformAction("previous"));
    EXPECT_EQ(player.Entries().PlayingIndex(), 0);
    EXPECT_TRUE(player.PerformAction("play-pause"));
    EXPECT_FALSE(player.Controller().Playing());
    EXPECT_TRUE(player.PerformAction("play-pause"));
    EXPECT_TRUE(player.Controller().Playing());
    EXPECT_TRUE(player.PerformAction("stop"));
    EXPECT_FALSE(player.Controller().Playing());
    EXPECT_FALSE(player.PerformAction("shuffle"));
}

TEST_F(Desktop, ADroppedFolderAddsItsPlayableFilesSortedAndTheFirstStarts) {
    const std::string z = Song("drop/z.mod");
    const std::string a = Song("drop/sub/A.mod");
    const std::string m = Song("drop/m.mod");
    std::ofstream(Scratch("drop/notes.txt")) << "not music";
    std::ofstream(Scratch("drop/sub/cover.jpg")) << "not music";
    TPlayer& player = Start();
    ASSERT_TRUE(Drop(player, {Scratch("drop").string()}));
    // By whole path, without regard to case: drop/m, drop/sub/A, drop/z.
    EXPECT_EQ(player.Playlist->Lines(), (Paths{m, a, z}));
    EXPECT_EQ(player.Entries().PlayingIndex(), 0);
    EXPECT_TRUE(player.Controller().Playing());
}

TEST_F(Desktop, FilesDroppedWhilePlayingAreOnlyAppended) {
    const std::string a = Song("a.mod");
    const std::string b = Song("b.mod");
    TPlayer& player = Start({a});
    ASSERT_TRUE(player.Controller().Playing());
    ASSERT_TRUE(Drop(player, {b, Scratch("missing.mod").string()}));
    EXPECT_EQ(player.Playlist->Lines(), (Paths{a, b}));
    EXPECT_EQ(player.Entries().PlayingIndex(), 0);
}

TEST_F(Desktop, ADroppedPlaylistIsLoadedAsLoadDoes) {
    const std::string a = Song("a.mod");
    const std::string b = Song("b.mod");
    const std::string list = Scratch("list.pvl").string();
    SavePlaylistFile(list, Paths{b, a});
    TPlayer& player = Start();
    player.OpenFiles({a}, false);
    ASSERT_TRUE(Drop(player, {list}));
    EXPECT_EQ(player.Playlist->Lines(), (Paths{b, a}));
    EXPECT_FALSE(player.Controller().Playing()) << "a loaded playlist plays nothing";
    // A stray file of another kind is turned away without a word.
    std::ofstream(Scratch("readme.txt")) << "x";
    ASSERT_TRUE(Drop(player, {Scratch("readme.txt").string()}));
    EXPECT_EQ(player.Playlist->Count(), 2);
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(Desktop, TheKeysPlayPauseRemoveAndSeek) {
    const std::string a = Song("a.mod", 6);
    const std::string b = Song("b.mod");
    TPlayer& player = Start();
    player.OpenFiles({a, b}, false);
    player.Entries().Select(1);
    Key(player, Qt::Key_Return);
    EXPECT_EQ(player.Entries().PlayingIndex(), 1) << "Enter plays the selected entry";
    Key(player, Qt::Key_Space);
    EXPECT_FALSE(player.Controller().Playing()) << "Space pauses";
    Key(player, Qt::Key_Space);
    EXPECT_TRUE(player.Controller().Playing()) << "Space plays on";

    player.Entries().Select(0);
    Key(player, Qt::Key_Return);
    ASSERT_EQ(Order(), 0);
    Key(player, Qt::Key_Right);
    Key(player, Qt::Key_Right);
    EXPECT_EQ(Order(), 2) << "Right moves a module on by an order";
    Key(player, Qt::Key_Left);
    EXPECT_EQ(Order(), 1);
    // The playlist would use Left and Right itself: from there they seek as well.
    player.PlaylistShow->SetFocus();
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(player.PlaylistShow->Widget(), &right);
    EXPECT_EQ(Order(), 2);
    EXPECT_EQ(player.PlaylistShow->ItemIndex(), 0);

    player.Entries().Select(1);
    Key(player, Qt::Key_Delete);
    EXPECT_EQ(player.Playlist->Lines(), Paths{a});
    Key(player, Qt::Key_MediaStop);
    EXPECT_FALSE(player.Controller().Playing());
    Key(player, Qt::Key_MediaTogglePlayPause);
    EXPECT_TRUE(player.Controller().Playing());
}

TEST_F(Desktop, ControlQClosesAsTheMenuDoes) {
    TPlayer& player = Start();
    player.Show();
    Key(player, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(player.Visible());
    EXPECT_TRUE(std::filesystem::exists(SettingsPath())) << "the position was not saved";
}

TEST_F(Desktop, BringingToFrontRestoresAMinimizedWindow) {
    TPlayer& player = Start();
    player.Show();
    player.MenuMinimizeClick(nullptr);
    ASSERT_TRUE(AppHarness::App().Minimized());
    player.BringToFront();
    EXPECT_FALSE(AppHarness::App().Minimized());
    EXPECT_TRUE(player.Visible());
    EXPECT_FALSE(player.Widget()->isMinimized());
}

} // namespace
} // namespace vd::test
