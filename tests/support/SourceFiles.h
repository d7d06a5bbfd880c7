#pragma once

// Files of the source tree that tests and benchmarks read as they are (the real skin block, the
// menu's image strip). CTest names the tree in VD_SOURCE_DIR; a program run by hand falls back
// to the tree it was built from.

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef VD_SOURCE_DIR_DEFAULT
#error "VD_SOURCE_DIR_DEFAULT must name the source tree"
#endif

namespace vd::test {

[[nodiscard]] inline std::string SourcePath(const std::string& relative) {
    const char* root = std::getenv("VD_SOURCE_DIR");
    return std::string(root != nullptr ? root : VD_SOURCE_DIR_DEFAULT) + "/" + relative;
}

// The bytes of a file of the source tree; empty when it cannot be read.
[[nodiscard]] inline std::vector<uint8_t> ReadSourceFile(const std::string& relative) {
    std::ifstream in(SourcePath(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

[[nodiscard]] inline std::vector<uint8_t> RealSkinBlock() {
    return ReadSourceFile("resources/skin/main.vsk");
}

} // namespace vd::test
