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
    // The desktop asks the window to close: its close box, Alt+F4, the task bar, a termination
    // signal or the session ending. Runs OnCloseRequest where bound (the window's owner closes it
    // its own way), else Close(). GUI thread.
    void RequestClose();
    // Shows the window and waits, running the event loop, until it closes: by Close, by the
    // close box of its caption, by the window system, or by Escape. A form that is showing
    // modally already is only brought to the front, and mrNone returned at once.
    TModalResult ShowModal();
    [[nodiscard]] bool Modal() const { return modal_ != nullptr; }
    void SetModalResult(TModalResult result);

    // The window's shape; nullptr (or an empty region) makes it a plain rectangle again.
    void SetWindowRegion(const TRegion* region);
    [[nodiscard]] bool HasWindowRegion() const;

    // A left press at screen point `press` is to move the window. The move starts only once the
    // pointer has moved with the button held (a click alone, however short, moves nothing); then
    // the window system moves the window with the pointer until the release where it can, and the
    // window follows the pointer itself where it cannot. GUI thread.
    void BeginWindowDrag(TPoint press);
    // Pressed, not moved yet.
    [[nodiscard]] bool WindowDragArmed() const { return drag_ == WindowDrag::armed; }
    [[nodiscard]] bool ManualDragging() const { return drag_ == WindowDrag::manual; }
    // The pointer is at `screen`, the left button held or not: starts, goes on with or ends the
    // move.
    void WindowDragMove(TPoint screen, bool left_held);
    // The button was released: no move starts any more, a manual one ends.
    void EndManualDrag() { drag_ = WindowDrag::none; }

    // Runs OnCreate; an error in it is shown and the form still opens.
    void DoCreate();

    [[nodiscard]] int Left() const override;
    [[nodiscard]] int Top() const override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnClose;
    TNotifyEvent OnCloseRequest;

protected:
    void Paint() override;
    void TextChanged() override;
    void VisibleChanged() override;
    void BoundsChanged(const TRect& old_bounds) override;

private:
    void ApplyWindowFlags();
    TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    enum class WindowDrag { none, armed, manual };
    void ManualDragTo();
    WindowDrag drag_ = WindowDrag::none;
    TPoint drag_press_;  // screen point of the press
    TPoint drag_offset_; // pointer minus the window's top left corner
    struct ModalState;
    std::unique_ptr<ModalState> modal_;
    // Sees the window's close requests and keys before the window does.
    class WindowEvents;
    std::unique_ptr<WindowEvents> window_events_;
    bool has_region_ = false;
};

// Whether a pointer that was pressed at `press` and is now at `now` has moved far enough to start
// a drag: a few pixels, so that the jitter of a touchpad's tap stays a click.
[[nodiscard]] bool DragThresholdPassed(TPoint press, TPoint now);

// The screens' areas on the desktop, in desktop coordinates.
[[nodiscard]] std::vector<TRect> ScreenRects();

} // namespace vd
