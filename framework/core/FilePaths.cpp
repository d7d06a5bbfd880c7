#include "framework/core/FilePaths.h"

namespace vd {
namespace {

// Index just past the last delimiter, 0 if there is none.
std::size_t FileNameStart(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathDelimiter(path[i - 1])) {
            return i;
        }
    }
    return 0;
}

// Index of the extension's dot, or path.size() if there is no extension.
std::size_t ExtensionStart(std::string_view path) {
    const std::size_t name_start = FileNameStart(path);
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && dot >= name_start ? dot : path.size();
}

} // namespace

std::string_view ExtractFileName(std::string_view path) {
    return path.substr(FileNameStart(path));
}

std::string_view ExtractFileExt(std::string_view path) {
    return path.substr(ExtensionStart(path));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
    std::string result(path.substr(0, ExtensionStart(path)));
    result += ext;
    return result;
}

} // namespace vd
