#pragma once

// What every GUI test program needs: the one application object (offscreen, classic colours),
// recorders for errors and popup menus in place of a person, mouse input sent to a window as the
// window system would, and components freed through their owner tree.

#include "framework/Application.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Menus.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPointF>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace vd::test {

// The errors shown through the application's error display since the last StartGui().
inline std::vector<std::string>& ShownErrors() {
    static std::vector<std::string> errors;
    return errors;
}

// One popup request: the menu asked to show and the screen point it was asked for.
struct PopupRecord {
    TPopupMenu* menu = nullptr;
    TPoint screen;
};

inline std::vector<PopupRecord>& ShownPopups() {
    static std::vector<PopupRecord> popups;
    return popups;
}

// The application object, created on first use; GUI thread. It is never destroyed: static
// destructors run after Qt's own globals are gone, and taking the GUI down then crashes.
inline TApplication& App() {
    static int argc = 1;
    static char arg0[] = "test";
    static char* argv[] = {arg0, nullptr};
    static TApplication* const app = new TApplication(argc, argv); // lives until the process ends
    return *app;
}

// Call first in every fixture's SetUp: starts the GUI once, fixes the system colours, and
// replaces message boxes and popup menus by recorders (popups are dismissed).
inline void StartGui() {
    TApplication& app = App();
    SystemColors::SetClassic();
    ShownErrors().clear();
    ShownPopups().clear();
    app.SetErrorDisplay(
        [](const std::string&, const std::string& text) { ShownErrors().push_back(text); });
    TPopupMenu::SetPopupScript([](TPopupMenu& menu, TPoint screen) -> TMenuItem* {
        ShownPopups().push_back({&menu, screen});
        return nullptr;
    });
}

// StartGui() for programs run without CTest's environment (the benchmarks): offscreen unless the
// caller's environment names another platform.
inline void StartOffscreenGui() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    StartGui();
}

// Frees a component through FreeComponent, so that everybody who knows it is told first.
struct ComponentDeleter {
    void operator()(TComponent* component) const { FreeComponent(component); }
};
template <class T>
using ComponentPtr = std::unique_ptr<T, ComponentDeleter>;

template <class T>
ComponentPtr<T> MakeUnowned() {
    return ComponentPtr<T>(new T(nullptr)); // freed by ComponentDeleter
}

// ---- mouse input, in the window's client coordinates ------------------------------------------

inline Qt::MouseButton QtButton(TMouseButton button) {
    switch (button) {
    case TMouseButton::mbRight:
        return Qt::RightButton;
    case TMouseButton::mbMiddle:
        return Qt::MiddleButton;
    default:
        return Qt::LeftButton;
    }
}

// The buttons held down while the events below are sent (kept as the window system would).
inline Qt::MouseButtons& HeldButtons() {
    static Qt::MouseButtons held;
    return held;
}

inline void SendMouse(QWidget* widget, QEvent::Type type, int x, int y, Qt::MouseButton button) {
    const QPointF local(x, y);
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent event(type, local, global, button, HeldButtons(), Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void Press(QWidget* widget, int x, int y, TMouseButton button = TMouseButton::mbLeft) {
    HeldButtons() |= QtButton(button);
    SendMouse(widget, QEvent::MouseButtonPress, x, y, QtButton(button));
}

inline void DoubleClick(QWidget* widget, int x, int y) {
    HeldButtons() |= Qt::LeftButton;
    SendMouse(widget, QEvent::MouseButtonDblClick, x, y, Qt::LeftButton);
}

inline void Move(QWidget* widget, int x, int y) {
    SendMouse(widget, QEvent::MouseMove, x, y, Qt::NoButton);
}

inline void Release(QWidget* widget, int x, int y, TMouseButton button = TMouseButton::mbLeft) {
    HeldButtons() &= ~QtButton(button);
    SendMouse(widget, QEvent::MouseButtonRelease, x, y, QtButton(button));
}

inline void Click(QWidget* widget, int x, int y) {
    Press(widget, x, y);
    Release(widget, x, y);
}

inline void Leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace vd::test
