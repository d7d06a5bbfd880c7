#pragma once

// The order of the playlist's sort command: by the whole path (folder first, not the shown
// name), ascending, without regard to letter case in the user's locale.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace vd {

// The permutation that sorts `paths`: entry i of the result is the index in `paths` of the i-th
// path in order. Paths that compare equal keep their relative order.
//
// Paths are decoded with the multibyte encoding of the current C locale (LC_CTYPE, as set by
// setlocale at start) and compared character by character after folding with towlower. Bytes that
// do not decode sort after every character, by byte value, so any bytes give a total order.
// Any thread, as long as nobody changes the locale meanwhile.
[[nodiscard]] std::vector<std::size_t> SortedOrder(std::span<const std::string> paths);

} // namespace vd
