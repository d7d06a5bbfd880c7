#pragma once

#include "framework/Dialogs.h"

namespace vd {

// Open and save dialogs with a bar of places (desktop, documents, music...) at their side.
class TPlacesOpenDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool ShowPlacesBar = true;
};

class TPlacesSaveDialog : public TSaveDialog {
public:
    using TSaveDialog::TSaveDialog;
    bool ShowPlacesBar = true;
};

} // namespace vd
