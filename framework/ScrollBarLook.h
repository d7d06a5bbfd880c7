#pragma once

#include "framework/Colors.h"

namespace vd {

// The colours in which a list box paints its own scroll bar instead of leaving it to the desktop:
// a track, and arrow buttons and a thumb made like the skin's keys (a face shaded from top to
// bottom, a light top and left edge inside an outline, glyphs in the keys' colours).
struct TScrollBarLook {
    TColor track = clBlack;
    TColor track_edge = clBlack; // the track's left edge, against the list
    TColor face_top = clBtnFace;
    TColor face_bottom = clBtnFace;
    TColor light_edge = clBtnHighlight;
    TColor outline = clBlack;
    TColor glyph = clBtnText;
    TColor glyph_pressed = clBtnText;
    TColor glyph_disabled = clGrayText;
};

} // namespace vd
