#include "app/MainWindow.h"

#include "app/DroppedFiles.h"
#include "app/FormatLamps.h"
#include "app/Layout.h"
#include "app/LayoutBuilder.h"
#include "app/PlayerVolume.h"
#include "app/Settings.h"
#include "audio/AudioOutput.h"
#include "audio/FileTypes.h"
#include "audio/ModLib.h"
#include "framework/Application.h"
#include "framework/Dialogs.h"
#include "framework/ImageList.h"
#include "framework/ListBox.h"
#include "framework/Menus.h"
#include "framework/Timer.h"
#include "framework/core/IniFile.h"
#include "player/MediaPlayer.h"
#include "playlist/file/PlaylistFile.h"
#include "skin/VsButtons.h"
#include "skin/VsComposer.h"
#include "skin/VsLabel.h"
#include "skin/VsProgressBar.h"
#include "skin/VsSkin.h"
#include "skin/VsSlider.h"
#include "widgets/TrayIcon.h"

#include <QWidget>

#include <cstdio>
#include <filesystem>

namespace vd {

namespace {

constexpr TPoint kDesignedPosition{202, 107};
constexpr int kClientWidth = 518;
constexpr int kClientHeight = 425;
constexpr std::string_view kSettingsSection = "Config";
constexpr std::string_view kVolumeKey = "Volume";

template <class T>
T* Component(TComponent& owner, std::string_view name) {
    return LayoutComponent<T>(owner, name);
}

} // namespace

TPlayer::TPlayer(TComponent* owner, Options options) : TForm(owner), options_(std::move(options)) {
    SetName("Player");
    SetCaption("Velora Player");
    SetBounds(kDesignedPosition.X, kDesignedPosition.Y, kClientWidth, kClientHeight);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    SetCursor(crDrag);

    BuildLayout(*this, MainWindowLayout(), LayoutHandlersOfThisWindow());
    FindComponents();
    entries_ = std::make_unique<TwoListPlaylist>(*Playlist, *PlaylistShow);
    PlaybackDisplay& display = *this;
    PlaylistAccess& playlist = *this;
    controller_ = std::make_unique<PlaybackController>(display, playlist, *MIDIPlayer,
                                                       *PositionTimer, *ModTimer);
    ConnectKeys();
    SetOnDropFiles(
        [this](TComponent*, const std::vector<std::string>& files) { FilesDropped(files); });
    ConnectVolume();
    SetTimerWakes();
    OnCreate = [this](TComponent* sender) { FormCreate(sender); };
    // The desktop closing the window (close box, Alt+F4, the session ending, a termination
    // signal) is the menu's Close: the position is kept and the program ends.
    OnCloseRequest = [this](TComponent* sender) { MenuCloseClick(sender); };
    DoCreate();
}

LayoutHandlers TPlayer::LayoutHandlersOfThisWindow() {
    LayoutHandlers handlers;
    auto bind = [&](std::string name, void (TPlayer::*method)(TComponent*)) {
        handlers.notify.emplace(std::move(name),
                                [this, method](TComponent* s) { (this->*method)(s); });
    };
    bind("ShowMenu", &TPlayer::ShowMenu);
    bind("MenuMinimizeClick", &TPlayer::MenuMinimizeClick);
    bind("TrayIconClick", &TPlayer::TrayIconClick);
    bind("MenuCloseClick", &TPlayer::MenuCloseClick);
    bind("About1Click", &TPlayer::About1Click);
    bind("PlayBtnClick", &TPlayer::PlayBtnClick);
    bind("PauseBtnClick", &TPlayer::PauseBtnClick);
    bind("StopBtnClick", &TPlayer::StopBtnClick);
    bind("PrevBtnClick", &TPlayer::PrevBtnClick);
    bind("NextBtnClick", &TPlayer::NextBtnClick);
    bind("EjectBtnClick", &TPlayer::EjectBtnClick);
    bind("ProgressBarClick", &TPlayer::ProgressBarClick);
    bind("DisplayPosition", &TPlayer::DisplayPosition);
    bind("ModTimerTimer", &TPlayer::ModTimerTimer);
    bind("NextTimerTimer", &TPlayer::NextTimerTimer);
    bind("AddFilesClick", &TPlayer::AddFilesClick);
    bind("RemovefileClick", &TPlayer::RemovefileClick);
    bind("SortBtnClick", &TPlayer::SortBtnClick);
    bind("PlaylistShowDblClick", &TPlayer::PlaylistShowDblClick);
    bind("MenuNewPlaylistClick", &TPlayer::MenuNewPlaylistClick);
    bind("LoadBtnClick", &TPlayer::LoadBtnClick);
    bind("SaveBtnClick", &TPlayer::SaveBtnClick);
    handlers.playlist_change = [this](TComponent* sender, int old_index, int new_index) {
        PlaylistShowChange(sender, old_index, new_index);
    };
    return handlers;
}

void TPlayer::ConnectKeys() {
    // The main menu shows the keys of its commands.
    for (const auto& [item, keys] :
         {std::pair{"Play2", TShortCut{VK_SPACE}}, std::pair{"Pause2", TShortCut{VK_SPACE}},
          std::pair{"Close1", TShortCut(scCtrl | 'Q')}})
        Component<TMenuItem>(*this, item)->SetShortCut(keys);
    OnKeyDown = [this](TComponent* sender, uint16_t& key, TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
    // The playlist would take Left and Right as Up and Down: here they seek.
    PlaylistShow->OnKeyDown = [this](TComponent* sender, uint16_t& key, TShiftState shift) {
        if ((key == VK_LEFT || key == VK_RIGHT) && (shift & (ssCtrl | ssAlt | ssShift)) == 0)
            FormKeyDown(sender, key, shift);
    };
}

void TPlayer::ConnectVolume() {
    // The output opens when something first plays, not for the volume.
    volume_ = std::make_unique<PlayerVolume>(AudioOutput::set_process_volume);
    // The wheel over the face turns the volume; the playlist keeps the wheel for scrolling.
    Skin->OnMouseWheel = [this](TComponent*, TShiftState, int wheel_delta, TPoint) {
        volume_->Wheel(wheel_delta);
        return true;
    };
}

void TPlayer::SetTimerWakes() {
    // The two 10 ms timers keep their beat but wake the process only when their work can show
    // something new: the module timer when the row heard moves on (the module tells of rows it
    // rendered, the timer then waits until they are heard), the end check after anything else
    // happened.
    ModTimer->SetWake(TTimerWake::OnNotice);
    NextTimer->SetWake(TTimerWake::AfterActivity);
    modlib_set_change_listener(ModTimer->DueNotifier());
}

TPlayer::~TPlayer() {
    BeginDestruction();
    modlib_set_change_listener(nullptr);
    // The timers call into the controller: they go before it does.
    DestroyComponents();
}

void TPlayer::FindComponents() {
    MainComposer = Component<TVsComposer>(*this, "MainComposer");
    Skin = Component<TVsSkin>(*this, "Skin");
    ProgressBar = Component<TVsSlider>(*this, "ProgressBar");
    PrevBtn = Component<TVsButton>(*this, "PrevBtn");
    PlayBtn = Component<TVsButton>(*this, "PlayBtn");
    PauseBtn = Component<TVsButton>(*this, "PauseBtn");
    StopBtn = Component<TVsButton>(*this, "StopBtn");
    NextBtn = Component<TVsButton>(*this, "NextBtn");
    EjectBtn = Component<TVsButton>(*this, "EjectBtn");
    TitleLabel = Component<TVsLabel>(*this, "TitleLabel");
    MenuBtn = Component<TVsButton>(*this, "MenuBtn");
    ProgressBar2 = Component<TVsProgressBar>(*this, "ProgressBar2");
    Position_Label = Component<TVsLabel>(*this, "Position_Label");
    PosLabel = Component<TVsLabel>(*this, "PosLabel");
    FormatLamps = Component<TFormatLamps>(*this, "FormatLamps");
    MIDIPlayer = Component<TMediaPlayer>(*this, "MIDIPlayer");
    Playlist = Component<TListBox>(*this, "Playlist");
    PlaylistShow = Component<TListBox>(*this, "PlaylistShow");
    OpenDialog = Component<TOpenDialog>(*this, "OpenDialog");
    AddFileDialog = Component<TOpenDialog>(*this, "AddFileDialog");
    OpenPlaylist = Component<TOpenDialog>(*this, "OpenPlaylist");
    SavePlaylist = Component<TOpenDialog>(*this, "SavePlaylist");
    PositionTimer = Component<TTimer>(*this, "PositionTimer");
    ModTimer = Component<TTimer>(*this, "ModTimer");
    NextTimer = Component<TTimer>(*this, "NextTimer");
    MenuThumbs = Component<TImageList>(*this, "MenuThumbs");
    TrayIcon = Component<TTrayIcon>(*this, "TrayIcon");
    TrayMenu = Component<TPopupMenu>(*this, "TrayMenu");
    PlaylistMenu = Component<TPopupMenu>(*this, "PlaylistMenu");
    MainMenu = Component<TPopupMenu>(*this, "MainMenu");
}

// ---- start-up, menus, closing -----------------------------------------------------------------

void TPlayer::FormCreate(TComponent*) {
    controller_->Reset();

    settings_path_ = options_.settings_path;
    if (settings_path_.empty()) {
        const TApplication* app = TApplication::Instance();
        settings_path_ = SettingsPathFor(app != nullptr ? app->ExeName() : "vodezaru");
    }
    const TIniFile settings(settings_path_);
    const std::optional<int> left = ParseDecimal(settings.ReadString(kSettingsSection, "Left", ""));
    const std::optional<int> top = ParseDecimal(settings.ReadString(kSettingsSection, "Top", ""));
    const std::vector<TRect> screens = ScreenRects();
    const TPoint at = StartPosition(left, top, kDesignedPosition, Width(), Height(), screens);
    if (TApplication::PlacesWindows())
        SetBounds(at.X, at.Y, Width(), Height());
    if (const auto volume =
            PlayerVolume::FromSetting(settings.ReadString(kSettingsSection, kVolumeKey, "")))
        volume_->SetPercent(*volume);

    if (!options_.files.empty()) {
        OpenStartFiles();
        return;
    }
    if (options_.arguments.empty())
        return;
    command_line_path_ = options_.arguments.front();
    for (std::size_t i = 1; i < options_.arguments.size(); ++i)
        command_line_path_ += " " + options_.arguments[i];
    if (!HasExtension(command_line_path_, kPlaylistExtension))
        OpenSingleFile();
    else
        LoadPlaylistFile(command_line_path_);
}

void TPlayer::OpenSingleFile() {
    entries_->Clear();
    entries_->Append(command_line_path_);
    controller_->PlayEntryAt(0);
}

void TPlayer::LoadPlaylistFile(const std::string& path) {
    entries_->LoadFromFile(path);
}

void TPlayer::OpenStartFiles() {
    const std::vector<std::string>& files = options_.files;
    command_line_path_ = files.front();
    // One path keeps the classic start: a playlist is listed, a sound file plays alone.
    if (files.size() == 1) {
        if (!HasExtension(command_line_path_, kPlaylistExtension))
            OpenSingleFile();
        else
            LoadPlaylistFile(command_line_path_);
        return;
    }
    entries_->Clear();
    OpenFiles(files, true);
}

void TPlayer::OpenFiles(const std::vector<std::string>& paths, bool play) {
    const int first = entries_->Count();
    for (const std::string& path : paths) {
        if (HasExtension(path, kPlaylistExtension))
            entries_->Append(ResolvePlaylistEntries(vd::LoadPlaylistFile(path), path));
        else
            entries_->Append(path);
    }
    if (play && entries_->Count() > first)
        controller_->PlayEntryAt(first);
}

void TPlayer::FilesDropped(const std::vector<std::string>& paths) {
    const bool was_playing = controller_->Playing();
    int first_sound = -1;
    for (const DroppedItem& item : ExpandDroppedPaths(paths)) {
        if (item.kind == DroppedItem::Kind::Playlist) {
            LoadPlaylistFile(item.path);
            first_sound = -1; // the entries it replaced are gone
            continue;
        }
        if (first_sound < 0)
            first_sound = entries_->Count();
        entries_->Append(item.path);
    }
    if (!was_playing && first_sound >= 0)
        controller_->PlayEntryAt(first_sound);
}

void TPlayer::BringToFront() {
    const TApplication* app = TApplication::Instance();
    if (TrayIcon->IconVisible() || !Visible() || (app != nullptr && app->Minimized()))
        TrayIconClick(nullptr);
    QWidget* window = Widget();
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}

bool TPlayer::PerformAction(std::string_view name) {
    if (name == "play-pause")
        PlayOrPause();
    else if (name == "next")
        controller_->PlayNextEntry();
    else if (name == "previous")
        controller_->PlayPreviousEntry();
    else if (name == "stop")
        controller_->StopPlayback();
    else
        return false;
    return true;
}

void TPlayer::FormKeyDown(TComponent*, uint16_t& key, TShiftState shift) {
    constexpr int32_t kSeekStepMs = 5000;
    const bool plain = (shift & (ssCtrl | ssAlt)) == 0;
    const bool ctrl = (shift & (ssCtrl | ssAlt)) == ssCtrl;
    const uint16_t pressed = key;
    key = 0; // taken, unless the switch below lets it go
    if (plain && pressed == VK_SPACE) {
        PlayOrPause();
    } else if (plain && pressed == VK_RETURN) {
        if (entries_->SelectedIndex() >= 0)
            controller_->PlayEntryAt(entries_->SelectedIndex());
        else
            controller_->PlayBtnClick();
    } else if (plain && pressed == VK_DELETE) {
        RemovefileClick(this);
    } else if (plain && pressed == VK_LEFT) {
        controller_->SeekBy(-kSeekStepMs);
    } else if (plain && pressed == VK_RIGHT) {
        controller_->SeekBy(kSeekStepMs);
    } else if (ctrl && pressed == 'O') {
        EjectBtnClick(this);
    } else if (ctrl && pressed == 'Q') {
        MenuCloseClick(this);
    } else if (pressed == VK_MEDIA_PLAY_PAUSE) {
        PlayOrPause();
    } else if (pressed == VK_MEDIA_NEXT_TRACK) {
        controller_->PlayNextEntry();
    } else if (pressed == VK_MEDIA_PREV_TRACK) {
        controller_->PlayPreviousEntry();
    } else if (pressed == VK_MEDIA_STOP) {
        controller_->StopPlayback();
    } else {
        key = pressed;
    }
}

void TPlayer::PlayOrPause() {
    if (controller_->Kind() == FileKind::None)
        controller_->PlayBtnClick();
    else
        controller_->TogglePause();
}

void TPlayer::ShowMenu(TComponent*) {
    MainMenu->Popup(Left() + 4, Top() + MenuBtn->Top() + 8);
}

void TPlayer::MenuMinimizeClick(TComponent*) {
    if (TApplication* app = TApplication::Instance())
        app->Minimize();
}

void TPlayer::TrayIconClick(TComponent*) {
    if (TApplication* app = TApplication::Instance())
        app->Restore();
    TrayIcon->SetIconVisible(false);
}

void TPlayer::About1Click(TComponent*) {
    if (about_dialog_ != nullptr)
        about_dialog_->ShowModal();
}

void TPlayer::MenuCloseClick(TComponent*) {
    // The position is worth keeping, but not worth staying open for: a settings file that
    // cannot be written does not stop the program from closing.
    try {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(settings_path_).parent_path(),
                                            ignored);
        TIniFile settings(settings_path_);
        if (TApplication::PlacesWindows()) {
            settings.WriteString(kSettingsSection, "Left", std::to_string(Left()));
            settings.WriteString(kSettingsSection, "Top", std::to_string(Top()));
        }
        settings.WriteString(kSettingsSection, kVolumeKey, volume_->SettingText());
        settings.UpdateFile();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vodezaru: the window position was not saved: %s\n", error.what());
    }
    MODLIB_Free();
    Close();
}

// ---- playback ---------------------------------------------------------------------------------

void TPlayer::PlayBtnClick(TComponent*) {
    controller_->PlayBtnClick();
}
void TPlayer::PauseBtnClick(TComponent*) {
    controller_->TogglePause();
}
void TPlayer::StopBtnClick(TComponent*) {
    controller_->StopPlayback();
}
void TPlayer::PrevBtnClick(TComponent*) {
    controller_->PlayPreviousEntry();
}
void TPlayer::NextBtnClick(TComponent*) {
    controller_->PlayNextEntry();
}
void TPlayer::ProgressBarClick(TComponent*) {
    controller_->ProgressBarClick();
}
void TPlayer::DisplayPosition(TComponent*) {
    controller_->UpdatePosition();
}
void TPlayer::ModTimerTimer(TComponent*) {
    controller_->ModTimerTimer();
    // The sound device holds what was rendered for a while: the next row is shown when it is
    // heard. Without a known next row, the module's notice wakes the timer.
    if (const auto in_ms = modlib_next_change_in_ms())
        ModTimer->DueIn(*in_ms);
}
void TPlayer::NextTimerTimer(TComponent*) {
    controller_->NextTimerTimer();
    UpdateLamps();
}

void TPlayer::UpdateLamps() {
    // A module plays from its start until the engine's stop switches its timer off; a media
    // file while its device plays or pauses.
    bool playing = false;
    if (controller_->Kind() == FileKind::Module)
        playing = ModTimer->Enabled() && MODLIB_MusicGetLength(0) != 0;
    else if (controller_->Kind() == FileKind::Media && MIDIPlayer->IsOpen()) {
        const TMPModes mode = MIDIPlayer->Mode();
        playing = mode == TMPModes::mpPlaying || mode == TMPModes::mpPaused;
    }
    FormatLamps->SetLit(playing ? LampFor(controller_->Kind(), MIDIPlayer->FileName())
                                : FormatLamp::Off);
}

void TPlayer::EjectBtnClick(TComponent*) {
    if (!OpenDialog->Execute())
        return;
    const std::string path = OpenDialog->FileName();
    entries_->Clear();
    entries_->Append(path);
    controller_->PlayEntryAt(0);
}

// ---- playlist ---------------------------------------------------------------------------------

void TPlayer::AddFilesClick(TComponent*) {
    if (!AddFileDialog->Execute())
        return;
    entries_->Append(AddFileDialog->Files());
}

void TPlayer::RemovefileClick(TComponent*) {
    entries_->RemoveSelected();
}

void TPlayer::SortBtnClick(TComponent*) {
    entries_->Sort();
}

void TPlayer::PlaylistShowChange(TComponent*, int, int new_index) {
    entries_->MirrorSelection(new_index);
}

void TPlayer::PlaylistShowDblClick(TComponent*) {
    // Below the last entry, or on an empty list, the double click is not meant for an entry.
    const int index = PlaylistShow->ItemAtPress();
    if (index < 0)
        return;
    controller_->PlayEntryAt(index);
}

void TPlayer::MenuNewPlaylistClick(TComponent*) {
    entries_->Clear();
}

void TPlayer::LoadBtnClick(TComponent*) {
    if (!OpenPlaylist->Execute())
        return;
    LoadPlaylistFile(OpenPlaylist->FileName());
}

void TPlayer::SaveBtnClick(TComponent*) {
    if (!SavePlaylist->Execute())
        return;
    entries_->SaveToFile(SavePlaylist->FileName());
}

// ---- what the controller shows and reads ------------------------------------------------------

std::string TPlayer::Title() const {
    return TitleLabel->Caption();
}
void TPlayer::SetTitle(const std::string& text) {
    TitleLabel->SetCaption(text);
}
void TPlayer::SetPositionText(const std::string& text) {
    PosLabel->SetCaption(text);
}
int32_t TPlayer::SliderPosition() const {
    return ProgressBar->Position();
}
int32_t TPlayer::SliderMax() const {
    return ProgressBar->MaxValue();
}
void TPlayer::SetSliderMax(int32_t value) {
    ProgressBar->SetMaxValue(value);
}
void TPlayer::SetSliderPosition(int32_t value) {
    ProgressBar->SetPosition(value);
}
bool TPlayer::SliderHeld() const {
    return ProgressBar->Held();
}
int32_t TPlayer::RowBar() const {
    return ProgressBar2->Position();
}
void TPlayer::SetRowBar(int32_t row) {
    ProgressBar2->SetPosition(row);
}
void TPlayer::SetTrayHint(const std::string& text) {
    TrayIcon->SetHint(text);
}
void TPlayer::ReportError(std::exception_ptr error) {
    TApplication::HandleException(std::move(error));
}

int TPlayer::Count() const {
    return entries_->Count();
}
int TPlayer::SelectedIndex() const {
    return entries_->SelectedIndex();
}
void TPlayer::Select(int index) {
    entries_->Select(index);
}
std::string TPlayer::PathAt(int index) const {
    return entries_->PathAt(index);
}
void TPlayer::SetPlayingIndex(int index) {
    entries_->SetPlayingIndex(index);
}

} // namespace vd
