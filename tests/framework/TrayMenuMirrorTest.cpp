// The copy of a popup menu that a StatusNotifierItem host draws: the same items in the same
// states, and choosing one clicks ours, later, from the event loop.

#include "framework/TrayMenuMirror.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "tests/support/GuiTestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vd {
namespace {

constexpr TColor kRed = RGB(200, 0, 0);
constexpr TColor kBlue = RGB(0, 0, 200);

class TrayMenuMirrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        images_.SetSize(16, 16);
        TBitmap strip(32, 16);
        strip.Canvas().Brush().SetColor(kRed);
        strip.Canvas().FillRect(Bounds(0, 0, 16, 16));
        strip.Canvas().Brush().SetColor(kBlue);
        strip.Canvas().FillRect(Bounds(16, 0, 16, 16));
        images_.AddMasked(strip, clFuchsia);
        menu_->SetImages(&images_);
        restore_ = Add(*menu_->Items(), "Restore");
        restore_->SetDefault(true);
        about_ = Add(*menu_->Items(), "About");
        about_->SetImageIndex(1);
        Add(*menu_->Items(), "-");
        play_ = Add(*menu_->Items(), "Play");
        play_->SetEnabled(false);
        play_->SetImageIndex(0);
        close_ = Add(*menu_->Items(), "Close");
    }

    TMenuItem* Add(TMenuItem& parent, const char* caption) {
        items_.push_back(test::MakeUnowned<TMenuItem>());
        TMenuItem* item = items_.back().get();
        item->SetCaption(caption);
        item->OnClick = [this](TComponent* sender) {
            clicked_.push_back(static_cast<TMenuItem*>(sender)->Caption());
        };
        parent.Add(item);
        return item;
    }

    static QRgb Middle(const QAction& action) {
        return action.icon().pixmap(16, 16).toImage().pixel(8, 8) & 0xFFFFFF;
    }
    static QRgb Rgb(TColor color) {
        return qRgb(static_cast<int>(GetRValue(color)), static_cast<int>(GetGValue(color)),
                    static_cast<int>(GetBValue(color))) &
               0xFFFFFF;
    }

    TImageList images_{nullptr};
    test::ComponentPtr<TPopupMenu> menu_ = test::MakeUnowned<TPopupMenu>();
    std::vector<test::ComponentPtr<TMenuItem>> items_;
    TMenuItem* restore_ = nullptr;
    TMenuItem* about_ = nullptr;
    TMenuItem* play_ = nullptr;
    TMenuItem* close_ = nullptr;
    std::vector<std::string> clicked_;
};

TEST_F(TrayMenuMirrorTest, CopiesCaptionsSeparatorsStatesPicturesAndTheDefaultItem) {
    TTrayMenuMirror mirror;
    mirror.SetSource(menu_.get());
    const QList<QAction*> actions = mirror.Menu().actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), "Restore");
    EXPECT_EQ(actions[1]->text(), "About");
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text(), "Play");
    EXPECT_EQ(actions[4]->text(), "Close");

    EXPECT_TRUE(actions[0]->font().bold());
    for (int i : {1, 3, 4})
        EXPECT_FALSE(actions[i]->font().bold()) << i;
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[3]->isEnabled());
    for (QAction* action : actions)
        EXPECT_TRUE(action->isVisible());

    EXPECT_TRUE(actions[0]->icon().isNull());
    ASSERT_FALSE(actions[1]->icon().isNull());
    EXPECT_EQ(Middle(*actions[1]), Rgb(kBlue));
    ASSERT_FALSE(actions[3]->icon().isNull());
    EXPECT_EQ(Middle(*actions[3]), Rgb(kRed));
    for (int i = 0; i < actions.size(); ++i)
        EXPECT_EQ(mirror.ItemOf(actions[i]), menu_->Items()->Items(i)) << i;
}

TEST_F(TrayMenuMirrorTest, ATriggeredActionClicksItsItemOnlyOnceTheActivationHasEnded) {
    TTrayMenuMirror mirror;
    mirror.SetSource(menu_.get());
    QAction* about = mirror.Menu().actions()[1];
    about->trigger();
    EXPECT_TRUE(clicked_.empty()); // still inside the host's delivery
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked_, std::vector<std::string>{"About"});

    // A handler of our own is used instead of Click, and is given the item.
    std::vector<TMenuItem*> handled;
    mirror.SetSource(menu_.get(), [&](TMenuItem* item) { handled.push_back(item); });
    mirror.Menu().actions()[4]->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, std::vector<TMenuItem*>{close_});
    EXPECT_EQ(clicked_.size(), 1u);
}

TEST_F(TrayMenuMirrorTest, AClickForAnItemThatLeftTheMenuOrWasDisabledMeanwhileIsDropped) {
    TTrayMenuMirror mirror;
    mirror.SetSource(menu_.get());
    mirror.Menu().actions()[1]->trigger();
    menu_->Items()->Remove(about_);
    mirror.Menu().actions()[4]->trigger();
    close_->SetEnabled(false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(clicked_.empty());

    // Nor does a click outlive the mirror.
    {
        TTrayMenuMirror gone;
        gone.SetSource(menu_.get());
        gone.Menu().actions()[0]->trigger();
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(clicked_.empty());
}

TEST_F(TrayMenuMirrorTest, BeforeShowingTheCopyFollowsChangedStatesInPlaceAndNewItemsAfresh) {
    TTrayMenuMirror mirror;
    mirror.SetSource(menu_.get());
    QAction* play = mirror.Menu().actions()[3];
    play_->SetEnabled(true);
    play_->SetCaption("Play again");
    play_->SetImageIndex(1);
    close_->SetVisible(false);
    about_->SetChecked(true);
    restore_->SetDefault(false);
    emit mirror.Menu().aboutToShow();
    QList<QAction*> actions = mirror.Menu().actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[3], play); // the same action: a host keeps its place in the menu
    EXPECT_TRUE(play->isEnabled());
    EXPECT_EQ(play->text(), "Play again");
    EXPECT_EQ(Middle(*play), Rgb(kBlue));
    EXPECT_FALSE(actions[4]->isVisible());
    EXPECT_TRUE(actions[1]->isCheckable());
    EXPECT_TRUE(actions[1]->isChecked());
    EXPECT_FALSE(actions[0]->font().bold());

    // A submenu added: its items come along and click as the others do.
    TMenuItem* more = Add(*menu_->Items(), "More");
    Add(*more, "Deeper");
    mirror.Sync();
    actions = mirror.Menu().actions();
    ASSERT_EQ(actions.size(), 6);
    ASSERT_NE(actions[5]->menu(), nullptr);
    EXPECT_EQ(actions[5]->text(), "More");
    const QList<QAction*> inner = actions[5]->menu()->actions();
    ASSERT_EQ(inner.size(), 1);
    EXPECT_EQ(inner[0]->text(), "Deeper");
    inner[0]->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked_, std::vector<std::string>{"Deeper"});

    // No menu: an empty copy.
    mirror.SetSource(nullptr);
    EXPECT_TRUE(mirror.Menu().actions().empty());
}

} // namespace
} // namespace vd
