// The main window's four file dialogs as a person sees them (the toolkit's dialog, inspected in
// the offscreen platform): the places at their side, each filter's description alone, open or
// save; the places hidden on request; a dialog that fails told in a message box; and the one
// visual-styles component a form may hold.
#include "widgets/PlacesDialogs.h"
#include "app/LayoutBuilder.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "skin/VsButtons.h"
#include "tests/support/AppFixture.h"
#include "widgets/VisualStyles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vd::test {
namespace {

// What an open file dialog showed before it was cancelled.
struct Shown {
    bool found = false;
    std::string title;
    bool save = false;
    bool places_visible = false;
    std::vector<std::string> places;
    std::vector<std::string> filters;
};

Shown Inspect(TOpenDialog& dialog) {
    Shown seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (shown == nullptr)
            return;
        seen.found = true;
        seen.title = shown->windowTitle().toStdString();
        seen.save = shown->acceptMode() == QFileDialog::AcceptSave;
        if (auto* sidebar = shown->findChild<QWidget*>("sidebar"))
            seen.places_visible = sidebar->isVisible();
        for (const QUrl& url : shown->sidebarUrls())
            seen.places.push_back(url.toLocalFile().toStdString());
        if (auto* combo = shown->findChild<QComboBox*>("fileTypeCombo"))
            for (int i = 0; i < combo->count(); ++i)
                seen.filters.push_back(combo->itemText(i).toStdString());
        poll.stop();
        shown->reject();
    });
    poll.start(20);
    EXPECT_FALSE(dialog.Execute());
    return seen;
}

const std::vector<std::string> kSoundDescriptions = {
    "Supported Files (mid, rmi, midi, mod, xm, it, s3m, mtm, umx, mp3, mp2, mp1, wav)",
    "Midi Sequence (mid, rmi, midi)", "Module Music (mod, xm, it, s3m, mtm, umx)",
    "Mpeg Audio (mp3, mp2, mp1)", "Wave Audio (wav)"};
const std::vector<std::string> kPlaylistDescriptions = {"VO Dezaru Playlist (pvl)"};

using PlacesDialogs = PlayerFixture;

TEST_F(PlacesDialogs, EachOfTheFourShowsThePlacesAndThePlainDescriptions) {
    TPlayer& player = Start();
    struct Expect {
        TOpenDialog* dialog;
        std::string title;
        bool save;
        const std::vector<std::string>* filters;
    };
    const std::vector<Expect> dialogs = {
        {player.OpenDialog, "", false, &kSoundDescriptions},
        {player.AddFileDialog, "Add file(s) to playlist...", false, &kSoundDescriptions},
        {player.OpenPlaylist, "Open VO Dezaru Playlist...", false, &kPlaylistDescriptions},
        {player.SavePlaylist, "Save VO Dezaru Playlist...", true, &kPlaylistDescriptions}};
    const std::vector<std::string> places = StandardPlaces();
    ASSERT_FALSE(places.empty());
    EXPECT_EQ(places.back(), "/");
    for (const Expect& e : dialogs) {
        SCOPED_TRACE(e.title);
        auto* places_dialog = dynamic_cast<TPlacesOpenDialog*>(e.dialog);
        ASSERT_NE(places_dialog, nullptr);
        EXPECT_TRUE(places_dialog->ShowPlacesBar);
        EXPECT_EQ(e.dialog->IsSaveDialog(), e.save);
        const Shown seen = Inspect(*e.dialog);
        ASSERT_TRUE(seen.found);
        if (!e.title.empty()) {
            EXPECT_EQ(seen.title, e.title);
        }
        EXPECT_EQ(seen.save, e.save);
        EXPECT_TRUE(seen.places_visible);
        EXPECT_EQ(seen.places, places);
        EXPECT_EQ(seen.filters, *e.filters);
    }
}

TEST_F(PlacesDialogs, StandardPlacesAreFoldersThatExistHomeFirst) {
    const std::vector<std::string> places = StandardPlaces();
    ASSERT_GE(places.size(), 2u);
    EXPECT_EQ(places.front(), QDir::homePath().toStdString());
    for (const std::string& place : places)
        EXPECT_TRUE(QFileInfo(QString::fromStdString(place)).isDir()) << place;
}

TEST_F(PlacesDialogs, WithoutThePlacesBarTheColumnIsHidden) {
    TPlayer& player = Start();
    auto* dialog = dynamic_cast<TPlacesOpenDialog*>(player.OpenPlaylist);
    ASSERT_NE(dialog, nullptr);
    dialog->ShowPlacesBar = false;
    const Shown seen = Inspect(*dialog);
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.places_visible);
    EXPECT_EQ(seen.filters, kPlaylistDescriptions); // the rest is as before
    dialog->ShowPlacesBar = true;
    EXPECT_TRUE(Inspect(*dialog).places_visible);
}

TEST_F(PlacesDialogs, ADialogThatFailsIsToldNotTakenForACancel) {
    TPlayer& player = Start();
    TOpenDialog::SetScript([](const TOpenDialog&) -> std::optional<std::vector<std::string>> {
        throw Exception("The file dialog could not be shown.");
    });
    auto* load = LayoutComponent<TVsButton>(player, "LoadBtn");
    load->HandleMouseMove(0, 20, 7);
    load->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 20, 7, false);
    load->HandleMouseUp(TMouseButton::mbLeft, 0, 20, 7, true);
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_EQ(AppHarness::Errors().front(), "The file dialog could not be shown.");
    // A cancel stays quiet.
    TOpenDialog::SetScript(
        [](const TOpenDialog&) { return std::optional<std::vector<std::string>>(); });
    load->HandleMouseDown(TMouseButton::mbLeft, ssLeft, 20, 7, false);
    load->HandleMouseUp(TMouseButton::mbLeft, 0, 20, 7, true);
    EXPECT_EQ(AppHarness::Errors().size(), 1u);
}

TEST_F(PlacesDialogs, VisualStylesOnlyOnceAndOnlyOnAForm) {
    TPlayer& player = Start();
    EXPECT_NE(LayoutComponent<TVisualStyles>(player, "VisualStyles"), nullptr);
    try {
        TComponent::Create<TVisualStyles>(&player);
        ADD_FAILURE() << "a second one was allowed";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Only one instance of TVisualStyles allowed on form");
    }
    int count = 0;
    for (int i = 0; i < player.ComponentCount(); ++i)
        count += dynamic_cast<TVisualStyles*>(player.Components(i)) != nullptr ? 1 : 0;
    EXPECT_EQ(count, 1); // the refused one left nothing behind
    TComponent owner(nullptr);
    try {
        TVisualStyles styles(&owner);
        ADD_FAILURE() << "a component that is no form was allowed";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Control parent must be a form!");
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
    TForm form(nullptr);
    EXPECT_NO_THROW(TComponent::Create<TVisualStyles>(&form));
}

} // namespace
} // namespace vd::test
