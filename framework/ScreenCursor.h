#pragma once

#include "framework/Types.h"

namespace vd {

// Shows `cursor` over the whole application for as long as the scope lives (a busy cursor during
// a long step); the cursor shown before comes back at the end, also when an error leaves early.
class TScreenCursorScope {
public:
    explicit TScreenCursorScope(TCursor cursor);
    ~TScreenCursorScope();
    TScreenCursorScope(const TScreenCursorScope&) = delete;
    TScreenCursorScope& operator=(const TScreenCursorScope&) = delete;

private:
    bool active_ = false;
};

} // namespace vd
