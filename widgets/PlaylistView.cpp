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
}

} // namespace vd
