// Components: ownership and the order of freeing, removal notices to everybody who knows a
// component (while it is still whole), look-up by name, the loading state; and the references
// controls keep to menus and parents.

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Menus.h"
#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vd {
namespace {

// The log of what the probes below saw, in order.
std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string name) : TComponent(owner) { SetName(name); }
    ~Probe() override {
        BeginDestruction();
        Log().push_back("free " + Name());
    }

    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != TOperation::opRemove)
            return;
        // A component is reported while it is still whole: its own class is still there.
        const bool whole = dynamic_cast<Probe*>(component) != nullptr;
        Log().push_back(Name() + " told " + component->Name() + (whole ? "" : " (broken)"));
        if (component == watched)
            watched = nullptr;
    }
    void Loaded() override {
        TComponent::Loaded();
        Log().push_back("loaded " + Name());
    }

    TComponent* watched = nullptr;
};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartGui();
        Log().clear();
    }
    static int Count(const std::string& entry) {
        int n = 0;
        for (const std::string& e : Log())
            n += e == entry ? 1 : 0;
        return n;
    }
};

TEST_F(ComponentTest, TheOwnerFreesItsComponentsLastFirst) {
    auto* owner = new Probe(nullptr, "owner"); // freed below
    new Probe(owner, "a");                     // owned
    new Probe(owner, "b");                     // owned
    EXPECT_EQ(owner->ComponentCount(), 2);
    FreeComponent(owner);
    const std::vector<std::string> frees = [] {
        std::vector<std::string> f;
        for (const std::string& e : Log())
            if (e.rfind("free ", 0) == 0)
                f.push_back(e);
        return f;
    }();
    const std::vector<std::string> owned(frees.end() - 2, frees.end());
    EXPECT_EQ(owned, (std::vector<std::string>{"free b", "free a"}));
}

TEST_F(ComponentTest, FreeingOneTellsTheOwnerAndEverySiblingOnceWhileWhole) {
    auto owner = test::MakeUnowned<TComponent>();
    auto* a = new Probe(owner.get(), "a"); // owned
    auto* b = new Probe(owner.get(), "b"); // owned
    auto* c = new Probe(owner.get(), "c"); // owned
    (void)a;
    (void)c;
    FreeComponent(b);
    EXPECT_EQ(Count("a told b"), 1);
    EXPECT_EQ(Count("c told b"), 1);
    EXPECT_EQ(Count("b told b"), 0);
    for (const std::string& e : Log())
        EXPECT_EQ(e.find("broken"), std::string::npos) << e;
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("b"), nullptr);
}

TEST_F(ComponentTest, DeletingDirectlyAlsoTellsWhileWhole) {
    auto owner = test::MakeUnowned<TComponent>();
    new Probe(owner.get(), "a");           // owned
    auto* b = new Probe(owner.get(), "b"); // owned
    delete b; // not through FreeComponent: the destructor still tells everybody
    EXPECT_EQ(Count("a told b"), 1);
    EXPECT_EQ(owner->ComponentCount(), 1);
}

TEST_F(ComponentTest, FreeNotificationReachesComponentsOfOtherOwners) {
    auto first = test::MakeUnowned<TComponent>();
    auto second = test::MakeUnowned<TComponent>();
    auto* watcher = new Probe(first.get(), "watcher"); // owned
    auto* target = new Probe(second.get(), "target");  // owned
    watcher->watched = target;
    watcher->FreeNotification(target);
    FreeComponent(target);
    EXPECT_EQ(watcher->watched, nullptr);
    EXPECT_EQ(Count("watcher told target"), 1);
}

TEST_F(ComponentTest, RemoveFreeNotificationStopsTheNotice) {
    auto first = test::MakeUnowned<TComponent>();
    auto second = test::MakeUnowned<TComponent>();
    auto* watcher = new Probe(first.get(), "watcher"); // owned
    auto* target = new Probe(second.get(), "target");  // owned
    watcher->FreeNotification(target);
    watcher->RemoveFreeNotification(target);
    FreeComponent(target);
    EXPECT_EQ(Count("watcher told target"), 0);
}

TEST_F(ComponentTest, AFreedWatcherIsNotToldLater) {
    auto first = test::MakeUnowned<TComponent>();
    auto second = test::MakeUnowned<TComponent>();
    auto* watcher = new Probe(first.get(), "watcher"); // owned
    auto* target = new Probe(second.get(), "target");  // owned
    watcher->FreeNotification(target);
    FreeComponent(watcher);
    FreeComponent(target); // must not reach the freed watcher
    EXPECT_EQ(Count("watcher told target"), 0);
    // Freeing the target first, then the watcher, must not touch the freed target either.
    auto* w2 = new Probe(first.get(), "w2");  // owned
    auto* t2 = new Probe(second.get(), "t2"); // owned
    w2->FreeNotification(t2);
    FreeComponent(t2);
    FreeComponent(w2);
    EXPECT_EQ(Count("w2 told t2"), 1);
}

TEST_F(ComponentTest, FindComponentIgnoresCaseAndLooksOnlyAtOwnedComponents) {
    auto owner = test::MakeUnowned<TComponent>();
    auto* play = new Probe(owner.get(), "PlayBtn"); // owned
    new Probe(play, "Inner");                       // owned by play
    EXPECT_EQ(owner->FindComponent("playbtn"), play);
    EXPECT_EQ(owner->FindComponent("PLAYBTN"), play);
    EXPECT_EQ(owner->FindComponent("Inner"), nullptr);
    EXPECT_EQ(owner->FindComponent("PlayBt"), nullptr);
    EXPECT_EQ(owner->FindComponent("PlayBtnX"), nullptr);
    new Probe(owner.get(), ""); // owned
    EXPECT_EQ(owner->FindComponent(""), nullptr);
}

TEST_F(ComponentTest, ComponentsOutOfRangeIsAListError) {
    auto owner = test::MakeUnowned<TComponent>();
    new Probe(owner.get(), "a"); // owned
    EXPECT_NO_THROW((void)owner->Components(0));
    EXPECT_THROW((void)owner->Components(1), EListError);
    EXPECT_THROW((void)owner->Components(-1), EListError);
}

TEST_F(ComponentTest, LoadingUntilLoaded) {
    Probe p(nullptr, "p");
    EXPECT_FALSE(p.Loading());
    p.BeginLoading();
    EXPECT_TRUE(p.Loading());
    p.Loaded();
    EXPECT_FALSE(p.Loading());
    EXPECT_EQ(Count("loaded p"), 1);
}

TEST_F(ComponentTest, AssigningUnrelatedPersistentsFailsWithAMessage) {
    Probe a(nullptr, "a");
    Probe b(nullptr, "b");
    try {
        a.Assign(&b);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot assign"), std::string::npos);
    }
    EXPECT_THROW(a.Assign(nullptr), Exception);
}

// ---- controls: parents and menus --------------------------------------------------------------

TEST_F(ComponentTest, AFreedPopupMenuIsForgottenByItsControl) {
    auto owner = test::MakeUnowned<TComponent>();
    auto other = test::MakeUnowned<TComponent>();
    auto* control = new TGraphicControl(owner.get()); // owned
    auto* menu = new TPopupMenu(other.get());         // owned by another owner
    control->SetPopupMenu(menu);
    EXPECT_EQ(control->PopupMenu(), menu);
    FreeComponent(menu);
    EXPECT_EQ(control->PopupMenu(), nullptr);
}

TEST_F(ComponentTest, ParentsAndChildrenLetGoOfEachOther) {
    auto owner = test::MakeUnowned<TComponent>();
    auto* parent = new TCustomControl(owner.get()); // owned
    auto* a = new TGraphicControl(owner.get());     // owned
    auto* b = new TGraphicControl(owner.get());     // owned
    a->SetParent(parent);
    b->SetParent(parent);
    EXPECT_EQ(parent->ControlCount(), 2);
    EXPECT_EQ(parent->Controls(1), b);
    EXPECT_THROW((void)parent->Controls(2), EListError);
    FreeComponent(a);
    EXPECT_EQ(parent->ControlCount(), 1);
    EXPECT_EQ(parent->Controls(0), b);
    FreeComponent(parent);
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_NO_THROW(b->SetParent(nullptr));
}

} // namespace
} // namespace vd
