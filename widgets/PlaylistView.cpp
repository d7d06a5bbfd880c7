#include "widgets/PlaylistView.h"

namespace vd {

void ConfigurePlaylistView(TPlaylistView& view) {
    view.SetBorderStyle(TBorderStyle::bsNone);
    view.SetColor(clBlack);

    TFont font;
    font.SetName("MS Sans Serif");
    font.SetSize(8);

    TslListBoxItemStyle& normal = view.ItemStyle();
    normal.SetColor(clBlack);
    normal.SetDelineateColor(clBlack);
    font.SetColor(clLime);
    normal.SetFont(font);
    normal.SetTextStyle(TslTextStyle::fstNone);
    normal.Gradient().SetOrientation(TslGradientDir::fgdHorizontal);

    TslListBoxItemStyle& selected = view.ItemSelStyle();
    selected.SetColor(clYellow);
    selected.SetDelineateColor(clBlack);
    font.SetColor(clBlue);
    selected.SetFont(font);
    selected.SetTextStyle(TslTextStyle::fstRecessed);
    selected.Gradient().SetActive(true);
    selected.Gradient().SetOrientation(TslGradientDir::fgdVertical);
    selected.Gradient().SetFromColor(clYellow);

    view.SetTransparentColor(clOlive);
    view.SetOptions({TslListBoxOptions_::fboExcludeGlyphs, TslListBoxOptions_::fboWordWrap});
    view.ChangeGlyphColor().SetFromColor(clBlack);
    view.ChangeGlyphColor().SetToColor(clWhite);

    // The scroll bar in the skin's metal: a dark track, a gunmetal thumb with a light edge and
    // arrows in the colours of the transport keys' glyphs.
    TScrollBarLook bar;
    bar.track = RGB(16, 19, 24);
    bar.track_edge = RGB(6, 8, 11);
    bar.face_top = RGB(96, 109, 126);
    bar.face_bottom = RGB(50, 58, 70);
    bar.light_edge = RGB(156, 172, 192);
    bar.outline = RGB(6, 8, 11);
    bar.glyph = RGB(228, 236, 242);
    bar.glyph_pressed = RGB(70, 230, 168);
    bar.glyph_disabled = RGB(98, 104, 112);
    view.SetScrollBarLook(bar);
}

} // namespace vd
