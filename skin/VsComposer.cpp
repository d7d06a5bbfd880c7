#include "skin/VsComposer.h"

namespace vd {

TVsComposer::TVsComposer(TComponent* owner)
    : TVsSharedComponent(owner), graphics_(std::make_unique<TVsGraphics>()) {
    graphics_->OnChange = [this](TVsPersistent*) { GraphicsChanged(); };
}

TVsComposer::~TVsComposer() {
    BeginDestruction();
    graphics_.reset();
}

} // namespace vd
