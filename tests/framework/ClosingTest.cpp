// Closing a form the desktop's ways: the close request a form's owner may take over, and the
// termination signals that arrive as a call on the GUI thread.
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/TerminationSignals.h"
#include "tests/support/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <csignal>
#include <vector>

namespace vd {
namespace {

class Closing : public ::testing::Test {
protected:
    void SetUp() override { test::StartGui(); }
};

TEST_F(Closing, ACloseRequestIsTheOwnersToHandleElseTheFormCloses) {
    auto form = test::MakeUnowned<TForm>();
    form->Show();
    int requests = 0;
    form->OnCloseRequest = [&](TComponent* sender) {
        EXPECT_EQ(sender, form.get());
        ++requests;
    };
    form->RequestClose();
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(form->Visible()) << "the owner decides, not the form";

    form->OnCloseRequest = nullptr;
    form->RequestClose();
    EXPECT_FALSE(form->Visible());
}

TEST_F(Closing, ACloseTheProgramMakesItselfIsNotAskedAbout) {
    auto form = test::MakeUnowned<TForm>();
    form->Show();
    int requests = 0;
    form->OnCloseRequest = [&](TComponent*) { ++requests; };
    // Closing the platform window from the program (as quitting does) is no request from the
    // desktop: it goes through.
    EXPECT_TRUE(form->Widget()->close());
    QCoreApplication::processEvents();
    EXPECT_EQ(requests, 0);
}

TEST_F(Closing, TheSessionEndingAsksTheMainFormToClose) {
    auto form = test::MakeUnowned<TForm>();
    int requests = 0;
    form->OnCloseRequest = [&](TComponent*) { ++requests; };
    TApplication& app = test::App();
    ASSERT_FALSE(app.Terminated());
    app.SetMainForm(form.get());
    // What the event loop announces when the session manager ends it.
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
    app.SetMainForm(nullptr);
    EXPECT_EQ(requests, 1);
}

TEST_F(Closing, TerminationSignalsArriveOnTheGuiThreadFromTheEventLoop) {
    std::vector<int> received;
    {
        TerminationSignals handling([&](int signal) { received.push_back(signal); });
        ASSERT_EQ(std::raise(SIGHUP), 0);
        // The handler only notes the signal; the call comes from the event loop.
        EXPECT_TRUE(received.empty());
        for (int i = 0; i < 100 && received.empty(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(received, std::vector<int>{SIGHUP});

        // A second SIGHUP would now end the program at once, as if nobody handled it.
        struct sigaction now {};
        ASSERT_EQ(::sigaction(SIGHUP, nullptr, &now), 0);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
        ASSERT_EQ(::sigaction(SIGTERM, nullptr, &now), 0);
        EXPECT_NE(now.sa_handler, SIG_DFL) << "SIGTERM is still handled";
    }
    // Gone: the handlers before it are back.
    struct sigaction now {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

} // namespace
} // namespace vd
