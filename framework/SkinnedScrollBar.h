#pragma once

#include "framework/ScrollBarLook.h"

#include <QScrollBar>
#include <QStyle>

#include <optional>

namespace vd {

// A vertical scroll bar that behaves as the desktop's (the desktop's style still lays out and
// hit-tests its parts) but, given a look, paints those parts itself in the look's colours.
// GUI thread.
class SkinnedScrollBar : public QScrollBar {
public:
    explicit SkinnedScrollBar(QWidget* parent);

    [[nodiscard]] const std::optional<TScrollBarLook>& Look() const { return look_; }
    void SetLook(std::optional<TScrollBarLook> look);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    [[nodiscard]] QStyle::SubControl PartAt(QPoint p) const;
    std::optional<TScrollBarLook> look_;
    // The part a left press went down on, drawn pressed while the pointer stays on it; the base
    // class keeps its own record of this to itself.
    QStyle::SubControl pressed_ = QStyle::SC_None;
    bool pressed_inside_ = false;
};

} // namespace vd
