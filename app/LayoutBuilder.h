#pragma once

#include "app/Layout.h"
#include "framework/Types.h"

#include <functional>
#include <map>
#include <span>
#include <string>

namespace vd {

class TForm;
class TListBox;
class TComponent;

// Handlers a layout binds by name. The playlist view's change event carries the old and the new
// selected index.
struct LayoutHandlers {
    std::map<std::string, TNotifyEvent, std::less<>> notify;
    std::function<void(TComponent* sender, int old_index, int new_index)> playlist_change;
};

// Creates every component of `entries` on `form`, owned by it: all in their loading state, their
// settings applied in layout order; then references and handlers are resolved by name, and each
// component is told Loaded(), in layout order, the form last.
void BuildLayout(TForm& form, std::span<const layout::Entry> entries,
                 const LayoutHandlers& handlers);

} // namespace vd
