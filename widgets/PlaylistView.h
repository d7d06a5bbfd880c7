#pragma once

#include "framework/ListBox.h"

#include <functional>

namespace vd {

// The list that shows the playlist's display names.
using TPlaylistView = TListBox;

// Gives the view the playlist's look: lime names on black, no border.
void ConfigurePlaylistView(TPlaylistView& view);

// Reports every change of the view's selection as (sender, old index, new index).
void BindPlaylistChange(TPlaylistView& view,
                        std::function<void(TComponent* sender, int old_index, int new_index)> handler);

} // namespace vd
