#pragma once

#include "app/Layout.h"
#include "framework/Component.h"
#include "framework/Types.h"

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>

namespace vd {

class TForm;
class TListBox;

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

// A layout that names a component it does not have is a fault of the program, not of input.
[[noreturn]] void MissingFromLayout(std::string_view what, std::string_view name);

// The component of that name and class that a layout made; fails with std::logic_error.
template <class T>
T* LayoutComponent(TComponent& owner, std::string_view name) {
    auto* found = dynamic_cast<T*>(owner.FindComponent(name));
    if (found == nullptr)
        MissingFromLayout("component", name);
    return found;
}

} // namespace vd
