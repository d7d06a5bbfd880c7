#pragma once

#include "framework/Controls.h"

#include <memory>
#include <vector>

namespace vd {

class TRegion;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum class TPosition { poDesigned, poScreenCenter, poDesktopCenter };
enum class TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// A top-level window.
class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    [[nodiscard]] TFormBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TFormBorderStyle style);
    [[nodiscard]] TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    void SetClientWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetClientHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

    void Show();
    void Hide();
    // Minimizes the window the desktop's usual way (to the task bar).
    void Minimize();
    // Closes the window: a modal one ends its modal show, the main one ends the application.
    void Close();
    // Shows the window and waits, running the event loop, until it closes: by Close, by the
    // close box of its caption, by the window system, or by Escape. A form that is showing
    // modally already is only brought to the front, and mrNone returned at once.
    TModalResult ShowModal();
    [[nodiscard]] bool Modal() const { return modal_ != nullptr; }
    void SetModalResult(TModalResult result);

    // The window's shape; nullptr (or an empty region) makes it a plain rectangle again.
    void SetWindowRegion(const TRegion* region);
    [[nodiscard]] bool HasWindowRegion() const;

    // Starts moving the window with the pointer until the button is released: the window system
    // does it where it can, the window itself follows the pointer where it cannot.
    void BeginWindowDrag();
    [[nodiscard]] bool ManualDragging() const { return manual_drag_; }
    void ManualDragTo(TPoint screen);
    void EndManualDrag() { manual_drag_ = false; }

    // Runs OnCreate; an error in it is shown and the form still opens.
    void DoCreate();

    [[nodiscard]] int Left() const override;
    [[nodiscard]] int Top() const override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnClose;

protected:
    void Paint() override;
    void TextChanged() override;
    void VisibleChanged() override;
    void BoundsChanged(const TRect& old_bounds) override;

private:
    void ApplyWindowFlags();
    TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    bool manual_drag_ = false;
    TPoint drag_offset_;
    struct ModalState;
    std::unique_ptr<ModalState> modal_;
    // Sees the window's close requests and keys before the window does.
    class WindowEvents;
    std::unique_ptr<WindowEvents> window_events_;
    bool has_region_ = false;
};

// The screens' areas on the desktop, in desktop coordinates.
[[nodiscard]] std::vector<TRect> ScreenRects();

} // namespace vd
