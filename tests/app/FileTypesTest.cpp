// One table of file types serves the playback controller's choice of engine, the media layer's
// choice of device and the sound dialogs' filters; extensions count whatever the case of their
// letters, for all three.
#include "tests/app/AppFixture.h"

#include "framework/Dialogs.h"
#include "player/FileTypes.h"
#include "player/MciDeviceType.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QListView>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

namespace vd::testing {
namespace {

// `extension` ("*.mid" style without the star) written in capitals, and with its first letter
// alone in capitals.
std::string Upper(std::string_view extension) {
    std::string s(extension);
    std::ranges::transform(s, s.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}
std::string Capitalised(std::string_view extension) {
    std::string s(extension);
    s[1] = static_cast<char>(std::toupper(s[1]));
    return s;
}

TEST(FileTypeTable, EachTypeHasALowerCaseExtensionAndAnEngineAndMediaTheirDevice) {
    std::set<std::string_view> seen;
    for (const FileType& type : kFileTypes) {
        ASSERT_GE(type.extension.size(), 2u);
        EXPECT_EQ(type.extension.front(), '.');
        EXPECT_TRUE(std::ranges::none_of(type.extension, [](char c) { return std::isupper(c); }))
            << type.extension;
        EXPECT_TRUE(seen.insert(type.extension).second) << type.extension << " twice";
        EXPECT_NE(type.kind, FileKind::None) << type.extension;
        EXPECT_EQ(type.device.has_value(), type.kind == FileKind::Media) << type.extension;
    }
    EXPECT_EQ(seen.size(), 13u);
}

TEST(FileTypeTable, NamesInAnyCaseFindTheirEngineAndDevice) {
    for (const FileType& type : kFileTypes) {
        for (const std::string& name :
             {"/m/song" + std::string(type.extension), "/m/SONG" + Upper(type.extension),
              "/m/Song" + Capitalised(type.extension)}) {
            EXPECT_EQ(KindOfPath(name), type.kind) << name;
            EXPECT_EQ(mci_device_type_for_path(name), type.device) << name;
            EXPECT_EQ(MediaDeviceOfPath(name), type.device) << name;
        }
    }
    EXPECT_EQ(mci_device_type_for_path("SONG.MP3"), MciDeviceType::MpegVideo);
    EXPECT_EQ(mci_device_type_for_path("Song.Mid"), MciDeviceType::Sequencer);
    EXPECT_EQ(mci_device_type_for_path("Tune.XM"), std::nullopt); // a module: no media device
    for (const char* name : {"a.mp4", "a.mod.bak", "a.pvl", "mod", "x.mod/y", "C:\\a.wav\\b", ""}) {
        EXPECT_EQ(KindOfPath(name), FileKind::None) << name;
        EXPECT_EQ(mci_device_type_for_path(name), std::nullopt) << name;
    }
    // Only the ASCII letters fold: a byte of another encoding is no letter of the table.
    EXPECT_EQ(KindOfPath("a.m\xD6\x44"), FileKind::None);
    EXPECT_TRUE(HasExtension("LIST.PVL", ".pvl"));
    EXPECT_TRUE(HasExtension("List.Pvl", ".pvl"));
    EXPECT_FALSE(HasExtension("list.pvl.mod", ".pvl"));
    EXPECT_FALSE(HasExtension("pvl", ".pvl"));
}

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
} // namespace vd::testing
