#pragma once

#include <QWidget>

#include <string>
#include <vector>

namespace vd {

class TWinControl;

// The window of a windowed control: paints from the control's picture and hands mouse input to
// the control, which routes it to its children.
class ControlWidget : public QWidget {
public:
    explicit ControlWidget(TWinControl* control, QWidget* parent = nullptr);
    [[nodiscard]] TWinControl* Control() const { return control_; }
    void Detach() { control_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // A press, or the second press of a double click, handed to the control.
    void RoutePress(QMouseEvent* event, bool double_click);

    TWinControl* control_;
    std::vector<std::string> entered_files_; // what the drag under way carries
};

} // namespace vd
