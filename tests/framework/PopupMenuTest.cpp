// A real popup menu answering the mouse: a menu that opens under the pointer while the button
// that opened it is held must not take that button's release for a choice; moving onto an item
// (the button held or not) or a fresh click after the menu appeared still chooses.

#include "framework/Menus.h"
#include "tests/support/GuiTestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vd {
namespace {

// Every item is this big, whatever fonts the machine has, so that the tests can aim.
constexpr int kItemWidth = 120;
constexpr int kItemHeight = 20;
constexpr int kFrame = 2;
constexpr int kMenuX = 100;
constexpr int kMenuY = 100;

// The middle of item `index` in the menu window's own coordinates.
constexpr int ItemX() {
    return kFrame + kItemWidth / 2;
}
constexpr int ItemY(int index) {
    return kFrame + index * kItemHeight + kItemHeight / 2;
}

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        TPopupMenu::SetPopupScript(nullptr); // the real menu window
        test::HeldButtons() = {};
        menu_ = test::MakeUnowned<TPopupMenu>();
        for (const char* caption : {"Restore", "About", "Close"}) {
            items_.push_back(test::MakeUnowned<TMenuItem>());
            TMenuItem* item = items_.back().get();
            item->SetCaption(caption);
            item->OnMeasureItem = [](TMenuItem*, TCanvas&, int& width, int& height) {
                width = kItemWidth;
                height = kItemHeight;
            };
            item->OnClick = [this](TComponent* sender) {
                chosen_.push_back(static_cast<TMenuItem*>(sender)->Caption());
            };
            menu_->Items()->Add(item);
        }
    }
    void TearDown() override {
        test::StartGui(); // popups answered by the recorder again
        test::HeldButtons() = {};
    }

    // Pops the menu up at (kMenuX, kMenuY) with the pointer at the screen point `pointer`, and
    // runs `person` once the menu is on the screen. Returns when the menu has closed; a menu that
    // `person` leaves open is closed as Escape would.
    void Popup(QPoint pointer, const std::function<void(QWidget* menu)>& person) {
        QCursor::setPos(pointer);
        QTimer::singleShot(0, [&] {
            QWidget* window = QApplication::activePopupWidget();
            if (window == nullptr) {
                ADD_FAILURE() << "no menu window is open";
                return;
            }
            person(window);
            if (QWidget* still = QApplication::activePopupWidget())
                still->close();
        });
        menu_->Popup(kMenuX, kMenuY);
    }

    static void Key(QWidget* window, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &press);
    }

    test::ComponentPtr<TPopupMenu> menu_;
    std::vector<test::ComponentPtr<TMenuItem>> items_;
    std::vector<std::string> chosen_;
};

// The pointer on the last item when the menu appears, as with a right click on a tray icon in
// the screen's bottom-right corner.
const QPoint kOnClose(kMenuX + ItemX(), kMenuY + ItemY(2));

TEST_F(PopupMenuTest, ReleaseOfTheOpeningButtonWithoutMovingChoosesNothingAndKeepsTheMenuOpen) {
    bool open_after_release = false;
    Popup(kOnClose, [&](QWidget* window) {
        test::HeldButtons() |= Qt::RightButton;
        test::Release(window, ItemX(), ItemY(2), TMouseButton::mbRight);
        open_after_release = window->isVisible() && QApplication::activePopupWidget() == window;
        // A tremble of a pixel or two on the same item is no move either.
        test::Move(window, ItemX() + 1, ItemY(2) - 1);
        test::HeldButtons() |= Qt::LeftButton;
        test::Release(window, ItemX() + 1, ItemY(2) - 1);
        open_after_release = open_after_release && window->isVisible();
        Key(window, Qt::Key_Escape);
    });
    EXPECT_TRUE(open_after_release) << "the release closed the menu";
    EXPECT_TRUE(chosen_.empty()) << "the release chose \"" << chosen_.front() << "\"";
}

TEST_F(PopupMenuTest, DraggingOntoAnItemWithTheButtonHeldThenReleasingChoosesIt) {
    Popup(kOnClose, [&](QWidget* window) {
        test::HeldButtons() |= Qt::RightButton;
        test::Move(window, ItemX(), ItemY(1));
        test::Release(window, ItemX(), ItemY(1), TMouseButton::mbRight);
    });
    EXPECT_EQ(chosen_, std::vector<std::string>{"About"});
}

TEST_F(PopupMenuTest, MovingAwayAndBackOntoTheFirstItemArmsTheRelease) {
    Popup(kOnClose, [&](QWidget* window) {
        test::HeldButtons() |= Qt::RightButton;
        test::Move(window, ItemX(), ItemY(1));
        test::Move(window, ItemX(), ItemY(2));
        test::Release(window, ItemX(), ItemY(2), TMouseButton::mbRight);
    });
    EXPECT_EQ(chosen_, std::vector<std::string>{"Close"});
}

TEST_F(PopupMenuTest, AFreshClickAfterTheMenuAppearedChoosesWithoutMoving) {
    Popup(kOnClose, [&](QWidget* window) {
        test::HeldButtons() |= Qt::RightButton;
        test::Release(window, ItemX(), ItemY(2), TMouseButton::mbRight);
        test::Press(window, ItemX(), ItemY(2));
        test::Release(window, ItemX(), ItemY(2));
    });
    EXPECT_EQ(chosen_, std::vector<std::string>{"Close"});
}

TEST_F(PopupMenuTest, MenuOpenedAtThePointerChoosesTheItemMovedOnto) {
    // The usual case: the menu's corner at the pointer, no item under it.
    Popup(QPoint(kMenuX, kMenuY), [&](QWidget* window) {
        test::Move(window, ItemX(), ItemY(0));
        test::HeldButtons() |= Qt::LeftButton;
        test::Release(window, ItemX(), ItemY(0));
    });
    EXPECT_EQ(chosen_, std::vector<std::string>{"Restore"});
}

TEST_F(PopupMenuTest, ReturnStillChoosesTheSelectedItem) {
    Popup(kOnClose, [&](QWidget* window) {
        Key(window, Qt::Key_Down);
        Key(window, Qt::Key_Return);
    });
    EXPECT_EQ(chosen_, std::vector<std::string>{"Restore"});
}

} // namespace
} // namespace vd
