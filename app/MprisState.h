#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vd {

// What the desktop's media controls see of the player at one moment: the MPRIS player
// properties that are announced when they change. Plain data, so that telling what changed is
// testable without a bus.
enum class PlaybackStatus { Stopped, Playing, Paused };

struct MprisTrack {
    std::string track_id; // an object path; kNoTrack when nothing is loaded
    std::string title;
    std::string url;     // file:// URL of the file
    std::string artist;  // modules: the artist the file names
    std::string tracker; // modules: the program it was made with
    std::int64_t length_us = 0;
    friend bool operator==(const MprisTrack&, const MprisTrack&) = default;
};

struct MprisState {
    PlaybackStatus status = PlaybackStatus::Stopped;
    MprisTrack track;
    double volume = 1.0;
    bool can_go_next = false;
    bool can_go_previous = false;
    bool can_play = false;
    bool can_pause = false;
    bool can_seek = false;
};

inline constexpr std::string_view kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

[[nodiscard]] std::string_view StatusText(PlaybackStatus status);

// The names of the Player properties whose values differ between `before` and `now`, in the
// order the interface lists them.
[[nodiscard]] std::vector<std::string> ChangedProperties(const MprisState& before,
                                                         const MprisState& now);

// The track's title as the window shows it, without the player's name after it.
[[nodiscard]] std::string TrackTitle(std::string_view caption);

// The track id of the `serial`-th track started, in the player's own object path namespace.
[[nodiscard]] std::string TrackIdFor(std::string_view app_object_path, std::uint64_t serial);

// A file:// URL for a local path (UTF-8, with the characters a URL path cannot carry escaped).
[[nodiscard]] std::string FileUrl(std::string_view path);
// The local path of a file:// URL, or of a plain path; empty for any other scheme.
[[nodiscard]] std::string PathOfUri(std::string_view uri);

// Whether the position moved other than by playing on: `before_ms` read `elapsed_ms` ago, while
// playing (the position runs) or not (it stands). Small differences are the timers' jitter.
[[nodiscard]] bool PositionJumped(std::int64_t before_ms, std::int64_t now_ms,
                                  std::int64_t elapsed_ms, bool playing);

} // namespace vd
