// The flat menu painter read back from the canvas: working colours in both colour depths,
// measured sizes, separators, the selection box, the marks, dimmed, lifted and greyed icons, the
// shaded default item, the hook pass with its lazy follow-up, and the paths the player's own
// forms never take (menu bar items, the flat border, control bar bands).
#include "widgets/FlatMenu.h"
#include "framework/Forms.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "framework/SystemFonts.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/FlatColors.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace vd {
namespace {

using flat::DarkenColor;

constexpr int kWidth = 160;
constexpr int kItemHeight = 22;
constexpr TColor kIconRed = clRed;

TColor Lighten(TColor c, int p) {
    return flat::LightenColor(32, c, p);
}

// A form with its painter, one popup menu with a 16 x 16 image (a red 8 x 8 square on the mask
// colour) and a surface to draw items on.
class FlatMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        SystemColors::SetClassic();
        TCanvas::SetDisplayBitsPerPixel(32);
        form_ = std::make_unique<TForm>(nullptr);
        images_ = TComponent::Create<TImageList>(form_.get());
        images_->SetSize(16, 16);
        TBitmap strip = test::Filled(16, 16, clFuchsia);
        strip.Canvas().Brush().SetColor(kIconRed);
        strip.Canvas().FillRect({4, 4, 12, 12});
        images_->AddMasked(strip, clFuchsia);
        menu_ = TComponent::Create<TPopupMenu>(form_.get());
        menu_->SetImages(images_);
        painter_ = TComponent::Create<TFlatMenu>(form_.get());
    }
    void TearDown() override {
        form_.reset();
        TCanvas::SetDisplayBitsPerPixel(32);
    }

    TMenuItem* Add(std::string_view caption, int image = -1, TMenuItem* parent = nullptr) {
        auto* item = TComponent::Create<TMenuItem>(form_.get());
        item->SetCaption(caption);
        item->SetImageIndex(image);
        (parent != nullptr ? parent : menu_->Items())->Add(item);
        return item;
    }

    // Draws `item` alone on a fresh surface, in the item rectangle (0, 0, kWidth, height).
    TBitmap Draw(TMenuItem* item, bool selected, int height = kItemHeight) {
        TBitmap surface = test::Filled(kWidth, height + 4, test::kSentinel);
        painter_->DrawMenuItem(item, surface.Canvas(), {0, 0, kWidth, height}, selected);
        return surface;
    }

    const TFlatMenu::WorkColors& Work() const { return painter_->Work(); }

    std::unique_ptr<TForm> form_;
    TImageList* images_ = nullptr;
    TPopupMenu* menu_ = nullptr;
    TFlatMenu* painter_ = nullptr;
};

TEST_F(FlatMenuTest, StartsInactiveWithItsDefaults) {
    EXPECT_FALSE(painter_->Active());
    EXPECT_EQ(painter_->DimLevel(), 30);
    EXPECT_EQ(painter_->GrayLevel(), 10);
    EXPECT_EQ(painter_->IconWidth(), 24);
    EXPECT_EQ(painter_->Color(), clBtnFace);
    EXPECT_EQ(painter_->SelectColor(), clHighlight);
    EXPECT_EQ(painter_->DisabledColor(), clInactiveCaption);
    EXPECT_EQ(painter_->SelectFontColor(), clMenuText);
    EXPECT_EQ(painter_->Font().Color(), clMenuText);
    EXPECT_EQ(painter_->Font().Name(), SystemMenuFont().Name());
    EXPECT_TRUE(painter_->DrawSelect());
    EXPECT_TRUE(painter_->UseSystemColors());
    EXPECT_FALSE(painter_->AutoDetect());
    EXPECT_EQ(painter_->FlatContainers(), 1023);
    EXPECT_EQ(painter_->FlatControls(), 65535);
}

TEST_F(FlatMenuTest, AnOwnerThatIsNoFormIsRefused) {
    TImageList* not_a_form = images_;
    EXPECT_THROW(TComponent::Create<TFlatMenu>(not_a_form), Exception);
}

TEST_F(FlatMenuTest, WorkingColoursOfAHighColourSurfaceFromTheSystemColours) {
    TBitmap surface(4, 4);
    painter_->PrepareColors(surface.Canvas());
    EXPECT_TRUE(painter_->IsHighColor());
    const TFlatMenu::WorkColors& w = Work();
    EXPECT_EQ(w.color, RGB(249, 248, 247));
    EXPECT_EQ(w.icon_back, RGB(219, 216, 209));
    EXPECT_EQ(w.select, RGB(177, 185, 207));
    EXPECT_EQ(w.select_border, clHighlight);
    EXPECT_EQ(w.disabled, RGB(141, 141, 141));
    EXPECT_EQ(w.separator, RGB(160, 160, 160));
    EXPECT_EQ(w.checked_area, RGB(206, 211, 225));
    EXPECT_EQ(w.checked_area_select, Lighten(clHighlight, 50));
    EXPECT_EQ(w.menu_border, RGB(122, 120, 110));
    EXPECT_EQ(w.menu_shadow, RGB(136, 134, 124));
    EXPECT_EQ(w.select_font, clMenuText);
}

TEST_F(FlatMenuTest, WorkingColoursOfALowColourSurfaceArePlain) {
    TCanvas::SetDisplayBitsPerPixel(8);
    TBitmap surface(4, 4);
    painter_->PrepareColors(surface.Canvas());
    EXPECT_FALSE(painter_->IsHighColor());
    const TFlatMenu::WorkColors& w = Work();
    EXPECT_EQ(w.color, clWhite);
    EXPECT_EQ(w.icon_back, clBtnFace);
    EXPECT_EQ(w.select, clWhite);
    EXPECT_EQ(w.select_border, clHighlight);
    EXPECT_EQ(w.disabled, clBtnShadow);
    EXPECT_EQ(w.separator, clBtnShadow);
    EXPECT_EQ(w.checked_area, clWhite);
    EXPECT_EQ(w.checked_area_select, clWhite);
    EXPECT_EQ(w.menu_border, clBtnShadow);
}

TEST_F(FlatMenuTest, WithoutSystemColoursThePublishedOnesAreUsed) {
    painter_->SetUseSystemColors(false);
    painter_->SetColor(clYellow);
    painter_->SetSelectColor(RGB(0, 0, 100));
    TFont big;
    big.SetName("Arial");
    big.SetHeight(-20);
    painter_->SetFont(big);
    TBitmap surface(4, 4);
    painter_->PrepareColors(surface.Canvas());
    EXPECT_EQ(Work().color, clYellow);
    EXPECT_EQ(Work().select, Lighten(RGB(0, 0, 100), 68));
    EXPECT_EQ(painter_->Font().Height(), -20) << "the stored font stays";
}

TEST_F(FlatMenuTest, TheStoredFontMeasuresUntilTheFirstPaintTakesTheSystemMenuFont) {
    TMenuItem* item = Add("Playback");
    painter_->SetActive(true);
    TFont big;
    big.SetName("Arial");
    big.SetHeight(-30);
    painter_->SetFont(big);
    TBitmap scratch(4, 4);
    int w = 0;
    int h = 0;
    painter_->MeasureMenuItem(item, scratch.Canvas(), w, h);
    const int big_height = h;
    (void)Draw(item, false);
    EXPECT_EQ(painter_->Font().Height(), SystemMenuFont().Height());
    w = 0;
    h = 0;
    painter_->MeasureMenuItem(item, scratch.Canvas(), w, h);
    EXPECT_LT(h, big_height);
}

TEST_F(FlatMenuTest, MeasuringOnlyGrowsExceptASeparatorWhichIsFourHigh) {
    TMenuItem* line = Add("-");
    TMenuItem* about = Add("About", 0);
    painter_->SetActive(true);
    TBitmap scratch(4, 4);
    int w = 3;
    int h = 9;
    painter_->MeasureMenuItem(line, scratch.Canvas(), w, h);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(w, 5 + 24) << "an empty text and the icon column";
    w = 1000;
    h = 1;
    painter_->MeasureMenuItem(about, scratch.Canvas(), w, h);
    EXPECT_EQ(w, 1000);
    EXPECT_GE(h, 16 + 6) << "an image and 6 pixels at least";
    scratch.Canvas().Font().Assign(&painter_->Font());
    const int text_width = scratch.Canvas().TextWidth("About");
    w = 0;
    painter_->MeasureMenuItem(about, scratch.Canvas(), w, h);
    EXPECT_EQ(w, text_width + 5 + 24);
    // A shortcut adds its text and "WWW"; an ampersand is not counted.
    about->SetShortCut(scCtrl | 'O');
    about->SetCaption("&About");
    w = 0;
    painter_->MeasureMenuItem(about, scratch.Canvas(), w, h);
    EXPECT_EQ(w, scratch.Canvas().TextWidth("&AboutCtrl+OWWW") - scratch.Canvas().TextWidth("&") +
                     5 + 24);
}

TEST_F(FlatMenuTest, ASeparatorIsOneLineFromIconWidthPlus7OnRow2) {
    TMenuItem* line = Add("-");
    painter_->SetActive(true);
    const TBitmap s = Draw(line, false, 4);
    const TColor separator = Work().separator;
    for (int x = 24 + 7; x < kWidth; ++x)
        EXPECT_EQ(s.Pixel(x, 2), separator) << "x " << x;
    EXPECT_EQ(s.Pixel(24 + 6, 2), Work().color);
    EXPECT_EQ(s.Pixel(10, 2), Work().icon_back);
    for (int y : {0, 1, 3, 4})
        EXPECT_EQ(s.Pixel(50, y), Work().color) << "y " << y;
}

TEST_F(FlatMenuTest, TheSelectionBoxIsFilledAndFramedOnePixelInside) {
    TMenuItem* item = Add("Play");
    painter_->SetActive(true);
    const TBitmap s = Draw(item, true);
    const TColor border = ColorToRGB(clHighlight);
    // The item rectangle grows by one row; the box leaves its top and bottom row out.
    EXPECT_EQ(s.Pixel(50, 0), Work().color);
    for (TPoint p : {TPoint{0, 1}, TPoint{kWidth - 1, 1}, TPoint{0, kItemHeight - 1},
                     TPoint{kWidth - 1, kItemHeight - 1}, TPoint{70, 1}, TPoint{0, 10}})
        EXPECT_EQ(s.Pixel(p.X, p.Y), border) << p.X << "," << p.Y;
    EXPECT_EQ(s.Pixel(50, kItemHeight), Work().color);
    EXPECT_EQ(s.Pixel(kWidth - 4, 3), Work().select);
    EXPECT_EQ(s.Pixel(5, 5), Work().select) << "the box covers the icon column";
}

TEST_F(FlatMenuTest, ADisabledItemShowsNoSelectionAndTheDisabledColour) {
    TMenuItem* heading = Add("VO Dezaru");
    heading->SetEnabled(false);
    painter_->SetActive(true);
    const TBitmap s = Draw(heading, true);
    const TRect all{0, 0, kWidth, kItemHeight};
    EXPECT_EQ(test::CountColor(s, Work().select, all), 0);
    EXPECT_EQ(test::CountColor(s, ColorToRGB(clHighlight), all), 0);
    EXPECT_GT(test::CountColor(s, Work().disabled, all), 5);
}

TEST_F(FlatMenuTest, TheDefaultItemGetsFourShadedCopiesUnderItsLabel) {
    TMenuItem* restore = Add("Restore");
    TMenuItem* plain = Add("Restore");
    restore->SetDefault(true);
    painter_->SetActive(true);
    const TRect all{24, 0, kWidth, kItemHeight};
    const TBitmap heavy = Draw(restore, false);
    const TBitmap light = Draw(plain, false);
    const TColor back = Work().color;
    int shades = 0;
    for (int v : {30, 40, 60})
        shades += test::CountColor(heavy, DarkenColor(back, v), all);
    EXPECT_GT(shades, 10);
    for (int v : {30, 40, 60})
        EXPECT_EQ(test::CountColor(light, DarkenColor(back, v), all), 0);
    // The copies lie right of and below the label, which is drawn over them in the font colour.
    const TColor text = ColorToRGB(clMenuText);
    EXPECT_EQ(test::CountColor(heavy, text, all), test::CountColor(light, text, all));
    EXPECT_LT(test::CountColor(heavy, back, all), test::CountColor(light, back, all));
}

TEST_F(FlatMenuTest, ARestingIconIsDimmedAndTheHoveredOneLiftedOverItsShadow) {
    TMenuItem* item = Add("About", 0);
    painter_->SetActive(true);
    // At rest the 16 x 16 image sits at (24 - 16) div 2 - 1 = 3 across and 3 down.
    const TBitmap rest = Draw(item, false);
    EXPECT_EQ(rest.Pixel(3 + 4, 3 + 4), Lighten(kIconRed, 30));
    EXPECT_EQ(rest.Pixel(3 + 11, 3 + 11), Lighten(kIconRed, 30));
    EXPECT_EQ(rest.Pixel(3 + 3, 3 + 4), Work().icon_back) << "the mask colour is transparent";
    EXPECT_EQ(rest.Pixel(3 + 12, 3 + 12), Work().icon_back);
    // Under the mouse: full colour, one pixel up and left; its shadow one down and right of the
    // resting place, in the selection colour darkened by 50.
    const TBitmap hover = Draw(item, true);
    EXPECT_EQ(hover.Pixel(2 + 4, 2 + 4), kIconRed);
    EXPECT_EQ(hover.Pixel(2 + 11, 2 + 11), kIconRed);
    EXPECT_EQ(hover.Pixel(2 + 12, 2 + 12), DarkenColor(Work().select, 50));
    EXPECT_EQ(hover.Pixel(4 + 11, 4 + 11), DarkenColor(Work().select, 50));
    EXPECT_EQ(hover.Pixel(4 + 12, 4 + 12), Work().select);
    EXPECT_EQ(hover.Pixel(2 + 3, 2 + 4), Work().select);
}

TEST_F(FlatMenuTest, OnALowColourDisplayIconsStayAndTheSelectionIsPlain) {
    TCanvas::SetDisplayBitsPerPixel(8);
    TMenuItem* item = Add("About", 0);
    painter_->SetActive(true);
    const TBitmap rest = Draw(item, false);
    EXPECT_EQ(rest.Pixel(3 + 4, 3 + 4), kIconRed) << "resting icons are not dimmed";
    EXPECT_EQ(rest.Pixel(50, 5), clWhite);
    EXPECT_EQ(rest.Pixel(5, 1), ColorToRGB(clBtnFace));
    const TBitmap hover = Draw(item, true);
    EXPECT_EQ(hover.Pixel(50, 5), clWhite);
    EXPECT_EQ(hover.Pixel(50, 1), ColorToRGB(clHighlight));
}

TEST_F(FlatMenuTest, ARightToLeftMenuHasItsIconColumnOnTheRight) {
    menu_->SetRightToLeft(true);
    TMenuItem* item = Add("About", 0);
    painter_->SetActive(true);
    const TBitmap s = Draw(item, false);
    EXPECT_EQ(s.Pixel(kWidth - 1, 1), Work().icon_back);
    EXPECT_EQ(s.Pixel(kWidth - 24, 1), Work().icon_back);
    EXPECT_EQ(s.Pixel(kWidth - 25, 1), Work().color);
    EXPECT_EQ(s.Pixel(2, 1), Work().color);
    // The image narrower than the column is centred in it as on the left.
    EXPECT_EQ(s.Pixel(kWidth - 24 + 3 + 4, 3 + 4), Lighten(kIconRed, 30));
}

TEST_F(FlatMenuTest, ADisabledIconIsGreyThenLightened) {
    TMenuItem* item = Add("About", 0);
    item->SetEnabled(false);
    painter_->SetActive(true);
    const TBitmap s = Draw(item, false);
    // Red: grey (255 div 3 + 10 = 95), then 40 % lighter: 95 + 64.
    EXPECT_EQ(s.Pixel(3 + 4, 3 + 4), RGB(159, 159, 159));
}

TEST_F(FlatMenuTest, ACheckMarkIsABoxWithATickOfFiveLines) {
    TMenuItem* item = Add("Shuffle");
    item->SetChecked(true);
    painter_->SetActive(true);
    const TBitmap s = Draw(item, false);
    // The 10 x 10 box centred in the icon column of the item rectangle grown by one row.
    const int l = (24 - 10) / 2;
    const int t = (kItemHeight + 1 - 10) / 2;
    const TColor pen = ColorToRGB(clHighlight);
    EXPECT_EQ(s.Pixel(l, t), pen);
    EXPECT_EQ(s.Pixel(l + 9, t + 9), pen);
    EXPECT_EQ(s.Pixel(l + 2, t + 2), Work().checked_area);
    for (TPoint p : {TPoint{l + 1, t + 5}, TPoint{l + 2, t + 5}, TPoint{l + 2, t + 4},
                     TPoint{l + 4, t + 10 - 3}, TPoint{l + 4, t + 10 - 2}, TPoint{l + 5, t + 6}})
        EXPECT_EQ(s.Pixel(p.X, p.Y), clBlack) << p.X << "," << p.Y;
    // The long stroke runs out of the box up to the right.
    EXPECT_EQ(s.Pixel(l + 10 + 1, t), clBlack);
    const TBitmap selected = Draw(item, true);
    EXPECT_EQ(selected.Pixel(l + 2, t + 2), Work().checked_area_select);
}

TEST_F(FlatMenuTest, ARadioMarkIsRoundInTheSelectionBorderColour) {
    TMenuItem* item = Add("Stereo");
    item->SetChecked(true);
    item->SetRadioItem(true);
    painter_->SetActive(true);
    const TBitmap s = Draw(item, false);
    const int l = (24 - 10) / 2;
    const int t = (kItemHeight + 1 - 10) / 2;
    EXPECT_GT(test::CountColor(s, ColorToRGB(clHighlight), {l, t, l + 10, t + 10}), 10);
    EXPECT_NE(s.Pixel(l, t), ColorToRGB(clHighlight)) << "the corners stay out of a circle";
    EXPECT_EQ(s.Pixel(l + 5, t + 5), Work().checked_area);
}

TEST_F(FlatMenuTest, GradientBackgroundStartsAtLevel1AndRisesFasterOverTheIconColumn) {
    TMenuItem* item = Add("Play");
    painter_->SetActive(true);
    painter_->SetGradient(true);
    const TBitmap s = Draw(item, false);
    EXPECT_EQ(s.Pixel(0, 5), Lighten(Work().icon_back, 1));
    EXPECT_EQ(s.Pixel(1, 5), Lighten(Work().icon_back, 4));
    EXPECT_EQ(s.Pixel(28, 5), Lighten(Work().icon_back, 1 + 3 * 28));
    EXPECT_EQ(s.Pixel(29, 5), Lighten(Work().icon_back, 1 + 3 * 28 + 1));
    EXPECT_EQ(s.Pixel(100, 5), Lighten(Work().icon_back, 96));
}

TEST_F(FlatMenuTest, TheHookPassTakesEveryItemButKeepsForeignHandlersAndTag999) {
    TMenuItem* play = Add("Play", 1);
    TMenuItem* sub = Add("Playback  ");
    TMenuItem* next = Add("Next", -1, sub);
    TMenuItem* foreign = Add("Foreign");
    TMenuItem* left_alone = Add("Left alone");
    left_alone->SetTag(999);
    bool foreign_drawn = false;
    foreign->OnDrawItem = [&](TMenuItem*, TCanvas&, const TRect&, bool) { foreign_drawn = true; };
    painter_->SetActive(true);
    EXPECT_TRUE(menu_->OwnerDraw());
    for (TMenuItem* item : {play, sub, next}) {
        EXPECT_TRUE(painter_->DrawsItem(item)) << item->Caption();
        EXPECT_TRUE(painter_->MeasuresItem(item)) << item->Caption();
    }
    EXPECT_FALSE(painter_->DrawsItem(foreign));
    EXPECT_TRUE(painter_->MeasuresItem(foreign)) << "the two events are taken independently";
    EXPECT_FALSE(painter_->DrawsItem(left_alone));
    EXPECT_FALSE(painter_->MeasuresItem(left_alone));

    painter_->SetActive(false);
    EXPECT_FALSE(menu_->OwnerDraw());
    for (TMenuItem* item : {play, sub, next, foreign}) {
        EXPECT_FALSE(painter_->DrawsItem(item));
        EXPECT_FALSE(painter_->MeasuresItem(item));
    }
    ASSERT_TRUE(static_cast<bool>(foreign->OnDrawItem)) << "a foreign handler is kept";

    painter_->SetOverrideOwnerDraw(true);
    painter_->SetActive(true);
    EXPECT_TRUE(painter_->DrawsItem(foreign)) << "overriding replaces foreign handlers";
    EXPECT_FALSE(painter_->DrawsItem(left_alone));
    (void)foreign_drawn;
}

TEST_F(FlatMenuTest, ItemsAddedWhileActiveAreHookedWhenASiblingIsPainted) {
    painter_->SetAutoDetect(true);
    TMenuItem* play = Add("Play");
    TMenuItem* sub = Add("Playlist  ");
    painter_->SetActive(true);
    TMenuItem* later = Add("Later");
    TMenuItem* deeper = Add("Deeper", -1, sub);
    EXPECT_FALSE(painter_->DrawsItem(later)) << "an insertion runs no pass";
    EXPECT_FALSE(painter_->DrawsItem(deeper));
    painter_->SetOverrideOwnerDraw(false); // no pass either
    EXPECT_FALSE(painter_->DrawsItem(later));
    (void)Draw(play, false);
    EXPECT_TRUE(painter_->DrawsItem(later));
    EXPECT_TRUE(painter_->MeasuresItem(later));
    EXPECT_TRUE(painter_->DrawsItem(deeper));
}

TEST_F(FlatMenuTest, ChangingTheControlSetsWhileActiveUnhooksAndRehooks) {
    TMenuItem* play = Add("Play");
    painter_->SetActive(true);
    painter_->SetFlatControls(kAllFlatControls & ~fcPopupMenu);
    EXPECT_FALSE(painter_->DrawsItem(play));
    EXPECT_TRUE(painter_->Active());
    painter_->SetFlatControls(kAllFlatControls);
    EXPECT_TRUE(painter_->DrawsItem(play));
    painter_->SetFlatContainers(fccForm);
    EXPECT_TRUE(painter_->DrawsItem(play));
}

TEST_F(FlatMenuTest, DestroyingThePainterUnhooksEveryItem) {
    TMenuItem* play = Add("Play");
    painter_->SetActive(true);
    ASSERT_TRUE(static_cast<bool>(play->OnDrawItem));
    FreeComponent(painter_);
    painter_ = nullptr;
    EXPECT_FALSE(static_cast<bool>(play->OnDrawItem));
    EXPECT_FALSE(static_cast<bool>(play->OnMeasureItem));
}

TEST_F(FlatMenuTest, TheFrameworkMenuAsksThePaintersHandlers) {
    TMenuItem* play = Add("Play", 0);
    painter_->SetActive(true);
    TBitmap surface = test::Filled(kWidth, kItemHeight + 1);
    play->Draw(surface.Canvas(), {0, 0, kWidth, kItemHeight}, odSelected);
    EXPECT_EQ(surface.Pixel(kWidth - 4, 3), Work().select);
    int w = 0;
    int h = 0;
    play->Measure(surface.Canvas(), w, h);
    EXPECT_GE(h, 22);
}

TEST_F(FlatMenuTest, TheFlatBorderIsDrawnOnThePopupsOwnPictureOnly) {
    TMenuItem* play = Add("Play");
    painter_->SetActive(true);
    painter_->SetFlatMenu(true);
    TBitmap popup = test::Filled(kWidth, kItemHeight + 4);
    painter_->DrawMenuItem(play, popup.Canvas(), {2, 2, kWidth - 2, kItemHeight}, false);
    const int r = kWidth;
    const int b = kItemHeight + 4;
    EXPECT_EQ(popup.Pixel(0, 0), Work().menu_border);
    EXPECT_EQ(popup.Pixel(r - 3, 10), Work().menu_border);
    EXPECT_EQ(popup.Pixel(r - 1, 10), Work().menu_shadow);
    EXPECT_EQ(popup.Pixel(10, b - 1), Work().menu_shadow);
    EXPECT_EQ(popup.Pixel(r - 1, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(popup.Pixel(0, b - 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(popup.Pixel(1, 10), Work().icon_back);
    EXPECT_EQ(popup.Pixel(50, 1), Work().color);
    // On the form's own picture the border is not drawn.
    form_->SetBounds(0, 0, kWidth, kItemHeight + 4);
    QImage& picture = form_->Picture();
    picture.fill(0xFF010203u);
    TCanvas on_form(&picture);
    painter_->DrawMenuItem(play, on_form, {2, 2, kWidth - 2, kItemHeight}, false);
    EXPECT_EQ(on_form.Pixel(0, 0), test::kSentinel);
}

TEST_F(FlatMenuTest, AMenuBarItemIsMeasuredWithoutTheIconColumnAndDrawnWithItsShadow) {
    auto* bar = TComponent::Create<TMainMenu>(form_.get());
    auto* file = TComponent::Create<TMenuItem>(form_.get());
    file->SetCaption("File");
    bar->Items()->Add(file);
    painter_->SetActive(true);
    ASSERT_TRUE(painter_->DrawsItem(file));
    TBitmap scratch(4, 4);
    scratch.Canvas().Font().Assign(&painter_->Font());
    int w = 0;
    int h = 0;
    painter_->MeasureMenuItem(file, scratch.Canvas(), w, h);
    EXPECT_EQ(w, scratch.Canvas().TextWidth("File") + 5 + 8);
    TBitmap s = test::Filled(60, 22);
    painter_->DrawMenuItem(file, s.Canvas(), {0, 0, 60, 20}, true);
    const TColor base = Work().menu_bar;
    EXPECT_EQ(s.Pixel(0, 5), ColorToRGB(clHighlight));
    EXPECT_EQ(s.Pixel(60 - 8, 5), ColorToRGB(clHighlight));
    EXPECT_EQ(s.Pixel(60 - 7, 0), DarkenColor(base, 10));
    EXPECT_EQ(s.Pixel(60 - 7, 20), DarkenColor(base, 100));
    EXPECT_EQ(s.Pixel(60 - 1, 1), ColorToRGB(base));
    EXPECT_EQ(s.Pixel(20, 1), Work().select);
    // At rest a bar item is filled with the bar colour.
    painter_->DrawMenuItem(file, s.Canvas(), {0, 0, 60, 20}, false);
    EXPECT_EQ(s.Pixel(60 - 7, 0), ColorToRGB(base));
}

TEST_F(FlatMenuTest, AControlBarBandIsFilledLighterWithAGripOnEvenRows) {
    TBitmap s = test::Filled(40, 30);
    TBandPaintOptions options = bpoGrabber | bpoFrame;
    painter_->PaintControlBarBand(clBtnFace, s.Canvas(), {0, 0, 40, 30}, options);
    EXPECT_EQ(options, 0U);
    EXPECT_EQ(s.Pixel(20, 10), Lighten(clBtnFace, 6));
    EXPECT_EQ(s.Pixel(3, 5), Lighten(clBtnFace, 6)) << "row 5 is odd";
    EXPECT_EQ(s.Pixel(3, 6), DarkenColor(clBtnFace, 30));
    EXPECT_EQ(s.Pixel(5, 6), DarkenColor(clBtnFace, 30));
    EXPECT_EQ(s.Pixel(6, 6), Lighten(clBtnFace, 6));
    EXPECT_EQ(s.Pixel(3, 8), DarkenColor(clBtnFace, 37));
    EXPECT_EQ(s.Pixel(3, 26), Lighten(clBtnFace, 6)) << "the grip ends 5 rows above the bottom";
}

} // namespace
} // namespace vd
