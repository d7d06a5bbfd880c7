#pragma once

#include "widgets/slLBox.h"

namespace vd {

// The list that shows the playlist's display names.
using TPlaylistView = TslListBox;

// Gives the view the playlist's look: lime names on black in rows of 15 pixels; the selected
// name blue and recessed under a yellow-to-black gradient.
void ConfigurePlaylistView(TPlaylistView& view);

} // namespace vd
