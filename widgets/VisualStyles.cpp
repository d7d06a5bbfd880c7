#include "widgets/VisualStyles.h"

#include "framework/Forms.h"

namespace vd {

TVisualStyles::TVisualStyles(TComponent* owner) : TComponent(owner) {
    if (dynamic_cast<TForm*>(owner) == nullptr)
        throw Exception("Control parent must be a form!");
    int count = 1; // this one joins its owner only once it is whole
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (owner->Components(i) != this && dynamic_cast<TVisualStyles*>(owner->Components(i)))
            ++count;
    if (count > 1)
        throw Exception("Only one instance of TVisualStyles allowed on form");
}

TVisualStyles::~TVisualStyles() {
    BeginDestruction();
}

} // namespace vd
