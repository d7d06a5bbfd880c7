#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Graphics.h"

namespace vd {

// The menu painter's settings. Menus keep their plain drawing until the painter takes them over.
class TFlatMenu : public TComponent {
public:
    explicit TFlatMenu(TComponent* owner) : TComponent(owner) {}

    int DimLevel = 30;
    int GrayLevel = 10;
    TFont Font;
    TColor Color = clBtnFace;
    TColor IconBackColor = clBtnFace;
    TColor MenuBarColor = clBtnFace;
    TColor SeparatorColor = clBtnFace;
    TColor SelectColor = clHighlight;
    TColor SelectBorderColor = clHighlight;
    TColor SelectFontColor = clMenuText;
    TColor DisabledColor = clInactiveCaption;
    TColor CheckedColor = clHighlight;
    int IconWidth = 24;
    bool DrawSelect = true;
    bool UseSystemColors = true;
    bool OverrideOwnerDraw = false;
    bool Gradient = false;
    bool FlatMenu = false;
    bool AutoDetect = true;
    bool Active = true;
};

} // namespace vd
