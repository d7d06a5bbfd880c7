#pragma once

#include "framework/Component.h"

namespace vd {

// Stands for the desktop's visual style on the program's standard controls. Qt draws them in the
// desktop's style already, so the component has nothing to switch; it only insists on being the
// one such component of a form.
class TVisualStyles : public TComponent {
public:
    // Fails with "Control parent must be a form!" when `owner` is not a form, and with "Only
    // one instance of TVisualStyles allowed on form" when the form holds another one.
    explicit TVisualStyles(TComponent* owner);
    ~TVisualStyles() override;
};

} // namespace vd
