#include "audio/FileTypes.h"

#include "framework/core/FilePaths.h"

#include <algorithm>

namespace vd {

namespace {

// Only ASCII letters fold: the table's extensions are ASCII, and a path's other bytes (of any
// encoding) must not match them by accident of a locale.
constexpr char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool HasExtension(std::string_view path, std::string_view extension) {
    return std::ranges::equal(ExtractFileExt(path), extension,
                              [](char a, char b) { return Lower(a) == b; });
}

const FileType* FileTypeOfPath(std::string_view path) {
    const auto found = std::ranges::find_if(
        kFileTypes, [path](const FileType& type) { return HasExtension(path, type.extension); });
    return found != kFileTypes.end() ? &*found : nullptr;
}

FileKind KindOfPath(std::string_view path) {
    const FileType* type = FileTypeOfPath(path);
    return type != nullptr ? type->kind : FileKind::None;
}

std::optional<MciDeviceType> MediaDeviceOfPath(std::string_view path) {
    const FileType* type = FileTypeOfPath(path);
    return type != nullptr ? type->device : std::nullopt;
}

} // namespace vd
