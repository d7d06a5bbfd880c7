#pragma once

#include "framework/Dialogs.h"

namespace vd {

// An open dialog with the bar of places at its side: home, desktop, documents, music, downloads
// and the file system's root. Where the desktop supplies its own file dialog, that dialog shows
// its own places, and ShowPlacesBar has no visible effect.
class TPlacesOpenDialog : public TOpenDialog {
public:
    explicit TPlacesOpenDialog(TComponent* owner) : TOpenDialog(owner) {}

    bool ShowPlacesBar = true;

protected:
    [[nodiscard]] TPlacesBar PlacesBar() const override {
        return ShowPlacesBar ? TPlacesBar::pbStandard : TPlacesBar::pbHidden;
    }
};

// The same for saving.
class TPlacesSaveDialog : public TPlacesOpenDialog {
public:
    explicit TPlacesSaveDialog(TComponent* owner) : TPlacesOpenDialog(owner) {}
    [[nodiscard]] bool IsSaveDialog() const override { return true; }
};

} // namespace vd
