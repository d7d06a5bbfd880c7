#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vd {

// The bytes of a resource built into the program (":/skin/main.vsk"); fails with Exception when
// there is none of that name.
[[nodiscard]] std::vector<uint8_t> LoadResource(const std::string& name);

} // namespace vd
