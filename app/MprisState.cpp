#include "app/MprisState.h"

#include <cstdlib>

namespace vd {

namespace {

constexpr std::string_view kTitleSuffix = " - VO Dezaru";
constexpr std::string_view kFileScheme = "file://";
// Larger than what two polls of a playing engine can drift apart, smaller than any seek a person
// would make on purpose.
constexpr std::int64_t kJumpThresholdMs = 1500;

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string_view StatusText(PlaybackStatus status) {
    switch (status) {
    case PlaybackStatus::Playing:
        return "Playing";
    case PlaybackStatus::Paused:
        return "Paused";
    case PlaybackStatus::Stopped:
        break;
    }
    return "Stopped";
}

std::vector<std::string> ChangedProperties(const MprisState& before, const MprisState& now) {
    std::vector<std::string> names;
    if (before.status != now.status)
        names.emplace_back("PlaybackStatus");
    if (before.track != now.track)
        names.emplace_back("Metadata");
    if (before.volume != now.volume)
        names.emplace_back("Volume");
    if (before.can_go_next != now.can_go_next)
        names.emplace_back("CanGoNext");
    if (before.can_go_previous != now.can_go_previous)
        names.emplace_back("CanGoPrevious");
    if (before.can_play != now.can_play)
        names.emplace_back("CanPlay");
    if (before.can_pause != now.can_pause)
        names.emplace_back("CanPause");
    if (before.can_seek != now.can_seek)
        names.emplace_back("CanSeek");
    return names;
}

std::string TrackTitle(std::string_view caption) {
    if (caption.size() >= kTitleSuffix.size() && caption.ends_with(kTitleSuffix))
        caption.remove_suffix(kTitleSuffix.size());
    return std::string(caption);
}

std::string TrackIdFor(std::string_view app_object_path, std::uint64_t serial) {
    return std::string(app_object_path) + "/Track/" + std::to_string(serial);
}

std::string FileUrl(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url(kFileScheme);
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') ||
                           std::string_view("/-._~!$&'()*+,;=:@").find(c) != std::string_view::npos;
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0xF];
        }
    }
    return url;
}

std::string PathOfUri(std::string_view uri) {
    if (uri.starts_with("/"))
        return std::string(uri);
    if (!uri.starts_with(kFileScheme))
        return {};
    uri.remove_prefix(kFileScheme.size());
    // file://host/path: only this machine's files can be played.
    if (uri.starts_with("localhost/"))
        uri.remove_prefix(std::string_view("localhost").size());
    if (!uri.starts_with("/"))
        return {};
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && HexValue(uri[i + 1]) >= 0 &&
            HexValue(uri[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(uri[i + 1]) * 16 + HexValue(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    return path;
}

bool PositionJumped(std::int64_t before_ms, std::int64_t now_ms, std::int64_t elapsed_ms,
                    bool playing) {
    const std::int64_t expected = playing ? before_ms + elapsed_ms : before_ms;
    return std::llabs(now_ms - expected) > kJumpThresholdMs;
}

} // namespace vd
