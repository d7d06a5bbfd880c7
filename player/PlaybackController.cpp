#include "player/PlaybackController.h"

#include "framework/FilePaths.h"
#include "framework/Timer.h"
#include "player/MediaPlayer.h"
#include "player/ModLib.h"

#include <array>
#include <string_view>

namespace vd {

namespace {

constexpr std::string_view kTitleSuffix = " - VO Dezaru";
constexpr int32_t kStopOrderRow = 65537; // order 1, row 1
constexpr int32_t kEndRow = 60;
constexpr std::size_t kTrayHintLimit = 255;

} // namespace

FileKind KindOfPath(const std::string& path) {
    static constexpr std::array<std::string_view, 7> kMedia = {".mid", ".rmi", ".midi", ".mp3",
                                                               ".mp2", ".mp1", ".wav"};
    static constexpr std::array<std::string_view, 6> kModules = {".mod", ".xm",  ".it",
                                                                 ".s3m", ".mtm", ".umx"};
    const std::string_view ext = ExtractFileExt(path);
    for (std::string_view e : kMedia)
        if (ext == e)
            return FileKind::Media;
    for (std::string_view e : kModules)
        if (ext == e)
            return FileKind::Module;
    return FileKind::None;
}

PlaybackController::PlaybackController(PlaybackDisplay& display, PlaylistAccess& playlist,
                                       TMediaPlayer& media, TTimer& position_timer,
                                       TTimer& mod_timer)
    : display_(display), playlist_(playlist), media_(media), position_timer_(position_timer),
      mod_timer_(mod_timer) {}

void PlaybackController::Reset() {
    kind_ = FileKind::None;
    media_paused_ = 0;
}

void PlaybackController::DetectFileKind(const std::string& path) {
    kind_ = KindOfPath(path);
}

void PlaybackController::LoadFile(const std::string& path) {
    DetectFileKind(path);
    slider_fresh_ = false;
    bar_fresh_ = false;
    if (kind_ == FileKind::Media)
        OpenMediaFile(path);
    else if (kind_ == FileKind::Module)
        LoadModule(path);
}

void PlaybackController::OpenMediaFile(const std::string& path) {
    media_.SetFileName(path);
    media_.Open();
}

void PlaybackController::LoadModule(const std::string& path) {
    MODLIB_Free();
    MODLIB_Init(-1, 44100, 32);
    MODLIB_MusicLoad(0, path.c_str(), 0, 0, 512);
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
    if (kind_ != FileKind::None)
        advance_blocked_ = false;
}

void PlaybackController::StopPlayback() {
    if (kind_ == FileKind::Media) {
        media_.Stop();
        media_.Seek(0);
    } else if (kind_ == FileKind::Module) {
        MODLIB_MusicStop();
        MODLIB_MusicSetPosition(kStopOrderRow);
        mod_timer_.SetEnabled(false);
        display_.SetRowBar(0);
    }
}

void PlaybackController::TogglePause() {
    if (kind_ == FileKind::Media) {
        if (media_paused_ == 0) {
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
    display_.SetTitle(std::string(MODLIB_MusicGetName()) + std::string(kTitleSuffix));
}

void PlaybackController::UpdatePosition() {
    if (kind_ == FileKind::Media) {
        // After a failed open no device is there to ask: leave the displays as they are.
        if (!media_.IsOpen())
            return;
        const uint32_t length = media_.Length();
        const uint32_t position = media_.Position();
        display_.SetSliderMax(static_cast<int32_t>(length));
        display_.SetSliderPosition(static_cast<int32_t>(position));
        display_.SetPositionText(std::to_string(position) + " of " + std::to_string(length));
        slider_fresh_ = true;
    } else if (kind_ == FileKind::Module) {
        display_.SetSliderMax(MODLIB_MusicGetLength(0) & 0xFFFF);
        display_.SetSliderPosition(MODLIB_MusicGetPosition() & 0xFFFF);
        slider_fresh_ = true;
    }
}

void PlaybackController::PlayEntry(int index) {
    const std::string path = playlist_.PathAt(index);
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

void PlaybackController::PlayPath(const std::string& path) {
    StopPlayback();
    LoadFile(path);
    StartPlayback(); // which switches the position (and module) timer on
}

void PlaybackController::PlayBtnClick() {
    PlayPath(playlist_.PathAt(playlist_.SelectedIndex()));
}

void PlaybackController::ProgressBarClick() {
    if (kind_ == FileKind::Media) {
        media_.Seek(static_cast<uint32_t>(display_.SliderPosition()));
        media_.Resume();
    } else if (kind_ == FileKind::Module) {
        MODLIB_MusicSetPosition(display_.SliderPosition() & 0xFFFF);
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

void PlaybackController::NextTimerTimer() {
    auto advance = [this] {
        // Blocked before trying: an error shown by a message box runs this timer again inside
        // the box's loop, and that must not try (and fail) again.
        advance_blocked_ = true;
        PlayNextEntry();
    };
    if (!advance_blocked_) {
        if (kind_ == FileKind::Media && slider_fresh_ &&
            display_.SliderPosition() == display_.SliderMax()) {
            advance();
        } else if (kind_ == FileKind::Module && slider_fresh_ && bar_fresh_) {
            const bool row_60 = display_.SliderPosition() == display_.SliderMax() - 1 &&
                                display_.RowBar() == kEndRow;
            if (row_60 || MODLIB_MusicHasEnded() != 0)
                advance();
        }
    }
    std::string hint = display_.Title();
    if (hint.size() > kTrayHintLimit)
        hint.resize(kTrayHintLimit);
    display_.SetTrayHint(hint);
}

} // namespace vd
