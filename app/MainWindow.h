#pragma once

#include "app/LayoutBuilder.h"
#include "framework/Forms.h"
#include "player/PlaybackController.h"
#include "playlist/TwoListPlaylist.h"

#include <memory>
#include <string>
#include <vector>

namespace vd {

class TVsComposer;
class TVsSkin;
class TVsSlider;
class TVsButton;
class TVsLabel;
class TVsProgressBar;
class TFormatLamps;
class TMediaPlayer;
class TListBox;
class TOpenDialog;
class TTimer;
class TImageList;
class TTrayIcon;
class TPopupMenu;
class PlayerVolume;

// The player's one window: the skin with its controls, the playlist, the menus and the timers.
// The playback controller and the playlist do the work; the window binds them to its components.
class TPlayer : public TForm, private PlaybackDisplay, private PlaylistAccess {
public:
    struct Options {
        // The settings file; empty: beside the program (see SettingsPathFor).
        std::string settings_path;
        // The command-line arguments after the program's name, joined into one path at start.
        std::vector<std::string> arguments;
        // Files and playlists to open at start, already resolved; when given, `arguments` is
        // not read.
        std::vector<std::string> files;
    };

    TPlayer(TComponent* owner, Options options);
    ~TPlayer() override;

    // Components, by their layout names.
    TVsComposer* MainComposer = nullptr;
    TVsSkin* Skin = nullptr;
    TVsSlider* ProgressBar = nullptr;
    TVsButton* PrevBtn = nullptr;
    TVsButton* PlayBtn = nullptr;
    TVsButton* PauseBtn = nullptr;
    TVsButton* StopBtn = nullptr;
    TVsButton* NextBtn = nullptr;
    TVsButton* EjectBtn = nullptr;
    TVsLabel* TitleLabel = nullptr;
    TVsButton* MenuBtn = nullptr;
    TVsProgressBar* ProgressBar2 = nullptr;
    TVsLabel* Position_Label = nullptr;
    TVsLabel* PosLabel = nullptr;
    TFormatLamps* FormatLamps = nullptr;
    TMediaPlayer* MIDIPlayer = nullptr;
    TListBox* Playlist = nullptr;
    TListBox* PlaylistShow = nullptr;
    TOpenDialog* OpenDialog = nullptr;
    TOpenDialog* AddFileDialog = nullptr;
    TOpenDialog* OpenPlaylist = nullptr;
    TOpenDialog* SavePlaylist = nullptr;
    TTimer* PositionTimer = nullptr;
    TTimer* ModTimer = nullptr;
    TTimer* NextTimer = nullptr;
    TImageList* MenuThumbs = nullptr;
    TTrayIcon* TrayIcon = nullptr;
    TPopupMenu* TrayMenu = nullptr;
    TPopupMenu* PlaylistMenu = nullptr;
    TPopupMenu* MainMenu = nullptr;

    // The path joined from the command-line arguments.
    [[nodiscard]] const std::string& CommandLinePath() const { return command_line_path_; }
    [[nodiscard]] const std::string& SettingsPath() const { return settings_path_; }
    PlaybackController& Controller() { return *controller_; }
    TwoListPlaylist& Entries() { return *entries_; }
    // The playback volume: the wheel over the skin, the desktop's controls, the settings file.
    PlayerVolume& Volume() { return *volume_; }
    void SetAboutDialog(TForm* dialog) { about_dialog_ = dialog; }

    // Handlers, bound by name in the layout.
    void FormCreate(TComponent* sender);
    void ShowMenu(TComponent* sender);
    void MenuMinimizeClick(TComponent* sender);
    void TrayIconClick(TComponent* sender);
    void MenuCloseClick(TComponent* sender);
    void About1Click(TComponent* sender);
    void OpenSingleFile();

    void PlayBtnClick(TComponent* sender);
    void PauseBtnClick(TComponent* sender);
    void StopBtnClick(TComponent* sender);
    void PrevBtnClick(TComponent* sender);
    void NextBtnClick(TComponent* sender);
    void EjectBtnClick(TComponent* sender);
    void ProgressBarClick(TComponent* sender);
    void DisplayPosition(TComponent* sender);
    void ModTimerTimer(TComponent* sender);
    void NextTimerTimer(TComponent* sender);

    void AddFilesClick(TComponent* sender);
    void RemovefileClick(TComponent* sender);
    void SortBtnClick(TComponent* sender);
    void PlaylistShowChange(TComponent* sender, int old_index, int new_index);
    void PlaylistShowDblClick(TComponent* sender);
    void MenuNewPlaylistClick(TComponent* sender);
    void LoadBtnClick(TComponent* sender);
    void SaveBtnClick(TComponent* sender);

    // Loads a playlist file into both lists, as the command line and Load do.
    void LoadPlaylistFile(const std::string& path);

    // Files handed over by the desktop (a later start, a drop): appended in order, the entries
    // of a playlist file in its place. With `play`, the first of them starts.
    void OpenFiles(const std::vector<std::string>& paths, bool play);
    // Files and folders dropped on the window: sound files are appended (folders opened), a
    // playlist file is loaded as Load does; when nothing played, the first sound file starts.
    void FilesDropped(const std::vector<std::string>& paths);
    // Shows the window in front, restored from the tray if it was there.
    void BringToFront();
    // A control command from outside: "play-pause", "next", "previous" or "stop". False for an
    // unknown name.
    bool PerformAction(std::string_view name);
    // Play, or pause while playing (Space, the media keys).
    void PlayOrPause();
    // The player's keys, wherever the focus is in the window (the playlist passes on the keys it
    // does not use; Left and Right are taken from it).
    void FormKeyDown(TComponent* sender, uint16_t& key, TShiftState shift);

private:
    // PlaybackDisplay
    [[nodiscard]] std::string Title() const override;
    void SetTitle(const std::string& text) override;
    void SetPositionText(const std::string& text) override;
    [[nodiscard]] int32_t SliderPosition() const override;
    [[nodiscard]] int32_t SliderMax() const override;
    void SetSliderMax(int32_t value) override;
    void SetSliderPosition(int32_t value) override;
    [[nodiscard]] bool SliderHeld() const override;
    [[nodiscard]] int32_t RowBar() const override;
    void SetRowBar(int32_t row) override;
    void SetTrayHint(const std::string& text) override;
    void ReportError(std::exception_ptr error) override;
    // PlaylistAccess
    [[nodiscard]] int Count() const override;
    [[nodiscard]] int SelectedIndex() const override;
    void Select(int index) override;
    [[nodiscard]] std::string PathAt(int index) const override;
    void SetPlayingIndex(int index) override;

    // The constructor's steps: the layout's handlers by name, the keys, the wheel's volume, and
    // when the two 10 ms timers wake.
    [[nodiscard]] LayoutHandlers LayoutHandlersOfThisWindow();
    void ConnectKeys();
    void ConnectVolume();
    void SetTimerWakes();
    void FindComponents();
    // Lights the lamp of the file that plays (also while it is paused); all dark once stopped.
    void UpdateLamps();
    void OpenStartFiles();
    Options options_;
    std::string settings_path_;
    std::string command_line_path_;
    std::unique_ptr<TwoListPlaylist> entries_;
    std::unique_ptr<PlaybackController> controller_;
    std::unique_ptr<PlayerVolume> volume_;
    TForm* about_dialog_ = nullptr;
};

} // namespace vd
