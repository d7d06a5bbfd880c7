#include "widgets/slLBox.h"
#include "widgets/slUtils.h"

#include "framework/Forms.h"
#include "framework/ImageList.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vd {
namespace {

using test::Filled;
using Opt = TslListBoxOptions_;

// The list with its protected steps in reach.
class Probe : public TslListBox {
public:
    Probe() : TslListBox(nullptr) {}
    using TslListBox::DrawItem;
    using TslListBox::RemeasureItems;
};

TFont SansSerif(TColor color) {
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetHeight(-11);
    font.SetColor(color);
    return font;
}

// The playlist's settings, as the main window's layout gives them.
std::unique_ptr<Probe> PlaylistShow() {
    auto list = std::make_unique<Probe>();
    Probe& lb = *list;
    lb.BeginLoading();
    lb.SetBounds(0, 0, 251, 116);
    lb.SetBorderStyle(TBorderStyle::bsNone);
    lb.SetColor(clBlack);
    TslListBoxItemStyle& normal = lb.ItemStyle();
    normal.SetColor(clBlack);
    normal.SetDelineateColor(clBlack);
    normal.SetFont(SansSerif(clLime));
    normal.Bevel().SetInner(TBevelCut::bvNone);
    normal.Bevel().SetOuter(TBevelCut::bvNone);
    normal.SetTextStyle(TslTextStyle::fstNone);
    normal.Gradient().SetOrientation(TslGradientDir::fgdHorizontal);
    TslListBoxItemStyle& selected = lb.ItemSelStyle();
    selected.SetColor(clYellow);
    selected.SetDelineateColor(clBlack);
    selected.SetFont(SansSerif(clBlue));
    selected.SetTextStyle(TslTextStyle::fstRecessed);
    selected.Gradient().SetActive(true);
    selected.Gradient().SetFromColor(clYellow);
    selected.Gradient().SetOrientation(TslGradientDir::fgdVertical);
    lb.SetTransparentColor(clOlive);
    lb.SetOptions({Opt::fboExcludeGlyphs, Opt::fboWordWrap});
    lb.ChangeGlyphColor().SetFromColor(clBlack);
    lb.ChangeGlyphColor().SetToColor(clWhite);
    lb.Loaded();
    return list;
}

TColor At(TListBox& list, int x, int y) {
    TCanvas picture(&list.Picture());
    return picture.Pixel(x, y);
}

int CountIn(TListBox& list, TColor color, const TRect& area) {
    TCanvas picture(&list.Picture());
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x)
            if (picture.Pixel(x, y) == color)
                ++n;
    return n;
}

// The selected line of the playlist: column x of 251 from yellow to black.
TColor GradientColumn(int x) {
    const auto v = static_cast<unsigned>(255 + MulDiv(x, -255, 250));
    return RGB(v, v, 0);
}

// Draws line `index` with `state` on a fresh bitmap of the line's size.
TBitmap DrawLine(Probe& lb, int index, unsigned state) {
    const TRect r = lb.ItemRect(index).Offset(0, -lb.ItemRect(index).Top);
    TBitmap b = Filled(r.Width(), r.Height(), clBlack);
    lb.DrawItem({index, state, &b.Canvas(), r});
    return b;
}

// ---- measuring ----------------------------------------------------------------------------------

TEST(StyledListBox, PlaylistLinesAreFifteenPixelsHigh) {
    auto lb = PlaylistShow();
    lb->Add("Song.mod");
    lb->Add("another song.xm");
    EXPECT_EQ(lb->ItemRect(0), (TRect{0, 0, 251, 15}));
    EXPECT_EQ(lb->ItemRect(1), (TRect{0, 15, 251, 30}));
    EXPECT_EQ(lb->TextFormat(), 0x810u);
}

TEST(StyledListBox, AFixedItemHeightWinsOverTheText) {
    auto lb = PlaylistShow();
    lb->AddRange({"short", "", std::string(200, 'w') + " " + std::string(200, 'w')});
    lb->SetItemHeight(20);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lb->ItemRect(i).Height(), 20) << i;
    lb->Add("added later");
    EXPECT_EQ(lb->ItemRect(3).Height(), 20);
    lb->SetItemHeight(0);
    EXPECT_EQ(lb->ItemRect(0).Height(), 15);
}

TEST(StyledListBox, WordWrapMeasuresEveryLineAtTheFullWidth) {
    TBitmap scratch(1, 1);
    const TFont font = SansSerif(clLime);
    scratch.Canvas().Font().Assign(&font);
    const std::string word(24, 'm');
    const std::string text = word + " " + word;
    ASSERT_LT(scratch.Canvas().TextWidth(word), 251);
    ASSERT_GT(scratch.Canvas().TextWidth(text), 251);

    auto lb = PlaylistShow();
    lb->Add(text);
    EXPECT_EQ(lb->ItemRect(0).Height(), 2 * 13 + 2);
    lb->SetOptions({Opt::fboExcludeGlyphs});
    EXPECT_EQ(lb->ItemRect(0).Height(), 13 + 2);
    EXPECT_EQ(lb->TextFormat(), 0x820u);
}

TEST(StyledListBox, AnEmptyLineMeasuresFourteenPlusTheExtras) {
    auto lb = PlaylistShow();
    lb->Add("");
    EXPECT_EQ(lb->ItemRect(0).Height(), 14 + 2);
    lb->ItemSelStyle().SetTextStyle(TslTextStyle::fstNone);
    EXPECT_EQ(lb->ItemRect(0).Height(), 14);
}

TEST(StyledListBox, BevelsAddTheirRingsToTheHeight) {
    auto lb = PlaylistShow();
    lb->Add("x");
    lb->ItemStyle().Bevel().SetInner(TBevelCut::bvLowered);
    EXPECT_EQ(lb->ItemRect(0).Height(), 13 + 2 + 1);
    lb->ItemSelStyle().Bevel().SetBold(true);
    EXPECT_EQ(lb->ItemRect(0).Height(), 13 + 2 + 2);
    lb->ItemSelStyle().Bevel().SetOuter(TBevelCut::bvSpace);
    EXPECT_EQ(lb->ItemRect(0).Height(), 13 + 2 + 2 + 2);
}

TEST(StyledListBox, GlyphsTallerThanTheTextSetTheHeight) {
    auto lb = PlaylistShow();
    TImageList glyphs(nullptr);
    glyphs.SetSize(10, 20);
    lb->SetGlyphs(&glyphs);
    lb->Add("x");
    EXPECT_EQ(lb->ItemRect(0).Height(), 20 + 2);
    lb->SetGlyphs(nullptr);
}

TEST(StyledListBox, WhileLoadingTheProposedHeightStays) {
    Probe lb;
    lb.BeginLoading();
    lb.Add("one");
    EXPECT_EQ(lb.ItemRect(0).Height(), 13);
    lb.ItemSelStyle().SetTextStyle(TslTextStyle::fstRaised);
    EXPECT_EQ(lb.ItemRect(0).Height(), 13);
    lb.Loaded();
    EXPECT_EQ(lb.ItemRect(0).Height(), 15);
}

TEST(StyledListBox, RemeasuringKeepsTextOrderAndSelection) {
    auto lb = PlaylistShow();
    lb->AddRange({"c", "a", "b", ""});
    lb->SetItemIndex(2);
    std::vector<std::pair<int, int>> changes;
    lb->OnChange = [&](TComponent*, int old_index, int new_index) {
        changes.emplace_back(old_index, new_index);
    };
    lb->Repaint();
    changes.clear();
    lb->ItemSelStyle().SetTextStyle(TslTextStyle::fstNone); // a style change measures anew
    EXPECT_EQ(lb->Lines(), (std::vector<std::string>{"c", "a", "b", ""}));
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(lb->ItemRect(1).Height(), 13);
    EXPECT_EQ(lb->ItemRect(3), (TRect{0, 39, 251, 53}));
    lb->RemeasureItems();
    lb->Repaint();
    EXPECT_TRUE(changes.empty());
}

// ---- selection reports
// ---------------------------------------------------------------------------

TEST(StyledListBox, ReportsTheFirstPaintWithoutSelectionAndThenEachChangeOnce) {
    auto lb = PlaylistShow();
    lb->AddRange({"a", "b", "c", "d", "e"});
    std::vector<std::pair<int, int>> changes;
    lb->OnChange = [&](TComponent* sender, int old_index, int new_index) {
        EXPECT_EQ(sender, lb.get());
        changes.emplace_back(old_index, new_index);
    };
    lb->Repaint();
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, -1}}));
    lb->SetItemIndex(3);
    lb->Repaint();
    lb->Repaint();
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, -1}, {-1, 3}}));
}

TEST(StyledListBox, ReportsASelectionMadeWhileNothingIsPainted) {
    auto lb = PlaylistShow();
    lb->AddRange({"a", "b", "c", "d"});
    std::vector<std::pair<int, int>> changes;
    lb->OnChange = [&](TComponent*, int old_index, int new_index) {
        changes.emplace_back(old_index, new_index);
    };
    lb->SetItemIndex(2);
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 2}}));
    lb->Repaint();
    EXPECT_EQ(changes.size(), 1u);
    lb->SetItemIndex(2);
    lb->Delete(0); // the selected line moves up
    lb->Clear();
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 2}, {2, 1}, {1, -1}}));
    EXPECT_EQ(lb->SelectedCount(), 0);
}

TEST(StyledListBox, CountsTheSelectedLines) {
    auto lb = PlaylistShow();
    lb->AddRange({"a", "b", "c"});
    EXPECT_EQ(lb->SelectedCount(), 0);
    lb->SetItemIndex(1);
    EXPECT_EQ(lb->SelectedCount(), 1);
}

// ---- drawing ------------------------------------------------------------------------------------

TEST(StyledListBox, TheSelectedPlaylistLineIsAYellowToBlackGradientUnderBlueText) {
    auto lb = PlaylistShow();
    lb->AddRange({"first song.mod", "second song.mod"});
    lb->SetItemIndex(1);
    lb->Repaint();
    // The text is 13 pixels high at the top of the 15: the bottom row shows the gradient alone.
    for (int x = 0; x < 251; ++x)
        ASSERT_EQ(At(*lb, x, 29), GradientColumn(x)) << x;
    EXPECT_GT(CountIn(*lb, RGB(0, 0, 255), {0, 15, 251, 30}), 10);
    EXPECT_GT(CountIn(*lb, RGB(128, 128, 128), {0, 15, 251, 30}), 10);
    // Unselected lines: lime on black, and black below the lines.
    EXPECT_GT(CountIn(*lb, clLime, {0, 0, 251, 15}), 10);
    EXPECT_EQ(CountIn(*lb, clLime, {0, 0, 251, 15}) + CountIn(*lb, clBlack, {0, 0, 251, 15}),
              251 * 15);
    EXPECT_EQ(CountIn(*lb, clBlack, {0, 30, 251, 116}), 251 * 86);
}

TEST(StyledListBox, ASelectedLineThatIsAlsoDisabledGrayedOrCheckedUsesItemStyle) {
    auto lb = PlaylistShow();
    lb->Add("entry");
    const TColor black_fill = DrawLine(*lb, 0, 0).Pixel(5, 14);
    EXPECT_EQ(black_fill, clBlack);
    EXPECT_EQ(DrawLine(*lb, 0, ODS_SELECTED).Pixel(5, 14), GradientColumn(5));
    EXPECT_EQ(DrawLine(*lb, 0, ODS_SELECTED | ODS_FOCUS).Pixel(5, 14), GradientColumn(5));
    for (unsigned extra : {ODS_DISABLED, ODS_GRAYED, ODS_CHECKED}) {
        const TBitmap b = DrawLine(*lb, 0, ODS_SELECTED | extra);
        EXPECT_EQ(b.Pixel(5, 14), clBlack) << extra;
        EXPECT_GT(test::CountColor(b, clLime, {0, 0, 251, 15}), 0) << extra;
    }
    // Through the list itself: a disabled list draws its selection as a plain line.
    lb->SetItemIndex(0);
    lb->SetEnabled(false);
    lb->Repaint();
    EXPECT_EQ(At(*lb, 5, 14), clBlack);
}

TEST(StyledListBox, OnlyAPlainColourOtherThanBlackReplacesAGradientColour) {
    auto lb = PlaylistShow();
    lb->Add("entry");
    lb->SetOptions({Opt::fboExcludeGlyphs, Opt::fboWordWrap, Opt::fboItemColorAsGradientFrom,
                    Opt::fboItemColorAsGradientTo});
    TColor item_color = clBlack;
    lb->OnGetItemColor = [&](TComponent*, int index, TColor& color) {
        EXPECT_EQ(index, 0);
        color = item_color;
    };
    for (TColor kept : {clBlack, clBtnFace, clHighlight}) {
        item_color = kept;
        const TBitmap b = DrawLine(*lb, 0, ODS_SELECTED);
        EXPECT_EQ(b.Pixel(0, 14), clYellow) << kept;
        EXPECT_EQ(b.Pixel(250, 14), clBlack) << kept;
    }
    item_color = clRed;
    const TBitmap b = DrawLine(*lb, 0, ODS_SELECTED);
    EXPECT_EQ(b.Pixel(0, 14), clRed);
    EXPECT_EQ(b.Pixel(250, 14), clRed);
}

TEST(StyledListBox, ItemColoursComeFromTheOwnerAndFontColoursStayInTheStyle) {
    auto lb = PlaylistShow();
    lb->Add("entry");
    lb->OnGetItemColor = [](TComponent*, int, TColor& color) { color = clNavy; };
    lb->OnGetItemFontColor = [](TComponent*, int, TColor& color) { color = clWhite; };
    int drawn = 0;
    lb->OnDrawItem = [&](TComponent*, const TDrawItemStruct& message) {
        EXPECT_EQ(message.ItemID, 0);
        ++drawn;
    };
    const TBitmap b = DrawLine(*lb, 0, 0);
    EXPECT_EQ(b.Pixel(5, 14), clNavy);
    EXPECT_EQ(b.Pixel(0, 14), clBlack); // the line's first column is the list's background
    EXPECT_GT(test::CountColor(b, clWhite, {0, 0, 251, 15}), 0);
    EXPECT_EQ(test::CountColor(b, clLime, {0, 0, 251, 15}), 0);
    EXPECT_EQ(lb->ItemStyle().Font().Color(), clWhite);
    EXPECT_EQ(drawn, 1);
}

TEST(StyledListBox, BufferedDrawingGivesTheSamePicture) {
    auto lb = PlaylistShow();
    lb->AddRange({"one", "two words", "three"});
    lb->SetItemIndex(1);
    lb->Repaint();
    const TBitmap direct = [&] {
        TBitmap copy;
        copy.SetImage(lb->Picture());
        return copy;
    }();
    lb->SetOptions({Opt::fboExcludeGlyphs, Opt::fboWordWrap, Opt::fboBufferedDraw});
    lb->Repaint();
    TBitmap buffered;
    buffered.SetImage(lb->Picture());
    EXPECT_EQ(test::Pixels(direct), test::Pixels(buffered));
}

TEST(StyledListBox, AutomaticBevelColoursComeFromTheItemColour) {
    auto lb = PlaylistShow();
    lb->Add("entry");
    lb->ItemStyle().SetColor(clRed);
    lb->ItemStyle().Bevel().SetOuter(TBevelCut::bvLowered);
    lb->SetOptions({Opt::fboAutoCtl3DColors, Opt::fboHideText});
    // The bevel is drawn on (1, 0, 250, 15): shadow on the left, highlight on the right.
    EXPECT_EQ(DrawLine(*lb, 0, 0).Pixel(1, 5), RGB(195, 0, 0));
    EXPECT_EQ(DrawLine(*lb, 0, 0).Pixel(250, 5), RGB(255, 60, 60));
    EXPECT_EQ(Current3DColors(), nullptr);
    lb->SetOptions({Opt::fboHideText});
    EXPECT_EQ(DrawLine(*lb, 0, 0).Pixel(1, 5), RGB(128, 128, 128));
}

TEST(StyledListBox, AFocusFrameIsDrawnOnlyWhenAsked) {
    auto lb = PlaylistShow();
    lb->Add("entry");
    lb->SetOptions({Opt::fboHideText});
    EXPECT_EQ(DrawLine(*lb, 0, ODS_FOCUS).Pixel(2, 0), clBlack);
    lb->SetOptions({Opt::fboHideText, Opt::fboShowFocus});
    const TBitmap b = DrawLine(*lb, 0, ODS_FOCUS);
    EXPECT_EQ(b.Pixel(2, 0), clWhite); // every other pixel inverted
    EXPECT_EQ(b.Pixel(3, 0), clBlack);
}

// ---- glyphs -------------------------------------------------------------------------------------

// A 6 x 6 glyph on olive with a red middle and one black pixel.
TBitmap GlyphStrip() {
    TBitmap strip = Filled(6, 6, clOlive);
    TCanvas& c = strip.Canvas();
    c.Brush().SetColor(clRed);
    c.FillRect({2, 2, 4, 4});
    c.SetPixel(1, 4, clBlack);
    return strip;
}

TEST(StyledListBox, GlyphsAreDrawnTransparentlyAndTheTextMovesAside) {
    auto lb = PlaylistShow();
    TImageList glyphs(nullptr);
    glyphs.SetSize(6, 6);
    glyphs.AddMasked(GlyphStrip(), clOlive);
    lb->SetGlyphs(&glyphs);
    lb->Add("entry");
    lb->Add("no glyph");
    lb->SetOptions({Opt::fboExcludeGlyphs, Opt::fboChangeGlyphColor});
    const TBitmap plain = DrawLine(*lb, 0, 0);
    EXPECT_EQ(plain.Pixel(3, 3), clRed); // glyph at (G.Left + 1, G.Top + 1)
    EXPECT_EQ(plain.Pixel(2, 5), clBlack);
    EXPECT_EQ(test::CountColor(plain, clOlive, {0, 0, 251, 15}), 0);
    EXPECT_EQ(test::CountColor(plain, clLime, {0, 0, 6, 15}), 0);
    // The selected line's black glyph pixels turn white.
    EXPECT_EQ(DrawLine(*lb, 0, ODS_SELECTED).Pixel(2, 5), clWhite);
    // Line 1 is beyond NumGlyphs (1): no glyph.
    EXPECT_EQ(test::CountColor(DrawLine(*lb, 1, 0), clRed, {0, 0, 251, 15}), 0);
    lb->SetOptions({Opt::fboExcludeGlyphs, Opt::fboSingleGlyph});
    EXPECT_EQ(DrawLine(*lb, 1, 0).Pixel(3, 3), clRed);
    lb->SetGlyphs(nullptr);
}

TEST(StyledListBox, GlyphsFollowTheirAlignment) {
    auto lb = PlaylistShow();
    TImageList glyphs(nullptr);
    glyphs.SetSize(6, 6);
    glyphs.AddMasked(GlyphStrip(), clOlive);
    lb->SetGlyphs(&glyphs);
    lb->Add("x");
    lb->SetOptions({Opt::fboHideText});
    lb->GlyphsAlign().SetHorizontal(TslHorAlign::fhaRight);
    lb->GlyphsAlign().SetVertical(TslVertAlign::fvaBottom);
    // The line is 15 high (the text's 13 + 2); the glyph sits 1 pixel in from the right and
    // bottom: x = 251 - 6 - 1 = 244, y = 15 - 6 - 1 = 8.
    const TBitmap b = DrawLine(*lb, 0, 0);
    EXPECT_EQ(b.Pixel(244 + 2, 8 + 2), clRed);
    lb->SetGlyphs(nullptr);
}

TEST(StyledListBox, NumGlyphsZeroKeepsThePreviousValue) {
    auto lb = PlaylistShow();
    lb->SetNumGlyphs(5);
    lb->SetNumGlyphs(0);
    EXPECT_EQ(lb->NumGlyphs(), 5);
}

// ---- wallpaper ----------------------------------------------------------------------------------

// 4 x 4 pixels, each its own colour.
TBitmap Pattern() {
    TBitmap b(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            b.Canvas().SetPixel(
                x, y,
                RGB(10 + 40 * static_cast<unsigned>(x), 20, 30 + 50 * static_cast<unsigned>(y)));
    return b;
}

TColor PatternAt(int x, int y) {
    return RGB(10 + 40 * static_cast<unsigned>(x), 20, 30 + 50 * static_cast<unsigned>(y));
}

std::unique_ptr<Probe> WallpaperList(TslLBWallpaperOption option) {
    auto lb = PlaylistShow();
    lb->SetOptions({Opt::fboHideText});
    const TBitmap pattern = Pattern();
    lb->SetWallpaper(&pattern);
    lb->SetWallpaperOption(option);
    lb->AddRange({"a", "b"});
    return lb;
}

TEST(StyledListBox, TiledWallpaperStartsAgainInEveryLine) {
    auto lb = WallpaperList(TslLBWallpaperOption::fwlTile);
    EXPECT_TRUE(lb->HasWallpaper());
    lb->Repaint();
    for (int y : {0, 5, 14})
        for (int x : {0, 3, 9, 250})
            EXPECT_EQ(At(*lb, x, y), PatternAt(x % 4, y % 4)) << x << "," << y;
    EXPECT_EQ(At(*lb, 9, 15), PatternAt(1, 0));
    EXPECT_EQ(At(*lb, 9, 29), PatternAt(1, 14 % 4));
}

TEST(StyledListBox, GlobalWallpaperRunsOnFromLineToLine) {
    auto lb = WallpaperList(TslLBWallpaperOption::fwlGlobal);
    lb->Repaint();
    for (int y : {0, 14, 15, 17, 29})
        EXPECT_EQ(At(*lb, 6, y), PatternAt(2, y % 4)) << y;
    // Below the last line the tiling goes on from two rows further down, one column further
    // left, in the phase of the line's bottom (30).
    EXPECT_EQ(At(*lb, 6, 32), PatternAt((6 + 1) % 4, 30 % 4));
    EXPECT_EQ(At(*lb, 6, 100), PatternAt((6 + 1) % 4, (30 + 100 - 32) % 4));
    EXPECT_EQ(At(*lb, 6, 31), clBlack);
}

TEST(StyledListBox, BufferedDrawingCarriesTheWallpaperPhaseAndTheSpaceBelow) {
    auto lb = WallpaperList(TslLBWallpaperOption::fwlGlobal);
    lb->Repaint();
    TBitmap direct;
    direct.SetImage(lb->Picture());
    lb->SetOptions({Opt::fboHideText, Opt::fboBufferedDraw});
    lb->Repaint();
    TBitmap buffered;
    buffered.SetImage(lb->Picture());
    EXPECT_EQ(test::Pixels(direct), test::Pixels(buffered));
}

TEST(StyledListBox, StretchedAndUnscaledWallpaper) {
    auto lb = WallpaperList(TslLBWallpaperOption::fwlNone);
    lb->Repaint();
    EXPECT_EQ(At(*lb, 2, 3), PatternAt(2, 3));
    EXPECT_EQ(At(*lb, 6, 3), clBlack);
    EXPECT_EQ(At(*lb, 2, 15 + 1), PatternAt(2, 1));

    TBitmap one = Filled(1, 1, clTeal);
    lb->SetWallpaper(&one);
    lb->SetWallpaperOption(TslLBWallpaperOption::fwlStretch);
    lb->Repaint();
    EXPECT_EQ(CountIn(*lb, clTeal, {0, 0, 251, 30}), 251 * 30);
}

TEST(StyledListBox, TheSelectedLineKeepsItsOwnColourOverAWallpaper) {
    auto lb = WallpaperList(TslLBWallpaperOption::fwlTile);
    lb->SetItemIndex(0);
    lb->Repaint();
    EXPECT_EQ(At(*lb, 0, 14), clYellow);
    lb->ItemSelStyle().SetColor(clBlack); // same colour as the other lines: wallpaper too
    lb->Repaint();
    EXPECT_EQ(At(*lb, 1, 14), PatternAt(1, 2));
}

// A component with a picture, as an image control is.
class PictureHolder : public TComponent, public TslPictureSource {
public:
    PictureHolder() : TComponent(nullptr) {}
    TBitmap picture = Filled(2, 2, clPurple);
    [[nodiscard]] const TBitmap* PictureBitmap() const override { return &picture; }
};

TEST(StyledListBox, WallpaperImageIsDroppedWhenItGoesAway) {
    auto lb = WallpaperList(TslLBWallpaperOption::fwlTile);
    auto holder = std::make_unique<PictureHolder>();
    lb->SetWallpaperImage(holder.get());
    EXPECT_EQ(lb->CurrentWallpaper(), &holder->picture);
    lb->SetWallpaper(nullptr);
    EXPECT_EQ(lb->CurrentWallpaper(), &holder->picture);
    holder.reset();
    EXPECT_EQ(lb->WallpaperImage(), nullptr);
    EXPECT_FALSE(lb->HasWallpaper());
    lb->Repaint();
    EXPECT_EQ(At(*lb, 5, 14), clBlack);
}

// A window-less control that paints a green square.
class GreenSquare : public TGraphicControl {
public:
    explicit GreenSquare(TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override {
        Canvas().Brush().SetColor(clGreen);
        Canvas().FillRect(ClientRect());
    }
};

TEST(StyledListBox, ATransparentListShowsWhatLiesBeneathIt) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    form.SetColor(clRed);
    auto* square = new GreenSquare(&form); // owned by the form
    square->SetParent(&form);
    square->SetBounds(20, 20, 10, 10);
    auto lb = PlaylistShow();
    lb->SetParent(&form);
    lb->SetBounds(10, 10, 251, 116);
    lb->AddRange({"a", "b"});
    lb->SetOptions({Opt::fboHideText, Opt::fboTransparent});
    ASSERT_TRUE(lb->HasWallpaper());
    lb->Repaint();
    // The captured picture is copied one column to the right of the line's start.
    EXPECT_EQ(At(*lb, 20, 5), clRed);
    EXPECT_EQ(At(*lb, 11, 12), clGreen);
    EXPECT_EQ(At(*lb, 12, 20), clRed);
    EXPECT_EQ(At(*lb, 12, 90), clRed); // below the last line
    lb->SetParent(nullptr);
}

// ---- mouse --------------------------------------------------------------------------------------

TEST(StyledListBox, HotTrackingColoursTheLineUnderTheMouse) {
    auto lb = PlaylistShow();
    lb->AddRange({"first", "second", "third"});
    lb->SetOptions({Opt::fboHotTrack});
    lb->HandleMouseMove(0, 20, 20);
    EXPECT_EQ(lb->HotIndex(), 1);
    lb->Repaint();
    EXPECT_GT(CountIn(*lb, clBlue, {0, 15, 251, 30}), 0);
    EXPECT_EQ(CountIn(*lb, clLime, {0, 15, 251, 30}), 0);
    EXPECT_GT(CountIn(*lb, clLime, {0, 0, 251, 15}), 0);
    lb->HandleMouseMove(0, 20, 100);
    EXPECT_EQ(lb->HotIndex(), -1);
    lb->HandleMouseMove(0, 20, 5);
    lb->HandleMouseLeave();
    EXPECT_EQ(lb->HotIndex(), -1);
    lb->Repaint();
    EXPECT_EQ(CountIn(*lb, clBlue, {0, 0, 251, 45}), 0);
}

TEST(StyledListBox, HotTrackSelectMovesTheSelectionWithTheMouse) {
    auto lb = PlaylistShow();
    lb->AddRange({"a", "b", "c", "d"});
    lb->SetOptions({Opt::fboHotTrackSelect});
    lb->HandleMouseMove(0, 20, 2 * 15 + 3);
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(lb->HotIndex(), -1);
    lb->Repaint();
    EXPECT_EQ(CountIn(*lb, RGB(0, 0, 255), {0, 0, 251, 30}), 0);
}

TEST(StyledListBox, TheDragImageShowsTheSelectedLine) {
    auto lb = PlaylistShow();
    lb->AddRange({"first", "second"});
    lb->BuildDragImage({30, 20});
    EXPECT_EQ(lb->GetDragImages(), nullptr);
    lb->SetItemIndex(1);
    lb->BuildDragImage({30, 20});
    ASSERT_NE(lb->GetDragImages(), nullptr);
    EXPECT_EQ(lb->GetDragImages()->Width(), 251);
    EXPECT_EQ(lb->GetDragImages()->Height(), 15);
    EXPECT_EQ(lb->DragHotSpot(), (TPoint{30, 5}));

    lb->OnGetDragImage = [](TComponent*, TBitmap& bitmap, TColor& transparent, int& x, int& y) {
        bitmap.SetSize(8, 4);
        transparent = clBlack;
        x = 1;
        y = 2;
    };
    lb->BuildDragImage({30, 20});
    ASSERT_NE(lb->GetDragImages(), nullptr);
    EXPECT_EQ(lb->GetDragImages()->Width(), 8);
    EXPECT_EQ(lb->DragHotSpot(), (TPoint{1, 2}));
}

} // namespace
} // namespace vd
