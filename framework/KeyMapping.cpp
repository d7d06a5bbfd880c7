#include "framework/KeyMapping.h"

#include "framework/Controls.h"

#include <utility>

namespace vd {

namespace {

// The keys with a virtual-key code besides letters, digits and function keys.
constexpr std::pair<int, uint16_t> kVirtualKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_MediaNext, VK_MEDIA_NEXT_TRACK},
    {Qt::Key_MediaPrevious, VK_MEDIA_PREV_TRACK},
    {Qt::Key_MediaStop, VK_MEDIA_STOP},
    {Qt::Key_MediaPlay, VK_MEDIA_PLAY_PAUSE},
    {Qt::Key_MediaPause, VK_MEDIA_PLAY_PAUSE},
    {Qt::Key_MediaTogglePlayPause, VK_MEDIA_PLAY_PAUSE},
};

constexpr std::pair<Qt::KeyboardModifier, TShiftState> kModifiers[] = {
    {Qt::ShiftModifier, ssShift},
    {Qt::AltModifier, ssAlt},
    {Qt::ControlModifier, ssCtrl},
};

struct ButtonMapping {
    Qt::MouseButton qt_button;
    TMouseButton button;
    TShiftState held;
};

constexpr ButtonMapping kButtons[] = {
    {Qt::LeftButton, TMouseButton::mbLeft, ssLeft},
    {Qt::RightButton, TMouseButton::mbRight, ssRight},
    {Qt::MiddleButton, TMouseButton::mbMiddle, ssMiddle},
};

} // namespace

uint16_t VirtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<uint16_t>(key); // the same upper-case characters
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
    for (const auto& [qt_key, virtual_key] : kVirtualKeys)
        if (qt_key == key)
            return virtual_key;
    return 0;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers) {
    TShiftState s = 0;
    for (const auto& [modifier, shift] : kModifiers)
        if (modifiers & modifier)
            s |= shift;
    return s;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s = ShiftStateOf(modifiers);
    for (const ButtonMapping& b : kButtons)
        if (buttons & b.qt_button)
            s |= b.held;
    return s;
}

std::optional<TMouseButton> MouseButtonOf(Qt::MouseButton button) {
    for (const ButtonMapping& b : kButtons)
        if (b.qt_button == button)
            return b.button;
    return std::nullopt;
}

} // namespace vd
