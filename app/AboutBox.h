#pragma once

#include "framework/Forms.h"

#include <string_view>

namespace vd {

// The project's home page: shown on the About dialog and opened by its Update button.
inline constexpr std::string_view kHomePage = "https://vodezaru.github.io";

// The About dialog: names the player, its version and the kinds of file it plays, shows its
// picture, and offers Close and Update (the home page in the desktop's browser).
class TAboutDialog : public TForm {
public:
    explicit TAboutDialog(TComponent* owner);
    ~TAboutDialog() override;

    void CloseBtnClick(TComponent* sender);
    // Opens the home page; the dialog stays open. A browser that cannot be started is told.
    void UpdateBtnClick(TComponent* sender);
};

} // namespace vd
