// The sound dialogs take their filters from the file-type table and list names whatever the case
// of their letters.
#include "tests/support/AppFixture.h"

#include "audio/FileTypes.h"
#include "audio/MciDeviceType.h"
#include "framework/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QListView>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

namespace vd::test {
namespace {

class SoundDialogs : public PlayerFixture {
protected:
    // What the open dialog lists in `folder` under its filter number `index` (1 is the first),
    // once it shows `expected` names or after 10 s; the dialog is then cancelled.
    std::set<std::string> Listed(TOpenDialog& dialog, const std::string& folder, int index,
                                 std::size_t expected) {
        dialog.InitialDir = folder;
        dialog.FilterIndex = index;
        std::set<std::string> names;
        QElapsedTimer clock;
        clock.start();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (shown == nullptr)
                return;
            auto* view = shown->findChild<QListView*>("listView");
            if (view == nullptr || view->model() == nullptr)
                return;
            const QModelIndex root = view->rootIndex();
            const int rows = view->model()->rowCount(root);
            if (static_cast<std::size_t>(rows) != expected && clock.elapsed() < 10000)
                return; // the folder is read in the background
            for (int row = 0; row < rows; ++row)
                names.insert(view->model()->index(row, 0, root).data().toString().toStdString());
            poll.stop();
            shown->reject();
        });
        poll.start(20);
        EXPECT_FALSE(dialog.Execute());
        return names;
    }
};

TEST_F(SoundDialogs, FiltersComeFromTheTableUnderTheLayoutsDescriptions) {
    TPlayer& player = Start();
    EXPECT_EQ(player.AddFileDialog->Filter, player.OpenDialog->Filter);
    const std::vector<TFilterEntry> filters = ParseFilter(player.OpenDialog->Filter);
    ASSERT_EQ(filters.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Supported Files (mid, rmi, midi, mod, xm, it, s3m, mtm, umx, mp3, mp2, mp1, wav)",
         "*.mid;*.rmi;*.midi;*.mod;*.xm;*.it;*.s3m;*.mtm;*.umx;*.mp3;*.mp2;*.mp1;*.wav"},
        {"Midi Sequence (mid, rmi, midi)", "*.mid;*.rmi;*.midi"},
        {"Module Music (mod, xm, it, s3m, mtm, umx)", "*.mod;*.xm;*.it;*.s3m;*.mtm;*.umx"},
        {"Mpeg Audio (mp3, mp2, mp1)", "*.mp3;*.mp2;*.mp1"},
        {"Wave Audio (wav)", "*.wav"},
    };
    for (std::size_t i = 0; i < filters.size(); ++i) {
        EXPECT_EQ(filters[i].description, expected[i].first);
        EXPECT_EQ(filters[i].patterns, expected[i].second);
    }
    // Every type the player plays is offered, and nothing else.
    std::string all;
    for (const FileType& type : kFileTypes)
        all += (all.empty() ? "*" : ";*") + std::string(type.extension);
    EXPECT_EQ(filters[0].patterns, all);
}

TEST_F(SoundDialogs, TheDialogListsNamesInCapitalsUnderEachFilter) {
    TPlayer& player = Start();
    const std::string folder = Scratch("music").string();
    std::filesystem::create_directories(folder);
    for (const char* name :
         {"SONG.MP3", "Tune.XM", "Song.Mid", "quiet.wav", "Old.MOD", "notes.txt", "LIST.PVL"})
        std::ofstream(folder + "/" + name) << "x";
    using Names = std::set<std::string>;
    EXPECT_EQ(Listed(*player.OpenDialog, folder, 1, 5),
              (Names{"SONG.MP3", "Tune.XM", "Song.Mid", "quiet.wav", "Old.MOD"}));
    EXPECT_EQ(Listed(*player.AddFileDialog, folder, 2, 1), (Names{"Song.Mid"}));
    EXPECT_EQ(Listed(*player.OpenDialog, folder, 3, 2), (Names{"Tune.XM", "Old.MOD"}));
    EXPECT_EQ(Listed(*player.OpenDialog, folder, 4, 1), (Names{"SONG.MP3"}));
    EXPECT_EQ(Listed(*player.OpenDialog, folder, 5, 1), (Names{"quiet.wav"}));
    EXPECT_EQ(Listed(*player.OpenPlaylist, folder, 1, 1), (Names{"LIST.PVL"}));
}

} // namespace
} // namespace vd::test
