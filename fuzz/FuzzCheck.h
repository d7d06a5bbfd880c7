#pragma once

#include <cstdlib>

namespace vd::fuzz {

// A broken promise of the code under test: abort, so that libFuzzer keeps the input that did it.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace vd::fuzz
