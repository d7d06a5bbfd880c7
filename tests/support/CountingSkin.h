#pragma once

#include "skin/VsSkin.h"

namespace vd::test {

// A skin surface that counts how often it paints itself.
class CountingSkin : public TVsSkin {
public:
    using TVsSkin::TVsSkin;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TVsSkin::Paint();
    }
};

} // namespace vd::test
