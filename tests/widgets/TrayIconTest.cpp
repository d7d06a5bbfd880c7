// The tray icon as the desktop sees it and as its handlers see it: what tip and picture the
// desktop is given, how the icon's mouse reports become events, cycling, the application's
// minimize, and what happens when the notification area goes away or is replaced. The reports
// are fed in as the desktop adapter delivers them, and time passes by firing the icon's timers.
#include "widgets/TrayIcon.h"

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/TrayHost.h"
#include "tests/widgets/WidgetTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vd {
namespace {

// The count of characters (not bytes) of UTF-8 text.
std::size_t CharCount(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

// A list of `count` 16 × 16 pictures, picture i filled with colour kColors[i].
constexpr TColor kColors[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

void FillList(TImageList& list, int count) {
    list.SetSize(16, 16);
    TBitmap strip(16 * count, 16);
    for (int i = 0; i < count; ++i) {
        strip.Canvas().Brush().SetColor(kColors[i]);
        strip.Canvas().FillRect(Bounds(16 * i, 0, 16, 16));
    }
    list.AddMasked(strip, clFuchsia);
}

// The colour of the middle of the icon's picture.
TColor IconColor(TIcon& icon) {
    if (icon.Empty())
        return clNone;
    const QColor c = icon.Images().front().pixelColor(8, 8);
    return RGB(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
               static_cast<unsigned>(c.blue()));
}

// Every event of the icon, in order, as text.
struct EventLog {
    std::vector<std::string> events;

    void Attach(TTrayIcon& tray) {
        tray.OnClick = [this](TComponent*) { events.push_back("click"); };
        tray.OnMouseDown = [this](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            events.push_back("down " + Button(b) + Shift(s) + At(x, y));
        };
        tray.OnMouseUp = [this](TComponent*, TMouseButton b, TShiftState s, int x, int y) {
            events.push_back("up " + Button(b) + Shift(s) + At(x, y));
        };
        tray.OnMouseMove = [this](TComponent*, TShiftState s, int x, int y) {
            events.push_back("move" + Shift(s) + At(x, y));
        };
        tray.OnMouseEnter = [this](TComponent*) { events.push_back("enter"); };
        tray.OnMouseExit = [this](TComponent*) { events.push_back("exit"); };
        tray.OnBalloonHintClick = [this](TComponent*) { events.push_back("balloon click"); };
        tray.OnBalloonHintHide = [this](TComponent*) { events.push_back("balloon hide"); };
        tray.OnBalloonHintTimeout = [this](TComponent*) { events.push_back("balloon timeout"); };
    }
    void AttachDblClick(TTrayIcon& tray) {
        tray.OnDblClick = [this](TComponent*) { events.push_back("dblclick"); };
    }

    static std::string Button(TMouseButton b) {
        return b == TMouseButton::mbLeft ? "left" : b == TMouseButton::mbRight ? "right" : "middle";
    }
    static std::string Shift(TShiftState s) {
        std::string text;
        if (s & ssShift)
            text += " shift";
        if (s & ssAlt)
            text += " alt";
        if (s & ssCtrl)
            text += " ctrl";
        if (s & ssLeft)
            text += " +left";
        if (s & ssRight)
            text += " +right";
        if (s & ssMiddle)
            text += " +middle";
        return text;
    }
    static std::string At(int x, int y) {
        return " (" + std::to_string(x) + "," + std::to_string(y) + ")";
    }
};

using Strings = std::vector<std::string>;
constexpr TPoint kAt{700, 590};

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<TForm>(nullptr);
        tray_ = std::make_unique<TTrayIcon>(form_.get());
        log_.Attach(*tray_);
    }
    void TearDown() override {
        TPopupMenu::SetPopupScript(nullptr);
        TTrayHost::Instance().ClearSimulation();
        tray_.reset();
        form_.reset();
    }

    void Feed(TTrayMessage message, TShiftState shift = 0, TPoint at = kAt) {
        tray_->TrayNotification(message, at, shift);
    }

    // A menu of "Restore" (the default item, second) behind a plain first item.
    TPopupMenu& MakeMenu() {
        menu_ = std::make_unique<TPopupMenu>(nullptr);
        for (const char* caption : {"About", "Restore"}) {
            auto* item = new TMenuItem(menu_.get());
            item->SetCaption(caption);
            item->OnClick = [this, caption](TComponent*) {
                log_.events.push_back(std::string("item ") + caption);
            };
            menu_->Items()->Add(item);
        }
        menu_->Items()->Items(1)->SetDefault(true);
        TPopupMenu::SetPopupScript([this](TPopupMenu& menu, TPoint at) -> TMenuItem* {
            log_.events.push_back("menu" + EventLog::At(at.X, at.Y));
            popup_component_ = menu.PopupComponent();
            return nullptr;
        });
        tray_->SetPopupMenu(menu_.get());
        return *menu_;
    }

    std::unique_ptr<TForm> form_;
    std::unique_ptr<TTrayIcon> tray_;
    std::unique_ptr<TPopupMenu> menu_;
    TComponent* popup_component_ = nullptr;
    EventLog log_;
};

TEST_F(TrayIconTest, StartsAsTheDefaultsSay) {
    EXPECT_FALSE(tray_->IconVisible());
    EXPECT_TRUE(tray_->Enabled());
    EXPECT_TRUE(tray_->ShowHint());
    EXPECT_FALSE(tray_->LeftPopup());
    EXPECT_FALSE(tray_->CycleIcons());
    EXPECT_FALSE(tray_->MinimizeToTray());
    EXPECT_FALSE(tray_->WantEnterExitEvents());
    EXPECT_EQ(tray_->IconIndex(), 0);
    EXPECT_EQ(tray_->IconList(), nullptr);
    EXPECT_TRUE(tray_->Hint().empty());
    EXPECT_FALSE(tray_->CycleTimer().Running());
    EXPECT_FALSE(tray_->ClickTimer().Running());
    EXPECT_FALSE(tray_->ExitTimer().Running());
}

TEST_F(TrayIconTest, TheDesktopGetsTheFirst127CharactersOfTheHintAndTheWholeHintIsKept) {
    tray_->SetHint(std::string(200, 'a'));
    EXPECT_EQ(tray_->Hint().size(), 200U);
    EXPECT_EQ(tray_->DesktopTip(), std::string(127, 'a'));
    EXPECT_EQ(tray_->Desktop().ToolTip(), std::string(127, 'a'));

    // Two-byte and three-byte characters: cut after 127 of them, never inside one.
    std::string wide;
    for (int i = 0; i < 100; ++i)
        wide += "\xC3\xA9\xE2\x82\xAC"; // "é€"
    tray_->SetHint(wide);
    EXPECT_EQ(CharCount(tray_->Hint()), 200U);
    const std::string tip = tray_->DesktopTip();
    EXPECT_EQ(CharCount(tip), 127U);
    EXPECT_EQ(tip, wide.substr(0, 63 * 5 + 2)) << "63 pairs and one é";
    EXPECT_EQ(tray_->Desktop().ToolTip(), tip);

    // Longer than a short string holds: the first 255 characters stay.
    tray_->SetHint(std::string(300, 'b'));
    EXPECT_EQ(tray_->Hint(), std::string(255, 'b'));
}

TEST_F(TrayIconTest, AnEmptyHintOrShowHintOffGivesTheDesktopNoTip) {
    tray_->SetHint("");
    EXPECT_EQ(tray_->DesktopTip(), "");
    tray_->SetHint("Dezaru Dawn");
    EXPECT_EQ(tray_->Desktop().ToolTip(), "Dezaru Dawn");
    tray_->SetShowHint(false);
    EXPECT_EQ(tray_->DesktopTip(), "");
    EXPECT_EQ(tray_->Desktop().ToolTip(), "");
    EXPECT_EQ(tray_->Hint(), "Dezaru Dawn");
    tray_->SetShowHint(true);
    EXPECT_EQ(tray_->Desktop().ToolTip(), "Dezaru Dawn");
}

TEST_F(TrayIconTest, IconIndexIsLoweredToTheListAndZeroWithoutOne) {
    tray_->SetIconIndex(10);
    EXPECT_EQ(tray_->IconIndex(), 0);

    TImageList list(nullptr);
    FillList(list, 4);
    tray_->SetIconList(&list);
    tray_->SetIconIndex(10);
    EXPECT_EQ(tray_->IconIndex(), 3);
    EXPECT_EQ(IconColor(tray_->Icon()), kColors[3]);
    tray_->SetIconIndex(1);
    EXPECT_EQ(IconColor(tray_->Icon()), kColors[1]);
    EXPECT_TRUE(tray_->Desktop().HasIcon());
}

TEST_F(TrayIconTest, RemovedListAndMenuAreForgotten) {
    auto list = std::make_unique<TImageList>(nullptr);
    FillList(*list, 4);
    tray_->SetIconList(list.get());
    tray_->SetIconIndex(2);
    MakeMenu();
    list.reset();
    EXPECT_EQ(tray_->IconList(), nullptr);
    EXPECT_EQ(tray_->IconIndex(), 0);
    menu_.reset();
    EXPECT_EQ(tray_->PopupMenu(), nullptr);
    Feed(TTrayMessage::RightDown); // no menu to pop up, and nothing breaks
    EXPECT_EQ(log_.events, (Strings{"down right +right (700,590)"}));
}

TEST_F(TrayIconTest, WithoutDblClickHandlerAClickComesAtTheRelease) {
    Feed(TTrayMessage::LeftDown, ssShift);
    EXPECT_FALSE(tray_->ClickTimer().Running()) << "the click timer runs only for a double-click";
    EXPECT_EQ(log_.events, (Strings{"down left shift +left (700,590)"}));
    Feed(TTrayMessage::LeftUp);
    EXPECT_EQ(log_.events,
              (Strings{"down left shift +left (700,590)", "click", "up left +left (700,590)"}));
}

TEST_F(TrayIconTest, WithDblClickHandlerAClickComesOneDoubleClickTimeAfterThePress) {
    log_.AttachDblClick(*tray_);
    Feed(TTrayMessage::LeftDown);
    ASSERT_TRUE(tray_->ClickTimer().Running());
    EXPECT_EQ(tray_->ClickTimer().Interval(), TTrayAdapter::DoubleClickTime_ms());
    Feed(TTrayMessage::LeftUp);
    EXPECT_EQ(log_.events, (Strings{"down left +left (700,590)", "up left +left (700,590)"}));
    tray_->ClickTimer().Fire();
    EXPECT_EQ(log_.events.back(), "click");
    EXPECT_FALSE(tray_->ClickTimer().Running());
    tray_->ClickTimer().Fire(); // a late tick gives no second click
    EXPECT_EQ(std::count(log_.events.begin(), log_.events.end(), "click"), 1);
}

TEST_F(TrayIconTest, ADoubleClickGivesOneDblClickNoClickAndClicksTheMenusDefaultItem) {
    log_.AttachDblClick(*tray_);
    MakeMenu();
    Feed(TTrayMessage::LeftDown);
    Feed(TTrayMessage::LeftUp);
    Feed(TTrayMessage::LeftDoubleClick);
    Feed(TTrayMessage::LeftUp);
    tray_->ClickTimer().Fire();
    EXPECT_EQ(log_.events, (Strings{"down left +left (700,590)", "up left +left (700,590)",
                                    "dblclick", "item Restore", "up left +left (700,590)"}));
    // The next single click is a click again.
    Feed(TTrayMessage::LeftDown);
    Feed(TTrayMessage::LeftUp);
    tray_->ClickTimer().Fire();
    EXPECT_EQ(log_.events.back(), "click");
}

TEST_F(TrayIconTest, WithLeftPopupOrWithoutAutoPopupADoubleClickClicksNoItem) {
    log_.AttachDblClick(*tray_);
    TPopupMenu& menu = MakeMenu();
    tray_->SetLeftPopup(true);
    Feed(TTrayMessage::LeftDoubleClick);
    tray_->SetLeftPopup(false);
    menu.SetAutoPopup(false);
    Feed(TTrayMessage::LeftDoubleClick);
    EXPECT_EQ(log_.events, (Strings{"dblclick", "dblclick"}));
}

TEST_F(TrayIconTest, ARightPressGivesMouseDownThenTheMenuAtThePointer) {
    MakeMenu();
    const TPoint pointer = TTrayAdapter::CursorPos();
    Feed(TTrayMessage::RightDown, ssCtrl);
    Feed(TTrayMessage::RightUp);
    EXPECT_EQ(log_.events,
              (Strings{"down right ctrl +right (700,590)",
                       "menu" + EventLog::At(pointer.X, pointer.Y), "up right +right (700,590)"}));
    EXPECT_EQ(popup_component_, tray_.get());

    // The same with LeftPopup on; the left button then opens it too.
    log_.events.clear();
    tray_->SetLeftPopup(true);
    Feed(TTrayMessage::RightDown);
    Feed(TTrayMessage::LeftDown);
    ASSERT_EQ(log_.events.size(), 4U);
    EXPECT_EQ(log_.events[1].substr(0, 4), "menu");
    EXPECT_EQ(log_.events[3].substr(0, 4), "menu");
}

TEST_F(TrayIconTest, MiddleButtonAndMovesReportTheirButtonsAndKeys) {
    Feed(TTrayMessage::MiddleDown, ssAlt, {3, 4});
    Feed(TTrayMessage::MiddleUp, 0, {3, 4});
    Feed(TTrayMessage::MouseMove, ssShift | ssCtrl, {5, 6});
    EXPECT_EQ(log_.events, (Strings{"down middle alt +middle (3,4)", "up middle +middle (3,4)",
                                    "move shift ctrl (5,6)"}));
}

TEST_F(TrayIconTest, DisabledNoMouseEventAndNoMenuButBalloonEventsStillArrive) {
    log_.AttachDblClick(*tray_);
    MakeMenu();
    tray_->SetEnabled(false);
    for (TTrayMessage m : {TTrayMessage::MouseMove, TTrayMessage::LeftDown, TTrayMessage::LeftUp,
                           TTrayMessage::LeftDoubleClick, TTrayMessage::RightDown,
                           TTrayMessage::RightUp, TTrayMessage::MiddleDown, TTrayMessage::MiddleUp})
        Feed(m);
    EXPECT_TRUE(log_.events.empty()) << log_.events.front();
    EXPECT_FALSE(tray_->ClickTimer().Running());
    Feed(TTrayMessage::BalloonClick);
    Feed(TTrayMessage::BalloonHide);
    Feed(TTrayMessage::BalloonTimeout);
    EXPECT_EQ(log_.events, (Strings{"balloon click", "balloon hide", "balloon timeout"}));
}

TEST_F(TrayIconTest, EnterOnTheFirstMoveAndExitOnceThePointerHasLeft) {
    Feed(TTrayMessage::MouseMove);
    EXPECT_EQ(log_.events, (Strings{"move (700,590)"})) << "no enter unless asked for";
    log_.events.clear();

    tray_->SetWantEnterExitEvents(true);
    ASSERT_TRUE(tray_->ExitTimer().Running());
    EXPECT_EQ(tray_->ExitTimer().Interval(), TTrayIcon::kExitCheck_ms);
    const TPoint pointer = TTrayAdapter::CursorPos();
    Feed(TTrayMessage::MouseMove, 0, pointer);
    Feed(TTrayMessage::MouseMove, 0, pointer);
    tray_->ExitTimer().Fire(); // the pointer is still where the last move was
    const std::string move = "move" + EventLog::At(pointer.X, pointer.Y);
    EXPECT_EQ(log_.events, (Strings{"enter", move, move}));

    // A move reported somewhere else than the pointer is now: the pointer has left since.
    Feed(TTrayMessage::MouseMove, 0, {pointer.X + 50, pointer.Y + 50});
    tray_->ExitTimer().Fire();
    tray_->ExitTimer().Fire();
    EXPECT_EQ(log_.events.back(), "exit");
    EXPECT_EQ(std::count(log_.events.begin(), log_.events.end(), "exit"), 1);
    Feed(TTrayMessage::MouseMove, 0, pointer);
    EXPECT_EQ(log_.events[log_.events.size() - 2], "enter");

    tray_->SetWantEnterExitEvents(false);
    EXPECT_FALSE(tray_->ExitTimer().Running());
}

TEST_F(TrayIconTest, CyclingThreeImagesGivesNextIndex1201AndTheImageFollows) {
    TImageList list(nullptr);
    FillList(list, 3);
    tray_->SetIconList(&list);
    tray_->SetCycleInterval(250);
    EXPECT_FALSE(tray_->CycleTimer().Running());
    std::vector<int> next;
    std::vector<TColor> shown_at_cycle;
    tray_->OnCycle = [&](TComponent*, int index) {
        next.push_back(index);
        shown_at_cycle.push_back(IconColor(tray_->Icon()));
    };
    tray_->SetIconIndex(2);
    tray_->SetCycleIcons(true);
    EXPECT_EQ(tray_->IconIndex(), 0) << "cycling starts at the first image";
    ASSERT_TRUE(tray_->CycleTimer().Running());
    EXPECT_EQ(tray_->CycleTimer().Interval(), 250U);
    for (int tick = 0; tick < 4; ++tick)
        tray_->CycleTimer().Fire();
    EXPECT_EQ(next, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(shown_at_cycle,
              (std::vector<TColor>{kColors[0], kColors[1], kColors[2], kColors[0]}));
    EXPECT_EQ(tray_->IconIndex(), 1);
    EXPECT_EQ(IconColor(tray_->Icon()), kColors[1]);

    tray_->SetCycleInterval(500); // restarts with the new period
    EXPECT_EQ(tray_->CycleTimer().Interval(), 500U);
    tray_->SetCycleIcons(false);
    EXPECT_FALSE(tray_->CycleTimer().Running());
}

TEST_F(TrayIconTest, AnIconChangeReachesTheDesktop) {
    EXPECT_FALSE(tray_->Desktop().HasIcon());
    TImageList list(nullptr);
    FillList(list, 1);
    tray_->Icon().LoadFromImageList(list, 0); // a change of the owned icon itself
    EXPECT_TRUE(tray_->Desktop().HasIcon());
    tray_->Icon().Clear();
    EXPECT_FALSE(tray_->Desktop().HasIcon());
}

class TrayMinimizeTest : public TrayIconTest {
protected:
    void SetUp() override {
        TrayIconTest::SetUp();
        app_ = TApplication::Instance();
        app_->SetMainForm(form_.get());
        form_->Show();
    }
    void TearDown() override {
        app_->SetMainForm(nullptr);
        TrayIconTest::TearDown();
    }
    static void Host(bool before, bool now, bool restarted = false) {
        TTrayHostChange change;
        change.xembed_before = before;
        change.xembed_now = now;
        change.xembed_restarted = restarted;
        TTrayHost::Instance().Simulate(change);
    }

    TApplication* app_ = nullptr;
};

TEST_F(TrayMinimizeTest, WithMinimizeToTrayOffMinimizingNeitherHidesNorShowsTheIcon) {
    Host(false, true);
    app_->Minimize();
    EXPECT_TRUE(form_->Visible());
    EXPECT_FALSE(tray_->IconVisible());
    app_->Restore();
}

TEST_F(TrayMinimizeTest, WithoutANotificationAreaTheWindowMinimizesTheUsualWay) {
    tray_->SetMinimizeToTray(true);
    Host(false, false);
    app_->Minimize();
    EXPECT_TRUE(form_->Visible()) << "hidden into a notification area that is not there";
    EXPECT_FALSE(tray_->IconVisible());
    app_->Restore();
}

TEST_F(TrayMinimizeTest,
       MinimizingHidesTheWindowIntoTheAreaAndItComesBackWhenTheAreaGoesTheIconWithTheArea) {
    tray_->SetMinimizeToTray(true);
    Host(false, true);
    app_->Minimize();
    EXPECT_FALSE(form_->Visible());
    EXPECT_TRUE(tray_->IconVisible());
    EXPECT_TRUE(tray_->Desktop().Visible());

    Host(true, false);
    EXPECT_TRUE(form_->Visible()) << "the window was lost with the notification area";
    EXPECT_FALSE(app_->Minimized());
    EXPECT_TRUE(tray_->IconVisible()) << "the icon is still wanted, for when the area is back";
    Host(false, true);
    EXPECT_TRUE(tray_->Desktop().Visible());
    EXPECT_TRUE(form_->Visible());
}

TEST_F(TrayMinimizeTest, AnIconInAnXEmbedTrayExportsNoMenuAndPopsItsOwnUp) {
    MakeMenu();
    Host(false, true);
    tray_->SetIconVisible(true);
    ASSERT_TRUE(tray_->Desktop().Visible());
    if (TTrayHost::Instance().IconKind() != TTrayKind::XEmbed)
        GTEST_SKIP() << "this process's icons went to a StatusNotifierItem host";
    EXPECT_FALSE(tray_->Desktop().ExportsMenu());
    Feed(TTrayMessage::RightDown);
    Feed(TTrayMessage::RightUp);
    ASSERT_EQ(log_.events.size(), 3U);
    EXPECT_EQ(log_.events[1].substr(0, 4), "menu");
}

// Counts the adds the component makes.
class CountingTrayIcon : public TTrayIcon {
public:
    using TTrayIcon::TTrayIcon;
    bool AddTrayIcon() override {
        ++adds;
        return TTrayIcon::AddTrayIcon();
    }
    int adds = 0;
};

TEST_F(TrayMinimizeTest, ARestartedAreaGetsTheShownIconAgainAndNoIconThatWasAbsent) {
    tray_.reset();
    auto tray = std::make_unique<CountingTrayIcon>(form_.get());
    Host(false, true);
    Host(true, true, /*restarted=*/true);
    EXPECT_EQ(tray->adds, 0) << "an absent icon is not shown by a restart";
    tray->SetIconVisible(true);
    EXPECT_EQ(tray->adds, 1);
    Host(true, false);
    EXPECT_EQ(tray->adds, 1);
    Host(false, true);
    EXPECT_EQ(tray->adds, 2) << "the icon did not come back with its notification area";
    EXPECT_TRUE(tray->Desktop().Visible());
    Host(true, true, /*restarted=*/true);
    EXPECT_EQ(tray->adds, 3);
    tray->SetIconVisible(false);
    EXPECT_FALSE(tray->Desktop().Visible());
}

TEST_F(TrayMinimizeTest, TheStartupHandlerCanKeepTheMainWindowHidden) {
    bool asked = false;
    tray_->OnStartup = [&](TComponent*, bool& show) {
        asked = true;
        EXPECT_TRUE(show);
        show = false;
    };
    tray_->Loaded();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(app_->ShowMainForm());
    EXPECT_FALSE(form_->Visible());
    app_->SetShowMainForm(true);
}

} // namespace
} // namespace vd
