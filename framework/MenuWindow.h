#pragma once

#include "framework/Types.h"

#include <QImage>
#include <QWidget>

#include <vector>

class QEventLoop;

namespace vd {

class TMenuItem;
class TPopupMenu;

// The window of one open menu level: lays its items out by their measure handlers, paints them
// by their draw handlers, follows the pointer and the keyboard, and opens submenus.
class MenuWindow : public QWidget {
public:
    struct Session {
        QEventLoop* loop = nullptr;
        TMenuItem* chosen = nullptr;
        std::vector<MenuWindow*> open; // the levels, outermost first
        // A menu often opens under the pointer while the button that opened it is still held;
        // that button's release must not choose the item that happens to lie there. Releases
        // choose only once the pointer has moved onto an item or a button was pressed in the
        // menu after it appeared.
        QPoint start_point;   // the pointer on the screen when the menu appeared
        int start_index = -1; // the outermost level's item under it then
        bool release_armed = false;
    };

    MenuWindow(TMenuItem* level, Session& session, MenuWindow* parent_level);
    ~MenuWindow() override;

    // Shows the level with its top-left corner near `screen`, kept on the screen.
    void Popup(QPoint screen);
    void CloseAll();
    void SelectFirst();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    static constexpr int kFrame = 2;
    void Layout();
    void Render();
    [[nodiscard]] int ItemAt(QPoint p) const;
    void Select(int index);
    void OpenSubmenu();
    void CloseSubmenu();
    void Activate(int index);
    [[nodiscard]] bool Selectable(int index) const;
    void ArmReleaseOnMove(QPoint global, int index);

    Session& session_;
    MenuWindow* parent_level_;
    MenuWindow* submenu_ = nullptr;
    std::vector<TMenuItem*> items_;
    std::vector<TRect> rects_;
    int selected_ = -1;
    QImage picture_;
};

} // namespace vd
