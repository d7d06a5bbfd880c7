#pragma once

#include "widgets/slLBox.h"

#include <functional>

namespace vd {

// The list that shows the playlist's display names.
using TPlaylistView = TslListBox;

// Gives the view the playlist's look: lime names on black in rows of 15 pixels; the selected
// name blue and recessed under a yellow-to-black gradient.
void ConfigurePlaylistView(TPlaylistView& view);

// Reports every change of the view's selection as (sender, old index, new index).
void BindPlaylistChange(
    TPlaylistView& view,
    std::function<void(TComponent* sender, int old_index, int new_index)> handler);

} // namespace vd
