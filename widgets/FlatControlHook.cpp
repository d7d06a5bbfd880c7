#include "widgets/FlatMenu.h"

namespace vd {

void TFlatMenu::ApplyToControl(TComponent*, bool, bool) {}
TControlSubClass* TFlatMenu::HookOf(const TControl*) const {
    return nullptr;
}
int TFlatMenu::HookCount() const {
    return 0;
}
void TFlatMenu::PaintControl(TControlSubClass&) {}
void TFlatMenu::UnhookAllControls() {}

} // namespace vd
