#pragma once

// framework: how Qt's keys, modifier keys and mouse buttons map onto the framework's virtual-key
// codes and shift states. Not for use outside framework/.

#include "framework/Types.h"

#include <QtCore/qnamespace.h>

#include <cstdint>
#include <optional>

namespace vd {

// The classic virtual-key code of a Qt key (the VK_ values of Controls.h; letters and digits as
// their upper-case characters), 0 for keys without one.
[[nodiscard]] uint16_t VirtualKeyOf(int qt_key);

// The Shift, Alt and Ctrl keys held, as a shift state.
[[nodiscard]] TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);
// The same, with the left, right and middle mouse buttons held.
[[nodiscard]] TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The left, right or middle button; nothing for the others.
[[nodiscard]] std::optional<TMouseButton> MouseButtonOf(Qt::MouseButton button);

} // namespace vd
