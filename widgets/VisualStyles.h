#pragma once

#include "framework/Component.h"

namespace vd {

// Turns on the desktop's current visual style for the program's standard controls. Qt draws
// them in the desktop's style already, so the component has nothing to switch.
class TVisualStyles : public TComponent {
public:
    using TComponent::TComponent;
};

} // namespace vd
