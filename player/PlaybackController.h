#pragma once

#include "audio/FileTypes.h"

#include <cstdint>
#include <exception>
#include <string>

namespace vd {

class TMediaPlayer;
class TTimer;

// What the controller shows: the main window's title, position text, seek slider, row bar and
// tray hint. The window implements it; tests give a fake.
class PlaybackDisplay {
public:
    virtual ~PlaybackDisplay() = default;
    [[nodiscard]] virtual std::string Title() const = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetPositionText(const std::string& text) = 0;
    [[nodiscard]] virtual int32_t SliderPosition() const = 0;
    [[nodiscard]] virtual int32_t SliderMax() const = 0;
    // The slider keeps its maximum when given one not above its minimum 0, and clamps positions.
    virtual void SetSliderMax(int32_t value) = 0;
    virtual void SetSliderPosition(int32_t value) = 0;
    // The person holds the slider (pressed, not yet released): it shows where they put it, not
    // where playback is, until the release seeks there.
    [[nodiscard]] virtual bool SliderHeld() const = 0;
    [[nodiscard]] virtual int32_t RowBar() const = 0;
    virtual void SetRowBar(int32_t row) = 0;
    virtual void SetTrayHint(const std::string& text) = 0;
    // Shows an error the controller met on its own (an automatic advance) the way errors of
    // commands are shown; a message box is answered before this returns.
    virtual void ReportError(std::exception_ptr error) = 0;
};

// The entries the controller moves through: the two-list playlist.
class PlaylistAccess {
public:
    virtual ~PlaylistAccess() = default;
    [[nodiscard]] virtual int Count() const = 0;
    // The selected index, -1 for none.
    [[nodiscard]] virtual int SelectedIndex() const = 0;
    // Selects `index` in both lists (an index outside the list selects nothing).
    virtual void Select(int index) = 0;
    // The full path at `index`; fails with "Playlist error: %d files in playlist" outside the list.
    [[nodiscard]] virtual std::string PathAt(int index) const = 0;
    // The entry at `index` is the one started last (-1: none), so that reordering and removing
    // entries can keep it selected.
    virtual void SetPlayingIndex(int index) = 0;
};

// Decides which engine plays a file, starts, pauses, stops and seeks it, keeps the displays up to
// date from the three timers and moves through the playlist at the end of a track.
// GUI thread only.
class PlaybackController {
public:
    PlaybackController(PlaybackDisplay& display, PlaylistAccess& playlist, TMediaPlayer& media,
                       TTimer& position_timer, TTimer& mod_timer);

    [[nodiscard]] FileKind Kind() const { return kind_; }
    [[nodiscard]] int32_t MediaPaused() const { return media_paused_; }
    // True while a track sounds (not paused, stopped or ended).
    [[nodiscard]] bool Playing() const;
    // How many tracks have started so far: a track played again counts again.
    [[nodiscard]] uint64_t Starts() const { return starts_; }
    // Back to nothing loaded (start-up).
    void Reset();

    void DetectFileKind(const std::string& path);
    void LoadFile(const std::string& path);
    void OpenMediaFile(const std::string& path);
    void LoadModule(const std::string& path);
    void StartPlayback();
    void StopPlayback();
    void TogglePause();
    void PlayMediaFile();
    void PlayModule();
    void ShowFileTitle(const std::string& path);
    void ShowModuleTitle();
    void UpdatePosition();
    void PlayNextEntry();
    void PlayPreviousEntry();
    // Moves the playing position by `delta_ms` (negative: back), within the track; a module,
    // whose position is its order, moves by one order that way.
    void SeekBy(int32_t delta_ms);
    // Selects the entry at `index` and plays it from its start: what Play, a double-click, Eject
    // and the command line do. An index outside the list fails before anything is stopped.
    void PlayEntryAt(int index);

    // Handlers.
    void PlayBtnClick();
    void ProgressBarClick();
    void ModTimerTimer();
    void NextTimerTimer();

    // The text of the message shown when every entry of the list failed to start in a row.
    static constexpr const char* kNothingPlayable =
        "None of the files in the playlist could be played.";

private:
    void PlayEntry(int index);
    // True while the current engine has something loaded that the position can be asked of.
    [[nodiscard]] bool Loaded() const;
    // The end of a track moves on, past entries that fail to start, each reported once.
    void AdvanceAfterEnd();
    PlaybackDisplay& display_;
    PlaylistAccess& playlist_;
    TMediaPlayer& media_;
    TTimer& position_timer_;
    TTimer& mod_timer_;
    FileKind kind_ = FileKind::None;
    int32_t media_paused_ = 0;
    // Since the last start, the slider (and for a module the row bar) show the new track; until
    // then the end-of-track test would read the previous track's values.
    bool slider_fresh_ = false;
    bool bar_fresh_ = false;
    // Whether the last module load succeeded (the media engine knows for itself).
    bool module_loaded_ = false;
    // An automatic advance is under way: the ticks that come while its message box is open
    // must not start another one.
    bool advancing_ = false;
    // Every entry failed to start in a row: no further automatic advance until a start succeeds.
    bool advance_blocked_ = false;
    // Counts the starts, so that an advance can tell whether one came while its message was open.
    uint64_t starts_ = 0;
};

} // namespace vd
