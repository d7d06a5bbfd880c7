#include "player/PlaybackController.h"

#include <algorithm>

#include "audio/ModLib.h"
#include "framework/Timer.h"
#include "framework/Types.h"
#include "framework/core/FilePaths.h"
#include "player/MediaPlayer.h"

#include <exception>
#include <string_view>

namespace vd {

namespace {

constexpr std::string_view kTitleSuffix = " - VO Dezaru";
constexpr int32_t kStopOrderRow = 65537; // order 1, row 1
constexpr int32_t kEndRow = 60;
constexpr std::size_t kTrayHintLimit = 255;

// An error about a file names it by its file name alone: a whole path can be too long to read.
std::string CannotPlayText(const std::string& path, const std::string& reason) {
    return "\"" + std::string(ExtractFileName(path)) + "\" could not be played.\n" + reason;
}

} // namespace

PlaybackController::PlaybackController(PlaybackDisplay& display, PlaylistAccess& playlist,
                                       TMediaPlayer& media, TTimer& position_timer,
                                       TTimer& mod_timer)
    : display_(display), playlist_(playlist), media_(media), position_timer_(position_timer),
      mod_timer_(mod_timer) {}

void PlaybackController::Reset() {
    kind_ = FileKind::None;
    media_paused_ = 0;
    module_loaded_ = false;
    advance_blocked_ = false;
}

bool PlaybackController::Loaded() const {
    if (kind_ == FileKind::Media)
        return media_.IsOpen();
    return kind_ == FileKind::Module && module_loaded_;
}

void PlaybackController::DetectFileKind(const std::string& path) {
    kind_ = KindOfPath(path);
}

void PlaybackController::LoadFile(const std::string& path) {
    DetectFileKind(path);
    slider_fresh_ = false;
    bar_fresh_ = false;
    module_loaded_ = false;
    try {
        if (kind_ == FileKind::Media)
            OpenMediaFile(path);
        else if (kind_ == FileKind::Module)
            LoadModule(path);
    } catch (const std::exception& error) {
        throw Exception(CannotPlayText(path, error.what()));
    }
}

void PlaybackController::OpenMediaFile(const std::string& path) {
    media_.SetFileName(path);
    media_.Open();
}

void PlaybackController::LoadModule(const std::string& path) {
    MODLIB_Free();
    MODLIB_Init(-1, 44100, 32);
    if (MODLIB_MusicLoad(0, path.c_str(), 0, 0, 512) == 0) {
        const std::string reason = modlib_load_error();
        throw Exception(reason.empty() ? "The module could not be loaded." : reason);
    }
    module_loaded_ = true;
}

void PlaybackController::StartPlayback() {
    position_timer_.SetEnabled(true);
    if (kind_ == FileKind::Module)
        mod_timer_.SetEnabled(true);
    if (kind_ == FileKind::Media) {
        PlayMediaFile();
        ShowFileTitle(media_.FileName());
    } else if (kind_ == FileKind::Module) {
        PlayModule();
        ShowModuleTitle();
    }
    if (kind_ != FileKind::None) {
        ++starts_;
        media_paused_ = 0;
        advance_blocked_ = false;
    }
}

void PlaybackController::StopPlayback() {
    media_paused_ = 0;
    if (kind_ == FileKind::Media) {
        // After a failed open there is no device to stop, and the next start must not fail on it.
        if (!media_.IsOpen())
            return;
        media_.Stop();
        media_.Seek(0);
    } else if (kind_ == FileKind::Module) {
        MODLIB_MusicStop();
        MODLIB_MusicSetPosition(kStopOrderRow);
        mod_timer_.SetEnabled(false);
        display_.SetRowBar(0);
    }
}

bool PlaybackController::Playing() const {
    if (kind_ == FileKind::Media)
        return media_.IsOpen() && media_.Mode() == TMPModes::mpPlaying;
    if (kind_ == FileKind::Module)
        return module_loaded_ && MODLIB_MusicIsActive() != 0;
    return false;
}

void PlaybackController::TogglePause() {
    if (kind_ == FileKind::Media) {
        if (!media_.IsOpen())
            return;
        // Asked of the device, not remembered: a stopped or ended track resumes as a paused one
        // does, and the flag follows what the device does.
        if (media_.Mode() == TMPModes::mpPlaying) {
            media_.Pause();
            media_paused_ = 1;
        } else {
            media_.Resume();
            media_paused_ = 0;
        }
    } else if (kind_ == FileKind::Module) {
        if (MODLIB_MusicIsActive() != 0)
            MODLIB_MusicPause();
        else
            MODLIB_MusicPlay();
    }
}

void PlaybackController::PlayMediaFile() {
    media_.Play();
}

void PlaybackController::PlayModule() {
    ShowModuleTitle();
    MODLIB_MusicPlay();
}

void PlaybackController::ShowFileTitle(const std::string& path) {
    display_.SetTitle(std::string(ExtractFileName(path)) + std::string(kTitleSuffix));
}

void PlaybackController::ShowModuleTitle() {
    // A module without a title of its own goes by its file's name, as the playlist shows it.
    std::string name = MODLIB_MusicGetName();
    if (name.find_first_not_of(" \t\r\n\v\f") == std::string::npos)
        name = ExtractFileName(modlib_file_name());
    display_.SetTitle(name + std::string(kTitleSuffix));
}

void PlaybackController::UpdatePosition() {
    // A held slider shows where the person is putting it: the text alone follows playback.
    const bool held = display_.SliderHeld();
    if (kind_ == FileKind::Media) {
        // After a failed open no device is there to ask: leave the displays as they are.
        if (!media_.IsOpen())
            return;
        const uint32_t length = media_.Length();
        const uint32_t position = media_.Position();
        if (!held) {
            display_.SetSliderMax(static_cast<int32_t>(length));
            display_.SetSliderPosition(static_cast<int32_t>(position));
            slider_fresh_ = true;
        }
        display_.SetPositionText(std::to_string(position) + " of " + std::to_string(length));
    } else if (kind_ == FileKind::Module && !held) {
        if (!module_loaded_)
            return;
        display_.SetSliderMax(MODLIB_MusicGetLength(0) & 0xFFFF);
        display_.SetSliderPosition(MODLIB_MusicGetPosition() & 0xFFFF);
        slider_fresh_ = true;
    }
}

void PlaybackController::PlayEntry(int index) {
    const std::string path = playlist_.PathAt(index);
    playlist_.SetPlayingIndex(index);
    StopPlayback();
    LoadFile(path);
    StartPlayback();
}

void PlaybackController::PlayNextEntry() {
    const int n = playlist_.Count();
    int index = playlist_.SelectedIndex();
    if (index < n - 1) {
        ++index;
        playlist_.Select(index);
    } else {
        playlist_.Select(0);
        index = playlist_.SelectedIndex();
    }
    PlayEntry(index);
}

void PlaybackController::PlayPreviousEntry() {
    const int n = playlist_.Count();
    int index = playlist_.SelectedIndex();
    if (index <= 0) {
        playlist_.Select(n - 1);
        index = playlist_.SelectedIndex();
    } else {
        --index;
        playlist_.Select(index);
    }
    PlayEntry(index);
}

void PlaybackController::PlayEntryAt(int index) {
    (void)playlist_.PathAt(index); // an entry that is not there changes nothing
    playlist_.Select(index);
    PlayEntry(index); // whose start switches the position (and module) timer on
}

void PlaybackController::PlayBtnClick() {
    int index = playlist_.SelectedIndex();
    if (index < 0 && playlist_.Count() > 0)
        index = 0;
    PlayEntryAt(index);
}

void PlaybackController::ProgressBarClick() {
    if (kind_ == FileKind::Media) {
        if (!media_.IsOpen())
            return;
        media_.Seek(static_cast<uint32_t>(display_.SliderPosition()));
        media_.Resume();
        media_paused_ = 0;
    } else if (kind_ == FileKind::Module) {
        MODLIB_MusicSetPosition(display_.SliderPosition() & 0xFFFF);
    }
}

void PlaybackController::SeekBy(int32_t delta_ms) {
    if (kind_ == FileKind::Media) {
        if (!media_.IsOpen())
            return;
        const bool playing = media_.Mode() == TMPModes::mpPlaying;
        const int64_t length = media_.Length();
        const int64_t to =
            std::clamp<int64_t>(static_cast<int64_t>(media_.Position()) + delta_ms, 0, length);
        media_.Seek(static_cast<uint32_t>(to));
        // A seek leaves the device stopped; one that played goes on from the new place.
        if (playing)
            media_.Resume();
    } else if (kind_ == FileKind::Module && module_loaded_) {
        const int32_t orders = MODLIB_MusicGetLength(0) & 0xFFFF;
        const int32_t order = MODLIB_MusicGetPosition() & 0xFFFF;
        const int32_t to = std::clamp(order + (delta_ms > 0 ? 1 : -1), 0, std::max(0, orders - 1));
        MODLIB_MusicSetPosition(to);
    }
}

void PlaybackController::ModTimerTimer() {
    const int32_t orders = MODLIB_MusicGetLength(0) & 0xFFFF;
    const auto position = static_cast<uint32_t>(MODLIB_MusicGetPosition());
    const uint32_t order = position & 0xFFFF;
    const uint32_t row = position >> 16;
    display_.SetRowBar(static_cast<int32_t>(row));
    display_.SetPositionText(std::to_string(order) + "." + std::to_string(row) + " of " +
                             std::to_string(orders));
    bar_fresh_ = true;
}

void PlaybackController::AdvanceAfterEnd() {
    // A message box runs this timer again inside its loop: those ticks must not advance too.
    advancing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{advancing_};
    int failures = 0;
    for (;;) {
        try {
            PlayNextEntry();
            if (Loaded())
                return;
            // A file of no known kind plays nothing: passed over without a message.
        } catch (...) {
            const uint64_t starts_before = starts_;
            display_.ReportError(std::current_exception());
            // The user started something while the message was open: that wins.
            if (starts_ != starts_before)
                return;
        }
        ++failures;
        const int n = playlist_.Count();
        if (failures >= n) {
            // An empty list's own report says enough, as does the one failure of a single entry.
            if (n > 1)
                display_.ReportError(std::make_exception_ptr(Exception(kNothingPlayable)));
            advance_blocked_ = true;
            return;
        }
    }
}

void PlaybackController::NextTimerTimer() {
    // A held slider shows where the person is going, not where playback is.
    if (!advance_blocked_ && !advancing_ && Loaded() && !display_.SliderHeld()) {
        if (kind_ == FileKind::Media && slider_fresh_ &&
            display_.SliderPosition() == display_.SliderMax()) {
            AdvanceAfterEnd();
        } else if (kind_ == FileKind::Module && slider_fresh_ && bar_fresh_) {
            const bool row_60 = display_.SliderPosition() == display_.SliderMax() - 1 &&
                                display_.RowBar() == kEndRow;
            if (row_60 || MODLIB_MusicHasEnded() != 0)
                AdvanceAfterEnd();
        }
    }
    std::string hint = display_.Title();
    if (hint.size() > kTrayHintLimit)
        hint.resize(kTrayHintLimit);
    display_.SetTrayHint(hint);
}

} // namespace vd
