#pragma once

#include "skin/VsControls.h"
#include "skin/VsGraphics.h"

#include <memory>

namespace vd {

// The skin store: owns the skin's graphics and tells its links when they change.
class TVsComposer : public TVsSharedComponent {
public:
    explicit TVsComposer(TComponent* owner);
    ~TVsComposer() override;

    TVsGraphics& Graphics() { return *graphics_; }
    [[nodiscard]] const TVsGraphics& Graphics() const { return *graphics_; }
    // Copies `value` into the owned collection.
    void SetGraphics(const TVsGraphics& value) { graphics_->Assign(&value); }

private:
    void GraphicsChanged() { NotifyLinks(); }
    std::unique_ptr<TVsGraphics> graphics_;
};

} // namespace vd
