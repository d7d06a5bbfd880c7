#include "app/AboutBox.h"

#include "app/Layout.h"
#include "app/LayoutBuilder.h"
#include "framework/Application.h"
#include "framework/Shell.h"

#include <string>

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
    Font().SetName("MS Sans Serif");
    Font().SetSize(8);
    LayoutHandlers handlers;
    handlers.notify["CloseBtnClick"] = [this](TComponent* sender) { CloseBtnClick(sender); };
    handlers.notify["UpdateBtnClick"] = [this](TComponent* sender) { UpdateBtnClick(sender); };
    BuildLayout(*this, AboutDialogLayout(), handlers);
}

TAboutDialog::~TAboutDialog() {
    BeginDestruction();
}

void TAboutDialog::CloseBtnClick(TComponent*) {
    Close();
}

void TAboutDialog::UpdateBtnClick(TComponent*) {
    const std::string address(kHomePage);
    if (!OpenUrl(address))
        throw Exception("No web browser could be started to open " + address + ".");
}

} // namespace vd
