#pragma once

// The sound files the player knows, by extension: which engine plays each and, for the media
// engine, which device. The playback controller, the media layer and the open dialogs all read
// this one table, so a type added here is played, opened and offered alike. Extensions are
// matched without regard to the case of their letters ("SONG.MP3", "Tune.XM", "Song.Mid").

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vd {

enum class FileKind : int32_t { None = 0, Media = 1, Module = 2 };

// The three compound devices of the media control interface.
enum class MciDeviceType { Sequencer, WaveAudio, MpegVideo };

struct FileType {
    std::string_view extension; // with its dot, in lower case
    FileKind kind = FileKind::None;
    std::optional<MciDeviceType> device; // media files only
};

// In the order the open dialogs list them.
inline constexpr std::array<FileType, 13> kFileTypes{{
    {".mid", FileKind::Media, MciDeviceType::Sequencer},
    {".rmi", FileKind::Media, MciDeviceType::Sequencer},
    {".midi", FileKind::Media, MciDeviceType::Sequencer},
    {".mod", FileKind::Module, std::nullopt},
    {".xm", FileKind::Module, std::nullopt},
    {".it", FileKind::Module, std::nullopt},
    {".s3m", FileKind::Module, std::nullopt},
    {".mtm", FileKind::Module, std::nullopt},
    {".umx", FileKind::Module, std::nullopt},
    {".mp3", FileKind::Media, MciDeviceType::MpegVideo},
    {".mp2", FileKind::Media, MciDeviceType::MpegVideo},
    {".mp1", FileKind::Media, MciDeviceType::MpegVideo},
    {".wav", FileKind::Media, MciDeviceType::WaveAudio},
}};

// True when the extension of `path` (ExtractFileExt) is `extension`, given in lower case with its
// dot, whatever the case of the path's letters.
[[nodiscard]] bool HasExtension(std::string_view path, std::string_view extension);

// The table's entry for `path`, or nothing for an extension it does not list.
[[nodiscard]] const FileType* FileTypeOfPath(std::string_view path);

// The engine for `path`: FileKind::None for an extension the table does not list.
[[nodiscard]] FileKind KindOfPath(std::string_view path);

// The media device for `path`, or nothing (also for a module).
[[nodiscard]] std::optional<MciDeviceType> MediaDeviceOfPath(std::string_view path);

// The open dialogs' patterns for the types `wanted` accepts, in table order, separated by ";"
// ("*.mid;*.rmi;*.midi").
template <class Wanted>
[[nodiscard]] constexpr std::string FilePatterns(Wanted wanted) {
    std::string patterns;
    for (const FileType& type : kFileTypes) {
        if (!wanted(type))
            continue;
        if (!patterns.empty())
            patterns += ';';
        patterns += '*';
        patterns += type.extension;
    }
    return patterns;
}

} // namespace vd
