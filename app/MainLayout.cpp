#include "app/Layout.h"
#include "audio/FileTypes.h"

#include <array>
#include <string>

namespace vd {

namespace {

using namespace layout;

// The sound dialogs' filter: the descriptions as the dialogs show them, the patterns from the
// file-type table, so that what the dialogs offer is what the player plays.
std::string SoundFilterText() {
    const auto any = [](const FileType&) { return true; };
    const auto modules = [](const FileType& t) { return t.kind == FileKind::Module; };
    const auto on = [](MciDeviceType device) {
        return [device](const FileType& t) { return t.device == device; };
    };
    return "Supported Files (mid, rmi, midi, mod, xm, it, s3m, mtm, umx, mp3, mp2, mp1, wav)|" +
           FilePatterns(any) + "|Midi Sequence (mid, rmi, midi)|" +
           FilePatterns(on(MciDeviceType::Sequencer)) +
           "|Module Music (mod, xm, it, s3m, mtm, umx)|" + FilePatterns(modules) +
           "|Mpeg Audio (mp3, mp2, mp1)|" + FilePatterns(on(MciDeviceType::MpegVideo)) +
           "|Wave Audio (wav)|" + FilePatterns(on(MciDeviceType::WaveAudio));
}
// Made before the layout below, which is initialised after it in this file.
const std::string kSoundFilterText = SoundFilterText();
const std::string_view kSoundFilter = kSoundFilterText;
constexpr std::string_view kPlaylistFilter = "VO Dezaru Playlist (pvl)|*.pvl";

constexpr std::string_view kButtons = "2. buttons.bmp";
constexpr std::string_view kPlaylistButtons = "2. playlist_btn.bmp";

// The main window, component by component. Visible components lie on Skin, which fills the
// window; clip rectangles are rows of five state images in their graphic.
constexpr MenuItem Separator(std::string_view parent) {
    return {parent, "-", -1, "", false, true};
}
constexpr MenuItem Submenu(std::string_view parent, std::string_view caption, int image) {
    return {parent, caption, image, "", false, true};
}
constexpr MenuItem Item(std::string_view parent, std::string_view caption, int image,
                        std::string_view on_click) {
    return {parent, caption, image, on_click, false, true};
}

const std::array kMainLayout = {
    Entry{"MainComposer", "", Composer{":/skin/main.vsk"}},
    Entry{"Skin", "",
          Skin{{0, 0, 518, 425}, "playerSkin.bmp", clFuchsia, "MainComposer", "MainMenu"}},
    Entry{"ProgressBar", "Skin",
          Slider{{4, 182, 295, 8},
                 {"3. thumb.bmp", 0, 40, 6},
                 "Progress",
                 0,
                 100,
                 0,
                 clFuchsia,
                 "ProgressBarClick"}},
    Entry{"PrevBtn", "Skin", Button{{15, 195, 22, 14}, {kButtons, 16, 110, 14}, "PrevBtnClick"}},
    Entry{"PlayBtn", "Skin", Button{{37, 195, 21, 14}, {kButtons, 32, 105, 14}, "PlayBtnClick"}},
    Entry{"PauseBtn", "Skin", Button{{58, 195, 23, 14}, {kButtons, 48, 115, 14}, "PauseBtnClick"}},
    Entry{"StopBtn", "Skin", Button{{81, 195, 22, 14}, {kButtons, 64, 110, 14}, "StopBtnClick"}},
    Entry{"NextBtn", "Skin", Button{{103, 195, 23, 14}, {kButtons, 0, 115, 14}, "NextBtnClick"}},
    Entry{"EjectBtn", "Skin", Button{{126, 195, 22, 14}, {kButtons, 80, 110, 14}, "EjectBtnClick"}},
    Entry{"TitleLabel", "Skin",
          Label{{36, 85, 265, 13},
                "VO Dezaru",
                false,
                {"MS Sans Serif", 8, true, clWindowText},
                "MainMenu"}},
    Entry{"MenuBtn", "Skin", Button{{4, 88, 9, 8}, {"RoundBtn.bmp", 0, 45, 8}, "ShowMenu"}},
    Entry{"ProgressBar2", "Skin",
          Bar{{226, 168, 73, 9}, {"mod_progress2.bmp", 0, 14, 4}, 0, 127, 0, 1, "MainMenu"}},
    Entry{"Position_Label", "Skin", Label{{7, 107, 40, 13}, "Position:", true, {}, "MainMenu"}},
    Entry{"PosLabel", "Skin", Label{{48, 107, 105, 13}, "", false, {}, "MainMenu"}},
    Entry{"FormatLamps", "Skin", Lamps{{186, 109, 92, 11}, ":/skin/lamps.bmp"}},
    Entry{"AddFiles", "Skin",
          Button{{10, 349, 45, 14}, {kPlaylistButtons, 0, 225, 14}, "AddFilesClick"}},
    Entry{"Removefile", "Skin",
          Button{{55, 349, 45, 14}, {kPlaylistButtons, 15, 225, 14}, "RemovefileClick"}},
    Entry{"SortBtn", "Skin",
          Button{{100, 349, 45, 14}, {kPlaylistButtons, 30, 225, 14}, "SortBtnClick"}},
    Entry{"LoadBtn", "Skin",
          Button{{170, 349, 45, 14}, {kPlaylistButtons, 60, 225, 14}, "LoadBtnClick"}},
    Entry{"SaveBtn", "Skin",
          Button{{215, 349, 45, 14}, {kPlaylistButtons, 45, 225, 14}, "SaveBtnClick"}},
    Entry{"MIDIPlayer", "", MediaPlayer{}},
    Entry{"Playlist", "Skin", ListBox{{112, 376, 57, 25}, false, 13}},
    Entry{"PlaylistShow", "Skin",
          PlaylistView{
              {6, 224, 251, 116}, "PlaylistMenu", "PlaylistShowDblClick", "PlaylistShowChange"}},

    Entry{"OpenDialog", "", Dialog{false, "", kSoundFilter, ofHideReadOnly | ofEnableSizing, ""}},
    Entry{"PositionTimer", "", Timer{false, 250, "DisplayPosition"}},
    Entry{"ModTimer", "", Timer{false, 10, "ModTimerTimer"}},
    Entry{"NextTimer", "", Timer{true, 10, "NextTimerTimer"}},
    Entry{"VisualStyles", "", VisualStyles{}},
    Entry{"MenuThumbs", "", ImageList{":/menu/menu_thumbs.bmp", 16, 16, clFuchsia}},
    Entry{"TrayIcon", "",
          TrayIcon{"VO Dezaru", ":/icons/vodezaru-48.png", "TrayMenu", "TrayIconClick", true}},
    Entry{"TrayMenu", "", PopupMenu{"MenuThumbs"}},
    Entry{"PlaylistMenu", "", PopupMenu{"MenuThumbs"}},
    Entry{"MainMenu", "", PopupMenu{"MenuThumbs"}},
    Entry{"AddFileDialog", "",
          Dialog{false, "Add file(s) to playlist...", kSoundFilter,
                 ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing, ""}},
    Entry{"OpenPlaylist", "",
          Dialog{false, "Open VO Dezaru Playlist...", kPlaylistFilter, ofHideReadOnly, ""}},
    Entry{"SavePlaylist", "",
          Dialog{true, "Save VO Dezaru Playlist...", kPlaylistFilter, ofHideReadOnly, "pvl"}},

    // TrayMenu
    Entry{"MenuRestore", "", MenuItem{"TrayMenu", "Restore", -1, "TrayIconClick", true, true}},
    Entry{"About2", "", Item("TrayMenu", "About", 10, "About1Click")},
    Entry{"N2", "", Separator("TrayMenu")},
    Entry{"Previous1", "", Item("TrayMenu", "Previous", 2, "PrevBtnClick")},
    Entry{"Play1", "", Item("TrayMenu", "Play", 3, "PlayBtnClick")},
    Entry{"Pause1", "", Item("TrayMenu", "Pause", 4, "PauseBtnClick")},
    Entry{"Stop1", "", Item("TrayMenu", "Stop", 5, "StopBtnClick")},
    Entry{"Next1", "", Item("TrayMenu", "Next", 6, "NextBtnClick")},
    Entry{"N1", "", Separator("TrayMenu")},
    Entry{"Close2", "", Item("TrayMenu", "Close", 1, "MenuCloseClick")},
    // PlaylistMenu
    Entry{"MenuNewPlaylist", "", Item("PlaylistMenu", "New Playlist", 7, "MenuNewPlaylistClick")},
    Entry{"MenuLoadPlaylist", "", Item("PlaylistMenu", "Load Playlist", 8, "LoadBtnClick")},
    Entry{"MenuSavePlaylist", "", Item("PlaylistMenu", "Save Playlist", 9, "SaveBtnClick")},
    // MainMenu
    Entry{
        "VODezaru1", "",
        MenuItem{"MainMenu", "\xC2\xAB\xC2\xAB VO Dezaru \xC2\xBB\xC2\xBB", -1, "", false, false}},
    Entry{"N3", "", Separator("MainMenu")},
    Entry{"Playback1", "", Submenu("MainMenu", "Playback  ", 3)},
    Entry{"previous2", "", Item("Playback1", "Previous", 2, "PrevBtnClick")},
    Entry{"Play2", "", Item("Playback1", "Play", 3, "PlayBtnClick")},
    Entry{"Pause2", "", Item("Playback1", "Pause", 4, "PauseBtnClick")},
    Entry{"Stop2", "", Item("Playback1", "Stop", 5, "StopBtnClick")},
    Entry{"Next2", "", Item("Playback1", "Next", 6, "NextBtnClick")},
    Entry{"Playlist1", "", Submenu("MainMenu", "Playlist  ", 7)},
    Entry{"NewPlaylist1", "", Item("Playlist1", "New Playlist", 7, "MenuNewPlaylistClick")},
    Entry{"LoadPlaylist1", "", Item("Playlist1", "Load Playlist", 8, "LoadBtnClick")},
    Entry{"SavePlaylist1", "", Item("Playlist1", "Save Playlist", 9, "SaveBtnClick")},
    Entry{"N5", "", Separator("MainMenu")},
    Entry{"About1", "", Item("MainMenu", "About", 10, "About1Click")},
    Entry{"Minimize1", "", Item("MainMenu", "Minimize", 0, "MenuMinimizeClick")},
    Entry{"Close1", "", Item("MainMenu", "Close", 1, "MenuCloseClick")},
    // The menu painter comes last, so that taking over the menus finds every item in place.
    Entry{"CLFormFX", "", FlatMenu{}},
};

} // namespace

std::span<const layout::Entry> MainWindowLayout() {
    return kMainLayout;
}

} // namespace vd
