#include "app/AboutBox.h"

namespace vd {

namespace {

constexpr TColor kDialogColor = 14540253; // light grey, 221 in each channel

} // namespace

TAboutDialog::TAboutDialog(TComponent* owner) : TForm(owner) {
    SetName("AboutDialog");
    SetBorderStyle(TFormBorderStyle::bsToolWindow);
    SetCaption("About VO Dezaru");
    SetPosition(TPosition::poScreenCenter);
    SetColor(kDialogColor);
    SetBounds(0, 0, 246, 306);
    SetCursor(crDrag);
}

void TAboutDialog::Paint() {
    TForm::Paint();
    TCanvas& c = Canvas();
    c.Brush().SetStyle(TBrushStyle::bsClear);
    struct Line {
        int top;
        const char* text;
        const char* font;
        int points;
        bool bold;
    };
    static constexpr Line kLines[] = {
        {8, "About", "Arial", 12, true},
        {32, "VO Dezaru", "Arial", 14, true},
        {144, "VO Dezaru version: 1.0", "MS Sans Serif", 8, true},
        {168,
         "  VO Dezaru is a multimedia player created specially for Velora fans. Hope you "
         "like our player.",
         "MS Sans Serif", 8, true},
        {216, "  The player supports the following files:", "MS Sans Serif", 8, true},
        {232, "Midi Sequence (mid, rmi, midi), Wave Audio (wav)", "MS Sans Serif", 9, false},
        {248, "Module Music (mod, xm, it, s3m, mtm, umx)", "MS Sans Serif", 8, false},
        {264, "Mpeg Audio (mp3, mp2, mp1)", "MS Sans Serif", 8, false},
        {288, "Click to close", "MS Sans Serif", 8, false},
    };
    for (const Line& line : kLines) {
        c.Font().SetName(line.font);
        c.Font().SetSize(line.points);
        c.Font().SetStyle(line.bold ? TFontStyles{fsBold} : TFontStyles{0});
        c.Font().SetColor(clBlack);
        TRect r{8, line.top, Width() - 8, line.top + 40};
        c.DrawText(line.text, r, DT_WORDBREAK | DT_NOPREFIX);
    }
}

void TAboutDialog::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TForm::MouseUp(button, shift, x, y);
    if (button == TMouseButton::mbLeft)
        Close();
}

} // namespace vd
