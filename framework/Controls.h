#pragma once

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class QImage;

namespace vd {

class TWinControl;
class TPopupMenu;
class ControlWidget;
class TForm;

// How a control behaves; set by its class.
enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1, // a left press captures the mouse until the release
    csClickEvents = 1u << 2,  // a press and release on the control is a click
    csOpaque = 1u << 3,       // the control covers its whole rectangle: nothing beneath is drawn
    csDoubleClicks = 1u << 4, // a double click is reported as one
};
using TControlStyle = unsigned;

// Virtual-key codes of the keys controls handle: the classic values; letters and digits are
// their upper-case characters.
enum : uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70, // F2 to F12 follow
    VK_MEDIA_NEXT_TRACK = 0xB0,
    VK_MEDIA_PREV_TRACK = 0xB1,
    VK_MEDIA_STOP = 0xB2,
    VK_MEDIA_PLAY_PAUSE = 0xB3,
};

// Local files dropped on a window, in the drag's order.
using TDropFilesEvent =
    std::function<void(TComponent* sender, const std::vector<std::string>& files)>;
// A key press; a handler that consumes the key sets it to 0.
using TKeyEvent = std::function<void(TComponent* sender, uint16_t& key, TShiftState shift)>;
// A wheel turn the control itself did not use; `mouse_pos` in control coordinates. Returns
// whether the handler used it.
using TMouseWheelEvent =
    std::function<bool(TComponent* sender, TShiftState shift, int wheel_delta, TPoint mouse_pos)>;
// One wheel notch is 120; positive turns away from the user.
inline constexpr int kWheelDelta = 120;

// What happened to a control, as its message handling sees it.
enum class TControlMessageKind {
    mkPaint,
    mkMouseEnter,
    mkMouseLeave,
    mkMouseDown,
    mkMouseUp,
    mkKeyDown,
    mkSetFocus,
    mkKillFocus,
    mkEnabledChanged,
    mkTextChanged,
};

struct TControlMessage {
    TControlMessageKind kind = TControlMessageKind::mkPaint;
    TMouseButton button = TMouseButton::mbLeft;
    TShiftState shift = 0;
    int x = 0;
    int y = 0;
    bool double_click = false; // mouse down: the second press of a double click
    bool click = false;        // mouse up: the release completes a click
    uint16_t* key = nullptr;   // key down: the key, 0 afterwards when consumed
    int result = 0;
};
using TWindowProc = std::function<void(TControlMessage& message)>;

// A visual element with a position in its parent, mouse events as small virtual hooks, a font,
// a caption, a cursor and a popup menu.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    [[nodiscard]] TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    [[nodiscard]] virtual int Left() const { return left_; }
    [[nodiscard]] virtual int Top() const { return top_; }
    [[nodiscard]] int Width() const { return width_; }
    [[nodiscard]] int Height() const { return height_; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, Top(), width_, height_); }
    void SetTop(int top) { SetBounds(Left(), top, width_, height_); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, height_); }
    void SetHeight(int height) { SetBounds(Left(), Top(), width_, height); }
    [[nodiscard]] TRect BoundsRect() const { return Bounds(Left(), Top(), width_, height_); }
    [[nodiscard]] TRect ClientRect() const { return {0, 0, width_, height_}; }
    [[nodiscard]] int ClientWidth() const { return width_; }
    [[nodiscard]] int ClientHeight() const { return height_; }

    [[nodiscard]] bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible itself and through every parent.
    [[nodiscard]] bool Showing() const;
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    [[nodiscard]] TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    [[nodiscard]] TPopupMenu* PopupMenu() const { return popup_menu_; }
    void SetPopupMenu(TPopupMenu* menu);
    [[nodiscard]] const std::string& Caption() const { return caption_; }
    void SetCaption(std::string_view caption);
    [[nodiscard]] const std::string& Hint() const { return hint_; }
    void SetHint(std::string_view hint) { hint_ = hint; }
    [[nodiscard]] bool ShowHint() const { return show_hint_; }
    void SetShowHint(bool show) { show_hint_ = show; }
    [[nodiscard]] TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFont& Font() { return font_; }
    [[nodiscard]] const TFont& Font() const { return font_; }
    [[nodiscard]] TControlStyle ControlStyle() const { return control_style_; }
    void SetControlStyle(TControlStyle style) { control_style_ = style; }

    // Redraws the control soon, with what lies beneath it.
    virtual void Invalidate();
    // Redraws the control now.
    virtual void Repaint();

    [[nodiscard]] TPoint ClientToScreen(TPoint p) const;
    [[nodiscard]] TPoint ScreenToClient(TPoint p) const;
    // The client-coordinate point in the coordinates of `ancestor` (a parent, grandparent...).
    [[nodiscard]] TPoint ClientToParent(TPoint p, const TWinControl* ancestor) const;

    // The form this control is on, or nullptr.
    [[nodiscard]] TForm* ParentForm() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TKeyEvent OnKeyDown;
    TMouseWheelEvent OnMouseWheel;

    // The control's message handling. A hook (a painter that restyles controls) puts its own
    // here and calls on to what it replaced; empty means the control's own, DefaultWindowProc.
    TWindowProc WindowProc;
    // Hands `message` to the control's message handling. GUI thread.
    void Perform(TControlMessage& message);
    // The control's own handling of `message`.
    virtual void DefaultWindowProc(TControlMessage& message);

    // framework: mouse input routed by the parent window, in control coordinates.
    void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y, bool double_click);
    void HandleMouseMove(TShiftState shift, int x, int y);
    void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y, bool click);
    void HandleMouseEnter();
    void HandleMouseLeave();
    // framework: keys of the focused window and wheel turns over it; `key` is 0 afterwards when
    // it was consumed, and the wheel reports whether it was used.
    void HandleKeyDown(uint16_t& key, TShiftState shift);
    bool HandleMouseWheel(TShiftState shift, int wheel_delta, TPoint mouse_pos);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // Calls OnKeyDown.
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    // `mouse_pos` in control coordinates; returns whether the turn was used.
    virtual bool MouseWheel(TShiftState, int /*wheel_delta*/, TPoint /*mouse_pos*/) {
        return false;
    }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void CursorChanged() {}
    virtual void ColorChanged() { Invalidate(); }
    virtual void VisibleChanged();
    // The bounds changed from `old_bounds` (in the parent's coordinates).
    virtual void BoundsChanged(const TRect& old_bounds);
    // Where the latest mouse press was, in control coordinates: a double click's handler, which
    // gets no point, can ask what it hit.
    [[nodiscard]] TPoint PressPos() const { return press_pos_; }
    // Hands a message that carries nothing but its kind to the message handling.
    void PerformKind(TControlMessageKind kind);

    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;

private:
    friend class TWinControl;
    TPoint press_pos_{-1, -1};
    TWinControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popup_menu_ = nullptr;
    std::string caption_;
    std::string hint_;
    bool show_hint_ = false;
    TColor color_ = clBtnFace;
    TFont font_;
    TControlStyle control_style_ = csCaptureMouse | csClickEvents | csDoubleClicks;
};

// A control without a window of its own: its parent paints it into the parent's picture, in
// z-order, and routes the mouse to it.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    // The control's canvas: over its parent's picture, origin at the control. While painting it
    // is clipped to the area being painted.
    TCanvas& Canvas();

    // Redraws at once; an opaque control redraws only itself and what lies above it, reusing the
    // parent's picture beneath.
    void Repaint() override;

    // framework: paints the control into its parent's picture, limited to `clip` (parent
    // coordinates).
    void PaintInto(QImage& picture, const TRect& clip);
    // GUI thread. How many times any graphic control has painted itself since the start, for
    // tests and benchmarks that check what a change repaints.
    [[nodiscard]] static std::uint64_t PaintCount();

    void DefaultWindowProc(TControlMessage& message) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A control with a window: it has children, a picture its children are painted into, and it
// routes the mouse to the child under the pointer (or to the child that captured it).
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    void Invalidate() override;
    void Repaint() override;
    // Marks `r` (client coordinates) to be painted anew, parent beneath first.
    void InvalidateRect(const TRect& r);
    // Paints `control` and the controls above it into the picture at once, without painting
    // what lies beneath, and presents the result.
    void RepaintControlOpaque(TGraphicControl* control);
    // Paints everything that is waiting to be painted, now.
    void Update();
    // Part of `r` (client coordinates) is waiting to be painted anew.
    [[nodiscard]] bool NeedsPaint(const TRect& r) const;

    [[nodiscard]] int ControlCount() const { return static_cast<int>(controls_.size()); }
    [[nodiscard]] TControl* Controls(int index) const;
    // The topmost visible child control at `p` (client coordinates); disabled ones only when
    // asked.
    [[nodiscard]] TControl* ControlAtPos(TPoint p, bool allow_disabled = false) const;

    // Ends a mouse capture held by a child control (before the window is moved, say).
    void ReleaseCapture();

    // Keyboard focus: whether this window has it, and taking it.
    [[nodiscard]] bool Focused() const;
    void SetFocus();
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void DefaultWindowProc(TControlMessage& message) override;

    // Files dropped on the window or on any child that takes none itself; setting a handler
    // makes the window accept drags that carry files.
    void SetOnDropFiles(TDropFilesEvent handler);

    // framework: the window and its picture.
    [[nodiscard]] QWidget* Widget() const;
    [[nodiscard]] QImage& Picture() const;

protected:
    // Paints the control's own face into `canvas` (its picture); children are painted after.
    virtual void PaintWindow(TCanvas& canvas);
    void VisibleChanged() override;
    void EnabledChanged() override;
    void CursorChanged() override;
    void BoundsChanged(const TRect& old_bounds) override;
    // The window's widget; created by the constructor of TWinControl unless a subclass asks to
    // create a different one before it is used.
    void SetWidget(std::unique_ptr<QWidget> widget);
    // The window gained or lost the keyboard focus; they call OnEnter and OnExit.
    virtual void DoEnter();
    virtual void DoExit();

private:
    friend class ControlWidget;
    friend class TControl;
    // the control tree (Controls.cpp)
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // painting (ControlPaint.cpp)
    void PaintArea(const TRect& area);
    void PaintEvent(const std::vector<TRect>& rects);
    // input routing (ControlInput.cpp; ControlWidget calls these)
    void SyncCursor(const TControl* over);
    void RouteMouseDown(TMouseButton button, TShiftState shift, TPoint p, bool double_click);
    void RouteMouseMove(TShiftState shift, TPoint p);
    void RouteMouseUp(TMouseButton button, TShiftState shift, TPoint p);
    void RouteEnter();
    void RouteLeave();
    void RouteFocus(bool focused);
    [[nodiscard]] bool AcceptsFiles() const { return static_cast<bool>(on_drop_files_); }
    void RouteDrop(const std::vector<std::string>& files);

    struct State;
    std::unique_ptr<State> state_;
    std::vector<TControl*> controls_; // children in z-order, bottom first
    TDropFilesEvent on_drop_files_;
};

// A windowed control that paints itself through Paint() on its Canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    // The canvas over the control's own picture.
    TCanvas& Canvas();

protected:
    virtual void Paint() {}
    void PaintWindow(TCanvas& canvas) override;

private:
    TCanvas* paint_canvas_ = nullptr;
    std::unique_ptr<TCanvas> idle_canvas_;
};

// Runs `fn`; an exception escaping it is shown by the application's error display.
void SafeCall(const std::function<void()>& fn);

} // namespace vd
