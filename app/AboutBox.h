#pragma once

#include "framework/Forms.h"

namespace vd {

// The About dialog: names the player, its version and the kinds of file it plays.
class TAboutDialog : public TForm {
public:
    explicit TAboutDialog(TComponent* owner);

protected:
    void Paint() override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
};

} // namespace vd
