#include "framework/Menus.h"

#include "framework/Controls.h"
#include "framework/ImageList.h"
#include "framework/MenuWindow.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace vd {

namespace {

TPopupMenu::PopupScript& Script() {
    static TPopupMenu::PopupScript script; // tests only
    return script;
}

constexpr int kImageGutter = 24;
constexpr int kItemHeight = 19;
constexpr int kShortCutGap = 24; // between an item's caption and its shortcut
constexpr int kLineHeight = 9;
constexpr int kFocusLossReportWait_ms = 1000; // far longer than the report takes

// GUI thread. Hiding the window that has the focus (the main window going into the notification
// area) leaves the application active until the platform reports the loss, and Qt closes every
// open menu when it does. X11 reports it late on purpose (Qt waits 100 ms for another of the
// application's windows to take the focus), so a menu opened in that moment, as by a click on
// the tray icon at once, would close by itself: it opens after the report. False when another
// menu is already waiting to open.
[[nodiscard]] bool AwaitFocusLossReport() {
    static bool waiting = false;
    if (waiting)
        return false;
    const QWindow* focus = QGuiApplication::focusWindow();
    if (focus == nullptr || focus->isVisible() || QGuiApplication::platformName() != "xcb")
        return true;
    waiting = true;
    QEventLoop loop;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &loop, &QEventLoop::quit);
    QTimer::singleShot(kFocusLossReportWait_ms, &loop, &QEventLoop::quit);
    loop.exec();
    waiting = false;
    return true;
}

} // namespace

namespace {

// The name a shortcut's key goes by in menus, empty for keys without one.
std::string KeyName(unsigned key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key < VK_F1 + 12)
        return "F" + std::to_string(key - VK_F1 + 1);
    static constexpr std::pair<unsigned, const char*> kNames[] = {
        {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
        {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},
        {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},        {VK_RIGHT, "Right"},
        {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
    };
    for (const auto& [code, name] : kNames)
        if (code == key)
            return name;
    return {};
}

} // namespace

std::string ShortCutToText(TShortCut shortcut) {
    const unsigned key = shortcut & 0xFFu;
    if (key == 0)
        return {};
    const std::string name = KeyName(key);
    if (name.empty())
        return {};
    std::string text;
    if ((shortcut & scShift) != 0)
        text += "Shift+";
    if ((shortcut & scCtrl) != 0)
        text += "Ctrl+";
    if ((shortcut & scAlt) != 0)
        text += "Alt+";
    return text + name;
}

// ---- TMenuItem --------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    BeginDestruction();
    if (parent_ != nullptr)
        parent_->Remove(this);
    for (TMenuItem* item : items_)
        item->parent_ = nullptr;
}

void TMenuItem::Add(TMenuItem* item) {
    if (item == nullptr || item == this)
        return;
    if (item->parent_ != nullptr)
        item->parent_->Remove(item);
    item->parent_ = this;
    items_.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item) {
    std::erase(items_, item);
    if (item->parent_ == this)
        item->parent_ = nullptr;
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("Menu index out of range (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

TPopupMenu* TMenuItem::ParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_ != nullptr)
        item = item->parent_;
    return item->menu_;
}

void TMenuItem::Click() {
    if (OnClick)
        SafeCall([this] { OnClick(this); });
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove)
        if (auto* item = dynamic_cast<TMenuItem*>(component);
            item != nullptr && item->parent_ == this)
            Remove(item);
}

void TMenuItem::Measure(TCanvas& canvas, int& width, int& height) {
    DefaultMeasure(canvas, width, height);
    if (OnMeasureItem)
        OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::Draw(TCanvas& canvas, const TRect& rect, TOwnerDrawState state) {
    if (OnAdvancedDrawItem)
        OnAdvancedDrawItem(this, canvas, rect, state);
    else if (OnDrawItem)
        OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
    else
        DefaultDraw(canvas, rect, state);
}

void TMenuItem::DefaultMeasure(TCanvas& canvas, int& width, int& height) const {
    if (IsLine()) {
        width = 10;
        height = kLineHeight;
        return;
    }
    TFontStyles style = canvas.Font().Style();
    canvas.Font().SetStyle(default_ ? (style | fsBold) : (style & ~fsBold));
    TRect r{0, 0, 0, 0};
    canvas.DrawText(caption_, r, DT_CALCRECT | DT_SINGLELINE);
    int shortcut_width = 0;
    if (const std::string keys = ShortCutToText(shortcut_); !keys.empty()) {
        TRect s{0, 0, 0, 0};
        canvas.DrawText(keys, s, DT_CALCRECT | DT_SINGLELINE);
        shortcut_width = s.Width() + kShortCutGap;
    }
    canvas.Font().SetStyle(style);
    width = kImageGutter + 6 + r.Width() + shortcut_width + 24;
    height = std::max(kItemHeight, r.Height() + 6);
}

namespace {

// A separator line: a groove across the middle of the item.
void DrawSeparator(TCanvas& canvas, const TRect& rect) {
    const int y = rect.Top + rect.Height() / 2 - 1;
    canvas.Pen().SetColor(clBtnShadow);
    canvas.MoveTo(rect.Left + 1, y);
    canvas.LineTo(rect.Right - 1, y);
    canvas.Pen().SetColor(clBtnHighlight);
    canvas.MoveTo(rect.Left + 1, y + 1);
    canvas.LineTo(rect.Right - 1, y + 1);
}

// The submenu arrow: a small solid triangle pointing right, in the text's colour.
void DrawSubmenuArrow(TCanvas& canvas, const TRect& rect) {
    const int cx = rect.Right - 10;
    const int cy = rect.Top + rect.Height() / 2;
    canvas.Pen().SetColor(canvas.Font().Color());
    for (int i = 0; i < 4; ++i) {
        canvas.MoveTo(cx + i, cy - 3 + i);
        canvas.LineTo(cx + i, cy + 4 - i);
    }
}

} // namespace

void TMenuItem::DefaultDraw(TCanvas& canvas, const TRect& rect, TOwnerDrawState state) const {
    const bool selected = (state & odSelected) != 0;
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(selected && !IsLine() ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
        DrawSeparator(canvas, rect);
        return;
    }
    const TPopupMenu* menu = ParentMenu();
    if (menu != nullptr && menu->Images() != nullptr && image_index_ >= 0) {
        const TImageList* images = menu->Images();
        images->Draw(canvas, rect.Left + (kImageGutter - images->Width()) / 2,
                     rect.Top + (rect.Height() - images->Height()) / 2, image_index_, enabled_);
    }
    const TFontStyles style = canvas.Font().Style();
    canvas.Font().SetStyle(default_ ? (style | fsBold) : (style & ~fsBold));
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    TRect text{rect.Left + kImageGutter + 6, rect.Top, rect.Right - 16, rect.Bottom};
    if (!enabled_) {
        if (!selected) {
            canvas.Font().SetColor(clBtnHighlight);
            TRect shadow = text.Offset(1, 1);
            canvas.DrawText(caption_, shadow, DT_SINGLELINE | DT_VCENTER);
        }
        canvas.Font().SetColor(clGrayText);
    } else {
        canvas.Font().SetColor(selected ? clHighlightText : clMenuText);
    }
    canvas.DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER);
    if (const std::string keys_text = ShortCutToText(shortcut_); !keys_text.empty()) {
        TRect keys{text.Left, text.Top, rect.Right - 10, text.Bottom};
        canvas.DrawText(keys_text, keys, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
    if (!items_.empty())
        DrawSubmenuArrow(canvas, rect);
    canvas.Font().SetStyle(style);
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
}

// ---- TPopupMenu -------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(this)) {
    root_->menu_ = this;
}

TPopupMenu::~TPopupMenu() {
    BeginDestruction();
}

void TPopupMenu::SetImages(TImageList* images) {
    if (images_ != nullptr)
        RemoveFreeNotification(images_);
    images_ = images;
    if (images != nullptr)
        FreeNotification(images);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_)
        images_ = nullptr;
}

void TPopupMenu::SetPopupScript(PopupScript script) {
    Script() = std::move(script);
}

void TPopupMenu::Popup(int x, int y) {
    if (!Script() && !AwaitFocusLossReport())
        return;
    popup_point_ = {x, y};
    if (OnPopup)
        OnPopup(this);
    TMenuItem* chosen = nullptr;
    if (Script()) {
        chosen = Script()(*this, popup_point_);
    } else {
        QEventLoop loop;
        MenuWindow::Session session;
        session.loop = &loop;
        {
            auto* top = new MenuWindow(root_, session, nullptr); // deletes itself on close
            top->Popup(QPoint(x, y));
            loop.exec();
        }
        chosen = session.chosen;
    }
    if (chosen != nullptr && chosen->Enabled() && !chosen->IsLine() && chosen->Count() == 0)
        chosen->Click();
}

// ---- MenuWindow -------------------------------------------------------------------------------

MenuWindow::MenuWindow(TMenuItem* level, Session& session, MenuWindow* parent_level)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), session_(session),
      parent_level_(parent_level) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    for (int i = 0; i < level->Count(); ++i)
        if (level->Items(i)->Visible())
            items_.push_back(level->Items(i));
    session_.open.push_back(this);
    Layout();
}

MenuWindow::~MenuWindow() {
    std::erase(session_.open, this);
    if (parent_level_ != nullptr && parent_level_->submenu_ == this)
        parent_level_->submenu_ = nullptr;
    if (session_.open.empty() && session_.loop != nullptr)
        session_.loop->quit();
}

void MenuWindow::Layout() {
    QImage scratch(1, 1, QImage::Format_RGB32);
    TCanvas canvas(&scratch);
    canvas.Font().SetName("Tahoma");
    canvas.Font().SetHeight(-11);
    int width = 0;
    int y = kFrame;
    rects_.clear();
    for (TMenuItem* item : items_) {
        int w = 0;
        int h = 0;
        item->Measure(canvas, w, h);
        rects_.push_back({kFrame, y, 0, y + h});
        width = std::max(width, w);
        y += h;
    }
    for (TRect& r : rects_)
        r.Right = kFrame + width;
    resize(width + 2 * kFrame, y + kFrame);
    picture_ = QImage(size(), QImage::Format_RGB32);
    Render();
}

void MenuWindow::Render() {
    TCanvas canvas(&picture_);
    canvas.Font().SetName("Tahoma");
    canvas.Font().SetHeight(-11);
    const TRect all{0, 0, width(), height()};
    canvas.Brush().SetColor(clMenu);
    canvas.FillRect(all);
    // A raised frame around the menu.
    auto edge = [&](TColor light, TColor dark, TRect r) {
        canvas.Pen().SetColor(light);
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right - 1, r.Top);
        canvas.Pen().SetColor(dark);
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(r.Left - 1, r.Bottom - 1);
    };
    edge(cl3DLight, cl3DDkShadow, all);
    edge(clBtnHighlight, clBtnShadow, {1, 1, width() - 1, height() - 1});
    for (std::size_t i = 0; i < items_.size(); ++i) {
        TMenuItem* item = items_[i];
        TOwnerDrawState state = 0;
        if (static_cast<int>(i) == selected_)
            state |= odSelected;
        if (!item->Enabled())
            state |= odDisabled | odGrayed;
        if (item->Checked())
            state |= odChecked;
        if (item->Default())
            state |= odDefault;
        SafeCall([&] { item->Draw(canvas, rects_[i], state); });
    }
    canvas.Release();
    update();
}

void MenuWindow::Popup(QPoint screen) {
    QPoint at = screen;
    if (const QScreen* s = QGuiApplication::screenAt(screen)) {
        const QRect area = s->availableGeometry();
        if (at.x() + width() > area.right() + 1)
            at.setX(std::max(area.left(), area.right() + 1 - width()));
        if (at.y() + height() > area.bottom() + 1)
            at.setY(std::max(area.top(), area.bottom() + 1 - height()));
    }
    move(at);
    if (parent_level_ == nullptr) {
        session_.start_point = QCursor::pos();
        session_.start_index = ItemAt(session_.start_point - at);
        session_.release_armed = false;
    }
    show();
    raise();
    activateWindow();
    setFocus();
}

void MenuWindow::CloseAll() {
    const std::vector<MenuWindow*> open = session_.open;
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        (*it)->close();
}

void MenuWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}

int MenuWindow::ItemAt(QPoint p) const {
    for (std::size_t i = 0; i < rects_.size(); ++i)
        if (rects_[i].Contains({p.x(), p.y()}))
            return static_cast<int>(i);
    return -1;
}

bool MenuWindow::Selectable(int index) const {
    return index >= 0 && index < static_cast<int>(items_.size()) &&
           !items_[static_cast<std::size_t>(index)]->IsLine();
}

void MenuWindow::Select(int index) {
    if (index == selected_)
        return;
    selected_ = Selectable(index) ? index : -1;
    Render();
}

void MenuWindow::OpenSubmenu() {
    CloseSubmenu();
    if (!Selectable(selected_))
        return;
    TMenuItem* item = items_[static_cast<std::size_t>(selected_)];
    if (item->Count() == 0 || !item->Enabled())
        return;
    submenu_ = new MenuWindow(item, session_, this); // deletes itself on close
    const TRect& r = rects_[static_cast<std::size_t>(selected_)];
    submenu_->Popup(mapToGlobal(QPoint(r.Right, r.Top - kFrame)));
}

void MenuWindow::CloseSubmenu() {
    if (submenu_ != nullptr) {
        MenuWindow* sub = submenu_;
        submenu_ = nullptr;
        sub->CloseSubmenu();
        sub->close();
    }
}

void MenuWindow::Activate(int index) {
    if (!Selectable(index))
        return;
    TMenuItem* item = items_[static_cast<std::size_t>(index)];
    if (item->Count() > 0) {
        Select(index);
        OpenSubmenu();
        return;
    }
    if (!item->Enabled())
        return;
    session_.chosen = item;
    CloseAll();
}

void MenuWindow::ArmReleaseOnMove(QPoint global, int index) {
    if (session_.release_armed)
        return;
    // Window systems report moves that are none (a window appearing under the pointer, a hand
    // that trembles): only a real move or another item counts.
    const int moved = (global - session_.start_point).manhattanLength();
    if (parent_level_ != nullptr || index != session_.start_index ||
        moved >= QGuiApplication::styleHints()->startDragDistance())
        session_.release_armed = true;
}

void MenuWindow::mouseMoveEvent(QMouseEvent* event) {
    const int index = ItemAt(event->position().toPoint());
    ArmReleaseOnMove(event->globalPosition().toPoint(), index);
    if (index < 0)
        return;
    if (index != selected_) {
        Select(index);
        if (Selectable(index) && items_[static_cast<std::size_t>(index)]->Count() > 0)
            OpenSubmenu();
        else
            CloseSubmenu();
    }
}

void MenuWindow::SelectFirst() {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i)
        if (Selectable(i)) {
            Select(i);
            return;
        }
}

void MenuWindow::mousePressEvent(QMouseEvent* event) {
    session_.release_armed = true;
    if (rect().contains(event->position().toPoint()))
        return;
    // A press on an outer level keeps that level open; anywhere else ends the menu.
    const QPoint global = event->globalPosition().toPoint();
    for (MenuWindow* level = parent_level_; level != nullptr; level = level->parent_level_) {
        if (level->geometry().contains(global)) {
            level->CloseSubmenu();
            return;
        }
    }
    CloseAll();
}

void MenuWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!session_.release_armed)
        return; // the release of the button that opened the menu
    const int index = ItemAt(event->position().toPoint());
    if (index >= 0)
        Activate(index);
}

void MenuWindow::leaveEvent(QEvent*) {
    if (submenu_ == nullptr)
        Select(-1);
}

void MenuWindow::keyPressEvent(QKeyEvent* event) {
    const int n = static_cast<int>(items_.size());
    auto step = [&](int dir) {
        if (n == 0)
            return;
        int i = selected_;
        for (int tries = 0; tries < n; ++tries) {
            i = (i + dir + n) % n;
            if (i < 0)
                i = n - 1;
            if (Selectable(i)) {
                Select(i);
                return;
            }
        }
    };
    switch (event->key()) {
    case Qt::Key_Down:
        step(1);
        break;
    case Qt::Key_Up:
        step(selected_ < 0 ? 0 : -1);
        break;
    case Qt::Key_Right:
        OpenSubmenu();
        if (submenu_ != nullptr)
            submenu_->SelectFirst();
        break;
    case Qt::Key_Left:
        if (parent_level_ != nullptr)
            close();
        break;
    case Qt::Key_Escape:
        close();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Activate(selected_);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MenuWindow::closeEvent(QCloseEvent* event) {
    CloseSubmenu();
    QWidget::closeEvent(event);
}

} // namespace vd
