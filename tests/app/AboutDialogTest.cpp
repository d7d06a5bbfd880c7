// The About dialog as built from its layout: the window, the eleven raised labels, the picture
// with its see-through colour, the two flat buttons restyled by the dialog's painter; Update
// asking a (recording) browser for the home page and staying open, a browser that cannot start
// told in a message box; and the modal show ending however the dialog is closed, never entered
// twice.
#include "app/AboutBox.h"
#include "app/LayoutBuilder.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Shell.h"
#include "tests/support/AppFixture.h"
#include "widgets/FlatMenu.h"
#include "widgets/ShadowLabel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vd::test {
namespace {

constexpr TColor kGrey = RGB(221, 221, 221);

class AboutDialogTest : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        dialog_.reset(new TAboutDialog(nullptr));
    }
    void TearDown() override {
        SetUrlOpener(nullptr);
        dialog_.reset();
        PlayerFixture::TearDown();
    }
    // Runs the dialog modally; `while_shown` runs from its loop once it shows.
    TModalResult ShowModalThen(std::function<void()> while_shown) {
        QTimer::singleShot(0, [&, while_shown] {
            EXPECT_TRUE(dialog_->Visible());
            while_shown();
        });
        return dialog_->ShowModal();
    }
    TBitmap Picture() {
        dialog_->Invalidate();
        dialog_->Update();
        TBitmap out;
        out.SetImage(dialog_->Picture());
        return out;
    }
    void Click(TControl& control) {
        control.HandleMouseDown(TMouseButton::mbLeft, ssLeft, 5, 5, false);
        control.HandleMouseUp(TMouseButton::mbLeft, 0, 5, 5, true);
    }

    std::unique_ptr<TAboutDialog, void (*)(TAboutDialog*)> dialog_{
        nullptr, [](TAboutDialog* d) { FreeComponent(d); }};
};

TEST_F(AboutDialogTest, TheWindowIsASmallGreyToolWindowInTheMiddle) {
    EXPECT_EQ(dialog_->Caption(), "About VO Dezaru");
    EXPECT_EQ(dialog_->BorderStyle(), TFormBorderStyle::bsToolWindow);
    EXPECT_EQ(dialog_->ClientWidth(), 246);
    EXPECT_EQ(dialog_->ClientHeight(), 306);
    EXPECT_EQ(dialog_->Color(), kGrey);
    EXPECT_EQ(dialog_->Position(), TPosition::poScreenCenter);
    EXPECT_EQ(dialog_->Cursor(), crDrag);
    EXPECT_FALSE(dialog_->Visible());
    EXPECT_TRUE(dialog_->Widget()->windowFlags().testFlag(Qt::Tool));
}

TEST_F(AboutDialogTest, ElevenRaisedLabelsWithTheirTextsAndFonts) {
    struct Want {
        const char* name;
        int left;
        int top;
        std::string text;
        const char* font;
        int points;
        bool bold;
    };
    const std::vector<Want> labels = {
        {"ShadowLabel1", 32, 8, "About", "Arial", 12, true},
        {"ShadowLabel11", 12, 32, "VO Dezaru", "Arial", 14, true},
        {"ShadowLabel2", 8, 88, "By the VO Dezaru developers", "Arial", 8, true},
        {"ShadowLabel3", 8, 104, "\xC2\xA9 2026 the VO Dezaru developers", "Arial", 8, true},
        {"ShadowLabel4", 8, 120, std::string(kHomePage), "Arial", 8, true},
        {"ShadowLabel10", 8, 144, "VO Dezaru version: 1.0", "MS Sans Serif", 8, true},
        {"ShadowLabel5", 5, 168,
         "  VO Dezaru is a multimedia player created specially for Velora fans. Hope you like "
         "our player.",
         "MS Sans Serif", 8, true},
        {"ShadowLabel6", 8, 216, "  The player supports the following files:", "MS Sans Serif", 8,
         true},
        {"ShadowLabel7", 8, 232, "Midi Sequence (mid, rmi, midi), Wave Audio (wav)",
         "MS Sans Serif", 9, false},
        {"ShadowLabel8", 24, 248, "Module Music (mod, xm, it, s3m, mtm, umx)", "MS Sans Serif", 8,
         false},
        {"ShadowLabel9", 56, 264, "Mpeg Audio (mp3, mp2, mp1)", "MS Sans Serif", 8, false},
    };
    for (const Want& want : labels) {
        SCOPED_TRACE(want.name);
        auto* label = LayoutComponent<TShadowLabel>(*dialog_, want.name);
        EXPECT_EQ(label->Left(), want.left);
        EXPECT_EQ(label->Top(), want.top);
        EXPECT_EQ(label->Caption(), want.text);
        EXPECT_EQ(label->Font().Name(), want.font);
        EXPECT_EQ(label->Font().Size(), want.points);
        EXPECT_EQ((label->Font().Style() & fsBold) != 0, want.bold);
        EXPECT_EQ(label->ShadowStyle(), TShadowStyle::ssRaised);
        EXPECT_EQ(label->HighlightDirection(), TDirection::drUpLeft);
        EXPECT_EQ(label->HighlightDepth(), 1);
        EXPECT_TRUE(label->Transparent());
        EXPECT_EQ(label->Cursor(), crDrag);
        // Every caption fits in the dialog.
        EXPECT_LE(label->Left() + label->Width(), 246);
    }
    auto* wrapped = LayoutComponent<TShadowLabel>(*dialog_, "ShadowLabel5");
    EXPECT_TRUE(wrapped->WordWrap());
    EXPECT_FALSE(wrapped->AutoSize());
    EXPECT_EQ(wrapped->BoundsRect(), Bounds(5, 168, 238, 39));
}

TEST_F(AboutDialogTest, ThePictureLetsTheDialogsGreyShowThrough) {
    auto* image = LayoutComponent<TImage>(*dialog_, "Image1");
    EXPECT_EQ(image->BoundsRect(), Bounds(120, 0, 130, 99));
    ASSERT_NE(image->TransparentColor(), clNone);
    EXPECT_TRUE(image->Transparent());
    const TBitmap& gif = image->Picture();
    int see_through = 0;
    int drawn = 0;
    const TBitmap picture = Picture();
    // Above the credit line, which is drawn over the picture's lower part.
    for (int y = 0; y < 85; ++y) {
        for (int x = 0; x < gif.Width() && 120 + x < 246; ++x) {
            if (gif.Pixel(x, y) == image->TransparentColor()) {
                ++see_through;
                EXPECT_EQ(picture.Pixel(120 + x, y), kGrey) << x << "," << y;
            } else {
                ++drawn;
                EXPECT_EQ(picture.Pixel(120 + x, y), gif.Pixel(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(see_through, 1000);
    EXPECT_GT(drawn, 1000);
}

TEST_F(AboutDialogTest, CloseAndUpdateAreFlatButtonsOfTheDialogsPainter) {
    auto* painter = LayoutComponent<TFlatMenu>(*dialog_, "FlatMenu1");
    EXPECT_TRUE(painter->Active());
    EXPECT_FALSE(painter->AutoDetect());
    EXPECT_EQ(painter->DimLevel(), 30);
    EXPECT_EQ(painter->IconWidth(), 24);
    for (const auto& [name, bounds, caption] :
         {std::tuple{"CloseBtn", Bounds(2, 283, 116, 22), "Close"},
          std::tuple{"UpdateBtn", Bounds(132, 283, 113, 22), "Update"}}) {
        SCOPED_TRACE(name);
        auto* button = LayoutComponent<TSpeedButton>(*dialog_, name);
        EXPECT_EQ(button->BoundsRect(), bounds);
        EXPECT_EQ(button->Caption(), caption);
        EXPECT_TRUE(button->Flat());
        EXPECT_EQ(button->Font().Name(), "MS Sans Serif");
        EXPECT_EQ(button->Font().Size(), 8);
        EXPECT_EQ(button->Font().Style(), TFontStyles{fsBold});
        EXPECT_EQ(button->Font().Color(), clBlack);
        EXPECT_NE(painter->HookOf(button), nullptr);
    }
}

TEST_F(AboutDialogTest, UpdateOpensTheHomePageAndStaysOpen) {
    std::vector<std::string> opened;
    SetUrlOpener([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    auto* update = LayoutComponent<TSpeedButton>(*dialog_, "UpdateBtn");
    bool open_after = false;
    const TModalResult result = ShowModalThen([&] {
        Click(*update);
        open_after = dialog_->Visible() && dialog_->Modal();
        Click(*LayoutComponent<TSpeedButton>(*dialog_, "CloseBtn"));
    });
    EXPECT_EQ(result, TModalResult::mrCancel);
    EXPECT_EQ(opened, std::vector<std::string>{std::string(kHomePage)});
    EXPECT_TRUE(open_after);
    EXPECT_FALSE(dialog_->Visible());
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(AboutDialogTest, ABrowserThatCannotStartIsTold) {
    SetUrlOpener([](const std::string&) { return false; });
    Click(*LayoutComponent<TSpeedButton>(*dialog_, "UpdateBtn"));
    ASSERT_EQ(AppHarness::Errors().size(), 1u);
    EXPECT_NE(AppHarness::Errors().front().find(std::string(kHomePage)), std::string::npos);
}

TEST_F(AboutDialogTest, EveryWayOfClosingEndsTheModalShow) {
    const std::vector<std::pair<const char*, std::function<void()>>> closers = {
        {"close box", [&] { dialog_->Widget()->close(); }},
        {"Escape",
         [&] {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(dialog_->Widget(), &press);
         }},
        {"Close", [&] { Click(*LayoutComponent<TSpeedButton>(*dialog_, "CloseBtn")); }},
    };
    for (int round = 0; round < 5; ++round) {
        for (const auto& [how, close] : closers) {
            SCOPED_TRACE(how);
            EXPECT_EQ(ShowModalThen(close), TModalResult::mrCancel);
            EXPECT_FALSE(dialog_->Visible());
            EXPECT_FALSE(dialog_->Modal());
            EXPECT_FALSE(dialog_->Widget()->isVisible());
        }
    }
    EXPECT_TRUE(AppHarness::Errors().empty());
}

TEST_F(AboutDialogTest, ASecondModalShowOfTheOpenDialogReturnsAtOnce) {
    TModalResult inner = TModalResult::mrOk;
    const TModalResult outer = ShowModalThen([&] {
        inner = dialog_->ShowModal();
        EXPECT_TRUE(dialog_->Visible()); // still open, still modal
        EXPECT_TRUE(dialog_->Modal());
        dialog_->Close();
    });
    EXPECT_EQ(inner, TModalResult::mrNone);
    EXPECT_EQ(outer, TModalResult::mrCancel);
}

TEST_F(AboutDialogTest, TheMainMenusAboutShowsTheDialogModally) {
    TPlayer& player = Start();
    auto* about = TComponent::Create<TAboutDialog>(&player);
    player.SetAboutDialog(about);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = about->Visible() && about->Modal();
        about->Widget()->close();
    });
    player.About1Click(nullptr);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(about->Visible());
}

} // namespace
} // namespace vd::test
