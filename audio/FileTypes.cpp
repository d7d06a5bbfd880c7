#include "audio/FileTypes.h"

#include "base/AsciiCase.h"
#include "framework/core/FilePaths.h"

#include <algorithm>

namespace vd {

bool HasExtension(std::string_view path, std::string_view extension) {
    return EqualsIgnoringAsciiCase(ExtractFileExt(path), extension);
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
