#pragma once

#include "framework/Component.h"
#include "framework/Controls.h"

#include <cstdint>

namespace vd {

class TFlatMenu;

// Binds one restyled control to its painter: sees every message of the control before (or, for
// a window-less control's paint, instead of) the control's own handling, follows the mouse and
// focus, and has the painter draw the control. Owned by the painter; at most one per control.
class TControlSubClass : public TComponent {
public:
    TControlSubClass(TFlatMenu* painter, TControl* control);
    ~TControlSubClass() override;

    // Puts the hook's message handling in place of the control's, unless the control already
    // has a hook's; returns whether it did.
    bool Hook();
    // Puts back the handling the hook replaced. GUI thread.
    void Unhook();
    // The control's messages go through this object.
    [[nodiscard]] bool Hooked() const;

    void SubclassWindowProc(TControlMessage& message);
    void Notification(TComponent* component, TOperation operation) override;

    TControl* Control = nullptr;
    TFlatMenu* Painter = nullptr;
    bool Recreating = false;
    bool Highlighted = false;
    bool MouseDown = false;
    bool SpaceDown = false;
    bool SpaceRepeat = false;
    bool Focused = false;
    TWindowProc SavedWindowProc;
    // The kind of the last message seen while the painter was active.
    TControlMessageKind LastMessage = TControlMessageKind::mkPaint;

private:
    void CallSaved(TControlMessage& message);
    void Redraw();
    // The steps of SubclassWindowProc. The control's own handling (a window-less control's
    // paint is the painter's); false when the hook is gone after it, or has gone now because
    // the painter is off.
    [[nodiscard]] bool PassOn(TControlMessage& message);
    // What the message changes of the look: focus, hover, presses; the paint itself.
    void Follow(const TControlMessage& message);
};

} // namespace vd
